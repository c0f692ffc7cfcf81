#include "semantics/Arithmetic.h"
#include "support/ErrorOf.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <limits>

using namespace Arithmetic;

TEST(Arithmetic, RoundsHalvesToEven)
{
    const std::pair<double, double> halves[] = { { 0.5, 0 }, { 1.5, 2 }, { 2.5, 2 }, { -0.5, 0 },
        { -1.5, -2 }, { -2.5, -2 }, { 2.5000001, 3 }, { 94.5, 94 } };
    for (const auto &[x, rounded] : halves)
        EXPECT_EQ(roundHalfEven(x), rounded) << x;
    EXPECT_EQ(toLong(-3.5), -4);
}

TEST(Arithmetic, IntegerRangeOverflowAndDivision)
{
    EXPECT_EQ(toInteger(32767.4), 32767);
    EXPECT_EQ(toInteger(-32768.5), -32768); // rounds to the even -32768
    EXPECT_EQ(errorOf([] { toInteger(32767.5); }), "6");
    EXPECT_EQ(errorOf([] { toInteger(-32769); }), "6");
    EXPECT_EQ(errorOf([] { toInteger(std::numeric_limits<double>::quiet_NaN()); }), "6");
    EXPECT_EQ(errorOf([] { add(32000, 768); }), "6");
    EXPECT_EQ(add(32000, 767), 32767);
    EXPECT_EQ(errorOf([] { sub(-32768, 1); }), "6");
    EXPECT_EQ(errorOf([] { mul(200, 200); }), "6");
    EXPECT_EQ(mul(-2, 16384), -32768);
    EXPECT_EQ(toLong(2147483647.0), 2147483647);
    EXPECT_EQ(errorOf([] { toLong(2147483647.5); }), "6");
    EXPECT_EQ(divide(1.0, 4.0), 0.25);
    EXPECT_EQ(errorOf([] { divide(1.0, 0.0); }), "11");
    EXPECT_EQ(errorOf([] { divide(0.0, 0.0); }), "6");
    EXPECT_EQ(errorOf([] { divide(1e308, 1e-308); }), "6");
    EXPECT_EQ(toSingle(1.5), 1.5f);
    EXPECT_EQ(errorOf([] { toSingle(1e39); }), "6");
}

TEST(Arithmetic, TickDifferenceSurvivesTheWrap)
{
    EXPECT_EQ(tickDifference(1000, 1030), 30);
    EXPECT_EQ(tickDifference(0xFFFFFFF0u, 0x00000010u), 32);
    EXPECT_EQ(tickDifference(0x7FFFFFF0u, 0x80000010u), 32);
}
