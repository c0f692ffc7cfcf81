#include "DemoE2e.h"

#include "demovisu/DemoOverlay.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QThread>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

constexpr int kLevel = 105; // the fade's last level
const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kSilver = qRgb(192, 192, 192);

int mismatches(
    const QImage &actual, const QImage &expected, const QRect &apart, QStringList *first = nullptr)
{
    if (actual.size() != expected.size())
        return -1;
    int count = 0;
    for (int y = 0; y < expected.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(actual.constScanLine(y));
        const auto *e = reinterpret_cast<const QRgb *>(expected.constScanLine(y));
        for (int x = 0; x < expected.width(); ++x) {
            if ((a[x] | 0xff000000) == (e[x] | 0xff000000) || apart.contains(x, y))
                continue;
            if (first && count < 8)
                *first << QStringLiteral("(%1,%2) %3 not %4")
                              .arg(x)
                              .arg(y)
                              .arg(a[x] & 0xffffff, 6, 16, QLatin1Char('0'))
                              .arg(e[x] & 0xffffff, 6, 16, QLatin1Char('0'));
            ++count;
        }
    }
    return count;
}

void pause(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

// Waits until `done` holds, processing events; false after `milliseconds`.
bool waitUntil(const std::function<bool()> &done, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        QCoreApplication::processEvents();
        if (done())
            return true;
        if (timer.elapsed() > milliseconds)
            return false;
        QThread::msleep(50);
    }
}

QRgb screenPixel(int x, int y)
{
    const QImage image = ProgramRun::grabScreen();
    return image.isNull() ? 0 : image.pixel(x, y) | 0xff000000;
}

// The footer help button's two corners of its frame: the left end of its top
// leg and the right end, where the hypotenuse starts.
bool showsLook(const DemoLayout &layout, bool raised)
{
    const QImage screen = ProgramRun::grabScreen();
    if (screen.isNull())
        return false;
    const QRgb leg = screen.pixel(0, layout.footerTop) | 0xff000000;
    const QRgb hypotenuse = screen.pixel(layout.helpButtonSize, layout.footerTop) | 0xff000000;
    return raised ? leg == kWhite && hypotenuse == kGrey : leg == kGrey && hypotenuse == kWhite;
}

bool writePage(const QString &path, const QColor &colour)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile page(path);
    if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    page.write(QStringLiteral("<html><head><title>Marker</title></head>"
                              "<body style=\"background:%1;margin:0\"><p>&nbsp;</p></body></html>")
                   .arg(colour.name())
                   .toUtf8());
    return true;
}

} // namespace

DemoRun::DemoRun(int width, int language)
{
    if (!m_run.ready() || !m_run.copyBuiltCompanions())
        return;
    DemoOptions options;
    options.root = m_run.root() + QStringLiteral("/demo");
    options.displayWidth = width;
    options.language = language;
    QString error;
    if (!buildDemoVisualisation(options, &m_demo, &error))
        return;
    m_run.setEnvironment(QStringLiteral("WINEPREFIX"), m_demo.winePrefix);
    m_run.setEnvironment(QStringLiteral("TEMPVISU"), m_demo.tempVisu);
    m_screenshot = QImage(m_demo.tempFolder + QStringLiteral("/TavlinScreen.bmp"))
                       .convertToFormat(QImage::Format_RGB32);
    m_symbol = QImage(m_run.programFolder() + QStringLiteral("/Tavlin_%1.gif").arg(width));
    m_ready = !m_screenshot.isNull() && !m_symbol.isNull()
        && m_screenshot.size() == QSize(m_demo.layout.width, m_demo.layout.height);
}

QSize DemoRun::helpSize() const
{
    return QSize(qRound(width() / 1.3), qRound(height() / 1.3));
}

bool DemoRun::startAndWaitForOverlay(QImage *screen, QString *why)
{
    if (!m_run.start()) {
        if (why)
            *why = QStringLiteral("the program did not start");
        return false;
    }
    const QImage expected = demoExpectedOverlay(m_screenshot, m_demo.layout, m_symbol, kLevel);
    const QRect button = demoHelpButtonBox(m_demo.layout);
    bool accepted = false;
    const QImage last = ProgramRun::waitForScreen(
        [&](const QImage &grab) { return mismatches(grab, expected, button) == 0; }, 30000,
        &accepted);
    if (screen)
        *screen = last;
    if (!accepted && why) {
        QStringList first;
        const int wrong = mismatches(last, expected, button, &first);
        *why = QStringLiteral("%1 pixels differ, first: %2; screen kept as %3, expected as %4")
                   .arg(wrong)
                   .arg(first.join(QStringLiteral("; ")),
                       ProgramRun::keepForInspection(
                           last, QStringLiteral("tavlin-e2e-demo-%1.png").arg(width())),
                       ProgramRun::keepForInspection(expected,
                           QStringLiteral("tavlin-e2e-demo-%1-expected.png").arg(width())));
    }
    return accepted;
}

