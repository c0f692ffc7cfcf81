#include "overlay/MainForm.h"
#include "os/Picture.h"
#include "os/RealServices.h"
#include "overlay/OverlayStartup.h"
#include "raster/Colour.h"
#include "semantics/RuntimeError.h"
#include "support/ErrorOf.h"
#include "support/FakeServices.h"
#include "support/OverlayScene.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

// Twips round to whole pixels, halves to even; resizing keeps what fits; a loaded
// element is a hidden copy of element 0.
TEST(MainForm, BoxesInTwipsResizedAndLoaded)
{
    FakeServices fake;
    MainForm m(fake.services());
    m.show();
    EXPECT_EQ(m.geometry(), QRect(0, 0, 730, 472)); // 10950 x 7080 twips
    EXPECT_TRUE(m.Symbol(0).isVisible());

    PictureBox &box = m.Bild(0);
    box.setLeft(22.5); // 1.5 pixels
    EXPECT_EQ(box.x(), 2);
    box.setLeft(37.5); // 2.5 pixels
    EXPECT_EQ(box.x(), 2);
    EXPECT_FLOAT_EQ(box.Left(), 30.0f);
    box.setTop(-7.5); // -0.5
    EXPECT_EQ(box.y(), 0);
    box.setWidth(1000); // 66.67
    EXPECT_EQ(box.ScaleWidth(), 67);
    EXPECT_FLOAT_EQ(box.Width(), 1005.0f);
    EXPECT_THROW(box.setLeft(1e12), RuntimeError);

    // Resizing keeps what still fits; new parts take the colour of that moment.
    box.setBackColor(Colour::Black);
    box.hDC().image->setPixel(2, 2, qRgb(9, 9, 9));
    box.hDC().image->setPixel(60, 2, qRgb(9, 9, 9));
    box.BackColor = Colour::Cyan; // no clearing: only parts added from now on
    box.setWidth(50 * 15);
    box.setWidth(71 * 15); // (60, 2) was cut off and comes back cyan
    box.BackColor = Colour::Silver;
    box.setHeight(60 * 15);
    const QImage &image = box.image();
    EXPECT_EQ(image.size(), QSize(71, 60));
    EXPECT_EQ(image.pixel(2, 2), qRgb(9, 9, 9));
    EXPECT_EQ(image.pixel(60, 2), qRgb(0, 255, 255));
    EXPECT_EQ(image.pixel(30, 30), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(2, 55), qRgb(192, 192, 192));
    QRgb one = 0; // drawn on, then grown in the colour it was cleared to: not one colour
    box.setBackColor(Colour::Black);
    box.hDC().image->setPixel(0, 0, qRgb(9, 9, 9));
    box.setWidth(80 * 15);
    EXPECT_FALSE(box.holdsOneColour(one));
    box.setHeight(0);
    EXPECT_EQ(box.size(), QSize(80, 0)); // nothing left to see

    m.Symbol(0).setLeft(300);
    m.Symbol(0).setWidth(450);
    m.Symbol(0).setBackColor(0x00FF00);
    PictureBox &copy = m.Symbol.Load(3);
    EXPECT_EQ(copy.Index(), 3);
    EXPECT_EQ(copy.geometry(), m.Symbol(0).geometry());
    EXPECT_EQ(copy.BackColor, 0x00FF00u);
    EXPECT_FALSE(copy.Visible());
    EXPECT_EQ(copy.image().pixel(0, 0), qRgb(0, 255, 0));

    EXPECT_EQ(errorOf([&] { m.Symbol.Load(3); }), "360");
    EXPECT_EQ(errorOf([&] { m.Bild(2); }), "340");
}

// The form paints its shown elements over its own image, in their stacking order.
TEST(MainForm, PaintsItsShownElementsInTheirStackingOrder)
{
    FakeServices fake;
    MainForm m(fake.services());
    m.Symbol(0).setBackColor(Colour::rgb(0, 0, 255));
    m.Symbol(0).setGeometryPixels(QRect(20, 20, 20, 20));
    m.Bild(0).setBackColor(Colour::rgb(255, 0, 0));
    m.Bild(0).setGeometryPixels(QRect(10, 10, 20, 20));
    m.Symbol.Load(1).setGeometryPixels(QRect(50, 50, 5, 5)); // loaded hidden
    const auto at = [&m](int x, int y) { return m.grab(QRect(x, y, 1, 1)).toImage().pixel(0, 0); };
    EXPECT_EQ(at(25, 25), qRgb(255, 0, 0));
    EXPECT_EQ(at(35, 35), qRgb(0, 0, 255));
    EXPECT_EQ(at(51, 51), qRgb(128, 128, 128));
    m.Symbol(0).ZOrder();
    EXPECT_EQ(at(25, 25), qRgb(0, 0, 255));
}

