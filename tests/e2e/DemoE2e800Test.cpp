// The program on the 800 x 600 demo visualisation: the overlay's pixels, which
// depend on the screen; everything else is checked at 1280 x 1024.

#include "DemoE2e.h"

#include <gtest/gtest.h>

TEST(Demo800, OverlayFadesInThenShowsTheDarkenedScreenSymbolsAndLatchedButton)
{
    checkOverlay(800);
}
