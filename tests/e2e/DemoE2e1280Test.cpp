// The program on the 1280 x 1024 demo visualisation, German operator.

#include "DemoE2e.h"

#include <gtest/gtest.h>

TEST(Demo1280, OverlayCoversTheScreenDarkenedWithLatchedButtonAndSymbols)
{
    checkOverlayCoversAndFades(1280);
}

TEST(Demo1280, FooterButtonRaisesLatchesAndEndsWithStatusZero)
{
    checkFooterButton(1280);
}

TEST(Demo1280, SymbolOpensTheGermanPageCentredDraggableAndClosable)
{
    checkHelpWindow(1280, 1, QStringLiteral("Deutsch"));
}

TEST(Demo1280, MissingPageGivesTheExactMessage)
{
    checkMissingPage(1280);
}

TEST(Demo1280, MissingScreenshotEndsAtOnceWithoutAWindow)
{
    checkMissingStartFile(1280, true);
}

TEST(Demo1280, MissingDescriptionEndsAtOnceWithoutAWindow)
{
    checkMissingStartFile(1280, false);
}
