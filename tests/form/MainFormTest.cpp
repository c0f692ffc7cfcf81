#include "overlay/OverlayStartup.h"
#include "form/MainForm.h"
#include "raster/Colour.h"
#include "os/Picture.h"
#include "semantics/RuntimeError.h"
#include "support/FakePlatform.h"
#include "support/OverlayScene.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QDataStream>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <array>
#include <gtest/gtest.h>

TEST(MainForm, StoredMakeUp)
{
    FakePlatform fake;
    MainForm m;
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Tavlin"));
    EXPECT_TRUE(m.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(m.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(m.geometry(), QRect(0, 0, 730, 472)); // 10950 x 7080 twips
    EXPECT_EQ(m.BackColor, Colour::Grey);
    EXPECT_EQ(m.image().pixel(10, 10), qRgb(128, 128, 128));

    // Controls in their stored order, with their design places.
    QList<QWidget *> order;
    for (QObject *child : m.children())
        if (auto *w = qobject_cast<QWidget *>(child))
            order << w;
    ASSERT_EQ(order.size(), 5);
    EXPECT_EQ(order[0], &m.Symbol(0));
    EXPECT_EQ(order[1], &m.Bild(0));
    EXPECT_EQ(order[2], m.ZwischenPic);
    EXPECT_EQ(order[3], m.DunkelPic);
    EXPECT_EQ(order[4], m.OriginalPic);
    EXPECT_EQ(m.Symbol(0).geometry(), QRect(129, 194, 35, 36));

    EXPECT_TRUE(m.Symbol(0).Visible());
    EXPECT_TRUE(m.Bild(0).Visible());
    for (PictureBox *work : { m.ZwischenPic, m.DunkelPic, m.OriginalPic }) {
        EXPECT_FALSE(work->Visible());
        EXPECT_TRUE(work->AutoSize);
    }

    m.show();
    EXPECT_FALSE(m.DunkelPic->isVisible());
    EXPECT_TRUE(m.Symbol(0).isVisible());
}

TEST(MainForm, TwipsRoundToWholePixelsHalvesToEven)
{
    FakePlatform fake;
    MainForm m;
    PictureBox &box = m.Bild(0);
    box.setLeft(22.5); // 1.5 pixels
    EXPECT_EQ(box.x(), 2);
    box.setLeft(37.5); // 2.5 pixels
    EXPECT_EQ(box.x(), 2);
    EXPECT_FLOAT_EQ(box.Left(), 30.0f);
    box.setTop(-7.5); // -0.5
    EXPECT_EQ(box.y(), 0);
    box.setWidth(1000); // 66.67
    EXPECT_EQ(box.width(), 67);
    EXPECT_EQ(box.ScaleWidth(), 67);
    EXPECT_FLOAT_EQ(box.Width(), 1005.0f);
    EXPECT_THROW(box.setLeft(1e12), RuntimeError);
}

TEST(MainForm, ResizingKeepsWhatStillFitsNewPartsTakeTheColourOfThatMoment)
{
    FakePlatform fake;
    MainForm m;
    PictureBox &box = m.Bild(0); // 71 x 52 pixels
    box.setBackColor(Colour::Black);
    box.hDC().image->setPixel(2, 2, qRgb(9, 9, 9));
    box.hDC().image->setPixel(60, 2, qRgb(9, 9, 9));
    box.BackColor = Colour::Cyan; // no clearing: only parts added from now on
    box.setWidth(50 * 15);
    box.setWidth(71 * 15); // (60, 2) was cut off and comes back cyan
    box.BackColor = Colour::Silver;
    box.setHeight(60 * 15);
    EXPECT_EQ(box.ScaleHeight(), 60);
    const QImage &image = box.image();
    EXPECT_EQ(image.size(), QSize(71, 60));
    EXPECT_EQ(image.pixel(2, 2), qRgb(9, 9, 9));
    EXPECT_EQ(image.pixel(60, 2), qRgb(0, 255, 255));
    EXPECT_EQ(image.pixel(30, 30), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(2, 55), qRgb(192, 192, 192));
}

TEST(MainForm, LoadCopiesElementZeroHiddenOnce)
{
    FakePlatform fake;
    MainForm m;
    m.Symbol(0).setLeft(300);
    m.Symbol(0).setWidth(450);
    m.Symbol(0).setBackColor(0x00FF00);
    PictureBox &copy = m.Symbol.Load(3);
    EXPECT_EQ(copy.Index(), 3);
    EXPECT_EQ(copy.geometry(), m.Symbol(0).geometry());
    EXPECT_EQ(copy.BackColor, 0x00FF00u);
    EXPECT_FALSE(copy.Visible());
    EXPECT_EQ(copy.image().pixel(0, 0), qRgb(0, 255, 0));

    try {
        m.Symbol.Load(3);
        ADD_FAILURE();
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), 360);
    }
    try {
        m.Bild(2);
        ADD_FAILURE();
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), 340);
    }
}

