#include "semantics/AnsiText.h"
#include "semantics/NumberText.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(NumberText, StrPutsABlankBeforeNonNegativeNumbers)
{
    EXPECT_EQ(Str(qint64(800)), QStringLiteral(" 800"));
    EXPECT_EQ(Str(qint64(0)), QStringLiteral(" 0"));
    EXPECT_EQ(Str(qint64(-5)), QStringLiteral("-5"));
    EXPECT_EQ(Str(0.625), QStringLiteral(" .625"));
    EXPECT_EQ(Str(-1.5), QStringLiteral("-1.5"));
    EXPECT_EQ(Str(1e15), QStringLiteral(" 1E+15")); // whole, but too large to print whole
    EXPECT_EQ(Str(1280.0), QStringLiteral(" 1280"));
    EXPECT_EQ(Trim(QStringLiteral("  a b \t ")), QStringLiteral("a b \t"));
    EXPECT_EQ(Trim(QStringLiteral("   ")), QString());
}

TEST(AnsiText, DecodesAndEncodesWindows1252)
{
    const QByteArray bytes("Fu\xDFzeile \x80 \x93x\x94 \x9F \x81", 18);
    const QString text = fromWindows1252(bytes);
    EXPECT_EQ(text, QString::fromUtf8("Fußzeile € “x” Ÿ \u0081"));
    EXPECT_EQ(toWindows1252(text), bytes);
    EXPECT_EQ(toWindows1252(QString::fromUtf8("日")), QByteArray("?"));
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all);
}

TEST(AnsiText, UpperCasesByTheClassicRule)
{
    EXPECT_EQ(UCase(QString::fromUtf8("Fußzeile")), QString::fromUtf8("FUßZEILE"));
    EXPECT_EQ(UCase(QString::fromUtf8("äöü ÿ š œ")), QString::fromUtf8("ÄÖÜ Ÿ Š Œ"));
    EXPECT_EQ(UCase(QString::fromUtf8("µ")), QString::fromUtf8("µ")); // its upper case is not ANSI
}
