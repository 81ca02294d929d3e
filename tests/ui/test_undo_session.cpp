// A long randomised session of edits through the real main window — mouse work on the plan
// at changing zooms, the zone and sensor panels, the spacing tool bar, the scale, the
// project parameters with and without a background, accepted and cancelled calculation
// runs, saves — with undo and redo mixed in. Afterwards every command is undone and redone
// again, and the saved files must come back byte for byte: undoing everything gives the
// files saved before the first edit, redoing everything the files saved after the last,
// and each state on the way back matches the same state on the way forward. The model's
// invariants are checked after every step, and a project shown as unmodified must be the
// one last saved.
//
// The seed and the number of steps are fixed for CI and can be changed for longer runs,
// from the environment or the command line:
//   TESVORN_UNDO_SEED=7 TESVORN_UNDO_STEPS=50000 build/tests/ui/test_ui_undo_session
//   build/tests/ui/test_ui_undo_session --undo-seed=7 --undo-steps=50000
#include "FloatSpinEdit.h"
#include "MainWindowFixture.h"
#include "ModelInvariants.h"
#include "PlanMouse.h"
#include "btnScaleSetup.h"
#include "uCalc.h"
#include "uPaintBox.h"
#include "uProjectFile.h"
#include "uProjectResults.h"
#include "uUndoCommands.h"
#include "uZoom.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>
#include <map>
#include <random>

namespace {

using namespace PlanMouse;

QByteArray FileBytes(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class UndoSessionTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        Start();
        FSeed = ModelInvariants::SessionSetting("undo-seed", "TESVORN_UNDO_SEED", 20261211u);
        FSteps = ModelInvariants::SessionSetting("undo-steps", "TESVORN_UNDO_STEPS", 4000u);
        FRng.seed(FSeed);
    }

