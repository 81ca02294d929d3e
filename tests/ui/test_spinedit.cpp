// The real-number spin edit driven with real key events: the key filter and its beep, the
// limits, Enter and focus exit normalising the text, the read-only and no-typing states.
#include "FloatSpinEdit.h"
#include "LocaleGuard.h"
#include "uPrompts.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class SpinEditTest : public ::testing::Test {
protected:
    TScriptedPrompts prompts;
    TFloatSpinEdit edit;

    void SetUp() override
    {
        edit.setObjectName(QStringLiteral("seTest"));
        edit.show();
    }
    // Types each character as the keyboard would deliver it (also letters QTest cannot map).
    void Type(const QString& keys)
    {
        for (const QChar ch : keys) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(&edit, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(&edit, &release);
        }
    }
};

// Reading the value from the text.
TEST_F(SpinEditTest, NewEditShowsPointZeroWhichIsNotANumberUnderComma)
{
    EXPECT_EQ(edit.text(), QStringLiteral("0.0"));
    edit.SetMinValue(-3);
    EXPECT_DOUBLE_EQ(edit.Value(), -3); // "0.0" is not a number with a comma separator
    {
        LocaleGuard english(LocaleGuard::English());
        EXPECT_DOUBLE_EQ(edit.Value(), 0);
    }
    edit.setText(QString());
    EXPECT_DOUBLE_EQ(edit.Value(), -3);
    edit.setText(QStringLiteral("2,75"));
    EXPECT_DOUBLE_EQ(edit.Value(), 2.75);
}

// Writing: clamping only when the limits differ, general format with the comma.
TEST_F(SpinEditTest, LimitsApplyOnlyWhenTheyDiffer)
{
    edit.SetValue(12345.5);
    EXPECT_EQ(edit.text(), QStringLiteral("12345,5"));
    edit.SetValue(-7);
    EXPECT_EQ(edit.text(), QStringLiteral("-7"));

    edit.SetMinValue(1);
    edit.SetMaxValue(10);
    edit.SetValue(12);
    EXPECT_EQ(edit.text(), QStringLiteral("10"));
    edit.SetValue(0);
    EXPECT_EQ(edit.text(), QStringLiteral("1"));
    edit.SetValue(0.1 + 0.2 + 5); // 15 significant digits hide the binary noise
    EXPECT_EQ(edit.text(), QStringLiteral("5,3"));
}

TEST_F(SpinEditTest, ChangeEventFiresOnlyWhenTheTextChanges)
{
    edit.SetValue(4);
    QSignalSpy changed(&edit, &QLineEdit::textChanged);
    edit.SetValue(4);
    EXPECT_EQ(changed.count(), 0);
    edit.SetValue(4.5);
    EXPECT_EQ(changed.count(), 1);
}

// The key filter.
TEST_F(SpinEditTest, FilterAcceptsDigitsSignsAndTheLocaleSeparatorOnly)
{
    edit.clear();
    Type(QStringLiteral("-1,5"));
    EXPECT_EQ(edit.text(), QStringLiteral("-1,5"));
    EXPECT_EQ(prompts.Beeps(), 0);

    Type(QStringLiteral("a"));
    EXPECT_EQ(prompts.Beeps(), 1);
    Type(QStringLiteral("."));
    EXPECT_EQ(prompts.Beeps(), 2); // the other separator than the regional one
    Type(QStringLiteral("ж"));
    EXPECT_EQ(prompts.Beeps(), 3);
    Type(QStringLiteral("e"));
    EXPECT_EQ(prompts.Beeps(), 4);
    EXPECT_EQ(edit.text(), QStringLiteral("-1,5"));

    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("-1,"));
    EXPECT_EQ(prompts.Beeps(), 4);
}

TEST_F(SpinEditTest, FilterFollowsTheRegionalSeparator)
{
    LocaleGuard english(LocaleGuard::English());
    edit.clear();
    Type(QStringLiteral("2.5,"));
    EXPECT_EQ(edit.text(), QStringLiteral("2.5"));
    EXPECT_EQ(prompts.Beeps(), 1);
}

TEST_F(SpinEditTest, EnterNormalisesAppliesLimitsAndBeeps)
{
    edit.clear();
    Type(QStringLiteral("1,50"));
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(edit.text(), QStringLiteral("1,5"));
    EXPECT_EQ(prompts.Beeps(), 1);

    edit.SetMinValue(0);
    edit.SetMaxValue(100);
    edit.setText(QStringLiteral("250"));
    QTest::keyClick(&edit, Qt::Key_Enter);
    EXPECT_EQ(edit.text(), QStringLiteral("100"));
    EXPECT_EQ(prompts.Beeps(), 2);
}

TEST_F(SpinEditTest, EnterNeverReachesTheKeyPressOfTheParent)
{
    QSignalSpy returned(&edit, &QLineEdit::returnPressed);
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(returned.count(), 0);
}

TEST_F(SpinEditTest, LeavingTheControlNormalisesTheText)
{
    QLineEdit other;
    other.show();
    QApplication::setActiveWindow(&edit);
    edit.setFocus(Qt::OtherFocusReason);
    edit.setText(QStringLiteral("007,250"));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&edit, &out);
    EXPECT_EQ(edit.text(), QStringLiteral("7,25"));
}

// Stepping by buttons and arrow keys.
TEST_F(SpinEditTest, ArrowsAndButtonsStepThroughTheLimits)
{
    edit.SetIncrement(0.5);
    edit.SetMinValue(0);
    edit.SetMaxValue(1);
    edit.SetValue(0.5);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), QStringLiteral("1"));
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), QStringLiteral("1"));
    edit.DownButton()->click();
    EXPECT_EQ(edit.text(), QStringLiteral("0,5"));
    QTest::keyClick(&edit, Qt::Key_Down);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.text(), QStringLiteral("0"));
    edit.UpButton()->click();
    EXPECT_EQ(edit.text(), QStringLiteral("0,5"));
    EXPECT_EQ(prompts.Beeps(), 0);
}

TEST_F(SpinEditTest, ReadOnlyArrowsOnlyBeep)
{
    edit.SetValue(3);
    edit.setReadOnly(true);
    QTest::keyClick(&edit, Qt::Key_Up);
    edit.UpButton()->click();
    edit.DownButton()->click();
    EXPECT_EQ(edit.text(), QStringLiteral("3"));
    EXPECT_EQ(prompts.Beeps(), 3);
}

TEST_F(SpinEditTest, WithoutEditorTypingBeepsButArrowsStep)
{
    edit.SetValue(2);
    edit.SetEditorEnabled(false);
    Type(QStringLiteral("5,-"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("2"));
    EXPECT_EQ(prompts.Beeps(), 4);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), QStringLiteral("3"));
}

// Paste and cut are allowed only while typing is.
TEST_F(SpinEditTest, PasteAndCutFollowEditorEnabledAndReadOnly)
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText(QStringLiteral("42"));
    if (clipboard->text() != QStringLiteral("42"))
        GTEST_SKIP() << "no clipboard on this platform";

    edit.SetValue(7);
    edit.SetEditorEnabled(false);
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("7"));

    edit.SetEditorEnabled(true);
    edit.setReadOnly(true);
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("7"));

    edit.setReadOnly(false);
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("42"));
    EXPECT_EQ(prompts.Beeps(), 0);
}

} // namespace