QRect DemoRun::waitForHelpWindow(int milliseconds, bool gone)
{
    const QSize size = helpSize();
    QRect found;
    waitUntil(
        [&] {
            found = QRect();
            for (const QRect &window : m_run.windows())
                if (std::abs(window.width() - size.width()) <= 1
                    && std::abs(window.height() - size.height()) <= 1)
                    found = window;
            return gone ? found.isNull() : !found.isNull();
        },
        milliseconds);
    return found;
}

void checkOverlayCoversAndFades(int width)
{
    DemoRun demo(width, 2);
    ASSERT_TRUE(demo.ready());
    ASSERT_EQ(screenTwipsPerPixel(), 15.0f) << "the expected positions assume 96 dots per inch";
    QImage screen;
    QString why;
    EXPECT_TRUE(demo.startAndWaitForOverlay(&screen, &why)) << why.toStdString();
    ASSERT_EQ(demo.run().process().state(), QProcess::Running)
        << "the overlay stays until the operator ends it";

    // One window of the program covers the whole screen.
    bool covers = false;
    for (const QRect &window : demo.run().windows())
        covers = covers || window.contains(QRect(0, 0, demo.width(), demo.height()));
    EXPECT_TRUE(covers);

    // The footer help button, undimmed in its latched look.
    const DemoLayout &layout = demo.demo().layout;
    EXPECT_TRUE(showsLook(layout, false));
    EXPECT_EQ(screen.pixel(2, layout.footerTop + 2) | 0xff000000, kSilver);
    demo.run().kill();
}

