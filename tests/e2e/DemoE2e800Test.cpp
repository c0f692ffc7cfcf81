// The program on the 800 x 600 demo visualisation; the operator's language
// number has no row in the language table, so the pages fall back to English.

#include "DemoE2e.h"

#include <gtest/gtest.h>

TEST(Demo800, OverlayCoversTheScreenDarkenedWithLatchedButtonAndSymbols)
{
    checkOverlayCoversAndFades(800);
}

TEST(Demo800, FooterButtonRaisesLatchesAndEndsWithStatusZero)
{
    checkFooterButton(800);
}

TEST(Demo800, SymbolOpensTheEnglishFallbackPageCentredDraggableAndClosable)
{
    checkHelpWindow(800, 9, QStringLiteral("English"));
}

TEST(Demo800, MissingPageGivesTheExactMessage)
{
    checkMissingPage(800);
}

TEST(Demo800, MissingScreenshotEndsAtOnceWithoutAWindow)
{
    checkMissingStartFile(800, true);
}

TEST(Demo800, MissingDescriptionEndsAtOnceWithoutAWindow)
{
    checkMissingStartFile(800, false);
}
