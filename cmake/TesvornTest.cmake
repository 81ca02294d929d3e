# tesvorn_add_test(NAME name SOURCES ... LIBS ... [GUI])
# Creates one GoogleTest executable and registers it with CTest. Every test runs on
# Qt's offscreen platform under the Russian locale unless the test fixes another one;
# GUI tests get a QApplication, the others a QCoreApplication. In a TESVORN_SANITIZE
# build every test also runs with the sanitizer options below: the first report aborts
# it, and leaks are checked with the suppressions for system libraries in
# cmake/lsan.supp (the processes a test starts, tesvorn-cli, inherit all of this).
set(TESVORN_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=ru_RU.UTF-8;LANG=ru_RU.UTF-8")
if(TESVORN_SANITIZE)
  list(APPEND TESVORN_TEST_ENVIRONMENT
    "ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:print_suppressions=0")
endif()
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
    ENVIRONMENT "${TESVORN_TEST_ENVIRONMENT}"
    TIMEOUT 600)
endfunction()
