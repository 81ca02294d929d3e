// The database editor driven through its real controls, headless, on a fresh temporary
// reference database: adding, selecting, editing, picking named values, saving with the
// number check, deleting, a cleared selection, database failures and the ways in.
#include "MainWindowFixture.h"
#include "SQLiteTable3.h"
#include "uDatabaseEditor.h"
#include "uMisc.h"
#include "uRefDbStartup.h"
#include "uRefDbStatements.h"
#include "uTypicalLoad.h"

#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

class DatabaseEditorTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TScriptedPrompts prompts;
    std::unique_ptr<TSQLiteDatabase> db;
    std::unique_ptr<TfrmDatabaseEditor> ed;

    QString File() const { return dir.filePath(QStringLiteral("kvr.db")); }

    // Opens the editor on a new file: filled with the shipped typical loads, or (as an
    // existing file that start-up only completes) with four empty tables.
    void Open(bool shipped = false)
    {
        if (!shipped)
            TSQLiteDatabase(File()).ExecSQL(QStringLiteral("create table placeholder (x)"));
        TRefDbStartup start = StartReferenceDatabase(File());
        ASSERT_TRUE(start.Database);
        ASSERT_FALSE(start.InitFailed);
        db = std::move(start.Database);
        Reopen();
    }
    void Reopen()
    {
        ed = std::make_unique<TfrmDatabaseEditor>(db.get());
        ed->show();
    }

    void Click(QListWidget* list, int row)
    {
        ASSERT_LT(row, list->count());
        QTest::mouseClick(
            list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    // Replaces the edit's text by typing, character by character (Cyrillic included).
    void Type(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(edit, &press);
        }
    }
    // Chooses an item as the user does from the keyboard: one step down from the item
    // before it.
    void Pick(QComboBox* box, int index)
    {
        box->setCurrentIndex(index - 1);
        QTest::keyClick(box, Qt::Key_Down);
        ASSERT_EQ(box->currentIndex(), index);
    }
    int64_t IdAt(QListWidget* list, int row) const
    {
        return list->item(row)->data(Qt::UserRole).toLongLong();
    }
    // A column of a row as stored; "<none>" when the row is gone.
    QString Stored(TRefTable table, int64_t id, const char* column) const
    {
        const TSQLiteTable t = RefSelectById(*db, table, id);
        return t.Count() == 1 ? t.FieldAsStringByName(QLatin1String(column)) : QStringLiteral("<none>");
    }
};

// --- the design's controls ------------------------------------------------------------

