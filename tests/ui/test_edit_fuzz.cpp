// The editor's operations on damaged project files. Every mutated file that the loader
// accepts (flipped bytes, cuts, extreme integers and reals, see ProjectMutations.h) is
// opened in the real main window and edited as a user would: every zone selected, moved
// and resized at each edge, every sensor dragged, the spacing measured and the quick
// recalculation run, a sensor and a zone deleted, the plan repainted with every view
// option, the project saved and opened again. After each step the model's invariants are
// checked. In the CI's sanitizer pass any overflow or stray memory access aborts the test.
//
// The seed and the number of files are fixed for CI and can be changed for longer runs,
// from the environment or the command line:
//   TESVORN_FUZZ_SEED=7 TESVORN_FUZZ_CASES=5000 build/tests/ui/test_ui_edit_fuzz
//   build/tests/ui/test_ui_edit_fuzz --fuzz-seed=7 --fuzz-cases=5000
#include "MainWindowFixture.h"
#include "ModelInvariants.h"
#include "PlanMouse.h"
#include "ProjectMutations.h"
#include "uExampleProject.h"
#include "uNumberText.h"
#include "uPaintBox.h"
#include "uPlanEditor.h"
#include "uRoomSpacing.h"

#include <QCoreApplication>
#include <QFile>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <set>
#include <sstream>

