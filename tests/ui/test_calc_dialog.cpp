// The calculation dialog driven headless through its real controls on a fresh reference
// database filled with the shipped typical loads: the fire-load list and its refusals,
// the run set-ups, the start refusals, the read-out and database failures.
#include "FloatSpinEdit.h"
#include "SQLiteTable3.h"
#include "uCalc.h"
#include "uFireClasses.h"
#include "uNumberText.h"
#include "uPrompts.h"
#include "uRefDbStartup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// Readable QString values in failure output.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

class CalcDialogTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<TScriptedPrompts> prompts = std::make_unique<TScriptedPrompts>();
    std::unique_ptr<TSQLiteDatabase> db;
    std::unique_ptr<TfrmCalc> d;
    TFireProject project; // 0.1 m per pixel
    int32_t FNextLeft = 10;

    void SetUp() override
    {
        project.Setpx(0.1L);
        TRefDbStartup start = StartReferenceDatabase(dir.filePath(QStringLiteral("kvr.db")));
        ASSERT_FALSE(start.InitFailed) << start.InitErrorDetail.toStdString();
        ASSERT_GT(start.ShippedLoadsInserted, 0);
        db = std::move(start.Database);
    }
    void TearDown() override { d.reset(); }

    void Open() { d = std::make_unique<TfrmCalc>(db.get()); }

    // A zone of w × l × h metres (whole decimetres), each to the right of the last.
    TRoom* Zone(long double w, long double l, long double h)
    {
        const auto dm = [](long double m) { return static_cast<int32_t>(m * 10); };
        const int32_t left = FNextLeft;
        FNextLeft += dm(w) + 10;
        TRoom* room = project.GetRoom(project.AddRoom(left, 10, left + dm(w), 10 + dm(l)));
        room->SetH(dm(h));
        return room;
    }
    // A fresh dialog set up for `run` on `room`, as the window does.
    TCalcDialogSetup OpenFor(TCalcRun run, TRoom* room)
    {
        Open();
        const TCalcDialogSetup setup = CalcDialogSetup(run, *room);
        d->ApplySetup(setup, &room->CP.FireLoads);
        return setup;
    }

    void InsertLoad(const QString& name, const QString& p1)
    {
        db->ExecSQL(QStringLiteral("insert into InitialParams (name, P1) values (?, ?)"), { name, p1 });
    }

    // Chooses `name` (the first load when empty), types the amount and adds it.
    void Add(const QString& amount, const QString& name = QString())
    {
        if (!name.isEmpty())
            d->cbInitialParams->setCurrentIndex(d->cbInitialParams->findText(name));
        d->seCurrentFL->setText(amount);
        d->btnFireLoadAdd->click();
    }
    void RemoveRow(int row)
    {
        d->lvFireLoads->setCurrentItem(d->lvFireLoads->topLevelItem(row));
        d->btnFireLoadDelete->click();
    }
    std::vector<int32_t> ListIds() const
    {
        std::vector<int32_t> ids;
        for (const TFireLoad& load : d->FireLoadList())
            ids.push_back(load.ListId);
        return ids;
    }
    // The message boxes since the last call, emptied.
    QList<TPromptRecord> TakeMessages()
    {
        const QList<TPromptRecord> messages = prompts->Messages();
        prompts->Clear();
        return messages;
    }
    void ExpectOneMessage(const QString& text, const QString& caption, TPromptIcon icon)
    {
        const QList<TPromptRecord> m = TakeMessages();
        ASSERT_EQ(m.size(), 1);
        EXPECT_EQ(m[0].Text, text);
        EXPECT_EQ(m[0].Caption, caption);
        EXPECT_EQ(m[0].Icon, icon);
    }
};

// --- every control by name --------------------------------------------------------