TEST_F(DatabaseEditorTest, EveryControlOfTheFourPagesIsThereByItsName)
{
    Open();
    // Each control's type follows from its name's prefix.
    const std::vector<std::pair<const char*, QString>> pages = {
        { "tsInitialParams",
            "lvInitialParams btnAddInitialParams btnDeleteInitialParams btnSaveChanges edtName "
            "edtP1LowestHeat edtP2LinearFlameSpeed edtP3BurnoutSpeed edtP4SmokeFormingAbility "
            "edtP5OxygenConsumption edtP6AllocationCO2 edtP6AllocationCO edtP6AllocationHCl "
            "edtPFlammableLoad edtCCC" },
        { "TabSheet1",
            "lvAllParams btnAllParamsAdd btnAllParamsDelete btnAllParamsSave edtAllParamsName "
            "edtAllParamsValue cbAllParamsType" },
        { "tsFirefighting",
            "lvFF btnFFAdd btnFFDelete btnFFSaveChanges edtFFName edtP21 edtP18Closed edtP19Closed edtP20 "
            "edtP18Opened edtP19Opened" },
        { "tsMaterialTypes",
            "lvMaterialTypes btnMaterialTypeAdd btnMaterialTypeDelete btnSaveMaterialType "
            "edtMaterialTypeName edtMaterialTypeParamA edtMaterialTypeParamB" },
    };
    const std::vector<std::pair<QString, const char*>> types = { { "lv", "QListWidget" },
        { "btn", "QPushButton" }, { "edt", "QLineEdit" }, { "cb", "QComboBox" } };
    for (const auto& [pageName, names] : pages) {
        auto* page = ed->findChild<QWidget*>(QLatin1String(pageName));
        ASSERT_NE(page, nullptr) << pageName;
        const int index = ed->PageControl->indexOf(page);
        EXPECT_EQ(ed->PageControl->isTabVisible(index), index < 2) << pageName; // the last two stay hidden
        for (const QString& name : names.split(QLatin1Char(' '))) {
            QWidget* w = page->findChild<QWidget*>(name);
            ASSERT_NE(w, nullptr) << name.toStdString();
            for (const auto& [prefix, type] : types) {
                if (name.startsWith(prefix)) {
                    EXPECT_TRUE(w->inherits(type)) << name.toStdString();
                }
            }
        }
    }
    EXPECT_EQ(ed->PageControl->currentWidget(), ed->tsInitialParams);
    EXPECT_NE(ed->findChild<QPushButton*>(QStringLiteral("btnClose")), nullptr);
    // The selectors, their codes and the edits they fill.
    const std::vector<std::pair<const char*, int>> selectors = { { "cbP1LowestHeat", 1 },
        { "cbP2LinearFlameSpeed", 2 }, { "cbP3BurnoutSpeed", 3 }, { "cbP4SmokeFormingAbility", 4 },
        { "cbP5OxygenConsumption", 5 }, { "cbP6AllocationCO2", 61 }, { "cbP6AllocationCO", 62 },
        { "cbP6AllocationHCl", 63 }, { "cbPFlammableLoad", 6 }, { "cbCCC", 7 } };
    ASSERT_EQ(ed->NamedValueSelectors().size(), 10);
    for (size_t i = 0; i < selectors.size(); ++i) {
        QComboBox* box = ed->tsInitialParams->findChild<QComboBox*>(QLatin1String(selectors[i].first));
        ASSERT_NE(box, nullptr) << selectors[i].first;
        EXPECT_EQ(ed->NamedValueSelectors()[int(i)], box);
        EXPECT_EQ(box->property("Tag").toInt(), selectors[i].second);
        EXPECT_EQ(ed->PairedEdit(box)->objectName(),
            QString::fromLatin1(selectors[i].first).replace(0, 2, QStringLiteral("edt")));
    }
}

// --- lists, selection and saving ------------------------------------------------------

TEST_F(DatabaseEditorTest, ListsFollowTheDatabaseAndSelectorsStartWithoutAChoice)
{
    Open(true);
    QStringList listed;
    for (int i = 0; i < ed->lvInitialParams->count(); ++i)
        listed << ed->lvInitialParams->item(i)->text();
    EXPECT_EQ(listed, ListTypicalLoadNames(*db));
    EXPECT_FALSE(listed.isEmpty());
    for (QComboBox* box : ed->NamedValueSelectors()) {
        EXPECT_EQ(box->count(), RefSelectAllParamsByCategory(*db, box->property("Tag").toInt()).Count());
        EXPECT_EQ(box->currentIndex(), -1);
    }
    for (QWidget* panel : { ed->pnlInitialParams, ed->pnlAllParams, ed->pnlFF, ed->pnlMaterialTypes })
        EXPECT_TRUE(panel->isHidden());
    EXPECT_FALSE(ed->btnDeleteInitialParams->isEnabled());
}

