// What a new user meets first, driven through the real main window: edits that must count
// as changes, Save on a project that was never saved, Qt's own texts in Russian, the
// plan's edge, the background switch, a new project without a picture, the status-bar
// hints of the editing modes, double clicks of the wrong button and the deletion of the
// current zone and sensor. (That every dialog shows its captions in full is checked for
// all dialogs at once in test_dialogs.cpp.)
#include "MainWindowFixture.h"
#include "PlanMouse.h"
#include "uApplication.h"
#include "uPaintBox.h"
#include "uPlanEditor.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

using namespace PlanMouse;

class FirstUseTest : public MainWindowTest {
protected:
    void SetUp() override { Start(); }

    TPaintBox* Box() { return win->pb; }
    TFireProject& P() { return *win->FP; }
    TRoom* Zone(int index) { return P().Rooms.at(index).get(); }

    // A saved project with one 100 x 100 zone at (100, 100) and one sensor in its middle,
    // opened, so that it starts unmodified.
    void OpenZoneWithSensor()
    {
        TFireProject project;
        project.Name = QStringLiteral("Офис");
        project.Width = 400;
        project.Height = 300;
        TRoom* zone = project.GetRoom(project.AddRoom(100, 100, 200, 200));
        TSensor* s = zone->AddSensor();
        s->SetName(QStringLiteral("1"));
        s->SetAbsolutePos({ 150, 150 });
        const QString file = Path(QStringLiteral("office.fsp"));
        ASSERT_TRUE(project.SaveToFile(file));
        ASSERT_TRUE(win->LoadProject(file));
        ASSERT_NE(win->FP, nullptr);
        ASSERT_FALSE(P().Modified());
    }

    // Whether Close asks the save question; answered Cancel, so the project stays open
    // when it does (when it does not, the project is closed).
    bool CloseAsks()
    {
        const int before = prompts->Messages().size();
        prompts->Answer(TPromptAnswer::Cancel);
        Action("miClose")->trigger();
        const bool asked = prompts->Messages().size() > before;
        if (!asked)
            prompts->Clear(); // the queued answer was not used
        return asked && win->FP;
    }
};

// Runs `inspect` on the modal dialog of type T that `command` opens, then closes it.
template <class T>
void WithModalDialog(const std::function<void()>& command, const std::function<void(T*)>& inspect)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll.stop();
            seen = true;
            inspect(dialog);
            dialog->reject();
        }
    });
    poll.start();
    command();
    EXPECT_TRUE(seen);
}

// --- the current zone and sensor when they are deleted ---------------------------------

TEST_F(FirstUseTest, DeletingTheCurrentZonesForgetsThemBeforeTheRepaint)
{
    NewProject(QStringLiteral("План"), 400, 300);
    Drag(Box(), { 20, 20 }, { 120, 120 });
    Drag(Box(), { 150, 20 }, { 250, 120 });
    ASSERT_EQ(P().Rooms.size(), 2u);
    // The second zone, in debug mode with a critical sensor, is the one the repaint reads.
    TRoom* second = Zone(1);
    TSensor* s = second->AddSensor();
    s->SetAbsolutePos({ 200, 70 });
    second->CP.DebugMode = true;
    second->CP.CSensor = s->GUID();
    s->NearestSensor = QStringLiteral("T");
    Press(Box(), { 50, 50 });
    Release(Box(), { 50, 50 });
    Press(Box(), { 200, 70 }, Qt::ShiftModifier); // on the sensor: current zone and sensor
    Release(Box(), { 200, 70 }, Qt::ShiftModifier);
    ASSERT_EQ(win->CurrentRoom, second);
    ASSERT_EQ(win->CurrentSensor, s);

    win->btnRpDelete->click();
    EXPECT_TRUE(P().Rooms.empty());
    EXPECT_EQ(win->CurrentRoom, nullptr);
    EXPECT_EQ(win->CurrentSensor, nullptr);
    EXPECT_EQ(win->CurrentRoomID, -1);

    // The sensor panel's deletion forgets the sensor as well.
    Drag(Box(), { 20, 20 }, { 120, 120 });
    win->btnSensorsEdit->click();
    DoubleClick(Box(), { 70, 70 });
    Press(Box(), { 70, 70 });
    Release(Box(), { 70, 70 });
    ASSERT_NE(win->CurrentSensor, nullptr);
    win->btnSDelete->click();
    EXPECT_EQ(win->CurrentSensor, nullptr);
    EXPECT_TRUE(Zone(0)->Sensors.empty());
    EXPECT_TRUE(prompts->Messages().isEmpty());
}

