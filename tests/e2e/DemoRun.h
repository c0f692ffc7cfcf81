// The real program on a demo visualisation (tools/demovisu) of the screen's
// size, started the way a visualisation starts it, driven by a real pointer
// and keyboard through xdotool.
#pragma once

#include "demovisu/DemoVisualisation.h"
#include "demovisu/ScreenDriver.h"

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

constexpr int kWidth = TAVLIN_E2E_WIDTH;
constexpr int kDpi = TAVLIN_E2E_DPI;
constexpr int kLevel = 105; // the fade's last level

// Saves an image for the reader of a failed test; returns its path.
std::string keep(const QImage &image, const char *name);

// The program on a demo visualisation, from a copy in a folder of its own
// (bin/) beside the symbol images and the browser engine plugin. Killed, if
// need be, when the run ends.
struct DemoRun
{
    explicit DemoRun(int language = 2);
    // After a failure, says what the program wrote on stderr.
    ~DemoRun();

    // Starts the program as a visualisation does, with TEMPVISU and Wine's
    // drive link, `environment` ("NAME=value") added and through `launcher`
    // (taskset, say) when given, with `arguments` (which it ignores); false
    // without the demo or when not started within 10 s. Its stderr is kept
    // (see unexpectedMessages).
    bool start(const QStringList &environment = {}, const QStringList &launcher = {},
        const QStringList &arguments = {});
    bool running() const { return process.state() != QProcess::NotRunning; }
    // Whether the program ends within `milliseconds`, by itself, with status 0.
    bool endsWithStatusZero(int milliseconds);

    // Waits up to 30 s until the screen shows the overlay after the fade,
    // apart from the footer help button.
    void expectOverlay();
    // Whether the footer help button shows its raised or its latched look
    // within 5 s.
    bool showsButtonLook(bool raised) const;
    // The program's first visible window titled to match `title` that `which`
    // accepts, waiting up to `milliseconds` for one to show or, `gone`, for
    // none to be left, or for the program to end; null when there is none.
    QRect waitForWindow(const std::function<bool(const QRect &)> &which, int milliseconds,
        bool gone = false, const QString &title = QString());
    // A message box titled "Tavlin" takes the keyboard focus, is confirmed
    // and goes.
    void confirmMessageBox();
    // Writes a green page in `language` for the first symbol with a page,
    // clicks it and waits for the help window with the keyboard focus,
    // showing the page; returns the window (null on failure, with the
    // failure added).
    QRect openGreenPage(const QString &language = QStringLiteral("English"));
    // Closes the help window at `window` by its red cross.
    void closeHelpWindow(const QRect &window);
    // A press and release on the footer help button ends the program.
    void endByFooterButton();

    // What the program wrote on stderr beyond its own notes and the engine's
    // few harmless lines (see DemoRun.cpp): any Qt or engine warning.
    QString unexpectedMessages();
    QString messages();

    QTemporaryDir dir;
    QString bin;
    QProcess process;
    DemoVisualisation demo;
    QImage screenshot, symbol, expected; // expected: the overlay after the fade
};

// The help window's size on the 1280 x 1024 screen, within a pixel.
bool isHelpWindow(const QRect &window);