TEST_F(DatabaseEditorTest, AddSelectEditAndSaveWithEmptyFieldsReadAsDefaults)
{
    Open();
    ed->btnAddInitialParams->click();
    ASSERT_EQ(ed->lvInitialParams->count(), 1);
    EXPECT_EQ(ed->lvInitialParams->item(0)->text(), QStringLiteral("Новый набор"));
    EXPECT_TRUE(ed->lvInitialParams->selectedItems().isEmpty());
    EXPECT_FALSE(ed->pnlInitialParams->isVisible());

    Click(ed->lvInitialParams, 0);
    EXPECT_TRUE(ed->pnlInitialParams->isVisible());
    EXPECT_TRUE(ed->btnSaveChanges->isVisible());
    EXPECT_FALSE(ed->btnSaveChanges->isEnabled());
    EXPECT_TRUE(ed->btnDeleteInitialParams->isEnabled());
    EXPECT_EQ(ed->edtP1LowestHeat->text(), QString()); // NULL columns of a new row
    EXPECT_EQ(ed->edtP1LowestHeat->placeholderText(), QStringLiteral("13000"));
    EXPECT_EQ(ed->edtP5OxygenConsumption->placeholderText(), QStringLiteral("-1,03"));

    Type(ed->edtName, QStringLiteral("Бумага"));
    EXPECT_TRUE(ed->btnSaveChanges->isEnabled());
    Type(ed->edtP1LowestHeat, QStringLiteral("14500"));
    Type(ed->edtPFlammableLoad, QStringLiteral("42,5"));
    ed->btnSaveChanges->click();
    EXPECT_TRUE(prompts.Records().isEmpty());
    EXPECT_FALSE(ed->pnlInitialParams->isVisible());
    EXPECT_EQ(ed->lvInitialParams->item(0)->text(), QStringLiteral("Бумага"));

    const int64_t id = IdAt(ed->lvInitialParams, 0);
    EXPECT_EQ(Stored(TRefTable::InitialParams, id, "P1"), QStringLiteral("14500"));
    EXPECT_EQ(Stored(TRefTable::InitialParams, id, "PFlammableLoad"), QStringLiteral("42,5"));
    EXPECT_EQ(Stored(TRefTable::InitialParams, id, "P2"), QString());
    TFireLoad load;
    ASSERT_TRUE(LoadTypicalLoad(*db, QStringLiteral("Бумага"), load));
    EXPECT_EQ(load.P1LowestHeat, 14500);
    EXPECT_EQ(load.PFlammableLoad, 42.5L);
    EXPECT_EQ(load.P2LinearFlameSpeed, 0.0108L);
}

TEST_F(DatabaseEditorTest, TheFirstFieldThatIsNotANumberStopsTheSave)
{
    Open();
    ed->btnAddInitialParams->click();
    Click(ed->lvInitialParams, 0);
    const int64_t id = IdAt(ed->lvInitialParams, 0);
    Type(ed->edtName, QStringLiteral("Ткань"));
    Type(ed->edtPFlammableLoad, QStringLiteral("12.5")); // a full stop under a comma
    Type(ed->edtCCC, QStringLiteral("abc"));
    ed->btnSaveChanges->click();
    ASSERT_EQ(prompts.Messages().size(), 1);
    EXPECT_EQ(prompts.Messages()[0].Text, CheckNumberMessage(QStringLiteral("12.5"), QString()));
    EXPECT_EQ(prompts.Messages()[0].Caption, QStringLiteral("Ошибка: неверное значение"));
    EXPECT_EQ(prompts.Messages()[0].Icon, TPromptIcon::Warning);
    EXPECT_EQ(Stored(TRefTable::InitialParams, id, "name"), QStringLiteral("Новый набор"));
    EXPECT_TRUE(ed->pnlInitialParams->isVisible());
    EXPECT_EQ(ed->edtName->text(), QStringLiteral("Ткань"));

    prompts.Clear();
    Type(ed->edtPFlammableLoad, QStringLiteral("12,5"));
    ed->btnSaveChanges->click(); // the completeness comes after the fire load
    ASSERT_EQ(prompts.Messages().size(), 1);
    EXPECT_EQ(prompts.Messages()[0].Text, CheckNumberMessage(QStringLiteral("abc"), QString()));
    EXPECT_EQ(Stored(TRefTable::InitialParams, id, "name"), QStringLiteral("Новый набор"));

    prompts.Clear();
    Type(ed->edtCCC, QStringLiteral("   "));
    ed->btnSaveChanges->click();
    EXPECT_TRUE(prompts.Messages().isEmpty());
    EXPECT_EQ(Stored(TRefTable::InitialParams, id, "CCC"), QString());
    EXPECT_EQ(Stored(TRefTable::InitialParams, id, "PFlammableLoad"), QStringLiteral("12,5"));
}

