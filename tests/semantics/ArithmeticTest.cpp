#include "semantics/Arithmetic.h"
#include "semantics/RuntimeError.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <limits>

using namespace Arithmetic;

namespace {

int errorNumberOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const RuntimeError &error) {
        return error.number();
    }
    return 0;
}

} // namespace

TEST(Arithmetic, RoundsHalvesToEven)
{
    EXPECT_EQ(roundHalfEven(0.5), 0.0);
    EXPECT_EQ(roundHalfEven(1.5), 2.0);
    EXPECT_EQ(roundHalfEven(2.5), 2.0);
    EXPECT_EQ(roundHalfEven(-0.5), 0.0);
    EXPECT_EQ(roundHalfEven(-1.5), -2.0);
    EXPECT_EQ(roundHalfEven(-2.5), -2.0);
    EXPECT_EQ(roundHalfEven(2.5000001), 3.0);
    EXPECT_EQ(roundHalfEven(94.5), 94.0); // 13.5 twips per pixel x 7
    EXPECT_EQ(toInteger(41.5), 42);
    EXPECT_EQ(toInteger(42.5), 42);
    EXPECT_EQ(toLong(-3.5), -4);
}

TEST(Arithmetic, IntegerRangeAndOverflow)
{
    EXPECT_EQ(toInteger(32767.4), 32767);
    EXPECT_EQ(toInteger(-32768.5), -32768); // rounds to the even -32768
    EXPECT_EQ(errorNumberOf([] { toInteger(32767.5); }), 6);
    EXPECT_EQ(errorNumberOf([] { toInteger(-32769); }), 6);
    EXPECT_EQ(errorNumberOf([] { toInteger(std::numeric_limits<double>::quiet_NaN()); }), 6);
    EXPECT_EQ(errorNumberOf([] { toInteger(std::numeric_limits<double>::infinity()); }), 6);
    EXPECT_EQ(errorNumberOf([] { add(32000, 768); }), 6);
    EXPECT_EQ(add(32000, 767), 32767);
    EXPECT_EQ(errorNumberOf([] { sub(-32768, 1); }), 6);
    EXPECT_EQ(errorNumberOf([] { mul(200, 200); }), 6);
    EXPECT_EQ(mul(-2, 16384), -32768);
    EXPECT_EQ(toLong(2147483647.0), 2147483647);
    EXPECT_EQ(errorNumberOf([] { toLong(2147483647.5); }), 6);
    EXPECT_EQ(errorNumberOf([] { addLong(2147483647, 1); }), 6);
    EXPECT_EQ(errorNumberOf([] { mulLong(65536, 65536); }), 6);
}

TEST(Arithmetic, DivisionErrorsAndSingles)
{
    EXPECT_EQ(divide(1.0, 4.0), 0.25);
    EXPECT_EQ(errorNumberOf([] { divide(1.0, 0.0); }), 11);
    EXPECT_EQ(errorNumberOf([] { divide(0.0, 0.0); }), 6);
    EXPECT_EQ(errorNumberOf([] { divide(1e308, 1e-308); }), 6);
    EXPECT_EQ(toSingle(1.5), 1.5f);
    EXPECT_EQ(errorNumberOf([] { toSingle(1e39); }), 6);
}

TEST(Arithmetic, TickDifferenceSurvivesTheWrap)
{
    EXPECT_EQ(tickDifference(1000, 1030), 30);
    EXPECT_EQ(tickDifference(0xFFFFFFF0u, 0x00000010u), 32);
    EXPECT_EQ(tickDifference(0x7FFFFFF0u, 0x80000010u), 32);
}