TEST(MainForm, PictureTakesTheBackColourWhereTransparent)
{
    FakePlatform fake;
    MainForm m;
    Picture picture;
    picture.image = QImage(4, 3, QImage::Format_ARGB32);
    picture.image.fill(qRgb(10, 20, 30));
    picture.image.setPixel(1, 1, qRgba(0, 0, 0, 0));
    picture.Width = 106; // HIMETRIC, unused by the box
    m.ZwischenPic->setBackColor(Colour::Cyan);
    m.ZwischenPic->setPicture(picture);
    EXPECT_EQ(m.ZwischenPic->size(), QSize(4, 3)); // sizes itself
    EXPECT_EQ(m.ZwischenPic->image().pixel(1, 1), qRgb(0, 255, 255));
    EXPECT_EQ(m.ZwischenPic->image().pixel(0, 0), qRgb(10, 20, 30));
    // Drawing changes the box, never the picture; Cls brings the picture back.
    m.ZwischenPic->hDC().image->setPixel(0, 0, qRgb(1, 1, 1));
    EXPECT_EQ(picture.image.pixel(0, 0), qRgb(10, 20, 30));
    m.ZwischenPic->Cls();
    EXPECT_EQ(m.ZwischenPic->image().pixel(0, 0), qRgb(10, 20, 30));

    // A box that does not size itself keeps its size; Cls restores the picture.
    PictureBox &symbol = m.Symbol(0);
    symbol.setPicture(picture);
    EXPECT_EQ(symbol.size(), QSize(35, 36));
    QImage &image = const_cast<QImage &>(symbol.image());
    image.setPixel(0, 0, qRgb(1, 1, 1));
    symbol.Cls();
    EXPECT_EQ(symbol.image().pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(symbol.image().pixel(10, 10), Colour::toQRgb(symbol.BackColor));
}

namespace {

// A 2 x 2 bitmap of 32-bit pixels (listed top row first) with a header of
// `headerSize` bytes and BI_BITFIELDS masks red, green, blue and alpha.
QByteArray bitFieldBmp(quint32 headerSize, bool topDown, const std::array<quint32, 4> &masks,
    const std::array<quint32, 4> &pixels)
{
    const quint32 offset = 14 + headerSize + (headerSize == 40 ? 12 : 0);
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint8('B') << quint8('M') << quint32(offset + 16) << quint32(0) << offset;
    out << headerSize << qint32(2) << qint32(topDown ? -2 : 2) << quint16(1) << quint16(32)
        << quint32(3) << quint32(16) << qint32(2835) << qint32(2835) << quint32(0) << quint32(0);
    for (size_t i = 0; i < (headerSize == 40 ? 3u : 4u); ++i)
        out << masks[i];
    while (file.size() < qsizetype(offset))
        out << quint8(0);
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 2; ++x)
            out << pixels[size_t((topDown ? row : 1 - row) * 2 + x)];
    return file;
}

} // namespace

// A bitmap is drawn opaque in exactly its colours whatever its alpha bytes
// say: capture tools write 32-bit V5 files with an alpha mask and every alpha
// byte 0. The second file has its channels in another order under masks,
// top-down, with a 40-byte header.
TEST(MainForm, BitmapsDrawOpaqueInTheirOwnColours)
{
    FakePlatform fake;
    TempFolder folder;
    MainForm m;
    const std::array<QRgb, 4> colours { qRgb(200, 10, 20), qRgb(0, 128, 255), qRgb(1, 2, 3),
        qRgb(255, 255, 0) };
    std::array<quint32, 4> argb {};
    std::array<quint32, 4> xbgr {};
    for (size_t i = 0; i < 4; ++i) {
        argb[i] = colours[i] & 0x00ffffffu;
        xbgr[i] = 0x5a000000u | quint32(qRed(colours[i])) | quint32(qGreen(colours[i])) << 8
            | quint32(qBlue(colours[i])) << 16;
    }
    const QStringList files {
        folder.write(QStringLiteral("v5.bmp"),
            bitFieldBmp(124, false, { 0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000 }, argb)),
        folder.write(QStringLiteral("fields.bmp"),
            bitFieldBmp(40, true, { 0x000000ff, 0x0000ff00, 0x00ff0000, 0 }, xbgr))
    };
    for (const QString &file : files) {
        m.OriginalPic->setPicture(LoadPicture(file));
        const QImage &drawn = m.OriginalPic->image();
        ASSERT_EQ(drawn.size(), QSize(2, 2)) << file.toStdString();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(drawn.pixel(i % 2, i / 2), colours[size_t(i)])
                << file.toStdString() << " pixel " << i;
    }
}

