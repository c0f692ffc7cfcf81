#include "overlay/SymbolPlacement.h"
#include "overlay/Dimming.h"
#include "platform/Colour.h"
#include "platform/RuntimeError.h"
#include "support/OverlayScene.h"
#include "support/QtPrinters.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QRgb kBlue = qRgb(20, 60, 230);

// A scene at 800 x 600, 15 twips per pixel (overhang 105 twips), its buffer
// dimmed to 100, the 20 x 18 sample symbol (300 x 270 twips).
class Placement : public ::testing::Test
{
protected:
    explicit Placement(qint16 width = 800)
        : scene(width)
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
    QImage dimmed() { return scene.Main().DunkelPic->image(); }

    OverlayScene scene;
};

// Front-to-back order of the visible and hidden elements of entries 0..last.
QStringList stacking(MainForm &m, int last)
{
    QStringList order;
    const QObjectList children = m.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        for (int i = 0; i <= last; ++i) {
            if (*it == &m.Symbol(i))
                order << QStringLiteral("Symbol %1").arg(i);
            if (*it == &m.Bild(i))
                order << QStringLiteral("Bild %1").arg(i);
        }
    return order;
}

} // namespace

TEST_F(Placement, EveryPlacementRule)
{
    HelpEntry *e = &add(1500, 1500, 3000, 900); // 0: centred, at the left edge ("L")
    e->TagY = QStringLiteral("C");
    e->TagX = QStringLiteral("L");
    e = &add(1500, 3000); // 1: "c" is no centring code; Alignment 1
    e->TagY = QStringLiteral("c");
    e->Alignment = 1;
    e = &add(3000, 3000); // 2: TagX 10 pixels of the 1280 screen
    e->TagX = QStringLiteral("10");
    e = &add(4500, 4500); // 3: Alignment -1 (no Alignment key)
    e->Alignment = -1;
    e = &add(1500, 6000, 3000); // 4: Alignment 4, right edge
    e->Alignment = 4;
    e = &add(6000, 1500, 3000); // 5: Alignment 7, centred
    e->Alignment = 7;
    e = &add(6000, 3000); // 6: Alignment 0 keeps the template's Left
    e->Alignment = 0;
    e = &add(6000, 4500); // 7: Val skips blanks; 407.5 pixels round to 408
    e->TagX = QStringLiteral(" 1 2");
    e = &add(6000, 6000); // 8: a TagX that is no number adds nothing
    e->TagX = QStringLiteral("abc");
    e = &add(7500, 7500); // 9: Alignment 3 keeps the template too
    e->Alignment = 3;

    PlaceHelpSymbols(scene.Main());

    const QPoint expected[] = {
        { 100, 121 }, // 1500; (900 - 270) / 2 + 1500 = 1815
        { 93, 193 }, // 1395; 2895
        { 206, 193 }, // 3093.75 -> 206.25; 2895
        { 293, 293 }, // 4395; 4395
        { 287, 393 }, // 4500 - 300 + 105 = 4305
        { 490, 93 }, // (3000 - 300) / 2 + 6000 = 7350
        { 129, 193 }, // template 1935 twips
        { 408, 293 }, // 6000 + 0.625 x 12 x 15 = 6112.5 -> 407.5 -> 408
        { 400, 393 },
        { 129, 493 },
    };
    for (int i = 0; i <= 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(symbol(i).pos(), expected[i]);
        EXPECT_EQ(symbol(i).size(), QSize(20, 18));
        EXPECT_TRUE(symbol(i).Visible());
        EXPECT_TRUE(bild(i).Visible());
        const HelpEntry &entry = scene.context().HelpEntries[size_t(i)];
        EXPECT_EQ(bild(i).geometry(),
            QRect(entry.Left / 15, entry.Top / 15, entry.Width / 15, entry.Height / 15));
    }
    // Symbol(2).Left reads back as whole pixels in twips.
    EXPECT_FLOAT_EQ(symbol(2).Left(), 3090.0f);
}

