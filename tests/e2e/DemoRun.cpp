#include "e2e/DemoRun.h"

#include <QDir>
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
    : DemoProgram(QStringLiteral(TAVLIN_PROGRAM).section('/', 0, -2), kWidth, kDpi, language)
{ }

DemoRun::~DemoRun()
{
    if (::testing::Test::HasFailure())
        std::fprintf(stderr, "The program's stderr:\n%s\n", qPrintable(messages()));
}

void DemoRun::expectOverlay()
{
    QImage screen;
    if (!showsOverlay(30000, &screen))
        ADD_FAILURE() << "not the overlay; screen kept as " << keep(screen, "screen")
                      << ", expected as " << keep(expected, "expected");
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
    const QPoint at = writePage(language, "<body bgcolor=\"#00a000\">");
    if (at.x() < 0 || !pointer(at, "click")) {
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
    ASSERT_TRUE(pointer(footerButton(), "mousedown"));
    EXPECT_TRUE(showsButtonLook(true)) << "no raised look";
    ASSERT_TRUE(pointer(footerButton(), "mouseup"));
    EXPECT_TRUE(endsWithStatusZero(10000)) << "a release on the help button ends it";
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
