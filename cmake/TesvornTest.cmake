# tesvorn_add_test(NAME name SOURCES ... LIBS ... [GUI])
# Creates one GoogleTest executable and registers it with CTest. Every test runs on
# Qt's offscreen platform under the Russian locale unless the test fixes another one;
# GUI tests get a QApplication, the others a QCoreApplication.
function(tesvorn_add_test)
  cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_GUI)
    target_link_libraries(${T_NAME} PRIVATE tesvorn_test_main_gui ${T_LIBS})
  else()
    target_link_libraries(${T_NAME} PRIVATE tesvorn_test_main ${T_LIBS})
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=ru_RU.UTF-8;LANG=ru_RU.UTF-8"
    TIMEOUT 600)
endfunction()
