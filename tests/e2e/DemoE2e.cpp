#include "DemoE2e.h"

#include "E2eHarness.h"
#include "demovisu/DemoOverlay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kLevel = 105; // the fade's last level

} // namespace

DemoRun::DemoRun(int width, int language)
    : m_dir(QDir::tempPath() + QStringLiteral("/tavlin-e2e-XXXXXX"))
{
    // The browser engine plugin is there when built; the rest is checked below.
    const QString built = QFileInfo(QStringLiteral(TAVLIN_PROGRAM)).absolutePath();
    QDir().mkpath(programFolder());
    for (const char *name :
        { "tavlin", "Tavlin_800.gif", "Tavlin_1280.gif", "libtavlin_webengine.so" })
        QFile::copy(built + QLatin1Char('/') + QLatin1String(name),
            programFolder() + QLatin1Char('/') + QLatin1String(name));
    const DemoOptions options { m_dir.path() + QStringLiteral("/demo"), width, language };
    QString error;
    if (!QFileInfo(programFolder() + QStringLiteral("/tavlin")).isExecutable()
        || !buildDemoVisualisation(options, &m_demo, &error))
        return;
    m_screenshot = QImage(m_demo.tempFolder + QStringLiteral("/TavlinScreen.bmp"))
                       .convertToFormat(QImage::Format_RGB32);
    m_symbol = QImage(programFolder() + QStringLiteral("/Tavlin_%1.gif").arg(width));
    m_ready = !m_symbol.isNull() && m_screenshot.size() == QSize(layout().width, layout().height);
    if (m_ready)
        m_expected = demoExpectedOverlay(m_screenshot, layout(), m_symbol, kLevel);
}

bool DemoRun::start()
{
    if (!m_ready)
        return false;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINEPREFIX"), m_demo.winePrefix);
    environment.insert(QStringLiteral("TEMPVISU"), m_demo.tempVisu);
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(programFolder() + QStringLiteral("/tavlin"), QStringList());
    return m_process.waitForStarted(10000);
}

bool DemoRun::endsWithStatusZero(int milliseconds)
{
    return (!running() || m_process.waitForFinished(milliseconds))
        && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

::testing::AssertionResult DemoRun::waitForOverlay()
{
    const QRect button = demoHelpButtonBox(layout());
    QImage last;
    if (waitUntil([&] { return mismatches(last = grabScreen(), m_expected, button) == 0; }, 30000))
        return ::testing::AssertionSuccess();
    const QString name = QStringLiteral("tavlin-e2e-demo-%1").arg(layout().width);
    return ::testing::AssertionFailure()
        << mismatches(last, m_expected, button)
        << " pixels differ from the overlay; screen kept as "
        << keepForInspection(last, name + QStringLiteral(".png")).toStdString() << ", expected as "
        << keepForInspection(m_expected, name + QStringLiteral("-expected.png")).toStdString();
}

bool DemoRun::showsButtonLook(bool raised) const
{
    const QImage screen = grabScreen();
    const QRgb grey = qRgb(128, 128, 128), white = qRgb(255, 255, 255);
    const QRgb leg = screen.pixel(0, layout().footerTop);
    const QRgb hypotenuse = screen.pixel(layout().helpButtonSize, layout().footerTop);
    return raised ? leg == white && hypotenuse == grey : leg == grey && hypotenuse == white;
}

QRect DemoRun::waitForWindow(const std::function<bool(const QRect &)> &which, int milliseconds,
    bool gone, const QString &title)
{
    QRect found;
    waitUntil(
        [&] {
            found = QRect();
            for (const QRect &window : windowsOf(m_process.processId(), title))
                if (found.isNull() && which(window))
                    found = window;
            return found.isNull() == gone || !running();
        },
        milliseconds);
    return found;
}

void checkOverlay(int width)
{
    DemoRun demo(width);
    ASSERT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInchX(), 96.0)
        << "the expected overlay assumes 15 twips per pixel";

    // The fade, at a pixel whose green is 255 in the screenshot so that its
    // green is the level: from full brightness every step reaches the screen,
    // each darker than the last, down to the last level.
    const QImage &expected = demo.expected();
    const QRect button = demoHelpButtonBox(demo.layout());
    QPoint probe;
    for (int y = 0; y < expected.height() && probe.isNull(); ++y)
        for (int x = 0; x < expected.width() && probe.isNull(); ++x)
            if (qGreen(demo.screenshot().pixel(x, y)) == 255
                && qGreen(expected.pixel(x, y)) == kLevel && !button.contains(x, y))
                probe = QPoint(x, y);
    ASSERT_FALSE(probe.isNull()) << "no demo, or no pixel to watch the fade at";
    ASSERT_TRUE(demo.start());
    std::vector<int> levels; // once per change, read as often as the screen can be
    QElapsedTimer timer;
    for (timer.start(); levels.empty() || levels.back() != kLevel;) {
        const int level = qGreen(grabScreen(probe, QSize(1, 1)).pixel(0, 0));
        if (levels.empty() || levels.back() != level)
            levels.push_back(level);
        ASSERT_LT(timer.elapsed(), 20000) << ::testing::PrintToString(levels);
    }
    size_t falling = 1;
    while (falling < levels.size() && levels[levels.size() - falling - 1] < 255
        && levels[levels.size() - falling - 1] > levels[levels.size() - falling])
        ++falling;
    EXPECT_GE(falling, 10u) << ::testing::PrintToString(levels);

    EXPECT_TRUE(demo.waitForOverlay());
    ASSERT_TRUE(demo.running()) << "the overlay stays until the operator ends it";

    // The footer help button, undimmed in its latched look, with the
    // visualisation's image on silver one pixel right of and below where the
    // raised look has it.
    const QImage image(demo.demo().visuFolder
        + QStringLiteral("/Standard/KalvoFußzeile/KalvoFußzeileHelp_%1.gif").arg(width));
    ASSERT_FALSE(image.isNull());
    QImage onSilver(image.size(), QImage::Format_RGB32);
    onSilver.fill(qRgb(192, 192, 192));
    QPainter(&onSilver).drawImage(0, 0, image);
    const int top = demo.layout().footerTop, at = width == 800 ? 3 : 5;
    QImage screen;
    EXPECT_TRUE(waitUntil(
        [&] {
            screen = grabScreen();
            return demo.showsButtonLook(false)
                && screen.copy(QRect(QPoint(at, top + at), onSilver.size())) == onSilver;
        },
        5000))
        << "no latched button; screen kept as "
        << keepForInspection(screen, QStringLiteral("tavlin-e2e-button-%1.png").arg(width))
               .toStdString();
}
