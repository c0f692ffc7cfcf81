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

// The view shows the layout (its rules: SymbolLayoutTest): backgrounds from
// the dimmed buffer, symbols too where cyan or transparent.
TEST_F(Placement, ElementsShowTheLayoutOnTheDimmedScreenshot)
{
    add(1500, 1500, 3000, 900);
    add(11800, 3000).TagX = QStringLiteral("L"); // kept on the screen: (780, 193)
    PlaceHelpSymbols(scene.Main());
    EXPECT_EQ(bild(0).geometry(), QRect(100, 100, 200, 60));
    EXPECT_EQ(symbol(1).geometry(), QRect(780, 193, 20, 18));
    EXPECT_TRUE(symbol(1).Visible() && bild(1).Visible());
    const QImage buffer = scene.Main().DunkelPic->image();
    EXPECT_EQ(bild(0).image(), buffer.copy(bild(0).geometry()));
    const QImage &s = symbol(1).image();
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

// Both elements of a footer or unresolved entry are hidden; an untagged entry's symbol stays
// hidden where the template stands, neither placed nor drawn.
TEST_F(Placement, FooterUnresolvedAndUntaggedEntries)
{
    add(1500, 1500, 1500, 600, QStringLiteral("Fußzeile"));
    add(4500, 1500).ContainerPath = QStringLiteral("FALSE");
    add(4500, 4500).Tag.clear();
    PlaceHelpSymbols(scene.Main());
    for (int i = 0; i <= 1; ++i)
        EXPECT_FALSE(bild(i).Visible() || symbol(i).Visible()) << i;
    EXPECT_TRUE(bild(2).Visible() && !symbol(2).Visible());
    EXPECT_EQ(symbol(2).pos(), QPoint(129, 194));
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
