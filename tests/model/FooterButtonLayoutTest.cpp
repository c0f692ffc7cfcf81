#include "model/FooterButtonLayout.h"
#include "model/ScreenContext.h"

#include <gtest/gtest.h>

// Points in pixels on and off the button; halves go to the even neighbour: 42.5 to 42 (on),
// 536.5 to 536 (off).
TEST(FooterButtonLayout, HitRegionEdges)
{
    struct Layout
    {
        qint16 size, top;
        std::vector<QPointF> on, off;
    };
    const Layout layouts[] = {
        { 41, 537, { { 0, 537 }, { 42, 537 }, { 0, 579 }, { 42.5, 537 } },
            { { 43, 537 }, { 0, 580 }, { 10, 536 }, { 0, 536.5 } } },
        { 66, 916, { { 67, 916 }, { 0, 983 } }, { { 68, 916 }, { 0, 984 } } },
    };
    ScreenContext context;
    for (const Layout &l : layouts) {
        context.ButtonSize = l.size;
        context.FooterTop = l.top;
        for (const bool on : { true, false })
            for (const QPointF p : on ? l.on : l.off)
                EXPECT_EQ(footerButtonHit(context, p), on) << p.x() << "," << p.y();
    }
}