TEST_F(CalcDialogTest, EveryControlIsThereByNameInItsInitialState)
{
    Open();
    const char* names[] = { "ts1", "ts2", "ts3", "cbInitialParams", "seCurrentFL", "btnFireLoadAdd",
        "btnFireLoadEditDatabase", "lvFireLoads", "btnFireLoadDelete", "lbl32", "lblFireLoadFinal",
        "seParam10", "seParam11", "edtParam3", "edtParam1", "edtP22", "seParam4", "seParam2", "seParam12",
        "pnlMethods", "rbMethod1", "rbMethod2", "seParam13", "seParam14", "rbMethod5", "seParam16",
        "rbMethod3", "rbMethod4", "seParam15", "lblParam15Name", "pnlBOSClass", "rbClassA2", "rbClassA3",
        "edtParam3_ts3", "edtParam1_ts3", "edtValue13", "img1", "img2", "seValue11", "seValue11recomend",
        "btnSetValue11", "lblValue13RecomendError", "btn2", "btn1", "cbDebug" };
    for (const char* name : names)
        EXPECT_NE(d->findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
    const char* properties[] = { "CCC", "P1LowestHeat", "P2LinearFlameSpeed", "P3BurnoutSpeed",
        "P4SmokeFormingAbility", "P5OxygenConsumption", "P6AllocationCO2", "P6AllocationCO",
        "P6AllocationHCl", "PFlammableLoad" };
    for (const char* p : properties) {
        auto* selector = d->findChild<QComboBox*>(QStringLiteral("cbTypeOf") + QLatin1String(p));
        ASSERT_NE(selector, nullptr) << p;
        EXPECT_TRUE(selector->isHidden() && !selector->isEnabled()) << p;
        EXPECT_EQ(selector->count(), 3) << p;
        auto* value = d->findChild<QLabel*>(QStringLiteral("lbl") + QLatin1String(p));
        ASSERT_NE(value, nullptr) << p;
        EXPECT_EQ(value->text(), QStringLiteral("0")) << p;
    }

    EXPECT_EQ(d->pcCalc->count(), 3);
    EXPECT_EQ(d->pcCalc->currentWidget(), d->ts1);
    EXPECT_TRUE(d->cbDebug->isHidden());
    EXPECT_TRUE(d->img1->isHidden() && d->img2->isHidden());
    EXPECT_TRUE(d->pnlBOSClass->isHidden());
    EXPECT_FALSE(d->rbClassA2->isChecked() || d->rbClassA3->isChecked());
    EXPECT_FALSE(d->seValue11recomend->isEnabled());
    EXPECT_EQ(d->cbInitialParams->currentIndex(), 0);

    // The method buttons stand 1, 2, 5, 3, 4 from the top.
    d->pcCalc->setCurrentWidget(d->ts2);
    d->show();
    QApplication::processEvents();
    const QRadioButton* order[] = { d->rbMethod1, d->rbMethod2, d->rbMethod5, d->rbMethod3, d->rbMethod4 };
    for (int i = 1; i < 5; ++i)
        EXPECT_LT(order[i - 1]->y(), order[i]->y()) << i;
    // The size cannot be dragged.
    EXPECT_EQ(d->minimumSize(), d->maximumSize());
}

// --- the list --------------------------------------------------------------------------

TEST_F(CalcDialogTest, TheSameLoadTwiceIsTwoElementsAndRemovalRecombines)
{
    Open();
    const QString first = d->cbInitialParams->itemText(0);
    Add(QStringLiteral("10"));
    Add(QStringLiteral("4,8"));
    EXPECT_TRUE(TakeMessages().isEmpty());
    ASSERT_EQ(d->lvFireLoads->topLevelItemCount(), 2);
    EXPECT_EQ(ListIds(), (std::vector<int32_t> { 1, 2 }));
    EXPECT_EQ(d->lvFireLoads->topLevelItem(1)->text(1), first);
    // Each element keeps the amount typed when it was added, exactly as typed text parses.
    long double typed = 0;
    ASSERT_TRUE(TryParseNumber(QStringLiteral("4,8"), &typed));
    EXPECT_EQ(d->FireLoadList()[0].PFlammableLoad, 10);
    EXPECT_EQ(d->FireLoadList()[1].PFlammableLoad, typed);
    EXPECT_EQ(d->Mix().TotalLoad, 10 + typed);
    EXPECT_EQ(d->lblFireLoadFinal->text(), QStringLiteral("14,8"));
    EXPECT_EQ(d->Values().FLNames(), first + QStringLiteral(", ") + first);

    RemoveRow(0);
    EXPECT_EQ(ListIds(), (std::vector<int32_t> { 2 }));
    EXPECT_EQ(d->lblFireLoadFinal->text(), QStringLiteral("4,8"));
    // The last one stays.
    RemoveRow(0);
    ExpectOneMessage(TfrmCalc::LastLoadText, TfrmCalc::LastLoadCaption, TPromptIcon::Warning);
    EXPECT_EQ(d->FireLoadList().size(), 1u);
    EXPECT_EQ(d->lvFireLoads->topLevelItemCount(), 1);
}

TEST_F(CalcDialogTest, WithoutTypicalLoadsNothingCanBeAddedOrStarted)
{
    db->ExecSQL(QStringLiteral("delete from InitialParams"));
    Open();
    EXPECT_EQ(d->cbInitialParams->count(), 0);
    Add(QStringLiteral("10"));
    ExpectOneMessage(TfrmCalc::NotFoundText, TfrmCalc::DatabaseCaption, TPromptIcon::Error);
    EXPECT_TRUE(d->FireLoadList().empty());

    d->btn2->click();
    ExpectOneMessage(CalcDialogText::NoFireLoads, CalcDialogText::StartRefusalCaption, TPromptIcon::Warning);
    EXPECT_NE(d->result(), QDialog::Accepted);

    // Two loads of one name: neither can be added.
    InsertLoad(QStringLiteral("Двойник"), QStringLiteral("13800"));
    InsertLoad(QStringLiteral("Двойник"), QStringLiteral("14000"));
    d->UpdateInitialParams();
    Add(QStringLiteral("10"), QStringLiteral("Двойник"));
    ExpectOneMessage(TfrmCalc::NotFoundText, TfrmCalc::DatabaseCaption, TPromptIcon::Error);
    EXPECT_TRUE(d->FireLoadList().empty());
}

TEST_F(CalcDialogTest, AZoneListIsEditedInPlaceAndARemovalAfterAReloadTakesTheChosenRow)
{
    InsertLoad(QStringLiteral("Бумага"), QStringLiteral("13400"));
    // A zone with a result whose list lost the element with ListId 2 in an earlier dialog.
    TRoom* room = Zone(10, 10, 3);
    std::vector<TFireLoad>& zone = room->CP.FireLoads;
    zone.resize(2);
    zone[0].Name = QStringLiteral("A");
    zone[0].ListId = 1;
    zone[1].Name = QStringLiteral("B");
    zone[1].ListId = 3;
    for (TFireLoad& load : zone) {
        load.P1LowestHeat = 13800;
        load.PFlammableLoad = 5;
        load.CCC = 1;
    }
    room->CP.CalculatedFL = true;
    OpenFor(TCalcRun::FireLoad, room);
    ASSERT_EQ(d->lvFireLoads->topLevelItemCount(), 2);
    EXPECT_EQ(d->lblFireLoadFinal->text(), QStringLiteral("10"));

    Add(QStringLiteral("7"), QStringLiteral("Бумага"));
    ASSERT_EQ(zone.size(), 3u); // the zone's own list, at once
    EXPECT_EQ(zone[2].ListId, 4);
    RemoveRow(2);
    ASSERT_EQ(zone.size(), 2u);
    EXPECT_EQ(zone[0].Name, QStringLiteral("A"));
    EXPECT_EQ(zone[1].Name, QStringLiteral("B"));
    RemoveRow(1);
    ASSERT_EQ(zone.size(), 1u);
    EXPECT_EQ(zone[0].Name, QStringLiteral("A"));

    // Cancelled: what was added stays in the zone's list.
    Add(QStringLiteral("3"), QStringLiteral("Бумага"));
    d->btn1->click();
    EXPECT_EQ(d->result(), QDialog::Rejected);
    ASSERT_EQ(zone.size(), 2u);
    EXPECT_EQ(zone[1].Name, QStringLiteral("Бумага"));
    EXPECT_EQ(zone[1].PFlammableLoad, 3);

    // Back on its own list, the dialog no longer touches the zone's.
    d->SetFireLoadList(nullptr);
    EXPECT_EQ(d->lvFireLoads->topLevelItemCount(), 0);
    Add(QStringLiteral("1"));
    EXPECT_EQ(zone.size(), 2u);
    EXPECT_EQ(d->Values().FireLoads.size(), 1u);
}

// --- the runs' set-ups and the start -------------------------------------------------------

// What the command-line tool assumes of a dialog set up for a run — its initial values and
// which controls the user can change — is what the window shows.
TEST_F(CalcDialogTest, EachRunsSetUpShowsWhatTheCommandLineAssumes)
{
    TRoom* room = Zone(10, 5, 3);
    const char* controls[] = { "seParam2", "seParam4", "seParam10", "seParam11", "seParam12", "seParam13",
        "seParam14", "seParam15", "seParam16", "seValue11", "method", "BOSClass" };
    for (TCalcRun run :
        { TCalcRun::Optimised, TCalcRun::Standard, TCalcRun::InitialStage, TCalcRun::FireLoad }) {
        const TCalcDialogSetup setup = OpenFor(run, room);
        const TCalcDialogValues shown = d->Values();
        const TCalcDialogValues assumed = CalcDialogInitialValues(setup);
        const int r = static_cast<int>(run);
        EXPECT_EQ(shown.edtParam1, assumed.edtParam1) << r;
        EXPECT_EQ(shown.edtParam3, assumed.edtParam3) << r;
        EXPECT_EQ(d->edtParam1_ts3->text(), setup.FillTs3 ? setup.edtParam1 : QString()) << r;
        for (auto field : { &TCalcDialogValues::seParam2, &TCalcDialogValues::seParam4,
                 &TCalcDialogValues::seParam10, &TCalcDialogValues::seParam11, &TCalcDialogValues::seParam12,
                 &TCalcDialogValues::seParam13, &TCalcDialogValues::seParam14, &TCalcDialogValues::seParam15,
                 &TCalcDialogValues::seParam16, &TCalcDialogValues::seValue11 })
            EXPECT_EQ(shown.*field, assumed.*field) << r;
        EXPECT_EQ(shown.method, assumed.method) << r;
        EXPECT_EQ(shown.BOSClass, assumed.BOSClass) << r;
        EXPECT_EQ(d->img1->isHidden(), setup.Chart != TCalcChart::img1) << r;
        EXPECT_EQ(d->img2->isHidden(), setup.Chart != TCalcChart::img2) << r;

        QRadioButton* methods[] = { d->rbMethod1, d->rbMethod2, d->rbMethod3, d->rbMethod4, d->rbMethod5 };
        for (int m = 1; m <= 5; ++m) {
            QRadioButton* rb = methods[m - 1];
            const bool offered = d->PageShown(d->ts2) && rb->isVisibleTo(d->ts2);
            ASSERT_EQ(offered, CalcDialogMethodOffered(setup, m)) << r << " method " << m;
            if (offered)
                rb->click();
            const int32_t method = d->Values().method;
            for (const char* name : controls) {
                QWidget* w = d->findChild<QWidget*>(QLatin1String(name));
                if (QLatin1String(name) == QLatin1String("method"))
                    w = d->rbMethod1;
                else if (QLatin1String(name) == QLatin1String("BOSClass"))
                    w = d->rbClassA2;
                ASSERT_NE(w, nullptr) << name;
                QWidget* page = w == d->seValue11 ? d->ts3 : d->ts2;
                const bool changeable = d->PageShown(page) && w->isVisibleTo(page) && w->isEnabled();
                EXPECT_EQ(changeable, CalcDialogControlOffered(setup, QLatin1String(name), method))
                    << r << " method " << m << " " << name;
            }
        }
    }
}

TEST_F(CalcDialogTest, StandardRunClassSetsTheActivationTemperatureAndTheSpacingIsLimited)
{
    OpenFor(TCalcRun::Standard, Zone(10, 10, 3));
    EXPECT_EQ(d->seParam10->text(), QStringLiteral("293"));
    EXPECT_EQ(d->seParam11->text(), QStringLiteral("333"));
    EXPECT_FALSE(d->seParam11->isEnabled());
    EXPECT_TRUE(d->pnlMethods->isHidden());
    EXPECT_FALSE(d->pnlBOSClass->isHidden());
    EXPECT_EQ(d->pcCalc->count(), 2);
    TCalcDialogValues v = d->Values();
    EXPECT_EQ(v.BOSClass, BOSClassA3);
    EXPECT_EQ(v.seParam11, 333);

    d->rbClassA2->click();
    EXPECT_EQ(d->seParam11->text(), QStringLiteral("323"));
    EXPECT_EQ(d->Values().BOSClass, BOSClassA2);
    // A later change of the initial temperature does not follow.
    d->seParam10->setText(QStringLiteral("300"));
    EXPECT_EQ(d->Values().seParam11, 323);

    // A spacing typed beyond the zone's shorter side less 0.01 m reads as that limit, as
    // its text would show it.
    d->seParam2->setText(QStringLiteral("12"));
    long double limit = 0;
    ASSERT_TRUE(TryParseNumber(QStringLiteral("9,99"), &limit));
    EXPECT_EQ(d->Values().seParam2, limit);
}

TEST_F(CalcDialogTest, OptimisedAndFireLoadRunsHideWhatTheyDoNotUse)
{
    OpenFor(TCalcRun::Optimised, Zone(5, 10, 3));
    EXPECT_EQ(d->seParam2->text(), QStringLiteral("1,1")); // 0.36 · 3 to one decimal
    EXPECT_TRUE(d->seParam15->isHidden() && d->lblParam15Name->isHidden());
    auto* unit = d->findChild<QLabel*>(QStringLiteral("lblParam15Unit"));
    ASSERT_NE(unit, nullptr);
    EXPECT_TRUE(unit->isHidden()); // the unit goes with its control

    OpenFor(TCalcRun::FireLoad, Zone(5, 10, 3));
    EXPECT_EQ(d->pcCalc->count(), 1);
    // A hidden page cannot be brought to the front.
    d->pcCalc->setCurrentWidget(d->ts3);
    EXPECT_EQ(d->pcCalc->currentWidget(), d->ts1);
    // Only a non-empty list is needed to start.
    Add(QStringLiteral("10"));
    d->btn2->click();
    EXPECT_TRUE(TakeMessages().isEmpty());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    // Shown again, a page returns to its place.
    d->SetPageShown(d->ts3, true);
    d->SetPageShown(d->ts2, true);
    EXPECT_EQ(d->pcCalc->indexOf(d->ts2), 1);
    EXPECT_EQ(d->pcCalc->indexOf(d->ts3), 2);
}

TEST_F(CalcDialogTest, InitialStageStartNeedsAPositiveDurationAndShowsItsPage)
{
    OpenFor(TCalcRun::InitialStage, Zone(10, 10, 2)); // below 3 m: the chart has no value
    d->show();
    EXPECT_FALSE(d->img2->isHidden());
    Add(QStringLiteral("10"));
    EXPECT_EQ(d->seValue11recomend->text(), QStringLiteral("-1"));
    EXPECT_EQ(d->lblValue13RecomendError->text(), FireLoadMixText::NoHeightData);

    d->btn2->click();
    ExpectOneMessage(
        CalcDialogText::NoNSPDuration, CalcDialogText::StartRefusalCaption, TPromptIcon::Warning);
    EXPECT_EQ(d->pcCalc->currentWidget(), d->ts3);
    EXPECT_EQ(d->focusWidget(), d->seValue11);

    d->pcCalc->setCurrentWidget(d->ts1);
    d->btnSetValue11->click(); // accepts -1
    EXPECT_EQ(d->seValue11->text(), QStringLiteral("-1"));
    d->btn2->click();
    ExpectOneMessage(
        CalcDialogText::NoNSPDuration, CalcDialogText::StartRefusalCaption, TPromptIcon::Warning);
    EXPECT_EQ(d->pcCalc->currentWidget(), d->ts3);
    EXPECT_NE(d->result(), QDialog::Accepted);

    // 3 m and 300 m³ give 7 minutes; accepted, the dialog may start.
    OpenFor(TCalcRun::InitialStage, Zone(10, 10, 3));
    Add(QStringLiteral("10"));
    EXPECT_EQ(d->seValue11recomend->text(), QStringLiteral("7"));
    EXPECT_TRUE(d->lblValue13RecomendError->text().isEmpty());
    d->btnSetValue11->click();
    d->btn2->click();
    EXPECT_TRUE(TakeMessages().isEmpty());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->Values().seValue11, 7);
}