    TFireProject& P() { return *win->FP; }
    TPaintBox* Box() { return win->pb; }
    QUndoStack* Stack() { return win->UndoCommands->Stack(); }
    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(FRng); }
    template <class T> const T& Pick(std::initializer_list<T> items)
    {
        return items.begin()[Uniform(0, int(items.size()) - 1)];
    }

    // What a save would write, both files, without writing them.
    QByteArray Saved() { return ProjectToBytes(P()) + "\n--results--\n" + ProjectResultsToBytes(P()); }

    // Saves through "Сохранить как..." and answers the two files written (the results file
    // is empty when the project has no results).
    QByteArray SaveAs(const QString& name)
    {
        const QString file = Path(name + QStringLiteral(".fsp"));
        prompts->Clear();
        prompts->File(file);
        Action("miSaveAs")->trigger();
        EXPECT_TRUE(prompts->Messages().isEmpty()) << name.toStdString() << ": the save failed";
        FClean = Saved();
        return FileBytes(file) + "\n--results--\n" + FileBytes(Path(name + QStringLiteral(".results.json")));
    }

    // The box position of plan point p at the current zoom: the middle of its pixels.
    QPoint BoxAt(QPoint p)
    {
        TPlanView v;
        v.Percent = win->Zoom->Percent();
        const QRect cell(QPoint(int(v.Zoomed(p.x())), int(v.Zoomed(p.y()))),
            QPoint(int(v.Zoomed(p.x() + 1)) - 1, int(v.Zoomed(p.y() + 1)) - 1));
        return cell.isValid() ? cell.center() : cell.topLeft();
    }

    // A plan point: mostly near the edges of a zone, so that resizes, moves between
    // neighbours and sensors at walls are frequent.
    QPoint PlanPoint()
    {
        const QSize plan = win->Zoom->PlanSize();
        const int w = std::max(plan.width() - 1, 1), h = std::max(plan.height() - 1, 1);
        if (!P().Rooms.empty() && Uniform(0, 2) > 0) {
            const TRect r = P().Rooms[size_t(Uniform(0, int(P().Rooms.size()) - 1))]->Rect();
            const int x = Uniform(0, 1) ? Uniform(r.Left - 3, r.Left + 3) : Uniform(r.Left, r.Right + 3);
            const int y
                = Uniform(0, 1) ? Uniform(r.Top - 3, r.Bottom + 3) : Uniform(r.Bottom - 3, r.Bottom + 3);
            return { std::clamp(x, 0, w), std::clamp(y, 0, h) };
        }
        return { Uniform(0, w), Uniform(0, h) };
    }
    QPoint At() { return BoxAt(PlanPoint()); }
    // A plan point inside a zone, where sensors are, or anywhere without zones.
    QPoint Inside()
    {
        if (P().Rooms.empty())
            return PlanPoint();
        const TRect r = P().Rooms[size_t(Uniform(0, int(P().Rooms.size()) - 1))]->Rect();
        return { Uniform(r.Left, r.Right), Uniform(r.Top, r.Bottom) };
    }

    // Runs `command` with `dialog` answering the modal dialog it may show; a dialog the
    // command did not show (a refusal) leaves no script behind for the next one.
    void WithDialog(const std::function<void(QWidget*)>& dialog, const std::function<void()>& command)
    {
        prompts->Clear();
        prompts->Dialog(dialog);
        command();
        prompts->Clear();
    }
    // A calculation dialog filled by `fill`, then started, or cancelled when it refuses to
    // start with what it was given.
    void Run(QAbstractButton* button, const std::function<void(TfrmCalc*)>& fill, bool accept)
    {
        WithDialog(
            [fill, accept](QWidget* w) {
                auto* d = qobject_cast<TfrmCalc*>(w);
                ASSERT_NE(d, nullptr);
                fill(d);
                (accept ? d->btn2 : d->btn1)->click();
                if (d->isVisible())
                    d->reject();
            },
            [button] { button->click(); });
    }

    // One random step of the session; `down` follows the left button.
    void RandomStep(bool& down)
    {
        const int depth = Stack()->index();
        Act(down);
        FEdits += Stack()->index() > depth && !FRedid;
        FRedid = false;
    }
    void Act(bool& down)
    {
        const Qt::KeyboardModifiers mods = Uniform(0, 3) == 0 ? Qt::ShiftModifier : Qt::NoModifier;
        const int action = Uniform(0, 999);
        if (action < 20) {
            (Uniform(0, 1) ? win->btnZoneEdit : win->btnSensorsEdit)->click();
        } else if (action < 60) {
            Press(Box(), At(), mods, Uniform(0, 7) ? Qt::LeftButton : Qt::RightButton);
            down = true;
        } else if (action < 100) {
            for (int k = Uniform(1, 4); k > 0; --k)
                Move(Box(), At(), mods, down ? Qt::LeftButton : Qt::NoButton);
        } else if (action < 140) {
            Release(Box(), At(), mods);
            down = false;
        } else if (action < 300) {
            DoubleClick(Box(), Uniform(0, 3) ? BoxAt(Inside()) : At());
            down = false;
        } else if (action < 700) {
            // A whole drag in one step, the commonest edit: from a zone's inside (a move,
            // or a sensor's drag), from near an edge (a resize) or from anywhere.
            Press(Box(), Uniform(0, 1) ? BoxAt(Inside()) : At(), mods);
            for (int k = Uniform(1, 3); k > 0; --k)
                Move(Box(), At(), mods);
            Release(Box(), At(), mods);
            down = false;
        } else if (action < 775) {
            if (win->pnlRoomParams->isVisible())
                win->btnRpDelete->click();
        } else if (action < 795) {
            if (win->pnlSensorParams->isVisible())
                win->btnSDelete->click();
        } else if (action < 820) {
            if (!win->pnlRoomParams->isVisible())
                return;
            switch (Uniform(0, 3)) {
            case 0:
                win->edtRpName->setText(QStringLiteral("Зона %1").arg(Uniform(1, 50)));
                break;
            case 1:
                win->seRpHeight->setText(Pick({ "2", "3", "4,5", "12" }));
                break;
            case 2:
                win->seRpLength->setText(QString::number(Uniform(1, 30)));
                break;
            default:
                win->seRpWidth->setText(QString::number(Uniform(1, 30)));
                break;
            }
            win->btnRpSave->click();
        } else if (action < 840) {
            if (!win->pnlSensorParams->isVisible())
                return;
            switch (Uniform(0, 3)) {
            case 0:
                win->edtSName->setText(QStringLiteral("Д%1").arg(Uniform(1, 50)));
                break;
            case 1:
                win->seSHeight->setText(Pick({ "1", "2,5", "3" }));
                break;
            case 2:
                win->seSWorkTemperature->setText(Pick({ "57", "68", "93" }));
                break;
            default:
                (Uniform(0, 1) ? win->rbSTypeSmoke : win->rbSTypeTemperature)->click();
                break;
            }
            win->btnSSave->click();
        } else if (action < 855) {
            (Uniform(0, 1) ? win->btnManualL : win->btnAutoL)->click();
        } else if (action < 865) {
            if (win->seManualL->isReadOnly())
                return;
            win->seManualL->selectAll();
            QTest::keyClicks(win->seManualL, Pick({ "3", "4,2", "6" }));
        } else if (action < 872) {
            const QString length = Pick({ "5", "10", "12,5", "20" });
            WithDialog(
                [length](QWidget* w) {
                    auto* d = qobject_cast<TfrmScaleSetup*>(w);
                    ASSERT_NE(d, nullptr);
                    d->edtLength->setText(length);
                    d->btnOK->click();
                },
                [this] { win->btn5->click(); });
        } else if (action < 877) {
            const QString name = QStringLiteral("План %1").arg(Uniform(1, 9));
            const int width = Uniform(400, 900), height = Uniform(300, 700);
            WithDialog(
                [name, width, height](QWidget* w) {
                    auto* d = static_cast<TfrmProjectParams*>(w);
                    d->edtProjectName->setText(name);
                    d->rbSizeManual->click();
                    d->seWidth->setValue(width);
                    d->seHeight->setValue(height);
                    d->btnOK->click();
                },
                [this] { win->miProjectParams->trigger(); });
        } else if (action < 879) {
            ScriptParamsDialogWithPicture(QString(), FPictures[size_t(Uniform(0, 1))]);
            win->miProjectParams->trigger();
            prompts->Clear();
        } else if (action < 895) {
            const QString spacing = Pick({ "2,5", "4", "6" });
            Run(
                win->btnZoneCalcVOP,
                [spacing](TfrmCalc* d) {
                    d->btnFireLoadAdd->click();
                    d->seParam2->setText(spacing);
                },
                true);
        } else if (action < 902) {
            Run(
                win->btnZoneCalcNSP,
                [](TfrmCalc* d) {
                    d->btnFireLoadAdd->click();
                    d->seValue11->setText(QStringLiteral("10"));
                },
                true);
        } else if (action < 906) {
            Run(
                win->btnCalcFL, [](TfrmCalc* d) { d->btnFireLoadAdd->click(); }, true);
        } else if (action < 910) {
            // Cancelled, sometimes after the zone's list of loads was changed in it.
            const bool add = Uniform(0, 1);
            Run(
                Pick<QAbstractButton*>({ win->btnZoneCalcVOP, win->btnZoneCalcNSP }),
                [add](TfrmCalc* d) {
                    if (add)
                        d->btnFireLoadAdd->click();
                },
                false);
        } else if (action < 922) {
            // One command or a few.
            const int index = Stack()->index();
            for (int k = Uniform(0, 3) ? 1 : Uniform(2, 6); k > 0; --k)
                if (Uniform(0, 1))
                    win->btnUndo->click();
                else
                    win->miUndo->trigger();
            FUndone += index - Stack()->index();
            // Stepping back and forth, as a user looking for a state does.
            if (Uniform(0, 2) == 0) {
                const int back = Stack()->index();
                for (int k = Uniform(1, index - back + 1); k > 0; --k)
                    win->miRedo->trigger();
                FRedone += Stack()->index() - back;
                FRedid = true;
            }
            down = false;
        } else if (action < 935) {
            const int index = Stack()->index();
            win->miRedo->trigger();
            FRedone += Stack()->index() - index;
            FRedid = true;
            down = false;
        } else if (action < 938) {
            SaveAs(QStringLiteral("session"));
            ++FSaves;
            down = false;
        } else {
            Pick<QAction*>({ win->miZoomIn, win->miZoomOut, win->miZoom100, win->miZoomFit })->trigger();
        }
    }

    // `dragging`: a press has not been released yet, and what it changed is no command yet.
    void Check(const std::string& where, bool dragging = false)
    {
        ASSERT_NE(win->FP, nullptr) << where;
        ModelInvariants::CheckSoundProject(*win, where);
        if (HasFatalFailure())
            return;
        // A project shown unmodified is the one last saved (or opened).
        if (!dragging && !P().Modified()) {
            ASSERT_EQ(Saved(), FClean) << where << ": unmodified, yet not the saved project";
        }
        ASSERT_EQ(win->miUndo->isEnabled(), Stack()->canUndo()) << where;
        ASSERT_EQ(win->miRedo->isEnabled(), Stack()->canRedo()) << where;
    }

    uint32_t FSeed = 0;
    uint32_t FSteps = 0;
    std::mt19937 FRng;
    QByteArray FClean; // what the last save or the opening left
    int FEdits = 0; // steps that pushed a command
    bool FRedid = false;
    int FUndone = 0, FRedone = 0, FSaves = 0; // commands undone and redone, saves, on the way
    QString FPictures[2];
};