TEST_F(DatabaseEditorTest, EveryShippedLoadCanBeRenamedAndSaved)
{
    Open(true);
    const int count = ed->lvInitialParams->count();
    for (int row = 0; row < count; ++row) {
        Click(ed->lvInitialParams, row);
        const QString name = ed->edtName->text() + QStringLiteral(" (копия)");
        Type(ed->edtName, name);
        ed->btnSaveChanges->click();
        EXPECT_EQ(Stored(TRefTable::InitialParams, IdAt(ed->lvInitialParams, row), "name"), name);
    }
    EXPECT_TRUE(prompts.Records().isEmpty());
}

TEST_F(DatabaseEditorTest, NamesWithQuotesApostrophesAndSemicolonsRoundTrip)
{
    Open();
    const QString name = QStringLiteral("Лак \"Прима\" 'ПФ-115'; drop table InitialParams; --");
    ed->btnAddInitialParams->click();
    Click(ed->lvInitialParams, 0);
    Type(ed->edtName, name);
    ed->btnSaveChanges->click();
    EXPECT_TRUE(prompts.Records().isEmpty());
    EXPECT_EQ(ed->lvInitialParams->item(0)->text(), name);
    EXPECT_TRUE(db->TableExists(QStringLiteral("initialparams")));
    Click(ed->lvInitialParams, 0);
    EXPECT_EQ(ed->edtName->text(), name);
    TFireLoad load;
    EXPECT_TRUE(LoadTypicalLoad(*db, name, load));
}

// --- named values ----------------------------------------------------------------------

TEST_F(DatabaseEditorTest, PickingANamedValueFillsTheEditAndADuplicatedNameEmptiesIt)
{
    Open();
    ed->PageControl->setCurrentWidget(ed->TabSheet1);
    auto addValue = [&](const QString& name, const QString& value, int position) {
        ed->btnAllParamsAdd->click();
        Click(ed->lvAllParams, ed->lvAllParams->count() - 1);
        Type(ed->edtAllParamsName, name);
        Type(ed->edtAllParamsValue, value);
        ed->cbAllParamsType->setCurrentIndex(position);
        ed->btnAllParamsSave->click();
    };
    addValue(QStringLiteral("Древесина"), QStringLiteral("13800"), 0);
    addValue(QStringLiteral("Дубль"), QStringLiteral("1"), 0);
    addValue(QStringLiteral("Дубль"), QStringLiteral("2"), 0);
    addValue(QStringLiteral("Пенопласт"), QStringLiteral("0,05"), 8); // fire load, code 6
    EXPECT_TRUE(prompts.Records().isEmpty());
    EXPECT_EQ(Stored(TRefTable::AllParams, IdAt(ed->lvAllParams, 3), "category"), QStringLiteral("6"));
    ASSERT_EQ(ed->cbP1LowestHeat->count(), 3);
    ASSERT_EQ(ed->cbPFlammableLoad->count(), 1);

    ed->PageControl->setCurrentWidget(ed->tsInitialParams);
    ed->btnAddInitialParams->click();
    Click(ed->lvInitialParams, 0);
    const int64_t id = IdAt(ed->lvInitialParams, 0);
    Pick(ed->cbP1LowestHeat, 0);
    EXPECT_EQ(ed->edtP1LowestHeat->text(), QStringLiteral("13800"));
    EXPECT_TRUE(ed->btnSaveChanges->isEnabled());
    EXPECT_EQ(Stored(TRefTable::InitialParams, id, "P1"), QString()); // nothing saved yet
    Pick(ed->cbP1LowestHeat, 1); // "Дубль" twice in the category
    EXPECT_EQ(ed->edtP1LowestHeat->text(), QString());
    Pick(ed->cbPFlammableLoad, 0);
    ed->btnSaveChanges->click();
    EXPECT_EQ(Stored(TRefTable::InitialParams, id, "PFlammableLoad"), QStringLiteral("0,05"));

    // Saving a named value refills every selector, none with a choice.
    Click(ed->lvInitialParams, 0);
    Pick(ed->cbP1LowestHeat, 0);
    ed->PageControl->setCurrentWidget(ed->TabSheet1);
    Click(ed->lvAllParams, 0);
    Type(ed->edtAllParamsName, QStringLiteral("Древесина сосновая"));
    ed->btnAllParamsSave->click();
    EXPECT_EQ(ed->cbP1LowestHeat->currentIndex(), -1);
    EXPECT_EQ(ed->cbP1LowestHeat->itemText(0), QStringLiteral("Древесина сосновая"));
}

