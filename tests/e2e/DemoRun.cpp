#include "e2e/DemoRun.h"

#include "demovisu/DemoOverlay.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

// Lines on the program's stderr that are no fault, each with its reason.
// The program's messages carry their type (QT_MESSAGE_PATTERN below): notes
// ("info", "debug") are fine, every Qt warning is not.
const char *const kHarmless[] = {
    // The engine's GPU channel, on a software renderer, fails its first
    // attempt at a command buffer now and then while the engine starts, and
    // tries again: the page is drawn all the same.
    "ERROR:command_buffer_proxy_impl.cc(126)] ContextResult::kTransientFailure: "
    "Failed to send GpuControl.CreateCommandBuffer.",
};

} // namespace

std::string keep(const QImage &image, const char *name)
{
    const QString path = QDir::tempPath() + QStringLiteral("/tavlin-e2e-%1.png").arg(name);
    image.save(path);
    return path.toStdString();
}

bool isHelpWindow(const QRect &window)
{
    return qAbs(window.width() - qRound(1280 / 1.3)) <= 1
        && qAbs(window.height() - qRound(1024 / 1.3)) <= 1;
}

DemoRun::DemoRun(int language)
    : dir(QDir::tempPath() + "/tavlin-e2e-XXXXXX")
    , bin(dir.path() + "/bin/")
{
    const QString built = QStringLiteral(TAVLIN_PROGRAM).section('/', 0, -2) + '/';
    QDir().mkpath(bin);
    for (const char *name :
        { "tavlin", "Tavlin_800.gif", "Tavlin_1280.gif", "libtavlin_webengine.so" })
        QFile::copy(built + name, bin + name);
    const DemoOptions options { dir.path() + "/demo", kWidth, language, 1440 / kDpi };
    if (!buildDemoVisualisation(options, &demo, nullptr))
        return;
    screenshot
        = QImage(demo.tempFolder + "/TavlinScreen.bmp").convertToFormat(QImage::Format_RGB32);
    symbol = QImage(bin + QStringLiteral("Tavlin_%1.gif").arg(kWidth));
    if (!symbol.isNull() && screenshot.size() == QSize(demo.layout.width, demo.layout.height))
        expected = demoExpectedOverlay(screenshot, demo.layout, symbol, kLevel);
}

DemoRun::~DemoRun()
{
    if (::testing::Test::HasFailure())
        std::fprintf(stderr, "The program's stderr:\n%s\n", qPrintable(messages()));
}

bool DemoRun::start(
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

bool DemoRun::endsWithStatusZero(int milliseconds)
{
    return (!running() || process.waitForFinished(milliseconds))
        && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void DemoRun::expectOverlay()
{
    const QRect button = demoHelpButtonBox(demo.layout);
    QImage screen;
    if (!QTest::qWaitFor(
            [&] {
                screen = grabScreen();
                QPainter(&screen).drawImage(button.topLeft(), expected.copy(button));
                return screen == expected;
            },
            30000))
        ADD_FAILURE() << "not the overlay; screen kept as " << keep(screen, "screen")
                      << ", expected as " << keep(expected, "expected");
}

bool DemoRun::showsButtonLook(bool raised) const
{
    // At two corners of its frame: the left end of its top leg and the right end.
    const QRgb white = qRgb(255, 255, 255), grey = qRgb(128, 128, 128);
    return QTest::qWaitFor(
        [&] {
            const QImage leg = grabScreen(
                QPoint(0, demo.layout.footerTop), QSize(demo.layout.helpButtonSize + 1, 1));
            return leg.pixel(0, 0) == (raised ? white : grey)
                && leg.pixel(demo.layout.helpButtonSize, 0) == (raised ? grey : white);
        },
        5000);
}

QRect DemoRun::waitForWindow(const std::function<bool(const QRect &)> &which, int milliseconds,
    bool gone, const QString &title)
{
    const QStringList search { "search", "--all", "--onlyvisible", "--pid",
        QString::number(process.processId()), "--name", title };
    QRect found;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            const QList<QRect> all = windows(search);
            const auto first = std::find_if(all.begin(), all.end(), which);
            found = first == all.end() ? QRect() : *first;
            return found.isNull() == gone || !running();
        },
        milliseconds));
    return found;
}

void DemoRun::confirmMessageBox()
{
    auto box = [&](const QRect &window) { return window.width() < kWidth; };
    const QRect shown = waitForWindow(box, 30000, false, "^Tavlin$");
    ASSERT_FALSE(shown.isNull()) << "no message box titled Tavlin";
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return windows({ "getwindowfocus" }).value(0) == shown; }, 10000));
    ASSERT_TRUE(xdotool({ "key", "Return" }));
    EXPECT_TRUE(waitForWindow(box, 10000, true).isNull()) << "the box should go";
}

QRect DemoRun::openGreenPage(const QString &language)
{
    int entry = -1;
    const QPoint at = demoClickableSymbol(demo.layout, demoPageSymbols(), symbol.size(), &entry);
    QFile page(entry < 0 ? QString()
                         : demo.visuFolder + "/Program/Help/Tavlin/" + language + "/"
                + demoTopic(demo.layout.controls[size_t(entry)].tag) + ".html");
    const bool written = entry >= 0 && page.open(QIODevice::WriteOnly)
        && page.write("<body bgcolor=\"#00a000\">") && page.flush();
    page.close();
    if (!written || !pointer(at, "click")) {
        ADD_FAILURE() << "no page symbol to click";
        return QRect();
    }
    const QRect opened = waitForWindow(isHelpWindow, 60000);
    if (opened.isNull()) {
        ADD_FAILURE() << "no help window after a click on the symbol";
        return opened;
    }
    QImage screen;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            screen = grabScreen();
            return screen.pixel(opened.center()) == qRgb(0, 0xa0, 0)
                && windows({ "getwindowfocus" }).value(0) == opened;
        },
        60000))
        << "no page with the keyboard focus; screen kept as " << keep(screen, "help");
    return opened;
}

void DemoRun::closeHelpWindow(const QRect &window)
{
    ASSERT_TRUE(pointer(window.bottomRight() - QPoint(36, 36), "click"));
    EXPECT_TRUE(waitForWindow(isHelpWindow, 20000, true).isNull()) << "Ende should close it";
}

void DemoRun::endByFooterButton()
{
    const QPoint on(
        demo.layout.helpButtonSize / 4, demo.layout.footerTop + demo.layout.helpButtonSize / 4);
    ASSERT_TRUE(pointer(on, "mousedown"));
    EXPECT_TRUE(showsButtonLook(true)) << "no raised look";
    ASSERT_TRUE(pointer(on, "mouseup"));
    EXPECT_TRUE(endsWithStatusZero(10000)) << "a release on the help button ends it";
}

QString DemoRun::messages()
{
    QFile log(dir.path() + "/stderr.log");
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}

QString DemoRun::unexpectedMessages()
{
    QStringList unexpected;
    for (const QString &line : messages().split('\n', Qt::SkipEmptyParts)) {
        const bool note = line.startsWith("info ") || line.startsWith("debug ");
        const bool harmless = std::any_of(std::begin(kHarmless), std::end(kHarmless),
            [&](const char *known) { return line.endsWith(QLatin1String(known)); });
        if (!note && !harmless)
            unexpected << line;
    }
    return unexpected.join('\n');
}
