#include "demovisu/DemoProgram.h"

#include "demovisu/DemoOverlay.h"
#include "demovisu/ScreenDriver.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int kLevel = 105; // the fade's last level

} // namespace

DemoProgram::DemoProgram(const QString &builtFolder, int width, int dotsPerInch, int language)
    : dir(QDir::tempPath() + "/tavlin-demo-XXXXXX")
    , bin(dir.path() + "/bin/")
{
    QDir().mkpath(bin);
    for (const char *name :
        { "tavlin", "Tavlin_800.gif", "Tavlin_1280.gif", "libtavlin_webengine.so" })
        QFile::copy(builtFolder + '/' + name, bin + name);
    const DemoOptions options { dir.path() + "/demo", width, language, 1440 / dotsPerInch };
    if (!buildDemoVisualisation(options, &demo, nullptr))
        return;
    screenshot
        = QImage(demo.tempFolder + "/TavlinScreen.bmp").convertToFormat(QImage::Format_RGB32);
    symbol = QImage(bin + QStringLiteral("Tavlin_%1.gif").arg(width));
    if (!symbol.isNull() && screenshot.size() == QSize(demo.layout.width, demo.layout.height))
        expected = demoExpectedOverlay(screenshot, demo.layout, symbol, kLevel);
}

bool DemoProgram::start(
    const QStringList &environment, const QStringList &launcher, const QStringList &arguments)
{
    process.setStandardErrorFile(dir.path() + "/stderr.log");
    const QStringList program = QStringList { "WINEPREFIX=" + demo.winePrefix,
        "TEMPVISU=" + demo.tempVisu, "QT_MESSAGE_PATTERN=%{type} %{category}: %{message}" }
        + environment + launcher + QStringList { bin + "tavlin" } + arguments;
    if (!expected.isNull())
        process.start("env", program);
    return process.waitForStarted(10000);
}

bool DemoProgram::endsWithStatusZero(int milliseconds)
{
    return (!running() || process.waitForFinished(milliseconds))
        && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool DemoProgram::showsOverlay(int milliseconds, QImage *screen)
{
    const QRect button = demoHelpButtonBox(demo.layout);
    QImage read;
    const bool shown = waitUntil(
        [&] {
            read = grabScreen();
            QPainter(&read).drawImage(button.topLeft(), expected.copy(button));
            return read == expected;
        },
        milliseconds);
    if (screen)
        *screen = read;
    return shown;
}

bool DemoProgram::showsButtonLook(bool raised) const
{
    // At two corners of its frame: the left end of its top leg and the right end.
    const QRgb white = qRgb(255, 255, 255), grey = qRgb(128, 128, 128);
    return waitUntil(
        [&] {
            const QImage leg = grabScreen(
                QPoint(0, demo.layout.footerTop), QSize(demo.layout.helpButtonSize + 1, 1));
            return leg.pixel(0, 0) == (raised ? white : grey)
                && leg.pixel(demo.layout.helpButtonSize, 0) == (raised ? grey : white);
        },
        5000);
}

QPoint DemoProgram::footerButton() const
{
    return QPoint(
        demo.layout.helpButtonSize / 4, demo.layout.footerTop + demo.layout.helpButtonSize / 4);
}

QRect DemoProgram::waitForWindow(const std::function<bool(const QRect &)> &which, int milliseconds,
    bool gone, const QString &title)
{
    const QStringList search { "search", "--all", "--onlyvisible", "--pid",
        QString::number(process.processId()), "--name", title };
    QRect found;
    static_cast<void>(waitUntil(
        [&] {
            const QList<QRect> all = windows(search);
            const auto first = std::find_if(all.begin(), all.end(), which);
            found = first == all.end() ? QRect() : *first;
            return found.isNull() == gone || !running();
        },
        milliseconds));
    return found;
}

QPoint DemoProgram::writePage(const QString &language, const QByteArray &html, QString *file)
{
    int entry = -1;
    const QPoint at = demoClickableSymbol(demo.layout, demoPageSymbols(), symbol.size(), &entry);
    QFile page(entry < 0 ? QString()
                         : demo.visuFolder + "/Program/Help/Tavlin/" + language + "/"
                + demoTopic(demo.layout.controls[size_t(entry)].tag) + ".html");
    const bool written = entry >= 0 && page.open(QIODevice::WriteOnly) && page.write(html) > 0;
    if (file)
        *file = page.fileName();
    return written ? at : QPoint(-1, -1);
}

QString DemoProgram::messages() const
{
    QFile log(dir.path() + "/stderr.log");
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}
