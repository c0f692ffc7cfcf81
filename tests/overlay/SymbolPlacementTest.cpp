#include "overlay/SymbolPlacement.h"
#include "overlay/Dimming.h"
#include "raster/Colour.h"
#include "support/ErrorOf.h"
#include "support/OverlayScene.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QRgb kBlue = qRgb(20, 60, 230);

// A scene at 800 x 600, 15 twips per pixel (overhang 105 twips), its buffer
// dimmed to 100, the 20 x 18 sample symbol (300 x 270 twips).
class Placement : public ::testing::Test
{
protected:
    Placement()
    {
        scene.setScreenshot(800, 600);
        scene.prepareBuffers();
        scene.setButtonImage(OverlayScene::sampleButton());
        scene.setSymbolImage(OverlayScene::sampleSymbol());
        DimScreen(scene.Main(), 100);
    }

    HelpEntry &add(int left, int top, int width = 1500, int height = 600,
        const QString &name = QStringLiteral("Control"))
    {
        return scene.addEntry(name, left, top, width, height);
    }
    PictureBox &symbol(int i) { return scene.Main().Symbol(i); }
    PictureBox &bild(int i) { return scene.Main().Bild(i); }

    OverlayScene scene { 800 };
};

// Front-to-back order of the visible and hidden elements of entries 0..last.
QStringList stacking(MainForm &m, int last)
{
    QStringList order;
    for (QObject *child : m.children())
        for (int i = 0; i <= last; ++i)
            if (child == &m.Symbol(i) || child == &m.Bild(i))
                order.prepend(
                    QString::fromLatin1(child == &m.Bild(i) ? "Bild %1" : "Symbol %1").arg(i));
    return order;
}

} // namespace

TEST_F(Placement, EveryPlacementRuleAndClamp)
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
    for (const Rule &r : rules) {
        HelpEntry &e = add(r.left, r.top, r.width, r.height);
        e.TagY = QString::fromLatin1(r.tagY);
        e.TagX = QString::fromLatin1(r.tagX);
        e.Alignment = r.alignment;
    }
    PlaceHelpSymbols(scene.Main());
    for (int i = 0; i < int(std::size(rules)); ++i) {
        const Rule &r = rules[i];
        EXPECT_EQ(symbol(i).pos(), r.at) << i;
        EXPECT_EQ(symbol(i).size(), QSize(20, 18)) << i;
        EXPECT_TRUE(symbol(i).Visible() && bild(i).Visible()) << i;
        EXPECT_EQ(bild(i).geometry(),
            QRect(qRound(r.left / 15.0), qRound(r.top / 15.0), r.width / 15, r.height / 15))
            << i;
    }
    EXPECT_FLOAT_EQ(symbol(2).Left(), 3090.0f); // whole pixels in twips
    EXPECT_FALSE(scene.Main().Symbol.exists(int(std::size(rules))));

    // Other widths have no height and no overhang: the top ends at minus the height.
    OverlayScene other(1024);
    other.setSymbolImage(OverlayScene::sampleSymbol());
    other.addEntry(QStringLiteral("Control"), 3000, 3000, 1500, 600);
    PlaceHelpSymbols(other.Main());
    EXPECT_EQ(other.Main().Symbol(0).pos(), QPoint(200, -18));
    EXPECT_FLOAT_EQ(other.Main().Symbol(0).Top(), -270.0f);

    // Backgrounds show the dimmed buffer, symbols too where cyan or transparent.
    const QImage buffer = scene.Main().DunkelPic->image();
    EXPECT_EQ(bild(0).image(), buffer.copy(bild(0).geometry()));
    const QImage &s = symbol(11).image();
    EXPECT_EQ(s.pixel(5, 5), kBlue);
    for (const QPoint p : { QPoint(0, 0), QPoint(19, 17), QPoint(10, 9) })
        EXPECT_EQ(s.pixel(p), buffer.pixel(QPoint(780, 193) + p)) << p.x();
}

// Entries stack above their containers; containment is a plain substring test.
TEST_F(Placement, NestedEntriesStackAboveTheirContainers)
{
    for (int i = 0; i < 4; ++i)
        add(1500 + 300 * i, 1500);
    add(3000, 3000).ContainerPath = QStringLiteral(".3.1."); // 4: inside 3 inside 1
    add(3300, 3000).ContainerPath = QStringLiteral(".21."); // 5: not inside 1
    PlaceHelpSymbols(scene.Main());
    EXPECT_EQ(stacking(scene.Main(), 5),
        (QStringList { "Symbol 0", "Bild 0", "Symbol 4", "Bild 4", "Symbol 1", "Bild 1", "Symbol 2",
            "Bild 2", "Symbol 3", "Bild 3", "Symbol 5", "Bild 5" }));
}

TEST_F(Placement, FooterUnresolvedAndUntaggedEntries)
{
    add(1500, 1500, 1500, 600, QStringLiteral("Fußzeile")); // 0 hidden
    add(1500, 3000, 1500, 600, QStringLiteral("fUßZeIlE")); // 1 hidden
    add(1500, 4500, 1500, 600, QStringLiteral("FUSSZEILE")); // 2 shown
    add(1500, 6000, 1500, 600, QStringLiteral("Fusszeile")); // 3 shown
    add(4500, 1500).ContainerPath = QStringLiteral("FALSE"); // 4 hidden
    add(4500, 3000).ContainerPath = QStringLiteral("FALSE4."); // 5 shown
    add(4500, 4500).Tag.clear(); // 6 no symbol
    PlaceHelpSymbols(scene.Main());

    const bool shown[] = { false, false, true, true, false, true };
    for (int i = 0; i <= 5; ++i)
        EXPECT_TRUE(bild(i).Visible() == shown[i] && symbol(i).Visible() == shown[i]) << i;
    EXPECT_TRUE(bild(6).Visible());
    EXPECT_FALSE(symbol(6).Visible());
    // The untagged symbol was neither placed nor drawn: it keeps the template's place.
    EXPECT_EQ(symbol(6).pos(), QPoint(129, 194));
}

TEST_F(Placement, MissingOrBrokenSymbolImageEndsWithAnErrorNamingTheFile)
{
    add(1500, 1500);
    const QString error
        = QStringLiteral(" ") + scene.Main().appPath + QStringLiteral("\\Tavlin_800.gif");
    QFile::remove(scene.folder.path() + QStringLiteral("/bin/Tavlin_800.gif"));
    EXPECT_EQ(errorOf([&] { PlaceHelpSymbols(scene.Main()); }), QStringLiteral("53") + error);
    scene.folder.write(QStringLiteral("bin/Tavlin_800.gif"), "not a picture");
    EXPECT_EQ(errorOf([&] { PlaceHelpSymbols(scene.Main()); }), QStringLiteral("481") + error);
}