void checkFooterButton(int width)
{
    DemoRun demo(width, 2);
    ASSERT_TRUE(demo.ready());
    QString why;
    ASSERT_TRUE(demo.startAndWaitForOverlay(nullptr, &why)) << why.toStdString();
    const DemoLayout &layout = demo.demo().layout;
    const int inX = layout.helpButtonSize / 4, inY = layout.footerTop + layout.helpButtonSize / 4;
    const int offX = layout.helpButtonSize + 60, offY = layout.footerTop - 80;

    // Press: raised. Moving off while pressing: latched again. Releasing off
    // the button ends nothing.
    ASSERT_TRUE(ProgramRun::pressAt(inX, inY));
    EXPECT_TRUE(waitUntil([&] { return showsLook(layout, true); }, 5000)) << "no raised look";
    ASSERT_TRUE(ProgramRun::xdotool(
        { QStringLiteral("mousemove"), QString::number(offX), QString::number(offY) }));
    EXPECT_TRUE(waitUntil([&] { return showsLook(layout, false); }, 5000))
        << "moving off should give the latched look back";
    ASSERT_TRUE(ProgramRun::releaseAt(offX, offY));
    pause(500);
    EXPECT_EQ(demo.run().process().state(), QProcess::Running);
    EXPECT_TRUE(showsLook(layout, false));

    // Press and release on the button: the program ends, with status 0.
    ASSERT_TRUE(ProgramRun::pressAt(inX, inY));
    EXPECT_TRUE(waitUntil([&] { return showsLook(layout, true); }, 5000));
    ASSERT_TRUE(ProgramRun::releaseAt(inX, inY));
    ASSERT_TRUE(demo.run().waitForExit(10000)) << "a release on the help button ends the program";
    EXPECT_EQ(demo.run().process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(demo.run().process().exitCode(), 0);
}

void checkHelpWindow(int width, int language, const QString &languageFolder)
{
    DemoRun demo(width, language);
    ASSERT_TRUE(demo.ready());
    const DemoLayout &layout = demo.demo().layout;
    int entry = -1;
    const QPoint symbol
        = demoClickableSymbol(layout, demoPageSymbols(), demo.symbol().size(), &entry);
    ASSERT_GE(entry, 0);
    const QString topic = demoTopic(layout.controls[size_t(entry)].tag);

    // The page of each language shows a colour of its own.
    const QColor german(0, 160, 0), english(0, 0, 200);
    const QString pages = demo.demo().visuFolder + QStringLiteral("/Program/Help/Tavlin/");
    ASSERT_TRUE(
        writePage(pages + QStringLiteral("Deutsch/") + topic + QStringLiteral(".html"), german));
    ASSERT_TRUE(
        writePage(pages + QStringLiteral("English/") + topic + QStringLiteral(".html"), english));
    const QRgb expectedColour
        = (languageFolder == QLatin1String("Deutsch") ? german : english).rgb();

    QString why;
    ASSERT_TRUE(demo.startAndWaitForOverlay(nullptr, &why)) << why.toStdString();
    const QSize size = demo.helpSize();
    auto centred = [&](const QRect &window) {
        return std::abs(window.width() - size.width()) <= 1
            && std::abs(window.height() - size.height()) <= 1
            && std::abs(2 * window.x() + window.width() - demo.width()) <= 1
            && std::abs(2 * window.y() + window.height() - demo.height()) <= 1;
    };
    // Every wait is bounded, together well inside the test's time limit.
    auto showsPage = [&](const QRect &window, int milliseconds) {
        return waitUntil(
            [&] { return screenPixel(window.center().x(), window.center().y()) == expectedColour; },
            milliseconds);
    };

    // First opening: centred at 1 / 1.3 of the screen, the operator's language.
    ASSERT_TRUE(ProgramRun::clickAt(symbol.x(), symbol.y()));
    const QRect opened = demo.waitForHelpWindow(60000);
    ASSERT_FALSE(opened.isNull()) << "no help window after a click on the symbol";
    EXPECT_TRUE(centred(opened)) << opened.x() << "," << opened.y() << " " << opened.width()
                                 << " x " << opened.height();
    EXPECT_TRUE(showsPage(opened, 60000))
        << "the page of " << languageFolder.toStdString() << " should show; screen kept as "
        << ProgramRun::keepForInspection(
               ProgramRun::grabScreen(), QStringLiteral("tavlin-e2e-help-%1.png").arg(width))
               .toStdString();

    // Dragged by its handle along the bottom, the window follows the pointer.
    const QPoint handle(opened.x() + 5 + 100, opened.bottom() - 5 - 31);
    const int dx = 70, dy = -50;
    ASSERT_TRUE(ProgramRun::pressAt(handle.x(), handle.y()));
    for (int step = 1; step <= 5; ++step) {
        ProgramRun::xdotool(
            { QStringLiteral("mousemove"), QString::number(handle.x() + dx * step / 5),
                QString::number(handle.y() + dy * step / 5) });
        pause(60);
    }
    ASSERT_TRUE(ProgramRun::releaseAt(handle.x() + dx, handle.y() + dy));
    QRect dragged;
    waitUntil(
        [&] {
            dragged = demo.waitForHelpWindow(2000);
            return dragged.topLeft() == opened.topLeft() + QPoint(dx, dy);
        },
        10000);
    EXPECT_EQ(dragged.topLeft(), opened.topLeft() + QPoint(dx, dy));
    EXPECT_EQ(dragged.size(), opened.size());

    // Its red cross closes it; the overlay stays.
    const QPoint cross(dragged.right() - 5 - 31, dragged.bottom() - 5 - 31);
    ASSERT_TRUE(ProgramRun::clickAt(cross.x(), cross.y()));
    EXPECT_TRUE(demo.waitForHelpWindow(20000, true).isNull()) << "Ende should close the window";
    EXPECT_EQ(demo.run().process().state(), QProcess::Running);

    // Opened again: centred again, not where it was dragged to.
    ProgramRun::xdotool({ QStringLiteral("mousemove"), QString::number(symbol.x() + 1),
        QString::number(symbol.y()) });
    ASSERT_TRUE(ProgramRun::clickAt(symbol.x(), symbol.y()));
    const QRect again = demo.waitForHelpWindow(30000);
    ASSERT_FALSE(again.isNull());
    EXPECT_EQ(again, opened);
    EXPECT_TRUE(showsPage(again, 30000));
    demo.run().kill();
}

void checkMissingPage(int width)
{
    DemoRun demo(width, 2);
    ASSERT_TRUE(demo.ready());
    const DemoLayout &layout = demo.demo().layout;
    int entry = -1;
    const QPoint symbol
        = demoClickableSymbol(layout, demoMissingPageSymbols(), demo.symbol().size(), &entry);
    ASSERT_GE(entry, 0);
    const QString path = demo.demo().visuPfad + QStringLiteral("Program\\Help\\Tavlin\\English\\")
        + demoTopic(layout.controls[size_t(entry)].tag) + QStringLiteral(".html");
    const QString message = QStringLiteral("File '") + path + QStringLiteral("' not found");

    QImage before;
    QString why;
    ASSERT_TRUE(demo.startAndWaitForOverlay(&before, &why)) << why.toStdString();
    ASSERT_TRUE(ProgramRun::clickAt(symbol.x(), symbol.y()));
    QRect box;
    ASSERT_TRUE(waitUntil(
        [&] {
            for (const QRect &window : demo.run().windows())
                if (window.width() < demo.width())
                    box = window;
            return !box.isNull();
        },
        20000))
        << "no message box";

    // The box is captioned with the program's title, "Tavlin".
    pause(500); // drawn in full
    const QImage shown = ProgramRun::grabScreen().copy(box);
    bool captioned = false;
    const QString named = ProgramRun::xdotoolOutput(
        { QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
            QStringLiteral("--pid"), QString::number(demo.run().process().processId()),
            QStringLiteral("--name"), QStringLiteral("^Tavlin$") });
    for (const QString &id : named.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString shell = ProgramRun::xdotoolOutput(
            { QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id.trimmed() });
        captioned = captioned || shell.contains(QStringLiteral("WIDTH=%1\n").arg(box.width()));
    }
    EXPECT_TRUE(captioned) << "the message box should be titled Tavlin";
    // Confirmed, it goes; the overlay stays as it was.
    ASSERT_TRUE(ProgramRun::xdotool({ QStringLiteral("key"), QStringLiteral("Return") }));
    EXPECT_TRUE(waitUntil(
        [&] {
            for (const QRect &window : demo.run().windows())
                if (window.width() < demo.width())
                    return false;
            return true;
        },
        10000));
    pause(300);
    EXPECT_EQ(demo.run().process().state(), QProcess::Running);
    const QImage after = ProgramRun::grabScreen();
    EXPECT_EQ(mismatches(after, before, demoHelpButtonBox(layout)), 0);
    demo.run().kill();
    pause(300);

    // Its text is the message, exactly: a box with that message, shown here
    // with the same style and fonts, has the same size and the same text.
    QMessageBox same(QMessageBox::NoIcon, QStringLiteral("Tavlin"), message, QMessageBox::Ok);
    same.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&same));
    pause(500);
    const QLabel *label = same.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    ASSERT_TRUE(label);
    EXPECT_EQ(same.size(), box.size()) << "a box of another size holds another text";
    const QRect text = label->geometry();
    const QImage expectedText = ProgramRun::grabScreen().copy(same.geometry()).copy(text);
    const QImage shownText = shown.copy(text);
    EXPECT_TRUE(shownText == expectedText)
        << "the text differs from " << message.toStdString() << "; kept as "
        << ProgramRun::keepForInspection(shown, QStringLiteral("tavlin-e2e-message.png"))
               .toStdString()
        << " and "
        << ProgramRun::keepForInspection(ProgramRun::grabScreen().copy(same.geometry()),
               QStringLiteral("tavlin-e2e-message-expected.png"))
               .toStdString();
}

void checkMissingStartFile(int width, bool screenshot)
{
    DemoRun demo(width, 2);
    ASSERT_TRUE(demo.ready());
    const QString file = demo.demo().tempFolder
        + (screenshot ? QStringLiteral("/TavlinScreen.bmp") : QStringLiteral("/Tavlin.txt"));
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(demo.run().start());
    QElapsedTimer timer;
    timer.start();
    int windowsSeen = 0;
    while (demo.run().process().state() != QProcess::NotRunning && timer.elapsed() < 10000) {
        windowsSeen += int(demo.run().windows().size());
        demo.run().waitForExit(20);
    }
    ASSERT_TRUE(demo.run().waitForExit(100)) << "the program should end at once";
    EXPECT_EQ(windowsSeen, 0) << "no window may show";
    EXPECT_EQ(demo.run().process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(demo.run().process().exitCode(), 0);
}
