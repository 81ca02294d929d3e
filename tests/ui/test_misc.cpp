// The number check's exact message and the program's version text.
#include "LocaleGuard.h"
#include "uMisc.h"
#include "uPrompts.h"

#include <QCoreApplication>
#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace {

TEST(CheckNumberTest, NumbersPassWithoutMessage)
{
    TScriptedPrompts prompts;
    EXPECT_TRUE(CheckNumber(QStringLiteral("12,5"), true, QStringLiteral("Поле")));
    EXPECT_TRUE(CheckNumber(QStringLiteral("-3"), true, QString()));
    EXPECT_TRUE(prompts.Records().isEmpty());
}

TEST(CheckNumberTest, PointUnderPointSeparatorAndCommaRefusedWithFieldNamed)
{
    TScriptedPrompts prompts;
    LocaleGuard english(LocaleGuard::English());
    EXPECT_FALSE(CheckNumber(QStringLiteral("12,5"), true, QStringLiteral("Теплота сгорания")));
    ASSERT_EQ(prompts.Messages().size(), 1);
    const TPromptRecord r = prompts.Messages().first();
    EXPECT_EQ(r.Caption, QStringLiteral("Ошибка: неверное значение"));
    EXPECT_EQ(r.Icon, TPromptIcon::Warning);
    EXPECT_EQ(r.Buttons, TPromptButtons::Ok);
    EXPECT_EQ(r.Text,
              QStringLiteral("Введенное значение \"12,5\" в поле \"Теплота сгорания\" не является числом. "
                             "Попробуйте повторить операцию с другим значением.\r\r\n"
                             "Примечание: возможно, вы перепутали десятичный разделитель. "
                             "В вашей системе это символ:  ."));
}

TEST(CheckNumberTest, MessageWithoutFieldNameAndCommaSeparator)
{
    TScriptedPrompts prompts;
    EXPECT_FALSE(CheckNumber(QStringLiteral("abc"), true, QString()));
    ASSERT_EQ(prompts.Messages().size(), 1);
    EXPECT_EQ(prompts.Messages().first().Text,
              QStringLiteral("Введенное значение \"abc\" не является числом. "
                             "Попробуйте повторить операцию с другим значением.\r\r\n"
                             "Примечание: возможно, вы перепутали десятичный разделитель. "
                             "В вашей системе это символ:  ,"));
}

TEST(CheckNumberTest, WithoutMessageNeverShowsAnything)
{
    TScriptedPrompts prompts;
    EXPECT_FALSE(CheckNumber(QStringLiteral("1.5"), false, QStringLiteral("Поле")));
    EXPECT_FALSE(CheckNumber(QString(), false, QString()));
    EXPECT_TRUE(prompts.Records().isEmpty());
}

TEST(VersionTextTest, OwnExecutableHasTheBuildVersionOthersNone)
{
    const QString own = GetFileVersionText(QCoreApplication::applicationFilePath());
    const QStringList parts = own.split(QLatin1Char('.'));
    ASSERT_EQ(parts.size(), 4) << own.toStdString();
    for (const QString& part : parts) {
        bool ok = false;
        part.toUInt(&ok);
        EXPECT_TRUE(ok) << own.toStdString();
        EXPECT_TRUE(part == QStringLiteral("0") || !part.startsWith(QLatin1Char('0')));
    }
    QTemporaryFile other;
    ASSERT_TRUE(other.open());
    EXPECT_TRUE(GetFileVersionText(other.fileName()).isEmpty());
    EXPECT_TRUE(GetFileVersionText(QStringLiteral("/no/such/file.exe")).isEmpty());
}

} // namespace