namespace {

using namespace PlanMouse;

// The bytes a save would write with the values the program derives (zone volumes, door
// rectangles, water-source distances) blanked: what is left is the user's work, and when
// it differs from the last save or load the project must count as modified.
QByteArray StoredState(const TFireProject& p)
{
    using namespace ProjectFileLayout;
    QByteArray b = ProjectToBytes(p);
    auto blank = [&](qsizetype at, qsizetype n) { b.replace(at, n, QByteArray(n, '\0')); };
    qsizetype pos = VersionSize + HeaderSize;
    for (size_t i = 0; i < p.GetRooms().size(); ++i, pos += RoomSize)
        blank(pos + 276, 4);
    for (const auto& room : p.GetRooms())
        for (size_t k = 0; k < room->GetDoors().size(); ++k, pos += DoorSize)
            blank(pos + 280, 16);
    for (const auto& source : p.WaterSources()) {
        blank(pos + 512, ExtendedSize);
        pos += WaterSourceSize + (dynamic_cast<const TWSPier*>(source.get()) ? PierExtraSize : 0);
    }
    return b;
}

class EditFuzzTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        Start();
        FSeed = ModelInvariants::SessionSetting("fuzz-seed", "TESVORN_FUZZ_SEED", 20261210u);
        FCases = ModelInvariants::SessionSetting("fuzz-cases", "TESVORN_FUZZ_CASES", 160u);
    }

    TFireProject& P() { return *win->FP; }
    TPaintBox* Box() { return win->pb; }

    // Opens the file through the window, as the user does; false when it is refused.
    bool Open(const QString& file)
    {
        if (win->FP)
            win->FP->SetModified(false); // no save question in between
        prompts->Clear();
        if (!win->LoadProject(file) || !win->FP)
            return false;
        FClean = StoredState(P());
        return true;
    }

    // Zones sorted out of the mutual collisions they have now.
    std::set<std::pair<const TRoom*, const TRoom*>> Collisions()
    {
        std::set<std::pair<const TRoom*, const TRoom*>> pairs;
        const auto& rooms = P().GetRooms();
        for (size_t i = 0; i < rooms.size(); ++i)
            for (size_t j = i + 1; j < rooms.size(); ++j)
                if (RectsCollide(rooms[i]->Rect(), rooms[j]->Rect()))
                    pairs.insert({ rooms[i].get(), rooms[j].get() });
        return pairs;
    }

    // Runs one editing step and checks every invariant after it.
    void Step(const std::string& what, const std::function<void()>& op)
    {
        if (!win->FP || HasFatalFailure())
            return;
        FWhere = FCase + ", " + what;
        const auto collisionsBefore = Collisions();
        op();
        ASSERT_NE(win->FP, nullptr) << FWhere;
        CheckInvariants();
        // An edit never brings zones into collision that were apart.
        for (const auto& pair : Collisions())
            ASSERT_TRUE(collisionsBefore.count(pair)) << FWhere << ": zones brought into collision";
        // Whatever changed the user's work counts as a change.
        if (!P().Modified()) {
            ASSERT_EQ(StoredState(P()), FClean) << FWhere << ": an edit left the project unmodified";
        }
    }

    void CheckInvariants() { ModelInvariants::CheckProject(*win, FWhere); }

    // A pointer offset: mostly small, sometimes far beyond the plan and its limits.
    int Offset(TProjectMutator& m)
    {
        static const int offsets[] = { 0, 1, -1, 3, -7, 25, -40, 130, -300, 5000, -20000,
            PlanLimits::Coordinate, -PlanLimits::Coordinate, (1 << 29), -(1 << 29) };
        return offsets[m.Pick(std::size(offsets))];
    }

    static QPoint Middle(const TRect& r)
    {
        return QPoint(int((int64_t(r.Left) + r.Right) / 2), int((int64_t(r.Top) + r.Bottom) / 2));
    }

    void DragStep(const std::string& what, QPoint from, QPoint by)
    {
        Step(what, [&] {
            Press(Box(), from);
            Move(Box(), from + by);
            Move(Box(), from + by + by);
            Release(Box(), from + by + by);
        });
    }

    void EditTheProject(TProjectMutator& m, const QString& saveAs)
    {
        // Calculation results are not stored; give every zone one so that moving its
        // sensors runs the quick recalculation.
        for (const auto& room : P().GetRooms()) {
            TCalcParamsOrvann& cp = room->CP;
            cp.CalculatedVOP = true;
            cp.param1 = 3;
            cp.param5 = 0.95L;
            cp.param6 = 0.0083L;
            cp.param7 = 0.0145L;
            cp.param8 = 13800;
            cp.param10 = 293;
            cp.param11 = 330;
            cp.param12 = 100;
        }

        // Zones: select, move, resize at each edge.
        win->btnZoneEdit->click();
        for (size_t i = 0; i < P().GetRooms().size() && win->FP; ++i) {
            const std::string zone = "zone " + std::to_string(i);
            const TRect r = P().GetRooms()[i]->Rect();
            const QPoint middle = Middle(r);
            Step(zone + " select", [&] {
                Press(Box(), middle);
                Release(Box(), middle);
            });
            DragStep(zone + " move", middle, QPoint(Offset(m), Offset(m)));
            if (i >= P().GetRooms().size())
                break;
            const TRect n = P().GetRooms()[i]->Rect();
            const QPoint mid = Middle(n);
            DragStep(zone + " left edge", { n.Left, mid.y() }, { Offset(m), 0 });
            DragStep(zone + " right edge", { P().GetRooms()[i]->Rect().Right, mid.y() }, { Offset(m), 0 });
            DragStep(zone + " top edge", { mid.x(), P().GetRooms()[i]->Rect().Top }, { 0, Offset(m) });
            DragStep(zone + " bottom edge", { mid.x(), P().GetRooms()[i]->Rect().Bottom }, { 0, Offset(m) });
        }

        // Sensors: each dragged; one that moves stays in its zone.
        win->btnSensorsEdit->click();
        std::vector<std::pair<TRoom*, QString>> sensors;
        for (const auto& room : P().GetRooms())
            for (const auto& s : room->GetSensors())
                sensors.push_back({ room.get(), s->GUID() });
        for (size_t k = 0; k < sensors.size() && win->FP; ++k) {
            TRoom* room = sensors[k].first;
            TSensor* s = room->GetSensorByGUID(sensors[k].second);
            if (!s)
                continue;
            const TPoint at = s->AbsolutePos();
            std::vector<TPoint> before;
            for (const auto& other : room->GetSensors())
                before.push_back(other->Pos());
            DragStep("sensor " + std::to_string(k), { at.X, at.Y }, { Offset(m), Offset(m) });
            if (!win->FP)
                return;
            const TRect r = room->Rect();
            for (size_t j = 0; j < room->GetSensors().size() && j < before.size(); ++j) {
                const TSensor& other = *room->GetSensors()[j];
                if (other.Pos() == before[j])
                    continue;
                const TPoint a = other.AbsolutePos();
                ASSERT_TRUE(a.X >= std::min(r.Left, r.Right) && a.X <= std::max(r.Left, r.Right)
                    && a.Y >= std::min(r.Top, r.Bottom) && a.Y <= std::max(r.Top, r.Bottom))
                    << FCase << ", sensor " << k << ": dragged out of its zone";
            }
        }

        // The spacing measurement and the quick recalculation of every zone.
        Step("spacing", [&] {
            for (const auto& room : P().GetRooms()) {
                GetNearSensorsMaxRange(room.get());
                RecalcVOP(room.get(), 2.5L);
            }
        });

        // Deleting a sensor and a zone through their panels.
        for (const auto& room : P().GetRooms()) {
            if (room->GetSensors().empty())
                continue;
            const TPoint a = room->GetSensors().front()->AbsolutePos();
            Step("delete a sensor", [&] {
                Press(Box(), { a.X, a.Y });
                Release(Box(), { a.X, a.Y });
                win->btnSDelete->click();
            });
            break;
        }
        win->btnZoneEdit->click();
        if (win->FP && !P().GetRooms().empty()) {
            const QPoint middle = Middle(P().GetRooms()[m.Pick(P().GetRooms().size())]->Rect());
            Step("delete a zone", [&] {
                Press(Box(), middle);
                Release(Box(), middle);
                win->btnRpDelete->click();
            });
        }

        // Repaints with every view option.
        Step("repaint", [&] {
            for (const char* option :
                { "miShowRoomsInfo", "miShowScale", "miTransparentRooms", "miShowBgImage" })
                Action(option)->trigger();
            win->Repaint();
            for (const char* option :
                { "miShowRoomsInfo", "miShowScale", "miTransparentRooms", "miShowBgImage" })
                Action(option)->trigger();
            win->Repaint();
        });

        // Saved and opened again: what was saved loads, and saves to the same bytes.
        if (!win->FP || HasFatalFailure())
            return;
        prompts->Clear();
        prompts->File(saveAs);
        Action("miSaveAs")->trigger();
        ASSERT_TRUE(prompts->Messages().isEmpty()) << FCase << ": the save failed";
        QFile file(saveAs);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << FCase;
        const QByteArray saved = file.readAll();
        file.close();
        TFireProject again;
        QString error;
        ASSERT_TRUE(ProjectFromBytes(again, saved, &error))
            << FCase << ": the saved file is refused: " << error.toStdString();
        ASSERT_EQ(ProjectToBytes(again), saved) << FCase;
        ASSERT_TRUE(Open(saveAs)) << FCase << ": the window cannot open what it saved";
        Step("reopened", [] {});
    }

    uint32_t FSeed = 0;
    uint32_t FCases = 0;
    std::string FCase, FWhere;
    QByteArray FClean;
};

