// The real program on a demo visualisation (tools/demovisu) of the screen's
// size, started the way a visualisation starts it, driven by a real pointer
// and keyboard through xdotool, with the checks of the end-to-end tests.
#pragma once

#include "demovisu/DemoProgram.h"
#include "demovisu/ScreenDriver.h"

#include <string>

constexpr int kWidth = TAVLIN_E2E_WIDTH;
constexpr int kDpi = TAVLIN_E2E_DPI;
constexpr int kLevel = 105; // the fade's last level

// Saves an image for the reader of a failed test; returns its path.
std::string keep(const QImage &image, const char *name);

struct DemoRun : DemoProgram
{
    explicit DemoRun(int language = 2);
    // After a failure, says what the program wrote on stderr.
    ~DemoRun();

    // Waits up to 30 s until the screen shows the overlay after the fade,
    // apart from the footer help button.
    void expectOverlay();
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
};

// The help window's size on the 1280 x 1024 screen, within a pixel.
bool isHelpWindow(const QRect &window);