TEST_F(Placement, SymbolsAndBackgroundsShowTheDimmedScreenshot)
{
    add(3000, 1500, 1500, 600);
    PlaceHelpSymbols(scene.Main());
    const QImage buffer = dimmed();

    // Bild 0 covers pixels (200, 100) .. (299, 139) with the dimmed screenshot.
    const QImage &b = bild(0).image();
    ASSERT_EQ(b.size(), QSize(100, 40));
    EXPECT_EQ(b, buffer.copy(200, 100, 100, 40));

    // Symbol 0 at (193, 93): the image, with the dimmed screenshot where it is
    // cyan or transparent.
    const QImage &s = symbol(0).image();
    ASSERT_EQ(symbol(0).pos(), QPoint(193, 93));
    EXPECT_EQ(s.pixel(5, 5), kBlue);
    EXPECT_EQ(s.pixel(0, 0), buffer.pixel(193, 93));
    EXPECT_EQ(s.pixel(19, 17), buffer.pixel(193 + 19, 93 + 17));
    EXPECT_EQ(s.pixel(10, 9), buffer.pixel(203, 102));
    EXPECT_NE(buffer.pixel(193, 93), kBlue);
    EXPECT_EQ(scene.Main().ZwischenPic->BackColor, Colour::Cyan);
}

TEST_F(Placement, KeptOnTheScreenAtAllFourEdges)
{
    HelpEntry *e = &add(30, 3000); // left: 30 - 105 < 0
    e->Alignment = 1;
    e = &add(11800, 3000); // right: 11800 + 300 > 12000
    e->TagX = QStringLiteral("L");
    e = &add(3000, 50); // top: 50 - 105 < 0
    e = &add(3000, 8900, 1500, 200); // bottom: 8865 + 270 > 9000
    e->TagY = QStringLiteral("C");
    e = &add(11700, 60); // top-right corner: both
    e->Alignment = 4;

    PlaceHelpSymbols(scene.Main());
    EXPECT_EQ(symbol(0).pos(), QPoint(0, 193));
    EXPECT_EQ(symbol(1).pos(), QPoint(780, 193));
    EXPECT_EQ(symbol(2).pos(), QPoint(193, 0));
    EXPECT_EQ(symbol(3).pos(), QPoint(193, 582));
    EXPECT_EQ(symbol(4).pos(), QPoint(780, 0));
    // The symbol shows the screenshot at its final place.
    EXPECT_EQ(symbol(1).image().pixel(0, 0), dimmed().pixel(780, 193));
}

class PlacementOnOtherWidth : public Placement
{
protected:
    PlacementOnOtherWidth()
        : Placement(1024)
    { }
};

TEST_F(PlacementOnOtherWidth, SymbolsEndAboveTheVisibleArea)
{
    add(3000, 3000);
    PlaceHelpSymbols(scene.Main());
    // No height and no overhang for this width: the top ends at minus the height.
    EXPECT_EQ(symbol(0).pos(), QPoint(200, -18));
    EXPECT_FLOAT_EQ(symbol(0).Top(), -270.0f);
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
    for (int i = 0; i <= 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bild(i).Visible(), shown[i]);
        EXPECT_EQ(symbol(i).Visible(), shown[i]);
    }
    EXPECT_TRUE(bild(6).Visible());
    EXPECT_FALSE(symbol(6).Visible());
    // The untagged symbol was neither placed nor drawn: it keeps the template's place.
    EXPECT_EQ(symbol(6).pos(), QPoint(129, 194));
    EXPECT_EQ(bild(6).pos(), QPoint(300, 300));
}

TEST_F(Placement, NoEntriesLeavesTheTemplatesAsStored)
{
    PlaceHelpSymbols(scene.Main());
    EXPECT_TRUE(symbol(0).Visible());
    EXPECT_TRUE(bild(0).Visible());
    EXPECT_EQ(symbol(0).size(), QSize(20, 18));
    EXPECT_FALSE(scene.Main().Symbol.exists(1));
}

TEST_F(Placement, MissingOrBrokenSymbolImageEndsWithAnErrorNamingTheFile)
{
    add(1500, 1500);
    const QString file
        = QString(scene.symbolImageFile()).replace(QLatin1Char('\\'), QLatin1Char('/'));
    for (const int number : { 53, 481 }) {
        if (number == 53)
            QFile::remove(file);
        else
            scene.folder.write(
                QFileInfo(file).filePath().mid(scene.folder.path().size() + 1), "not a picture");
        try {
            PlaceHelpSymbols(scene.Main());
            ADD_FAILURE() << "no error " << number;
        } catch (const RuntimeError &error) {
            EXPECT_EQ(error.number(), number);
            EXPECT_EQ(error.path(), scene.Main().appPath + QStringLiteral("\\Tavlin_800.gif"));
        }
    }
}