TEST_F(DatabaseEditorTest, StoredCategoryCodesChooseTheCategory)
{
    Open();
    {
        TSQLiteDatabase other(File());
        other.ExecSQL(QStringLiteral("insert into AllParams (name, value, category) values "
                                     "('Хлор', '0,1', '63'), ('Чужой', '1', '99'), ('Без кода', '2', NULL)"));
    }
    Reopen();
    ed->PageControl->setCurrentWidget(ed->TabSheet1);
    Click(ed->lvAllParams, 0);
    EXPECT_EQ(ed->cbAllParamsType->currentIndex(), 7);
    Click(ed->lvAllParams, 1); // an unknown code leaves the choice as it was
    EXPECT_EQ(ed->cbAllParamsType->currentIndex(), 7);
    Click(ed->lvAllParams, 2); // no code selects nothing
    EXPECT_EQ(ed->cbAllParamsType->currentIndex(), -1);
    Type(ed->edtAllParamsValue, QStringLiteral("3"));
    ed->btnAllParamsSave->click();
    EXPECT_EQ(Stored(TRefTable::AllParams, IdAt(ed->lvAllParams, 2), "category"), QStringLiteral("-1"));
    for (QComboBox* box : ed->NamedValueSelectors())
        EXPECT_EQ(box->count(), box == ed->cbP6AllocationHCl ? 1 : 0) << box->objectName().toStdString();
}

// --- deleting --------------------------------------------------------------------------

