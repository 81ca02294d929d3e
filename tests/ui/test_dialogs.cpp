// The small windows and the prompts service: the scale dialog's OK rule, the about box's
// version and link, the debug and progress windows, and the scripted prompts themselves
// (which every window test relies on).
#include "FloatSpinEdit.h"
#include "btnScaleSetup.h"
#include "uAbout.h"
#include "uDebug.h"
#include "uMisc.h"
#include "uProjectParams.h"
#include "uPrompts.h"
#include "uReportGeneration.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Types text into a widget character by character, as the keyboard would.
void Type(QWidget* w, const QString& text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
    }
}

// --- scale dialog --------------------------------------------------------------------

TEST(ScaleSetupTest, OkIsEnabledExactlyWhileTheLengthIsPositive)
{
    TScriptedPrompts prompts;
    TfrmScaleSetup dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Установка масштаба по размерам помещения"));
    EXPECT_EQ(dialog.edtLength->text(), QStringLiteral("1"));
    EXPECT_TRUE(dialog.btnOK->isEnabled());
    EXPECT_TRUE(dialog.btnOK->isDefault());

    dialog.edtLength->clear();
    EXPECT_FALSE(dialog.btnOK->isEnabled()); // empty text reads as the minimum, 0
    Type(dialog.edtLength, QStringLiteral("0"));
    EXPECT_FALSE(dialog.btnOK->isEnabled());
    dialog.edtLength->setText(QStringLiteral("-2,5"));
    EXPECT_FALSE(dialog.btnOK->isEnabled());
    dialog.edtLength->clear();
    Type(dialog.edtLength, QStringLiteral("0,01"));
    EXPECT_TRUE(dialog.btnOK->isEnabled());
    dialog.edtLength->DownButton()->click(); // 0,01 - 1 is negative
    EXPECT_FALSE(dialog.btnOK->isEnabled());
}

TEST(ScaleSetupTest, EnterInTheLengthDoesNotCloseTheDialog)
{
    TScriptedPrompts prompts;
    TfrmScaleSetup dialog;
    dialog.show();
    dialog.edtLength->setText(QStringLiteral("12,50"));
    QTest::keyClick(dialog.edtLength, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.edtLength->text(), QStringLiteral("12,5"));
    EXPECT_EQ(prompts.Beeps(), 1);

    dialog.btnOK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(dialog.edtLength->Value(), 12.5);
}

// --- about box -----------------------------------------------------------------------

TEST(AboutTest, ShowsTheProgramVersionAndOpensTheLinkThroughTheShell)
{
    TScriptedPrompts prompts;
    TfrmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(about.size(), QSize(510, 394));
    EXPECT_EQ(about.lblAppVersion->text(), GetFileVersionText(QCoreApplication::applicationFilePath()));
    EXPECT_FALSE(about.lblAppVersion->text().isEmpty());
    EXPECT_TRUE(about.Memo->isReadOnly());
    EXPECT_FALSE(about.Memo->toPlainText().isEmpty());
    EXPECT_EQ(about.btnOK->text(), QStringLiteral("Закрыть"));

    emit about.lblLink->linkActivated(AboutLinkAddress);
    ASSERT_EQ(prompts.Records().size(), 1);
    EXPECT_EQ(prompts.Records().first().Kind, TPromptKind::OpenUrl);
    EXPECT_EQ(prompts.Records().first().Text, AboutLinkAddress);
}

// --- debug and progress windows ------------------------------------------------------

TEST(DebugWindowTest, LinesAreAddedAndClosingOnlyHides)
{
    TfrmDebug debug;
    SetfrmDebug(&debug);
    EXPECT_EQ(frmDebug(), &debug);
    debug.AddLine(QStringLiteral("param1\t3,5"));
    debug.AddLine(QStringLiteral("param2\t5"));
    EXPECT_EQ(debug.Lines(), QStringList({ QStringLiteral("param1\t3,5"), QStringLiteral("param2\t5") }));
    debug.show();
    debug.close();
    EXPECT_FALSE(debug.isVisible());
    EXPECT_EQ(frmDebug(), &debug); // still alive
    debug.Clear();
    EXPECT_EQ(debug.memo->toPlainText(), QString());
    SetfrmDebug(nullptr);
}

TEST(ReportGenerationTest, CannotBeClosedByTheUserAndHasItsBar)
{
    TfrmReportGeneration progress;
    EXPECT_EQ(progress.windowTitle(), QStringLiteral("Идет создание отчета..."));
    EXPECT_FALSE(progress.windowFlags() & Qt::WindowCloseButtonHint);
    progress.show();
    progress.close();
    EXPECT_TRUE(progress.isVisible());
    progress.pb->setMaximum(4);
    progress.pb->setValue(2);
    EXPECT_EQ(progress.pb->value(), 2);
    progress.hide();
}

// --- captions shown in full -----------------------------------------------------------