// --- double clicks of other buttons ----------------------------------------------------

TEST_F(FirstUseTest, OnlyTheLeftButtonsDoubleClickOpensOrPlacesASensor)
{
    for (const Qt::MouseButton b : { Qt::RightButton, Qt::MiddleButton })
        DoubleClick(Box(), { 30, 30 }, b);
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompts->Records().isEmpty()) << "no open dialog for the right or middle button";
    DoubleClick(Box(), { 30, 30 });
    QCoreApplication::processEvents();
    ASSERT_EQ(prompts->Records().size(), 1);
    EXPECT_EQ(prompts->Records().first().Kind, TPromptKind::OpenFile);

    NewProject(QStringLiteral("План"), 400, 300);
    Drag(Box(), { 20, 20 }, { 120, 120 });
    win->btnSensorsEdit->click();
    DoubleClick(Box(), { 60, 60 }, Qt::RightButton);
    DoubleClick(Box(), { 70, 70 }, Qt::MiddleButton);
    EXPECT_TRUE(Zone(0)->Sensors.empty());
    DoubleClick(Box(), { 80, 80 });
    ASSERT_EQ(Zone(0)->Sensors.size(), 1u);
    EXPECT_EQ(Zone(0)->Sensors[0]->AbsolutePos(), (TPoint { 80, 80 }));
}

// --- edits that count as changes ---------------------------------------------------------

TEST_F(FirstUseTest, EveryEditOfASensorMakesCloseAsk)
{
    OpenZoneWithSensor();
    win->btnSensorsEdit->click();
    TSensor* s = Zone(0)->Sensors[0].get();

    // Pressing and releasing the sensor where it stands is no edit.
    Press(Box(), { 150, 150 });
    Move(Box(), { 150, 150 });
    Release(Box(), { 150, 150 });
    EXPECT_FALSE(P().Modified());

    // Dragging it is.
    Press(Box(), { 150, 150 });
    Move(Box(), { 170, 130 });
    Release(Box(), { 170, 130 });
    EXPECT_EQ(s->AbsolutePos(), (TPoint { 170, 130 }));
    ASSERT_TRUE(CloseAsks());

    // Changing only its type in the panel is an edit too.
    P().SetModified(false);
    Press(Box(), { 170, 130 });
    Release(Box(), { 170, 130 });
    win->rbSTypeSmoke->click();
    win->btnSSave->click();
    EXPECT_EQ(s->SensorType, TSensorType::stSmoke);
    ASSERT_TRUE(CloseAsks());

    // Adding one by a double click and deleting it with the panel.
    P().SetModified(false);
    DoubleClick(Box(), { 120, 180 });
    ASSERT_TRUE(CloseAsks());
    P().SetModified(false);
    Press(Box(), { 120, 180 });
    Release(Box(), { 120, 180 });
    win->btnSDelete->click();
    EXPECT_EQ(Zone(0)->Sensors.size(), 1u);
    EXPECT_TRUE(CloseAsks());
}

// --- Save on a new project ---------------------------------------------------------------

TEST_F(FirstUseTest, SaveOfANeverSavedProjectAsksForAFileFromMenuKeyAndButton)
{
    NewProject(QStringLiteral("Склад"));
    prompts->File(QString()); // cancelled: nothing is written, the project stays modified
    Action("miSave")->trigger();
    ASSERT_EQ(prompts->Records().size(), 1);
    EXPECT_EQ(prompts->Records().first().Kind, TPromptKind::SaveFile);
    EXPECT_EQ(prompts->Records().first().Caption, QStringLiteral("Сохранить проект"));
    EXPECT_TRUE(P().Modified());
    EXPECT_TRUE(win->CurrentProjectFile.isEmpty());

    const QString byButton = Path(QStringLiteral("button.fsp"));
    prompts->File(byButton);
    Control<QToolButton>("btnSaveProject")->click();
    EXPECT_TRUE(QFile::exists(byButton));
    EXPECT_EQ(win->CurrentProjectFile, byButton);
    EXPECT_FALSE(P().Modified());

    // Ctrl+S on another new project.
    prompts->Answer(TPromptAnswer::No);
    NewProject(QStringLiteral("Цех"));
    const QString byKey = Path(QStringLiteral("key.fsp"));
    prompts->File(byKey);
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    QTest::keyClick(win.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(byKey));
    EXPECT_EQ(win->CurrentProjectFile, byKey);
    EXPECT_EQ(prompts->Unanswered(), 0);
}