TEST_F(DatabaseEditorTest, DeleteAsksOnEveryPageAndOnlyYesDeletes)
{
    Open();
    struct TCase {
        QPushButton* Add;
        QPushButton* Delete;
        QListWidget* List;
        QWidget* Panel;
        TRefTable Table;
        QString Question, Caption;
    };
    const QString setQuestion = QStringLiteral("Вы действительно хотите удалить данный набор параметров?");
    const TCase cases[] = {
        { ed->btnAddInitialParams, ed->btnDeleteInitialParams, ed->lvInitialParams, ed->pnlInitialParams,
            TRefTable::InitialParams, setQuestion, QStringLiteral("Удаление параметров") },
        { ed->btnFFAdd, ed->btnFFDelete, ed->lvFF, ed->pnlFF, TRefTable::FireFighting, setQuestion,
            QStringLiteral("Удаление параметров") },
        { ed->btnMaterialTypeAdd, ed->btnMaterialTypeDelete, ed->lvMaterialTypes, ed->pnlMaterialTypes,
            TRefTable::ABParams, QStringLiteral("Вы действительно хотите удалить данный вид материала?"),
            QStringLiteral("Удаление вида материала") },
        { ed->btnAllParamsAdd, ed->btnAllParamsDelete, ed->lvAllParams, ed->pnlAllParams,
            TRefTable::AllParams, QStringLiteral("Вы действительно хотите удалить данный параметр?"),
            QStringLiteral("Удаление параметра") },
    };
    for (const TCase& c : cases) {
        prompts.Clear();
        c.Add->click();
        c.Add->click();
        c.List->setCurrentRow(1);
        const int64_t id = IdAt(c.List, 1);
        ASSERT_FALSE(c.Panel->isHidden());
        prompts.Answer(TPromptAnswer::No);
        c.Delete->click();
        ASSERT_EQ(prompts.Messages().size(), 1);
        EXPECT_EQ(prompts.Messages()[0].Text, c.Question);
        EXPECT_EQ(prompts.Messages()[0].Caption, c.Caption);
        EXPECT_EQ(prompts.Messages()[0].Icon, TPromptIcon::Warning);
        EXPECT_EQ(prompts.Messages()[0].Buttons, TPromptButtons::YesNo);
        EXPECT_EQ(c.List->count(), 2);
        EXPECT_TRUE(c.Panel->isHidden()); // the list was reloaded all the same
        EXPECT_FALSE(c.Delete->isEnabled());

        c.List->setCurrentRow(1);
        prompts.Answer(TPromptAnswer::Yes);
        c.Delete->click();
        EXPECT_EQ(c.List->count(), 1);
        EXPECT_EQ(Stored(c.Table, id, "name"), QStringLiteral("<none>"));
        EXPECT_EQ(prompts.Unanswered(), 0);
    }
}

// --- sound behaviour where the old window went wrong ----------------------------------

TEST_F(DatabaseEditorTest, ClearingTheSelectionHidesThePanelSoNoSaveCanAct)
{
    Open();
    ed->btnAddInitialParams->click();
    Click(ed->lvInitialParams, 0);
    Type(ed->edtName, QStringLiteral("Изменено"));
    ASSERT_TRUE(ed->btnSaveChanges->isEnabled());
    // A click beside the items takes the selection away.
    QWidget* area = ed->lvInitialParams->viewport();
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(area->width() / 2, area->height() - 4));
    ASSERT_TRUE(ed->lvInitialParams->selectedItems().isEmpty());
    EXPECT_TRUE(ed->pnlInitialParams->isHidden());
    EXPECT_FALSE(ed->btnSaveChanges->isEnabled());
    EXPECT_FALSE(ed->btnDeleteInitialParams->isEnabled());
    ed->btnSaveChangesClick(); // even when reached, the handler has no row to write
    EXPECT_EQ(Stored(TRefTable::InitialParams, IdAt(ed->lvInitialParams, 0), "name"),
        QStringLiteral("Новый набор"));
    EXPECT_TRUE(prompts.Records().isEmpty());
}

