#include "support/OverlayScene.h"

#include "description/StartupInput.h"
#include "os/Picture.h"
#include "overlay/FooterButton.h"
#include "overlay/Startup.h"
#include "overlay/SymbolPlacement.h"
#include "raster/Colour.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

// Writes an image, as PNG content under any name unless asked (the loader sniffs the format).
static void writeImage(QString path, const QImage &image, const char *format = "PNG")
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QDir().mkpath(QFileInfo(path).absolutePath());
    image.save(path, format);
}

OverlayScene::OverlayScene(qint16 displayWidth, EventPump *events)
{
    Services services = fake.services();
    if (events)
        services.events = events;
    form = std::make_unique<MainForm>(services);
    form->appPath = folder.path() + QStringLiteral("/bin");
    ScreenContext &c = form->context();
    c.TwipsPerPixelX = c.TwipsPerPixelY = fake.screen.x;
    // A screen the layout fits on: the form draws only what lies on the screen.
    if (displayWidth != 800)
        fake.screen.area = QRect(0, 0, 1280, 1024);
    c.DispHInt = displayWidth;
    c.VisuPfad = folder.path() + QStringLiteral("/Visu/");
    applyLayoutValues(c);
}

QRgb OverlayScene::screenshotPixel(int x, int y)
{
    return qRgb((x * 7 + y) % 256, (y * 5 + 40) % 256, (x + 3 * y + 90) % 200);
}

QRgb OverlayScene::dimmedPixel(QRgb pixel, int level)
{
    const auto dim = [level](int channel) { return int(std::lround(channel * level / 255.0)); };
    return qRgb(dim(qRed(pixel)), dim(qGreen(pixel)), dim(qBlue(pixel)));
}

void OverlayScene::setScreenshot(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, screenshotPixel(x, y));
    const QString path = folder.path() + QStringLiteral("/Kestrel/TavlinScreen.bmp");
    writeImage(path, image, "BMP");
    context().ScreenPicture = LoadPicture(path, fake.screen);
}

QString OverlayScene::buttonImageFile() const
{
    return footerButtonImagePath(form->context());
}

void OverlayScene::setButtonImage(const QImage &image)
{
    writeImage(buttonImageFile(), image);
}

void OverlayScene::setSymbolImage(const QImage &image)
{
    writeImage(symbolImagePath(form->appPath, form->context()), image);
}

void OverlayScene::prepareBuffers()
{
    MainForm &m = Main();
    m.setWidth(context().ScreenPicture.Width);
    m.setHeight(context().ScreenPicture.Height);
    m.OriginalPic->setPicture(context().ScreenPicture);
    m.DunkelPic->setWidth(m.OriginalPic->Width());
    m.DunkelPic->setHeight(m.OriginalPic->Height());
}

HelpEntry &OverlayScene::addEntry(
    const QString &name, int left, int top, int width, int height, const QString &tag)
{
    ScreenContext &c = context();
    HelpEntry &e = c.HelpEntries[size_t(++c.LastEntry)];
    e = HelpEntry();
    e.Name = name;
    e.Left = static_cast<qint16>(left);
    e.Top = static_cast<qint16>(top);
    e.Width = static_cast<qint16>(width);
    e.Height = static_cast<qint16>(height);
    e.Tag = tag;
    e.Alignment = -1; // as without an Alignment key
    e.ContainerPath = QStringLiteral(".");
    return e;
}

QImage OverlayScene::sampleButton()
{
    QImage image(12, 10, QImage::Format_ARGB32);
    image.fill(qRgb(255, 140, 0));
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    return image;
}

QImage OverlayScene::sampleSymbol()
{
    QImage image(20, 18, QImage::Format_ARGB32);
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool corner = (x < 3 && y < 3) || (x > 16 && y > 14);
            image.setPixel(x, y, corner ? Colour::toQRgb(Colour::Cyan) : qRgb(20, 60, 230));
        }
    image.setPixel(10, 9, qRgba(0, 0, 0, 0));
    return image;
}