// --- Qt's own texts ------------------------------------------------------------------------

TEST_F(FirstUseTest, MessageBoxButtonsAndFileDialogsSpeakRussian)
{
    ASSERT_TRUE(LoadQtTranslations());
    NewProject(QStringLiteral("Склад"));
    prompts.reset(); // the program's own message boxes and dialogs from here on

    QStringList buttons;
    WithModalDialog<QMessageBox>([&] { Action("miClose")->trigger(); },
        [&](QMessageBox* box) {
            for (const auto b : { QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel })
                buttons << box->button(b)->text();
        });
    EXPECT_EQ(
        buttons, (QStringList { QStringLiteral("&Да"), QStringLiteral("&Нет"), QStringLiteral("Отмена") }));
    ASSERT_NE(win->FP, nullptr) << "rejecting the question is Cancel";

    QString lookIn, cancel;
    WithModalDialog<QFileDialog>([&] { Action("miSaveAs")->trigger(); },
        [&](QFileDialog* dialog) {
            if (auto* label = dialog->findChild<QLabel*>(QStringLiteral("lookInLabel")))
                lookIn = label->text();
            if (auto* box = dialog->findChild<QDialogButtonBox*>())
                cancel = box->button(QDialogButtonBox::Cancel)->text();
        });
    EXPECT_EQ(lookIn, QStringLiteral("Перейти к:"));
    EXPECT_EQ(cancel, QStringLiteral("Отмена"));
}

// --- the plan's edge -------------------------------------------------------------------------

TEST_F(FirstUseTest, ThePlanEdgeShowsAndZonesStayOnThePlan)
{
    NewProject(QStringLiteral("План"), 200, 150);
    QCoreApplication::processEvents();
    const QImage shown = win->ScrollBox->viewport()->grab().toImage();
    const QColor window = win->ScrollBox->palette().color(QPalette::Window);
    ASSERT_NE(window, QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(100, 75), QColor(Qt::white)) << "the plan";
    EXPECT_EQ(shown.pixelColor(300, 75), window) << "beside the plan";
    EXPECT_EQ(shown.pixelColor(100, 200), window) << "below the plan";

    // A zone drawn past the plan's edge ends on its last pixels, seen whole.
    Drag(Box(), { 150, 100 }, { 400, 300 });
    ASSERT_EQ(P().Rooms.size(), 1u);
    EXPECT_EQ(Zone(0)->Rect(), (TRect { 150, 100, 199, 149 }));
    Drag(Box(), { 60, 60 }, { -30, -40 });
    ASSERT_EQ(P().Rooms.size(), 2u);
    EXPECT_EQ(Zone(1)->Rect(), (TRect { 0, 0, 60, 60 }));
    // The rubber band stops there too.
    Press(Box(), { 100, 80 });
    Move(Box(), { 500, 500 });
    // (the band, as ever, ends one pixel before the pointer's row and column)
    EXPECT_EQ(Box()->Picture().pixelColor(130, 148), QColor(Qt::black)) << "the band's last row";
    EXPECT_EQ(Box()->Picture().pixelColor(198, 85), QColor(Qt::black)) << "the band's last column";
    Release(Box(), { 120, 90 });

    // Resizing past the edge stops at it, and the edge follows the pointer once it is back.
    Press(Box(), { 199, 120 });
    ASSERT_EQ(win->PlanEditor->DragKind, TDragKind::ResizeRight);
    Move(Box(), { 260, 120 });
    EXPECT_EQ(Zone(0)->Rect().Right, 199);
    Move(Box(), { 185, 120 });
    EXPECT_EQ(Zone(0)->Rect().Right, 185);
    Release(Box(), { 185, 120 });
    Press(Box(), { 160, 100 });
    ASSERT_EQ(win->PlanEditor->DragKind, TDragKind::ResizeTop);
    Move(Box(), { 160, -50 });
    Release(Box(), { 160, -50 });
    EXPECT_EQ(Zone(0)->Rect().Top, 0);
}