// The object names of the captions a window cuts off: labels (without word wrap), radio
// buttons and check boxes narrower than their size hint, push buttons whose text and
// margins do not fit (their hint has a minimum width of its own), and captions reaching
// past the window's right edge.
QStringList CutCaptions(QWidget* window)
{
    window->show();
    QCoreApplication::processEvents();
    QStringList cut;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        const auto* label = qobject_cast<QLabel*>(w);
        const auto* button = qobject_cast<QAbstractButton*>(w);
        int needed = 0;
        if (label && !label->text().isEmpty() && !label->wordWrap()) {
            needed = label->sizeHint().width();
        } else if (const auto* push = qobject_cast<QPushButton*>(w); push && !push->text().isEmpty()) {
            // The text must fit the part of the button the style leaves for it.
            QStyleOptionButton option;
            option.initFrom(push);
            option.text = push->text();
            const int room = push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push).width();
            const int text = push->fontMetrics().horizontalAdvance(QString(push->text()).remove(QLatin1Char('&')));
            needed = push->width() - room + text;
        } else if (button && !button->text().isEmpty()) {
            needed = button->sizeHint().width();
        } else {
            continue;
        }
        const QRect inWindow(w->mapTo(window, QPoint(0, 0)), w->size());
        if (w->width() < needed || inWindow.right() >= window->width())
            cut << w->objectName() + QStringLiteral(" (%1 < %2)").arg(w->width()).arg(needed);
    }
    window->hide();
    return cut;
}

TEST(DialogLayoutTest, EveryCaptionIsShownInFull)
{
    TScriptedPrompts prompts;
    TfrmProjectParams params;
    params.btnOK->setText(QStringLiteral("Применить изменения"));
    TfrmScaleSetup scale;
    TfrmAbout about;
    TfrmReportGeneration progress;
    for (QWidget* window : std::initializer_list<QWidget*> { &params, &scale, &about, &progress })
        EXPECT_TRUE(CutCaptions(window).isEmpty())
            << window->objectName().toStdString() << ": " << CutCaptions(window).join(", ").toStdString();
}

// --- prompts service -----------------------------------------------------------------

TEST(PromptsTest, FilterTextsBecomeQtFilters)
{
    EXPECT_EQ(QtFileFilter(QStringLiteral("Проекты|*.fsp")), QStringLiteral("Проекты (*.fsp)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("PNG, JPEG, BMP|*.bmp;*.jpg;*.png|BMP|*.bmp")),
              QStringLiteral("PNG, JPEG, BMP (*.bmp *.jpg *.png);;BMP (*.bmp)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("doc|*.doc")), QStringLiteral("doc (*.doc)"));
}

TEST(PromptsTest, ScriptedAnswersInOrderAndCountsUnexpectedPrompts)
{
    TScriptedPrompts prompts;
    EXPECT_EQ(&Prompts(), &prompts);
    prompts.Answer(TPromptAnswer::No);
    prompts.File(QStringLiteral("/tmp/a.fsp"));
    EXPECT_EQ(Prompts().Question(nullptr, QStringLiteral("?"), QStringLiteral("c"), TPromptIcon::Information,
                                 TPromptButtons::YesNoCancel),
              TPromptAnswer::No);
    EXPECT_EQ(Prompts().OpenFileName(nullptr, QString(), QStringLiteral("Проекты|*.fsp")), QStringLiteral("/tmp/a.fsp"));
    EXPECT_EQ(prompts.Unanswered(), 0);
    // Nothing queued: a question is cancelled, a file dialog too, and both are counted.
    EXPECT_EQ(Prompts().Question(nullptr, QStringLiteral("?"), QStringLiteral("c"), TPromptIcon::Information,
                                 TPromptButtons::YesNoCancel),
              TPromptAnswer::Cancel);
    EXPECT_EQ(Prompts().Question(nullptr, QStringLiteral("?"), QStringLiteral("c"), TPromptIcon::Error,
                                 TPromptButtons::YesNo),
              TPromptAnswer::No);
    EXPECT_TRUE(Prompts().SaveFileName(nullptr, TSaveFileOptions()).isEmpty());
    EXPECT_EQ(prompts.Unanswered(), 3);
    EXPECT_EQ(prompts.Messages().size(), 3);
}

TEST(PromptsTest, ScriptedPromptsRestoreThePreviousService)
{
    IPrompts* production = &Prompts();
    {
        TScriptedPrompts outer;
        {
            TScriptedPrompts inner;
            EXPECT_EQ(&Prompts(), &inner);
        }
        EXPECT_EQ(&Prompts(), &outer);
    }
    EXPECT_EQ(&Prompts(), production);
}

TEST(PromptsTest, DialogActionsDriveModalDialogs)
{
    TScriptedPrompts prompts;
    bool seen = false;
    prompts.Dialog([&](QWidget* w) {
        seen = w->objectName() == QStringLiteral("frmScaleSetup");
        static_cast<TfrmScaleSetup*>(w)->btnOK->click();
    });
    TfrmScaleSetup dialog;
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(seen);
}

TEST(PromptsTest, GuardedCommandsReportEscapedErrors)
{
    TScriptedPrompts prompts;
    bool after = false;
    RunGuarded(nullptr, [] { throw std::runtime_error("Could not retrieve data"); });
    after = true;
    EXPECT_TRUE(after);
    ASSERT_EQ(prompts.Messages().size(), 1);
    EXPECT_EQ(prompts.Messages().first().Text, QStringLiteral("Could not retrieve data."));
    EXPECT_EQ(prompts.Messages().first().Caption, QStringLiteral("Тесворн"));
    EXPECT_EQ(prompts.Messages().first().Icon, TPromptIcon::Error);
}

} // namespace