TEST_F(CalcDialogTest, AListWithoutAnyAmountCannotBeStarted)
{
    OpenFor(TCalcRun::FireLoad, Zone(10, 10, 3));
    Add(QStringLiteral("0"));
    Add(QStringLiteral("0"));
    d->btn2->click();
    ExpectOneMessage(FireLoadMixText::ZeroTotal, CalcDialogText::StartRefusalCaption, TPromptIcon::Warning);
    EXPECT_NE(d->result(), QDialog::Accepted);
    Add(QStringLiteral("0,5"));
    d->btn2->click();
    EXPECT_TRUE(TakeMessages().isEmpty());
    EXPECT_EQ(d->result(), QDialog::Accepted);
}

// --- read-out ----------------------------------------------------------------------------

TEST_F(CalcDialogTest, ValuesAreReadAsTypedTextAndCarryTheCombination)
{
    InsertLoad(QStringLiteral("Эталон"), QStringLiteral("13800"));
    Open();
    d->edtParam1->setText(QStringLiteral("3"));
    d->edtParam3->setText(QStringLiteral("300"));
    d->seParam4->setText(QStringLiteral("4,8"));
    d->seParam12->setText(QStringLiteral("не число"));
    d->rbMethod2->click();
    d->cbDebug->setChecked(true);
    Add(QStringLiteral("16,5"), QStringLiteral("Эталон"));

    const TCalcDialogValues v = d->Values();
    long double typed = 0;
    ASSERT_TRUE(TryParseNumber(QStringLiteral("4,8"), &typed));
    EXPECT_EQ(v.seParam4, typed);
    EXPECT_NE(v.seParam4, static_cast<long double>(4.8)); // not the 64-bit value widened
    EXPECT_EQ(v.seParam12, 0); // not a number: the minimum
    EXPECT_EQ(v.method, 2);
    EXPECT_TRUE(v.cbDebug);
    EXPECT_EQ(v.edtParam3, QStringLiteral("300"));
    ASSERT_EQ(v.FireLoads.size(), 1u);
    EXPECT_EQ(v.FireLoads[0].Name, QStringLiteral("Эталон"));
    EXPECT_EQ(v.FireLoads[0].P1LowestHeat, 13800);
    EXPECT_EQ(v.FireLoads[0].PFlammableLoad, 16.5L);
    // 16.5 · 13800 / 13800 rounds to the even 16.
    EXPECT_EQ(v.value13, 16);
    EXPECT_EQ(v.value13calc, QStringLiteral("16,5*13800/13800"));
    // The default properties for what the row does not give.
    EXPECT_EQ(v.FireLoads[0].P2LinearFlameSpeed, 0.0108L);
    EXPECT_EQ(d->edtP22->text(), QStringLiteral("100"));

    // The method rule: method 4 enables its one parameter; none checked (possible only from
    // code) reads as method 1.
    d->rbMethod4->click();
    EXPECT_TRUE(d->seParam15->isEnabled() && !d->seParam13->isEnabled() && !d->seParam16->isEnabled());
    EXPECT_EQ(d->Values().method, 4);
    d->rbMethod4->setAutoExclusive(false);
    d->rbMethod4->setChecked(false);
    EXPECT_EQ(d->Values().method, 1);
}