TEST_F(DatabaseEditorTest, ALockedDatabaseShowsOneBoxPerActionAndTheWindowGoesOn)
{
    Open();
    ed->btnAddInitialParams->click();
    Click(ed->lvInitialParams, 0);
    const int64_t id = IdAt(ed->lvInitialParams, 0);
    Type(ed->edtName, QStringLiteral("Под замком"));

    TSQLiteDatabase other(File()); // another program writing to the file
    other.ExecSQL(QStringLiteral("begin immediate"));
    // One error box (after the question, if one was asked) with SQLite's word for it.
    auto expectOneError = [&](const QString& caption) {
        const QList<TPromptRecord> shown = prompts.Messages();
        ASSERT_TRUE(!shown.isEmpty() && shown.size() <= 2) << caption.toStdString();
        EXPECT_EQ(shown.last().Icon, TPromptIcon::Error);
        EXPECT_EQ(shown.size() == 2, shown.first().Buttons == TPromptButtons::YesNo);
        EXPECT_EQ(shown.last().Caption, caption);
        EXPECT_TRUE(shown.last().Text.contains(QStringLiteral("locked"))) << shown.last().Text.toStdString();
        prompts.Clear();
    };
    ed->btnSaveChanges->click();
    expectOneError(QStringLiteral("Сохранение изменений"));
    EXPECT_TRUE(ed->isVisible());
    EXPECT_TRUE(ed->pnlInitialParams->isVisible());
    EXPECT_TRUE(ed->btnSaveChanges->isEnabled());
    EXPECT_EQ(ed->edtName->text(), QStringLiteral("Под замком"));
    ed->btnAddInitialParams->click();
    expectOneError(QStringLiteral("Добавление записи"));
    prompts.Answer(TPromptAnswer::Yes);
    ed->btnDeleteInitialParams->click();
    expectOneError(QStringLiteral("Удаление параметров"));
    EXPECT_EQ(ed->lvInitialParams->count(), 1);
    EXPECT_EQ(Stored(TRefTable::InitialParams, id, "name"), QStringLiteral("Новый набор"));

    other.ExecSQL(QStringLiteral("rollback"));
    ed->btnSaveChanges->click(); // the same edits, once the lock is gone
    EXPECT_TRUE(prompts.Records().isEmpty());
    EXPECT_EQ(Stored(TRefTable::InitialParams, id, "name"), QStringLiteral("Под замком"));

    // A lock that keeps readers out too: selecting cannot load the row.
    other.ExecSQL(QStringLiteral("begin exclusive"));
    Click(ed->lvInitialParams, 0);
    expectOneError(QStringLiteral("Чтение базы данных"));
    EXPECT_TRUE(ed->pnlInitialParams->isHidden());
    EXPECT_FALSE(ed->btnSaveChanges->isEnabled());
    other.ExecSQL(QStringLiteral("rollback"));
}

// --- the ways in -----------------------------------------------------------------------

TEST(DatabaseEditorEntry, WithoutADatabaseOnlyTheMessageShows)
{
    TScriptedPrompts prompts;
    bool shown = false;
    prompts.Dialog([&](QWidget* w) {
        shown = true;
        static_cast<QDialog*>(w)->reject();
    });
    ShowDatabaseEditor(nullptr, nullptr);
    EXPECT_FALSE(shown);
    ASSERT_EQ(prompts.Messages().size(), 1);
    EXPECT_EQ(prompts.Messages()[0].Text, QStringLiteral("Ошибка при работе с базой данных."));
    EXPECT_EQ(prompts.Messages()[0].Caption, QStringLiteral("Тесворн"));
    TfrmDatabaseEditor editor(nullptr);
    EXPECT_FALSE(editor.Opened());
    EXPECT_EQ(editor.exec(), QDialog::Rejected);
}

TEST_F(MainWindowTest, MenuItemAndToolButtonOpenTheDatabaseEditor)
{
    Start();
    int opened = 0;
    auto check = [&](QWidget* w) {
        auto* editor = qobject_cast<TfrmDatabaseEditor*>(w);
        ASSERT_NE(editor, nullptr);
        ++opened;
        EXPECT_EQ(editor->PageControl->currentWidget(), editor->tsInitialParams);
        EXPECT_GT(editor->lvInitialParams->count(), 0); // the shipped loads
        editor->btnClose->click();
    };
    prompts->Dialog(check);
    prompts->Dialog(check);
    Action("miEditDatabase")->trigger();
    Control<QToolButton>("btnEditDatabase")->click();
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(prompts->Messages().isEmpty());

    win->sldb.reset(); // as after a failed start-up
    Action("miEditDatabase")->trigger();
    ASSERT_EQ(prompts->Messages().size(), 1);
    EXPECT_EQ(prompts->Messages()[0].Text, QStringLiteral("Ошибка при работе с базой данных."));
}

} // namespace
