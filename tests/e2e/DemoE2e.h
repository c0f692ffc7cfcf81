#pragma once

#include "demovisu/DemoVisualisation.h"

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

// The real program on a demo visualisation (tools/demovisu) of the test's
// screen size, started the way a visualisation starts it: TEMPVISU and Wine's
// drive link, from a copy of the program in a folder of its own (bin/) beside
// the symbol images and, when built, the browser engine plugin. The program
// is killed when the run ends, whatever happened.
class DemoRun
{
public:
    // Lays out the demo for `width`, the operator's language `language`.
    explicit DemoRun(int width, int language = 2);
    ~DemoRun()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    const DemoVisualisation &demo() const { return m_demo; }
    const DemoLayout &layout() const { return m_demo.layout; }
    QString programFolder() const { return m_dir.path() + QStringLiteral("/bin"); }
    const QImage &screenshot() const { return m_screenshot; }
    const QImage &symbol() const { return m_symbol; }
    const QImage &expected() const { return m_expected; } // the overlay after the fade

    bool start(); // false without the demo or when not started within 10 s
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    // Whether the program ends within `milliseconds`, by itself, with status 0.
    bool endsWithStatusZero(int milliseconds);

    // Waits up to 30 s until the screen shows the overlay after the fade,
    // apart from the footer help button.
    ::testing::AssertionResult waitForOverlay();
    // Whether the footer help button shows its raised or its latched look, at
    // two corners of its frame: the left end of its top leg and the right end.
    bool showsButtonLook(bool raised) const;

    // The program's first visible window (titled `title` when one is given)
    // that `which` accepts, waiting up to `milliseconds` for one to show or,
    // `gone`, for none to be left, or for the program to end; a null rectangle
    // when there is none.
    QRect waitForWindow(const std::function<bool(const QRect &)> &which, int milliseconds,
        bool gone = false, const QString &title = QString());

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    DemoVisualisation m_demo;
    QImage m_screenshot;
    QImage m_symbol;
    QImage m_expected;
    bool m_ready = false;
};

// On either screen: the fade reaches the screen step by step, then the overlay
// shows the darkened screenshot, every symbol and the latched footer button.
void checkOverlay(int width);