TEST(MainForm, PictureTakesTheBackColourWhereTransparentBitmapsDrawOpaque)
{
    FakeServices fake;
    MainForm m(fake.services());
    Picture picture;
    picture.image = QImage(4, 3, QImage::Format_ARGB32);
    picture.image.fill(qRgb(10, 20, 30));
    picture.image.setPixel(1, 1, qRgba(0, 0, 0, 0));
    picture.image.setPixel(2, 1, qRgba(200, 100, 0, 100)); // partly: mixed with the colour
    m.ZwischenPic->setBackColor(Colour::Cyan);
    m.ZwischenPic->setPicture(picture);
    EXPECT_EQ(m.ZwischenPic->size(), QSize(4, 3)); // sizes itself
    EXPECT_EQ(m.ZwischenPic->image().pixel(1, 1), qRgb(0, 255, 255));
    EXPECT_EQ(m.ZwischenPic->image().pixel(2, 1), qRgb(78, 194, 155));
    EXPECT_EQ(m.ZwischenPic->image().pixel(0, 0), qRgb(10, 20, 30));
    // Drawing changes the box, never the picture; Cls brings the picture back.
    m.ZwischenPic->hDC().image->setPixel(0, 0, qRgb(1, 1, 1));
    EXPECT_EQ(picture.image.pixel(0, 0), qRgb(10, 20, 30));
    m.ZwischenPic->Cls();
    EXPECT_EQ(m.ZwischenPic->image().pixel(0, 0), qRgb(10, 20, 30));

    // A box that does not size itself keeps its size, its colour beyond the picture.
    m.Symbol(0).setPicture(picture);
    EXPECT_EQ(m.Symbol(0).size(), QSize(35, 36));
    EXPECT_EQ(m.Symbol(0).image().pixel(10, 10), Colour::toQRgb(m.Symbol(0).BackColor));
    EXPECT_EQ(m.Symbol(0).image().pixel(0, 1), qRgb(10, 20, 30)); // the colour stays beside it

    // A bitmap is drawn opaque in its own colours: capture tools write 2 x 2 V5 bitmaps of
    // 32 bits with an alpha mask like this one, every alpha byte 0.
    QByteArray file = QByteArray::fromHex("424d9a000000000000008a0000007c00000002000000feffffff"
                                          "01002000030000001000000000000000000000000000000000000000"
                                          "0000ff0000ff0000ff000000000000ff");
    file += QByteArray(138 - file.size(), 0)
        + QByteArray::fromHex("140ac800ff8000000302010000ffff00");
    const QRgb colours[] = { 0xffc80a14, 0xff0080ff, 0xff010203, 0xffffff00 };
    TempFolder folder;
    m.OriginalPic->setPicture(
        LoadPicture(folder.write(QStringLiteral("v5.bmp"), file), fake.screen));
    const QImage &drawn = m.OriginalPic->image();
    ASSERT_EQ(drawn.size(), QSize(2, 2));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(drawn.pixel(i % 2, i / 2), colours[i]) << i;
    const QString cut = folder.write(QStringLiteral("cut.bmp"), file.chopped(1));
    EXPECT_EQ(errorOf([&] { LoadPicture(cut, fake.screen); }), QStringLiteral("481 ") + cut);
}

