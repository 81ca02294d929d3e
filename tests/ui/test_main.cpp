// The main window's start-up and project commands, driven through the real menu items,
// tool buttons and dialogs, with every question answered and every message checked
// through the scripted prompts.
#include "MainWindowFixture.h"
#include "SQLiteTable3.h"
#include "uAbout.h"
#include "uPaintBox.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>

namespace {

const QString KSaveFailed = QStringLiteral("Не удалось сохранить проект.\r\nПопробовать сохранить проект под другим именем?");
const QString KLoadFailed
    = QStringLiteral("Не удалось загрузить проект.\r\nВозможно, проект был создан в другой версии программы.");

// --- start-up ------------------------------------------------------------------------

TEST_F(MainWindowTest, StartsWithNoProjectAndACompleteDatabase)
{
    Start();
    EXPECT_EQ(win->windowTitle(), QStringLiteral("Тесворн"));
    EXPECT_EQ(win->FP, nullptr);
    for (const char* name : {"miSave", "miSaveAs", "miClose", "miProjectParams"})
        EXPECT_FALSE(Action(name)->isEnabled()) << name;
    for (const char* name : {"miNew", "miOpen", "miExit"})
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    EXPECT_FALSE(Control<QWidget>("pnlProperties")->isVisible());
    EXPECT_TRUE(Control<QScrollArea>("ScrollBox")->widgetResizable()); // logo fills the box
    EXPECT_TRUE(win->pb->LogoMode());
    EXPECT_FALSE(win->bmpLogo.isNull());
    EXPECT_TRUE(prompts->Records().isEmpty());
    // The optimised run and its report exist but are never offered.
    EXPECT_FALSE(Action("pmiCalc")->isVisible());
    EXPECT_FALSE(Action("N3")->isVisible());
    EXPECT_TRUE(Action("pmiReportSimple")->isVisible());
    // The four reports of a zone, then the project's summary report.
    ASSERT_EQ(win->pmReports->actions().size(), 5);
    EXPECT_EQ(win->pmReports->actions().back(), Action("pmiReportSummary"));
    ASSERT_NE(win->sldb, nullptr);
    for (const char* table : {"initialparams", "abparams", "firefighting", "allparams"})
        EXPECT_TRUE(win->sldb->TableExists(QLatin1String(table))) << table;
}

TEST_F(MainWindowTest, DamagedDatabaseFileGivesTheInitialisationMessageAndGoesOn)
{
    QFile junk(Path(QStringLiteral("kvr.db")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    Start();
    ASSERT_EQ(prompts->Messages().size(), 1);
    const TPromptRecord m = prompts->Messages().first();
    EXPECT_EQ(m.Text, QStringLiteral("Ошибка при инициализации базы данных"));
    EXPECT_EQ(m.Caption, QStringLiteral("Ошибка БД"));
    EXPECT_EQ(m.Icon, TPromptIcon::Error);
    EXPECT_EQ(win->windowTitle(), QStringLiteral("Тесворн")); // start-up went on
}

TEST_F(MainWindowTest, CommandLineArgumentOpensTheProjectAndAMissingFileIsSilent)
{
    const QString file = WriteProjectFile(QStringLiteral("arg.fsp"), QStringLiteral("Цех"));
    Start({ file, QStringLiteral("ignored") });
    ASSERT_NE(win->FP, nullptr);
    EXPECT_EQ(win->FP->GetRoomsCount(), 1);
    EXPECT_EQ(win->windowTitle(), QStringLiteral("Цех — Тесворн"));
    EXPECT_EQ(win->CurrentProjectFile, file);
    EXPECT_TRUE(Action("miSave")->isEnabled());
    EXPECT_FALSE(Control<QScrollArea>("ScrollBox")->widgetResizable());
    EXPECT_EQ(win->pb->size(), QSize(300, 200));
    EXPECT_TRUE(prompts->Records().isEmpty());
    win.reset();

    Start({ Path(QStringLiteral("missing.fsp")) });
    EXPECT_EQ(win->FP, nullptr);
    EXPECT_TRUE(prompts->Records().isEmpty());
}

// --- New and Close -------------------------------------------------------------------

TEST_F(MainWindowTest, NewWithManualSizeOpensAModifiedProject)
{
    Start();
    NewProject(QStringLiteral("Склад"), 640, 480);
    EXPECT_EQ(win->FP->Name, QStringLiteral("Склад"));
    EXPECT_EQ(win->FP->Width, 640);
    EXPECT_EQ(win->FP->Height, 480);
    EXPECT_TRUE(win->FP->Modified());
    EXPECT_EQ(win->windowTitle(), QStringLiteral("Склад — Тесворн"));
    for (const char* name : {"miSave", "miSaveAs", "miClose", "miProjectParams"})
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    EXPECT_TRUE(win->CurrentProjectFile.isEmpty());
    EXPECT_EQ(win->pb->size(), QSize(640, 480));
    EXPECT_TRUE(prompts->Messages().isEmpty());
}

TEST_F(MainWindowTest, NewDialogCaptionsAndCancelling)
{
    Start();
    QString title, okCaption;
    bool okEnabledEmpty = true;
    prompts->Dialog([&](QWidget* w) {
        auto* d = static_cast<TfrmProjectParams*>(w);
        title = d->windowTitle();
        okCaption = d->btnOK->text();
        okEnabledEmpty = d->btnOK->isEnabled();
        d->btnCancel->click();
    });
    Action("miNew")->trigger();
    EXPECT_EQ(title, QStringLiteral("Новый проект"));
    EXPECT_EQ(okCaption, QStringLiteral("Создать проект"));
    EXPECT_FALSE(okEnabledEmpty); // no name yet
    EXPECT_EQ(win->FP, nullptr);
    EXPECT_EQ(win->windowTitle(), QStringLiteral("Тесворн"));
}

TEST_F(MainWindowTest, CloseOfANewProjectAsksAndCancelKeepsIt)
{
    Start();
    NewProject(QStringLiteral("Склад"));
    TFireProject* before = win->FP.get();

    prompts->Answer(TPromptAnswer::Cancel);
    Action("miClose")->trigger();
    ASSERT_EQ(prompts->Messages().size(), 1);
    const TPromptRecord q = prompts->Messages().first();
    EXPECT_EQ(q.Text, QStringLiteral("Сохранить изменения в проекте \"Склад\"?"));
    EXPECT_EQ(q.Caption, QStringLiteral("Проектирование"));
    EXPECT_EQ(q.Icon, TPromptIcon::Information);
    EXPECT_EQ(q.Buttons, TPromptButtons::YesNoCancel);
    EXPECT_EQ(win->FP.get(), before);
    EXPECT_EQ(win->windowTitle(), QStringLiteral("Склад — Тесворн"));

    prompts->Answer(TPromptAnswer::No);
    Action("miClose")->trigger();
    EXPECT_EQ(win->FP, nullptr);
    EXPECT_EQ(win->windowTitle(), QStringLiteral("Тесворн"));
    EXPECT_FALSE(Action("miClose")->isEnabled());
    EXPECT_TRUE(win->pb->LogoMode());
    EXPECT_EQ(prompts->Unanswered(), 0);
}

TEST_F(MainWindowTest, YesOnANeverSavedProjectAsksForAFileAndCancellingKeepsTheProject)
{
    Start();
    NewProject(QStringLiteral("Склад"));
    prompts->Answer(TPromptAnswer::Yes);
    prompts->File(QString()); // the save dialog is cancelled
    Action("miClose")->trigger();
    ASSERT_EQ(prompts->Records().size(), 2);
    const TPromptRecord save = prompts->Records().at(1);
    EXPECT_EQ(save.Kind, TPromptKind::SaveFile);
    EXPECT_EQ(save.Caption, QStringLiteral("Сохранить проект"));
    EXPECT_EQ(save.Filter, QStringLiteral("Проекты|*.fsp"));
    EXPECT_EQ(save.DefaultSuffix, QStringLiteral("fsp"));
    EXPECT_EQ(save.Text, QStringLiteral("Склад")); // preset with the project's name
    ASSERT_NE(win->FP, nullptr);

    const QString file = Path(QStringLiteral("склад.fsp"));
    prompts->Answer(TPromptAnswer::Yes);
    prompts->File(file);
    Action("miClose")->trigger();
    EXPECT_EQ(win->FP, nullptr);
    EXPECT_TRUE(QFile::exists(file));
}

// --- Save and Save As ----------------------------------------------------------------

TEST_F(MainWindowTest, SaveAsksForAFileUntilOneIsGivenThenWritesToIt)
{
    Start();
    NewProject();
    prompts->File(QString()); // Save on a project never saved asks for a file; cancelled
    Action("miSave")->trigger();
    ASSERT_EQ(prompts->Records().size(), 1);
    EXPECT_EQ(prompts->Records().first().Kind, TPromptKind::SaveFile);
    EXPECT_TRUE(QDir(dir.path()).entryList({ QStringLiteral("*.fsp") }).isEmpty());

    const QString file = Path(QStringLiteral("a.fsp"));
    prompts->File(file);
    Action("miSaveAs")->trigger();
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(win->CurrentProjectFile, file);
    EXPECT_FALSE(win->FP->Modified());
    EXPECT_TRUE(Action("miSave")->isEnabled());

    // Save now writes to that file.
    win->FP->AddRoom(10, 10, 50, 50);
    ASSERT_TRUE(win->FP->Modified());
    Action("miSave")->trigger();
    EXPECT_FALSE(win->FP->Modified());
    TFireProject reread;
    ASSERT_TRUE(reread.LoadFromFile(file));
    EXPECT_EQ(reread.GetRoomsCount(), 1);
}

TEST_F(MainWindowTest, AfterSaveTheMenuItemIsDisabledButTheToolButtonStillSaves)
{
    Start();
    NewProject();
    const QString file = Path(QStringLiteral("b.fsp"));
    prompts->File(file);
    Action("miSaveAs")->trigger();
    Action("miSave")->trigger();
    EXPECT_FALSE(Action("miSave")->isEnabled());

    ASSERT_TRUE(QFile::remove(file));
    Control<QToolButton>("btnSaveProject")->click();
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_TRUE(prompts->Messages().isEmpty());

    // Project parameters enable it again.
    ScriptParamsDialog(QStringLiteral("Склад"), 500, 500);
    Action("miProjectParams")->trigger();
    EXPECT_TRUE(Action("miSave")->isEnabled());
}

TEST_F(MainWindowTest, FailedSaveAsOffersAnotherNameUntilItIsWritten)
{
    Start();
    NewProject();
    const QString bad = Path(QStringLiteral("no-such-folder/x.fsp"));
    const QString good = Path(QStringLiteral("x.fsp"));
    prompts->File(bad);
    prompts->Answer(TPromptAnswer::Yes);
    prompts->File(good);
    Action("miSaveAs")->trigger();
    ASSERT_EQ(prompts->Messages().size(), 1);
    const TPromptRecord m = prompts->Messages().first();
    EXPECT_EQ(m.Text, KSaveFailed);
    EXPECT_EQ(m.Caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(m.Icon, TPromptIcon::Error);
    EXPECT_EQ(m.Buttons, TPromptButtons::YesNo);
    EXPECT_TRUE(QFile::exists(good));
    EXPECT_EQ(win->CurrentProjectFile, good);
    EXPECT_FALSE(win->FP->Modified());
}

TEST_F(MainWindowTest, CloseKeepsTheProjectWhenItsSaveFailsAndTheUserGivesUp)
{
    Start();
    NewProject();
    prompts->Answer(TPromptAnswer::Yes);               // save the changes?
    prompts->File(Path(QStringLiteral("gone/y.fsp"))); // cannot be written
    prompts->Answer(TPromptAnswer::No);                // try another name? no
    Action("miClose")->trigger();
    EXPECT_NE(win->FP, nullptr);
    EXPECT_EQ(prompts->Unanswered(), 0);
}

// --- Open ----------------------------------------------------------------------------

TEST_F(MainWindowTest, OpeningAnOlderVersionReportsAndLeavesNoProject)
{
    QString file = WriteProjectFile(QStringLiteral("old.fsp"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.mid(1, 4), QByteArray("0006"));
    bytes[4] = '5';
    f.seek(0);
    f.write(bytes);
    f.close();

    Start();
    NewProject(); // an open project is closed first
    prompts->File(file);
    prompts->Answer(TPromptAnswer::No);
    Action("miOpen")->trigger();
    ASSERT_EQ(prompts->Messages().size(), 2);
    const TPromptRecord m = prompts->Messages().at(1);
    EXPECT_EQ(m.Text, KLoadFailed);
    EXPECT_EQ(m.Caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(m.Icon, TPromptIcon::Error);
    EXPECT_EQ(win->FP, nullptr);
    EXPECT_TRUE(win->CurrentProjectFile.isEmpty());
    EXPECT_EQ(win->windowTitle(), QStringLiteral("Тесворн"));
    EXPECT_FALSE(Action("miSaveAs")->isEnabled());
    EXPECT_TRUE(win->pb->LogoMode());
}

TEST_F(MainWindowTest, OpenFileDialogAndCancellingTheSaveQuestionKeepTheProject)
{
    const QString file = WriteProjectFile(QStringLiteral("c.fsp"), QStringLiteral("Другой"));
    Start();
    NewProject(QStringLiteral("Текущий"));
    TFireProject* before = win->FP.get();

    prompts->File(QString()); // cancelled dialog
    Action("miOpen")->trigger();
    EXPECT_EQ(win->FP.get(), before);
    EXPECT_TRUE(prompts->Messages().isEmpty());
    EXPECT_EQ(prompts->Records().first().Filter, QStringLiteral("Проекты|*.fsp"));

    prompts->File(file);
    prompts->Answer(TPromptAnswer::Cancel);
    Control<QToolButton>("btnOpenProject")->click();
    EXPECT_EQ(win->FP.get(), before);
    EXPECT_EQ(win->windowTitle(), QStringLiteral("Текущий — Тесворн"));

    prompts->File(file);
    prompts->Answer(TPromptAnswer::No);
    Action("miOpen")->trigger();
    ASSERT_NE(win->FP, nullptr);
    EXPECT_EQ(win->FP->Name, QStringLiteral("Другой"));
    EXPECT_EQ(win->windowTitle(), QStringLiteral("Другой — Тесворн"));
    EXPECT_FALSE(win->FP->Modified());
}

TEST_F(MainWindowTest, OpeningResetsTheSensorNumberAndTheCurrentZone)
{
    const QString file = WriteProjectFile(QStringLiteral("d.fsp"));
    Start({ file });
    win->SensorNumber = 7;
    win->CurrentRoom = win->FP->GetRooms().front().get();
    win->CurrentRoomID = win->CurrentRoom->ID();
    prompts->File(file);
    Action("miOpen")->trigger(); // unmodified: no question
    EXPECT_EQ(win->SensorNumber, 0);
    EXPECT_EQ(win->CurrentRoom, nullptr);
    EXPECT_EQ(win->CurrentRoomID, -1);
    EXPECT_TRUE(prompts->Messages().isEmpty());
}

TEST_F(MainWindowTest, DoubleClickOnTheLogoShowsTheOpenDialog)
{
    Start();
    QTest::mouseDClick(win->pb, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QCoreApplication::processEvents();
    ASSERT_FALSE(prompts->Records().isEmpty());
    EXPECT_EQ(prompts->Records().last().Kind, TPromptKind::OpenFile);
}

// --- Exit ----------------------------------------------------------------------------

TEST_F(MainWindowTest, ExitWithUnsavedChangesAsksAndCancelKeepsRunning)
{
    Start();
    NewProject(QStringLiteral("Склад"));
    prompts->Answer(TPromptAnswer::Cancel);
    Action("miExit")->trigger();
    EXPECT_EQ(prompts->Messages().size(), 1);
    EXPECT_TRUE(win->isVisible());
    EXPECT_NE(win->FP, nullptr);

    prompts->Answer(TPromptAnswer::No);
    Action("miExit")->trigger();
    EXPECT_FALSE(win->isVisible());
    EXPECT_EQ(win->FP, nullptr);
}

TEST_F(MainWindowTest, ExitWithoutChangesAsksNothing)
{
    Start({ WriteProjectFile(QStringLiteral("e.fsp")) });
    EXPECT_TRUE(win->close());
    EXPECT_TRUE(prompts->Records().isEmpty());
}

// --- Project parameters --------------------------------------------------------------

TEST_F(MainWindowTest, ProjectParametersRenameAtOnceAndResize)
{
    Start();
    NewProject(QStringLiteral("Склад"), 640, 480);
    QString title, okCaption, shownName;
    int shownWidth = 0;
    prompts->Dialog([&](QWidget* w) {
        auto* d = static_cast<TfrmProjectParams*>(w);
        title = d->windowTitle();
        okCaption = d->btnOK->text();
        shownName = d->edtProjectName->text();
        shownWidth = d->seWidth->value();
        d->edtProjectName->setText(QStringLiteral("Склад №2"));
        d->rbSizeManual->click();
        d->seWidth->setValue(800);
        d->btnOK->click();
    });
    Action("miProjectParams")->trigger();
    EXPECT_EQ(title, QStringLiteral("Параметры проекта"));
    EXPECT_EQ(okCaption, QStringLiteral("Применить изменения"));
    EXPECT_EQ(shownName, QStringLiteral("Склад"));
    EXPECT_EQ(shownWidth, 640);
    EXPECT_EQ(win->FP->Name, QStringLiteral("Склад №2"));
    EXPECT_EQ(win->windowTitle(), QStringLiteral("Склад №2 — Тесворн"));
    EXPECT_EQ(win->FP->Width, 800);
    EXPECT_EQ(win->FP->Height, 480);
    EXPECT_TRUE(prompts->Messages().isEmpty());
}

// --- Background pictures -------------------------------------------------------------

class BackgroundTest : public MainWindowTest {
protected:
    QString GoodPicture()
    {
        QImage picture(320, 240, QImage::Format_RGB32);
        picture.fill(Qt::lightGray);
        const QString file = Path(QStringLiteral("plan.png"));
        EXPECT_TRUE(picture.save(file));
        return file;
    }
    QString BrokenPicture()
    {
        const QString file = Path(QStringLiteral("broken.png"));
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture at all");
        return file;
    }
    void ExpectWarning(const QString& caption)
    {
        ASSERT_EQ(prompts->Messages().size(), 1);
        const TPromptRecord m = prompts->Messages().first();
        EXPECT_EQ(m.Text, QStringLiteral("Не удалось загрузить фоновое изображение."));
        EXPECT_EQ(m.Caption, caption);
        EXPECT_EQ(m.Icon, TPromptIcon::Warning);
    }
};

TEST_F(BackgroundTest, NewTakesTheCanvasSizeFromThePicture)
{
    Start();
    ScriptParamsDialogWithPicture(QStringLiteral("План"), GoodPicture());
    Action("miNew")->trigger();
    ASSERT_NE(win->FP, nullptr);
    EXPECT_EQ(win->FP->Width, 320);
    EXPECT_EQ(win->FP->Height, 240);
    EXPECT_NE(win->FP->GetBackgroundImage(), nullptr);
    EXPECT_EQ(prompts->Records().first().Filter,
              QStringLiteral("PNG, JPEG, BMP|*.bmp;*.jpg;*.png|BMP|*.bmp|JPEG|*.jpg|PNG|*.png"));
}

TEST_F(BackgroundTest, NewWithAnUndecodablePictureWarnsAndUses500)
{
    Start();
    ScriptParamsDialogWithPicture(QStringLiteral("План"), BrokenPicture());
    Action("miNew")->trigger();
    ExpectWarning(QStringLiteral("Ошибка при создании проекта"));
    ASSERT_NE(win->FP, nullptr);
    EXPECT_EQ(win->FP->Width, 500);
    EXPECT_EQ(win->FP->Height, 500);
}

TEST_F(BackgroundTest, NewByPictureWithoutChoosingOneTakesTheDefaultSizeSilently)
{
    Start();
    prompts->Dialog([](QWidget* w) {
        auto* d = static_cast<TfrmProjectParams*>(w);
        d->edtProjectName->setText(QStringLiteral("План"));
        d->btnOK->click();
    });
    Action("miNew")->trigger();
    EXPECT_TRUE(prompts->Messages().isEmpty()) << "no picture was chosen, so none failed";
    EXPECT_EQ(win->FP->Width, 500);
    EXPECT_EQ(win->FP->Height, 500);
    EXPECT_EQ(win->FP->GetBackgroundImage(), nullptr);
}

TEST_F(BackgroundTest, ParametersWithoutAPictureKeepTheBackground)
{
    Start();
    ScriptParamsDialogWithPicture(QStringLiteral("План"), GoodPicture());
    Action("miNew")->trigger();
    ASSERT_NE(win->FP->GetBackgroundImage(), nullptr);

    prompts->Dialog([](QWidget* w) { static_cast<TfrmProjectParams*>(w)->btnOK->click(); });
    Action("miProjectParams")->trigger();
    EXPECT_NE(win->FP->GetBackgroundImage(), nullptr);
    EXPECT_TRUE(prompts->Messages().isEmpty());
}

TEST_F(BackgroundTest, ParametersWithAnUndecodablePictureWarn)
{
    Start();
    NewProject();
    ScriptParamsDialogWithPicture(QString(), BrokenPicture());
    Action("miProjectParams")->trigger();
    ExpectWarning(QStringLiteral("Ошибка при изменении проекта"));
    EXPECT_EQ(win->FP->GetBackgroundImage(), nullptr);
    EXPECT_TRUE(Action("miSave")->isEnabled());
}

// --- Help ----------------------------------------------------------------------------

TEST_F(MainWindowTest, AboutShowsTheProgramNameAndVersion)
{
    Start();
    QString name, version;
    prompts->Dialog([&](QWidget* w) {
        auto* about = static_cast<TfrmAbout*>(w);
        name = about->lblAppName->text();
        version = about->lblAppVersion->text();
        about->btnOK->click();
    });
    Action("miAbout")->trigger();
    EXPECT_EQ(name, QStringLiteral("Тесворн"));
    EXPECT_EQ(version.split(QLatin1Char('.')).size(), 4);
    EXPECT_FALSE(Action("miUserGuide")->isVisible());
}

} // namespace
