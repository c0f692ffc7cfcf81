#include "semantics/Val.h"
#include "semantics/RuntimeError.h"

#include <gtest/gtest.h>

TEST(Val, ReadsTheNumberAtTheStartInDecimalHexOrOctal)
{
    const struct
    {
        const char *text;
        double value;
    } cases[] = { { "800", 800 }, { "800 px", 800 }, { "1 2 8 0", 1280 }, { " \t\n12\t3", 123 },
        { "abc", 0 }, { "", 0 }, { "2.5", 2.5 }, { "-  7.25x", -7.25 }, { "+5", 5 }, { "--5", 0 },
        { ".5", 0.5 }, { "5.", 5 }, { "1.2.3", 1.2 },
        { "12,5", 12 }, // the comma is never a decimal point
        { "\r12", 0 }, // a carriage return is not skipped
        { "1E3", 1000 }, { "1e-2", 0.01 }, { "2.5E+1 m", 25 }, { "1 E 2", 100 }, { "7E", 7 },
        { "7E-", 7 }, { "7Ex", 7 }, { "&H500", 1280 }, { "&h1F", 31 }, { "&HFFFF", -1 },
        { "&H8000", -32768 }, { "&H10000", 65536 }, { "&HFFFFFFFF", -1 }, { "&HFG", 15 },
        { "&O17", 15 }, { "&O8", 0 }, { "&O177777", -1 }, { "& H 1 0", 16 }, { "&X1", 0 } };
    for (const auto &c : cases)
        EXPECT_EQ(Val(QString::fromLatin1(c.text)), c.value) << c.text;
    EXPECT_THROW(Val(QStringLiteral("1E400")), RuntimeError);
    EXPECT_THROW(Val(QStringLiteral("&H100000000")), RuntimeError);
}
