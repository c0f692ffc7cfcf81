#include "model/SymbolLayout.h"
#include "model/ScreenContext.h"
#include "semantics/RuntimeError.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

// The 800 x 600 screen at 15 twips per pixel (overhang 105 twips), the 20 x 18
// symbol, whose template stands at (129, 194).
ScreenContext screen800()
{
    ScreenContext c;
    std::tie(c.DispHInt, c.DispVInt, c.SymbolOverhang) = std::make_tuple(800, 600, 105);
    c.TwipsPerPixelX = c.TwipsPerPixelY = 15;
    c.WidthFactor = 800 / 1280.0;
    c.LastEntry = -1;
    return c;
}

HelpEntry &add(ScreenContext &c, int left, int top, int width = 1500, int height = 600)
{
    HelpEntry &e = c.HelpEntries[size_t(++c.LastEntry)];
    e = HelpEntry();
    e.Name = QStringLiteral("Control");
    e.Tag = QStringLiteral("Page");
    e.ContainerPath = QStringLiteral(".");
    e.Left = qint16(left);
    e.Top = qint16(top);
    e.Width = qint16(width);
    e.Height = qint16(height);
    return e;
}

std::vector<EntryPlacement> layOut(const ScreenContext &c)
{
    return layOutSymbols(c, TwipsScale { 15, 15 }, QSize(20, 18), QPoint(129, 194));
}

} // namespace

TEST(SymbolLayout, EveryPlacementRuleAndClamp)
{
    struct Rule
    {
        int left, top, width, height;
        const char *tagY, *tagX;
        qint16 alignment;
        QPoint at; // pixels
    };
    const Rule rules[] = { // Centred, at the left edge: 1500; (900 - 270) / 2 + 1500 = 1815.
        { 1500, 1500, 3000, 900, "C", "L", -1, { 100, 121 } },
        { 1500, 3000, 1500, 600, "c", "", 1, { 93, 193 } }, // no centring code; 1395, 2895
        { 3000, 3000, 1500, 600, "", "10", -1, { 206, 193 } }, // 10 pixels of 1280: 3093.75
        { 4500, 4500, 1500, 600, "", "", -1, { 293, 293 } }, // no Alignment key
        { 1500, 6000, 3000, 600, "", "", 4, { 287, 393 } }, // right edge: 4500 - 300 + 105
        { 6000, 1500, 3000, 600, "", "", 7, { 490, 93 } }, // centred: (3000 - 300) / 2 + 6000
        { 6000, 3000, 1500, 600, "", "", 0, { 129, 193 } }, // the template's 1935 twips
        // Val skips blanks: 6000 + 0.625 x 12 x 15 = 6112.5 twips, 407.5 pixels -> 408.
        { 6000, 4500, 1500, 600, "", " 1 2", -1, { 408, 293 } },
        { 6000, 6000, 1500, 600, "", "abc", -1, { 400, 393 } }, // no number adds nothing
        { 7500, 7500, 1500, 600, "", "", 3, { 129, 493 } }, // the template's too
        // Kept on the screen at all four edges and in a corner.
        { 30, 3000, 1500, 600, "", "", 1, { 0, 193 } }, // 30 - 105 < 0
        { 11800, 3000, 1500, 600, "", "L", -1, { 780, 193 } }, // 11800 + 300 > 12000
        { 3000, 50, 1500, 600, "", "", -1, { 193, 0 } }, // 50 - 105 < 0
        { 3000, 8900, 1500, 200, "C", "", -1, { 193, 582 } }, // 8865 + 270 > 9000
        { 11700, 60, 1500, 600, "", "", 4, { 780, 0 } }
    };
    ScreenContext c = screen800();
    for (const Rule &r : rules) {
        HelpEntry &e = add(c, r.left, r.top, r.width, r.height);
        e.TagY = QString::fromLatin1(r.tagY);
        e.TagX = QString::fromLatin1(r.tagX);
        e.Alignment = r.alignment;
    }
    const std::vector<EntryPlacement> placed = layOut(c);
    ASSERT_EQ(placed.size(), std::size(rules));
    for (size_t i = 0; i < placed.size(); ++i) {
        const Rule &r = rules[i];
        const QRect bild(qRound(r.left / 15.0), qRound(r.top / 15.0), r.width / 15, r.height / 15);
        EXPECT_EQ(placed[i].symbol, QRect(r.at, QSize(20, 18))) << i;
        EXPECT_EQ(placed[i].symbolSource, QRect(r.at, QSize(20, 18))) << i;
        EXPECT_TRUE(placed[i].shown && placed[i].bild == bild && placed[i].source == bild) << i;
    }

    // Other widths have no height and no overhang: the top ends at minus the height.
    ScreenContext wide = screen800();
    std::tie(wide.DispHInt, wide.DispVInt, wide.SymbolOverhang) = std::make_tuple(1024, 0, 0);
    add(wide, 3000, 3000).Alignment = 1;
    EXPECT_EQ(layOut(wide)[0].symbol, QRect(QPoint(200, -18), QSize(20, 18)));

    // A top the 16-bit overhang subtraction cannot reach stops the layout.
    add(wide, 0, -32768);
    wide.SymbolOverhang = 1;
    EXPECT_THROW(layOut(wide), RuntimeError);
}

// Entries stack above their containers (containment is a plain substring
// test); footers and unresolved entries are hidden, untagged ones get no symbol.
TEST(SymbolLayout, StackingAndWhatIsNotMarked)
{
    ScreenContext c = screen800();
    for (int i = 0; i < 4; ++i)
        add(c, 1500 + 300 * i, 1500);
    add(c, 3000, 3000).ContainerPath = QStringLiteral(".3.1."); // 4: inside 3 inside 1
    add(c, 3300, 3000).ContainerPath = QStringLiteral(".21."); // 5: not inside 1
    add(c, 1500, 1500).Name = QStringLiteral("fUßZeIlE"); // 6
    add(c, 1500, 4500).Name = QStringLiteral("FUSSZEILE"); // 7: shown
    add(c, 4500, 1500).ContainerPath = QStringLiteral("FALSE"); // 8
    add(c, 4500, 3000).ContainerPath = QStringLiteral("FALSE4."); // 9: shown
    add(c, 4500, 4500).Tag.clear(); // 10: no symbol
    const std::vector<EntryPlacement> placed = layOut(c);
    const std::vector<std::vector<int>> raised
        = { { 0 }, { 1, 4 }, { 2 }, { 3, 4 }, { 4 }, { 5 }, {}, { 7 }, {}, { 9 }, { 10 } };
    for (size_t i = 0; i < placed.size(); ++i) {
        EXPECT_EQ(placed[i].raised, raised[i]) << i;
        EXPECT_EQ(placed[i].shown, i != 6 && i != 8) << i;
        EXPECT_EQ(placed[i].symbol.has_value(), i != 6 && i != 8 && i != 10) << i;
    }
    EXPECT_EQ(stackedBottomUp(placed), (std::vector<int> { 10, 9, 7, 5, 3, 2, 1, 4, 0 }));
}