TEST_F(EditFuzzTest, EditingDamagedProjectsKeepsTheModelSound)
{
    const auto example = MakeExampleProject();
    TProjectMutator mutator(*example, FSeed);
    const QString input = Path(QStringLiteral("damaged.fsp"));
    const QString output = Path(QStringLiteral("saved.fsp"));
    int accepted = 0, refused = 0;
    for (uint32_t n = 0; n < FCases; ++n) {
        const QByteArray bytes = mutator.Next();
        TFireProject probe;
        if (!ProjectFromBytes(probe, bytes)) {
            ++refused;
            continue;
        }
        ++accepted;
        std::ostringstream name;
        name << "seed " << FSeed << " file " << n;
        FCase = name.str();
        QFile file(input);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        ASSERT_TRUE(Open(input)) << FCase << ": the loader accepts it, the window must open it";
        EditTheProject(mutator, output);
        if (HasFatalFailure())
            return;
    }
    // Both outcomes must have occurred, or the mutations missed what they are for.
    EXPECT_GT(accepted, int(FCases / 10));
    EXPECT_GT(refused, int(FCases / 10));
    EXPECT_EQ(prompts->Unanswered(), 0);
    std::printf("edit fuzz: seed %u, %u files, %d accepted and edited, %d refused\n", FSeed, FCases, accepted,
        refused);
}

} // namespace