TEST_F(UndoSessionTest, UndoingEverythingGivesBackTheSavedFilesAndRedoingReturns)
{
    // Two background pictures of different sizes for the project parameters.
    for (int i = 0; i < 2; ++i) {
        QImage picture(i ? 700 : 520, i ? 380 : 460, QImage::Format_RGB32);
        picture.fill(i ? QColor(210, 220, 190) : QColor(190, 200, 230));
        FPictures[i] = Path(QStringLiteral("plan%1.png").arg(i));
        ASSERT_TRUE(picture.save(FPictures[i]));
    }

    // A project with a scale, zones, sensors and one zone's run kept, saved and opened
    // again, so that the session starts from files on disk.
    NewProject(QStringLiteral("Этаж"), 640, 400);
    win->btnZoneEdit->click();
    Drag(Box(), { 60, 60 }, { 260, 180 });
    Drag(Box(), { 300, 60 }, { 420, 220 });
    Drag(Box(), { 460, 240 }, { 600, 380 });
    Press(Box(), { 160, 120 });
    Release(Box(), { 160, 120 });
    WithDialog(
        [](QWidget* w) {
            auto* d = qobject_cast<TfrmScaleSetup*>(w);
            ASSERT_NE(d, nullptr);
            d->edtLength->setText(QStringLiteral("10"));
            d->btnOK->click();
        },
        [this] { win->btn5->click(); });
    win->seRpHeight->setText(QStringLiteral("3"));
    win->btnRpSave->click();
    Run(
        win->btnZoneCalcVOP,
        [](TfrmCalc* d) {
            d->btnFireLoadAdd->click();
            d->seParam2->setText(QStringLiteral("4"));
        },
        true);
    ASSERT_TRUE(P().Rooms[0]->Runs.VOP.has_value());
    win->btnSensorsEdit->click();
    DoubleClick(Box(), { 350, 100 });
    DoubleClick(Box(), { 380, 180 });
    const QByteArray before = SaveAs(QStringLiteral("before"));
    ASSERT_TRUE(win->LoadProject(Path(QStringLiteral("before.fsp"))));
    ASSERT_FALSE(P().Modified());
    ASSERT_EQ(Stack()->count(), 0);
    FClean = Saved();

    QElapsedTimer clock;
    clock.start();
    bool down = false;
    for (uint32_t step = 0; step < FSteps; ++step) {
        RandomStep(down);
        Check("step " + std::to_string(step), down);
        if (HasFatalFailure())
            return;
    }
    Release(Box(), At());
    // The session ends at the top of the stack: what could still be redone is.
    for (int k = Stack()->count(); Stack()->canRedo() && k > 0; --k)
        win->miRedo->trigger();
    win->UndoCommands->Flush();
    ASSERT_FALSE(Stack()->canRedo());
    const int top = Stack()->index();
    const QByteArray after = SaveAs(QStringLiteral("after"));
    const qint64 session = clock.restart();
    std::printf(
        "undo session: seed %u, %u steps, %d edits, %d commands on the stack, %d undone and %d redone "
        "on the way, %d saves\n",
        FSeed, FSteps, FEdits, top, FUndone, FRedone, FSaves);
    // Every change was made by an edit that names itself, and the session made each kind.
    std::map<QString, int> kinds;
    for (int i = 0; i < top; ++i)
        ++kinds[Stack()->text(i)];
    for (const auto& [name, count] : kinds)
        std::printf("  %s: %d\n", name.toUtf8().constData(), count);
    EXPECT_EQ(kinds.count(UndoText::Other), 0u) << "a change no edit named";
    for (const QString& kind : { UndoText::AddZone, UndoText::MoveZone, UndoText::ResizeZone,
             UndoText::DeleteZone, UndoText::ZoneParams, UndoText::AddSensor, UndoText::MoveSensor,
             UndoText::DeleteSensor, UndoText::SensorParams, UndoText::Scale, UndoText::ProjectParams,
             UndoText::RunVOP, UndoText::RunNSP })
        EXPECT_GT(kinds[kind], 0) << kind.toStdString();
    // The session did real work: thousands of steps make hundreds of commands.
    EXPECT_GT(top, int(FSteps / 10));
    EXPECT_GT(FUndone, 0);
    EXPECT_GT(FRedone, 0);

    // Back to the start, one command at a time; each state is kept for the way forward.
    std::vector<QByteArray> states(size_t(top) + 1);
    states[size_t(top)] = Saved();
    while (Stack()->canUndo()) {
        const int was = Stack()->index();
        win->miUndo->trigger();
        const int index = Stack()->index();
        // A restore that is not exact would show as a change of its own, taken as a new
        // command before the next undo.
        ASSERT_EQ(Stack()->count(), top) << "undo to " << index;
        ASSERT_EQ(index, was - 1);
        states[size_t(index)] = Saved();
        Check("undo to " + std::to_string(index));
        if (HasFatalFailure())
            return;
    }
    ASSERT_EQ(Stack()->index(), 0);
    EXPECT_EQ(SaveAs(QStringLiteral("undone")), before) << "undoing everything must give the first files";

    // And forward again: every state as it was, the last one the files saved after.
    while (Stack()->canRedo()) {
        const int was = Stack()->index();
        win->miRedo->trigger();
        const int index = Stack()->index();
        ASSERT_EQ(Stack()->count(), top) << "redo to " << index;
        ASSERT_EQ(index, was + 1);
        ASSERT_EQ(Saved(), states[size_t(index)]) << "redo to " << index;
        Check("redo to " + std::to_string(index));
        if (HasFatalFailure())
            return;
    }
    ASSERT_EQ(Stack()->index(), top);
    EXPECT_EQ(SaveAs(QStringLiteral("redone")), after) << "redoing everything must give the last files";
    std::printf("undo session: %lld ms for the session, %lld ms to undo and redo everything\n", session,
        clock.elapsed());
}

} // namespace
