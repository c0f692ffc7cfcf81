#include "semantics/Val.h"
#include "semantics/RuntimeError.h"

#include <gtest/gtest.h>

namespace {

struct ValRow
{
    const char *name, *text;
    double value;
};

class ValReads : public ::testing::TestWithParam<ValRow>
{
};

} // namespace

TEST_P(ValReads, TheNumberAtTheStart)
{
    EXPECT_EQ(Val(QString::fromLatin1(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Val, ValReads,
    ::testing::Values(ValRow { "Decimal", "800", 800 }, ValRow { "UnitAfter", "800 px", 800 },
        ValRow { "BlanksInside", "1 2 8 0", 1280 }, ValRow { "WhiteSpace", " \t\n12\t3", 123 },
        ValRow { "NoNumber", "abc", 0 }, ValRow { "Empty", "", 0 },
        ValRow { "Fraction", "2.5", 2.5 }, ValRow { "SignApart", "-  7.25x", -7.25 },
        ValRow { "Plus", "+5", 5 }, ValRow { "TwoSigns", "--5", 0 },
        ValRow { "PointFirst", ".5", 0.5 }, ValRow { "PointLast", "5.", 5 },
        ValRow { "SecondPoint", "1.2.3", 1.2 }, ValRow { "CommaIsNoPoint", "12,5", 12 },
        ValRow { "CarriageReturnNotSkipped", "\r12", 0 }, ValRow { "Exponent", "1E3", 1000 },
        ValRow { "NegativeExponent", "1e-2", 0.01 }, ValRow { "SignedExponent", "2.5E+1 m", 25 },
        ValRow { "ExponentApart", "1 E 2", 100 }, ValRow { "ExponentMarkAlone", "7E", 7 },
        ValRow { "ExponentSignAlone", "7E-", 7 }, ValRow { "ExponentNoDigit", "7Ex", 7 },
        ValRow { "Hex", "&H500", 1280 }, ValRow { "HexLower", "&h1F", 31 },
        ValRow { "HexIntegerMinusOne", "&HFFFF", -1 }, ValRow { "HexIntegerMin", "&H8000", -32768 },
        ValRow { "HexLong", "&H10000", 65536 }, ValRow { "HexLongMinusOne", "&HFFFFFFFF", -1 },
        ValRow { "HexStopsAtNonDigit", "&HFG", 15 }, ValRow { "Octal", "&O17", 15 },
        ValRow { "OctalNoDigit", "&O8", 0 }, ValRow { "OctalMinusOne", "&O177777", -1 },
        ValRow { "HexApart", "& H 1 0", 16 }, ValRow { "UnknownBase", "&X1", 0 }),
    [](const ::testing::TestParamInfo<ValRow> &row) { return std::string(row.param.name); });

TEST(Val, NumbersBeyondTheirRangeOverflow)
{
    EXPECT_THROW(Val(QStringLiteral("1E400")), RuntimeError);
    EXPECT_THROW(Val(QStringLiteral("&H100000000")), RuntimeError);
}