TEST(MainForm, MouseReachesTheHandlersInPixelsAndClicksInsideTheGuard)
{
    FakeServices fake;
    MainForm m(fake.services());
    m.Symbol.Load(4).show();
    m.Symbol(4).setLeft(3000);
    m.show();
    QStringList seen;
    QObject::connect(&m, &MainForm::mouseDown,
        [&](QPointF at) { seen << QStringLiteral("%1 %2").arg(at.x()).arg(at.y()); });
    QObject::connect(&m, &MainForm::dblClick, [&] { seen << QStringLiteral("double"); });
    QObject::connect(&m, &MainForm::symbolClick,
        [&](qint16 index) { seen << QStringLiteral("symbol %1").arg(index); });
    QTest::mousePress(&m, Qt::RightButton, Qt::ShiftModifier, QPoint(600, 20));
    QTest::mousePress(&m, Qt::LeftButton, Qt::ControlModifier, QPoint(1, 2));
    QTest::mousePress(&m, Qt::MiddleButton, Qt::AltModifier, QPoint(1, 2));
    QTest::mouseDClick(&m, Qt::LeftButton, Qt::NoModifier, QPoint(600, 20));
    QTest::mouseClick(&m.Symbol(4), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    // Neither the right button nor a release outside the symbol clicks it.
    QTest::mouseClick(&m.Symbol(0), Qt::RightButton, Qt::NoModifier, QPoint(3, 3));
    QTest::mousePress(&m.Symbol(0), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QTest::mouseRelease(&m.Symbol(0), Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
    QTest::mouseClick(&m.Symbol(0), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_EQ(seen, QStringList({ "600 20", "1 2", "1 2", "double", "symbol 4", "symbol 0" }));

    // An error in the handler ends the program with the standard message.
    QObject::connect(&m, &MainForm::symbolClick,
        [](qint16) { throw RuntimeError::fileNotFound(QStringLiteral("C:\\x")); });
    QTest::mouseClick(&m.Symbol(4), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    ASSERT_EQ(fake.messageBox.errors.size(), 1);
    EXPECT_TRUE(fake.messageBox.errors[0].contains(QStringLiteral("C:\\x")));
    EXPECT_EQ(fake.terminator.calls, 1);
}

namespace {

// Start-up finds the screenshot, both images and this description.
struct StartUpScene
{
    explicit StartUpScene(const QByteArray &description, EventPump *events = nullptr)
        : scene(800, events)
    {
        scene.setSymbolImage(OverlayScene::sampleSymbol());
        scene.setButtonImage(OverlayScene::sampleButton());
        temp.set(scene.folder.path());
        scene.setScreenshot(800, 600);
        scene.folder.write(QStringLiteral("Kestrel/Tavlin.txt"),
            "[Global]\r\nDispHInt=800\r\nVisuPfad=" + scene.context().VisuPfad.toUtf8() + "\r\n"
                + description);
    }
    OverlayScene scene;
    EnvironmentGuard temp { "TEMPVISU" };
};

void postMouse(QWidget *to, QEvent::Type type, QPointF at, Qt::MouseButtons held)
{
    QCoreApplication::postEvent(
        to, new QMouseEvent(type, at, to->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier));
}

// The real event loop, with something done after the fade's first step.
struct AfterFirstStep : EventPump
{
    explicit AfterFirstStep(EventPump &pump)
        : real(pump)
    { }
    void doEvents() override { real.doEvents(); }
    void runSteps(qint16 steps, qint32 pause, const std::function<void(qint16)> &step) override
    {
        real.runSteps(steps, pause, [&](qint16 n) {
            step(n);
            if (n == 1)
                then();
        });
    }
    EventPump &real;
    std::function<void()> then;
};

} // namespace

TEST(MainForm, InputDuringStartUpOrAHandlerIsHandledAfterItInOrder)
{
    const RealServices real;
    AfterFirstStep events(*real.services().events);
    // Language 7 is in no table: English, silently.
    StartUpScene s("Language=7\r\n[0]\r\nName=A\r\nLeft=1500\r\nTop=1500\r\nWidth=600\r\n"
                   "Height=300\r\nTag=X=5;P\r\n",
        &events);
    MainForm &m = s.scene.Main();
    // The operator clicks Symbol 0 during the fade.
    events.then = [&] {
        postMouse(&m.Symbol(0), QEvent::MouseButtonPress, QPointF(3, 3), Qt::LeftButton);
        postMouse(&m.Symbol(0), QEvent::MouseButtonRelease, QPointF(3, 3), Qt::NoButton);
    };
    QStringList handled;
    QObject::connect(&m, &MainForm::symbolClick, [&](qint16 index) {
        handled << QStringLiteral("click %1 %2").arg(index).arg(m.context().LanguageName);
    });
    // The release comes while the press repaints, as the footer's raised look does.
    const QPoint onButton(5, 545);
    QObject::connect(&m, &MainForm::mouseDown, [&](QPointF) {
        handled << QStringLiteral("down");
        postMouse(&m, QEvent::MouseButtonRelease, onButton, Qt::NoButton);
        m.Refresh();
        handled << QStringLiteral("down done");
    });
    QObject::connect(&m, &MainForm::mouseUp, [&](QPointF) { handled << QStringLiteral("up"); });

    ASSERT_TRUE(loadMain(m));
    // X=5 at 800: 1500 + 0.625 x 5 x 15 = 1546.875 twips -> 103 pixels.
    EXPECT_EQ(m.Symbol(0).pos(), QPoint(103, 93));
    EXPECT_TRUE(handled.isEmpty()) << handled.join(QStringLiteral(", ")).toStdString();
    QCoreApplication::processEvents();
    QTest::mousePress(&m, Qt::LeftButton, {}, onButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(handled,
        QStringList({ QStringLiteral("click 0 English"), QStringLiteral("down"),
            QStringLiteral("down done"), QStringLiteral("up") }));
}
