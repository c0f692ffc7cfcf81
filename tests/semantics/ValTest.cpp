#include "semantics/RuntimeError.h"
#include "semantics/Val.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(Val, ReadsTheNumberAtTheStart)
{
    EXPECT_EQ(Val(QStringLiteral("800")), 800.0);
    EXPECT_EQ(Val(QStringLiteral("800 px")), 800.0);
    EXPECT_EQ(Val(QStringLiteral("1 2 8 0")), 1280.0);
    EXPECT_EQ(Val(QStringLiteral(" \t\n12\t3")), 123.0);
    EXPECT_EQ(Val(QStringLiteral("abc")), 0.0);
    EXPECT_EQ(Val(QString()), 0.0);
    EXPECT_EQ(Val(QStringLiteral("2.5")), 2.5);
    EXPECT_EQ(Val(QStringLiteral("-  7.25x")), -7.25);
    EXPECT_EQ(Val(QStringLiteral("+5")), 5.0);
    EXPECT_EQ(Val(QStringLiteral("--5")), 0.0);
    EXPECT_EQ(Val(QStringLiteral(".5")), 0.5);
    EXPECT_EQ(Val(QStringLiteral("5.")), 5.0);
    EXPECT_EQ(Val(QStringLiteral("1.2.3")), 1.2);
    EXPECT_EQ(Val(QStringLiteral("12,5")), 12.0); // the comma is never a decimal point
    EXPECT_EQ(Val(QStringLiteral("\r12")), 0.0);  // a carriage return is not skipped
}

TEST(Val, ReadsExponents)
{
    EXPECT_EQ(Val(QStringLiteral("1E3")), 1000.0);
    EXPECT_EQ(Val(QStringLiteral("1e-2")), 0.01);
    EXPECT_EQ(Val(QStringLiteral("2.5E+1 m")), 25.0);
    EXPECT_EQ(Val(QStringLiteral("1 E 2")), 100.0);
    EXPECT_EQ(Val(QStringLiteral("7E")), 7.0);
    EXPECT_EQ(Val(QStringLiteral("7E-")), 7.0);
    EXPECT_EQ(Val(QStringLiteral("7Ex")), 7.0);
    EXPECT_THROW(Val(QStringLiteral("1E400")), RuntimeError);
}

TEST(Val, ReadsHexAndOctal)
{
    EXPECT_EQ(Val(QStringLiteral("&H500")), 1280.0);
    EXPECT_EQ(Val(QStringLiteral("&h1F")), 31.0);
    EXPECT_EQ(Val(QStringLiteral("&HFFFF")), -1.0);
    EXPECT_EQ(Val(QStringLiteral("&H8000")), -32768.0);
    EXPECT_EQ(Val(QStringLiteral("&H10000")), 65536.0);
    EXPECT_EQ(Val(QStringLiteral("&HFFFFFFFF")), -1.0);
    EXPECT_EQ(Val(QStringLiteral("&HFG")), 15.0);
    EXPECT_EQ(Val(QStringLiteral("&O17")), 15.0);
    EXPECT_EQ(Val(QStringLiteral("&O8")), 0.0);
    EXPECT_EQ(Val(QStringLiteral("&O177777")), -1.0);
    EXPECT_EQ(Val(QStringLiteral("& H 1 0")), 16.0);
    EXPECT_EQ(Val(QStringLiteral("&X1")), 0.0);
    EXPECT_THROW(Val(QStringLiteral("&H100000000")), RuntimeError);
}