// --- the background switch ----------------------------------------------------------------

TEST_F(FirstUseTest, ShowBackgroundSwitchesThePictureOffAndOn)
{
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(QColor(90, 120, 200));
    const QString file = Path(QStringLiteral("plan.png"));
    ASSERT_TRUE(picture.save(file));
    ScriptParamsDialogWithPicture(QStringLiteral("План"), file);
    Action("miNew")->trigger();
    ASSERT_NE(win->FP, nullptr);
    ASSERT_TRUE(Action("miShowBgImage")->isChecked());
    EXPECT_EQ(win->bmpPlan.pixelColor(10, 10), QColor(90, 120, 200));

    Action("miShowBgImage")->trigger();
    EXPECT_FALSE(Action("miShowBgImage")->isChecked());
    EXPECT_EQ(win->bmpPlan.pixelColor(10, 10), QColor(Qt::white));
    EXPECT_EQ(win->bmpPlan.size(), QSize(320, 240)) << "the plan keeps the picture's size";
    Action("miShowBgImage")->trigger();
    EXPECT_EQ(win->bmpPlan.pixelColor(10, 10), QColor(90, 120, 200));
}

// --- a new project without a picture ---------------------------------------------------------

TEST_F(FirstUseTest, NewByPictureWithoutChoosingOneIsSilent)
{
    prompts->Dialog([&](QWidget* w) {
        auto* d = static_cast<TfrmProjectParams*>(w);
        ASSERT_TRUE(d->rbSizeByBgImage->isChecked());
        d->edtProjectName->setText(QStringLiteral("План"));
        d->btnOK->click();
    });
    Action("miNew")->trigger();
    ASSERT_NE(win->FP, nullptr);
    EXPECT_TRUE(prompts->Messages().isEmpty()) << "no picture was chosen, so none failed to load";
    EXPECT_EQ(P().Width, 500);
    EXPECT_EQ(P().Height, 500);
    EXPECT_EQ(win->bmpPlan.size(), QSize(500, 500));
}

// --- what the mouse does in each mode -------------------------------------------------------

TEST_F(FirstUseTest, ChoosingAModeSaysWhatTheMouseDoesUntilAResultReplacesIt)
{
    NewProject(QStringLiteral("План"), 400, 300);
    EXPECT_EQ(win->sb->currentMessage(), TPlanEditor::ModeHint(true)) << "a new project starts in zone mode";
    win->btnSensorsEdit->click();
    const QString sensors = win->sb->currentMessage();
    EXPECT_TRUE(sensors.contains(QStringLiteral("двойной щелчок внутри зоны добавляет датчик")))
        << sensors.toStdString();
    win->btnZoneEdit->click();
    EXPECT_TRUE(win->sb->currentMessage().contains(QStringLiteral("нарисовать зону")));
    // The pointer leaving a tool button clears its status tip; the hint stays.
    QStatusTipEvent left { QString() };
    QCoreApplication::sendEvent(win->btnZoneEdit, &left);
    EXPECT_TRUE(win->sb->currentMessage().contains(QStringLiteral("нарисовать зону")));
    for (const bool zone : { true, false }) {
        EXPECT_FALSE(TPlanEditor::ModeHint(zone).contains(QLatin1Char('\n')));
        EXPECT_LE(win->sb->fontMetrics().horizontalAdvance(TPlanEditor::ModeHint(zone)), 881)
            << "one line in the window's width";
    }

    // A result text takes the status bar back.
    win->sbText(QStringLiteral("Время обнаружения: 42 сек"));
    EXPECT_TRUE(win->sb->currentMessage().isEmpty());
    EXPECT_EQ(win->sbPanel0->text(), QStringLiteral("Время обнаружения: 42 сек"));
}

} // namespace