// --- the database -------------------------------------------------------------------------

TEST_F(CalcDialogTest, ADatabaseFailureIsShownOnceAndChangesNothing)
{
    Open();
    Add(QStringLiteral("10"));
    const QString p22 = d->edtP22->text();
    const int choices = d->cbInitialParams->count();
    TakeMessages();
    db->ExecSQL(QStringLiteral("alter table InitialParams rename to InitialParamsAway"));

    Add(QStringLiteral("5"));
    QList<TPromptRecord> m = TakeMessages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].Caption, TfrmCalc::DatabaseCaption);
    EXPECT_EQ(m[0].Icon, TPromptIcon::Error);
    EXPECT_TRUE(m[0].Text.contains(QStringLiteral("no such table"))) << m[0].Text.toStdString();
    EXPECT_EQ(d->FireLoadList().size(), 1u);
    EXPECT_EQ(d->edtP22->text(), p22);

    d->UpdateInitialParams();
    m = TakeMessages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].Caption, TfrmCalc::DatabaseCaption);
    EXPECT_EQ(d->cbInitialParams->count(), choices);

    // Usable again once the database is.
    db->ExecSQL(QStringLiteral("alter table InitialParamsAway rename to InitialParams"));
    Add(QStringLiteral("5"));
    EXPECT_TRUE(TakeMessages().isEmpty());
    EXPECT_EQ(ListIds(), (std::vector<int32_t> { 1, 2 }));
}

TEST_F(CalcDialogTest, EditingTheDatabaseRefreshesTheChoiceAndKeepsTheList)
{
    Open();
    Add(QStringLiteral("10"));
    const TFireLoad chosen = d->FireLoadList()[0];
    bool editorShown = false;
    prompts->Dialog([&](QWidget* editor) {
        editorShown = true;
        // What the user does in the editor: a new name, and a change to the chosen load.
        db->ExecSQL(
            QStringLiteral("insert into InitialParams (name) values (?)"), { QStringLiteral("Склад шин") });
        db->ExecSQL(QStringLiteral("update InitialParams set P1 = ? where name = ?"),
            { QStringLiteral("99999"), chosen.Name });
        static_cast<QDialog*>(editor)->reject();
    });
    d->btnFireLoadEditDatabase->click();
    EXPECT_TRUE(editorShown);
    EXPECT_GE(d->cbInitialParams->findText(QStringLiteral("Склад шин")), 0);
    EXPECT_EQ(d->cbInitialParams->currentIndex(), 0);
    EXPECT_EQ(d->FireLoadList()[0], chosen);
}

} // namespace