TEST(MainForm, SymbolClickReachesTheHandlerWithItsIndexInsideTheGuard)
{
    FakePlatform fake;
    MainForm m;
    m.Symbol.Load(4).show();
    m.Symbol(4).setLeft(3000);
    m.show();
    std::vector<qint16> clicks;
    m.symbolClickHandler = [&](qint16 index) { clicks.push_back(index); };

    QTest::mouseClick(&m.Symbol(4), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QTest::mouseClick(&m.Symbol(0), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    // The right button does not click.
    QTest::mouseClick(&m.Symbol(0), Qt::RightButton, Qt::NoModifier, QPoint(3, 3));
    // Pressed on the symbol but released outside it: no click.
    QTest::mousePress(&m.Symbol(0), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QTest::mouseRelease(&m.Symbol(0), Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
    EXPECT_EQ(clicks, (std::vector<qint16> { 4, 0 }));

    // An error in the handler ends the program with the standard message.
    m.symbolClickHandler
        = [](qint16) { throw RuntimeError::fileNotFound(QStringLiteral("C:\\x")); };
    QTest::mouseClick(&m.Symbol(4), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    ASSERT_EQ(fake.messageBox.errors.size(), 1);
    EXPECT_TRUE(fake.messageBox.errors[0].contains(QStringLiteral("C:\\x")));
    EXPECT_EQ(fake.terminator.calls, 1);
}

TEST(MainForm, MouseOnTheFormReachesItsHandlersInTwips)
{
    FakePlatform fake;
    MainForm m;
    m.show();
    std::vector<std::tuple<qint16, float, float>> downs;
    int doubleClicks = 0;
    m.mouseDownHandler
        = [&](qint16 button, qint16, float x, float y) { downs.emplace_back(button, x, y); };
    m.dblClickHandler = [&] { ++doubleClicks; };
    QTest::mousePress(&m, Qt::RightButton, Qt::NoModifier, QPoint(600, 20));
    QTest::mouseRelease(&m, Qt::RightButton, Qt::NoModifier, QPoint(600, 20));
    QTest::mouseDClick(&m, Qt::LeftButton, Qt::NoModifier, QPoint(600, 20));
    ASSERT_GE(downs.size(), 1u);
    EXPECT_EQ(downs[0], std::make_tuple(qint16(2), 9000.0f, 300.0f));
    EXPECT_EQ(doubleClicks, 1);
}

namespace {

// A scene whose start-up finds the screenshot, the button image and this
// description under TEMPVISU; the symbol image only when asked.
struct StartUpScene
{
    StartUpScene(const QByteArray &description, bool symbolImage = true)
    {
        if (symbolImage)
            scene.setSymbolImage(OverlayScene::sampleSymbol());
        scene.setButtonImage(OverlayScene::sampleButton());
        temp.set(scene.folder.path());
        scene.setScreenshot(800, 600);
        scene.folder.write(QStringLiteral("Kestrel/Tavlin.txt"),
            "[Global]\r\nDispHInt=800\r\nVisuPfad=" + scene.context().VisuPfad.toUtf8() + "\r\n"
                + description);
    }
    OverlayScene scene { 800 };
    EnvironmentGuard temp { "TEMPVISU" };
};

} // namespace

TEST(MainForm, StartUpBuildsTheOverlayThenResolvesTheLanguage)
{
    StartUpScene s("Language=1\r\n[0]\r\nName=Frame1\r\nLeft=1500\r\nTop=1500\r\nWidth=3000\r\n"
                   "Height=1500\r\nTag=T=Frame\r\n[1]\r\nName=Button1\r\nLeft=150\r\nTop=150\r\n"
                   "Width=600\r\nHeight=300\r\nContainerName=Frame1\r\nTag=X=5;Pump\r\n");
    OverlayScene &scene = s.scene;
    EXPECT_TRUE(loadMain(scene.Main()));
    EXPECT_EQ(scene.context().LastEntry, 1);
    EXPECT_EQ(scene.Main().Bild(1).geometry(), QRect(110, 110, 40, 20));
    // X=5 at 800: 1650 + 0.625 x 5 x 15 = 1696.875 twips -> 113 pixels.
    EXPECT_EQ(scene.Main().Symbol(1).pos(), QPoint(113, 103));
    EXPECT_TRUE(scene.Main().Symbol(1).Visible());
    EXPECT_EQ(scene.fake.terminator.calls, 0);
    EXPECT_TRUE(scene.fake.messageBox.errors.isEmpty());
}

TEST(MainForm, StartUpWithoutTheSymbolImageEndsWithTheStandardMessage)
{
    StartUpScene s("[0]\r\nName=A\r\nTag=P\r\n", false);
    EXPECT_FALSE(loadMain(s.scene.Main()));
    ASSERT_EQ(s.scene.fake.messageBox.errors.size(), 1);
    EXPECT_TRUE(s.scene.fake.messageBox.errors[0].contains(QStringLiteral("Tavlin_800.gif")));
    EXPECT_EQ(s.scene.fake.terminator.calls, 1);
    // The overlay was already up when the error came.
    EXPECT_TRUE(s.scene.Main().isVisible());
}

TEST(MainForm, StartUpResolvesTheLanguageFromTheTableByDefault)
{
    StartUpScene s("Language=7\r\n");
    // No language table under the installation folder: English, silently.
    EXPECT_TRUE(loadMain(s.scene.Main()));
    EXPECT_EQ(s.scene.context().LanguageName, QStringLiteral("English"));
    EXPECT_TRUE(s.scene.fake.messageBox.errors.isEmpty());
    EXPECT_TRUE(s.scene.fake.messageBox.messages.isEmpty());
}

namespace {

void postMouse(QWidget *to, QEvent::Type type, QPointF at, Qt::MouseButtons held)
{
    QCoreApplication::postEvent(
        to, new QMouseEvent(type, at, to->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier));
}

// On its first pause of the fade, posts a click on Symbol 0: the operator's
// input of that moment.
class ClockPostingAClick : public FakeClock
{
public:
    explicit ClockPostingAClick(PictureBox &symbol)
        : m_symbol(symbol)
    { }
    void sleep(qint32 milliseconds) override
    {
        FakeClock::sleep(milliseconds);
        if (sleeps.size() != 1)
            return;
        postMouse(&m_symbol, QEvent::MouseButtonPress, QPointF(3, 3), Qt::LeftButton);
        postMouse(&m_symbol, QEvent::MouseButtonRelease, QPointF(3, 3), Qt::NoButton);
    }

private:
    PictureBox &m_symbol;
};

} // namespace

TEST(MainForm, InputDuringStartUpOrAHandlerIsHandledAfterItInOrder)
{
    EventPump *const qtEvents = platform().events;
    StartUpScene s("Language=7\r\n[0]\r\nName=A\r\nLeft=1500\r\nTop=1500\r\nWidth=600\r\n"
                   "Height=300\r\nTag=P\r\n");
    MainForm &m = s.scene.Main();
    ClockPostingAClick clock(m.Symbol(0));
    PlatformOverride realEvents(Platform { nullptr, &clock, qtEvents, nullptr, nullptr });
    QStringList handled;
    m.symbolClickHandler = [&](qint16 index) {
        handled << QStringLiteral("click %1 %2").arg(index).arg(m.context().LanguageName);
    };
    // The release comes while the press repaints, as the footer button's
    // raised look does.
    const QPoint onButton(5, 545);
    m.mouseDownHandler = [&](qint16, qint16, float, float) {
        handled << QStringLiteral("down");
        postMouse(&m, QEvent::MouseButtonRelease, onButton, Qt::NoButton);
        m.Refresh();
        handled << QStringLiteral("down done");
    };
    m.mouseUpHandler = [&](qint16, qint16, float, float) { handled << QStringLiteral("up"); };

    ASSERT_TRUE(loadMain(m));
    EXPECT_EQ(clock.sleeps.size(), 15u);
    EXPECT_TRUE(handled.isEmpty()) << handled.join(QStringLiteral(", ")).toStdString();
    QCoreApplication::processEvents();
    QTest::mousePress(&m, Qt::LeftButton, {}, onButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(handled,
        QStringList({ QStringLiteral("click 0 English"), QStringLiteral("down"),
            QStringLiteral("down done"), QStringLiteral("up") }));
}
