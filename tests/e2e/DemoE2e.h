#pragma once

#include "E2eHarness.h"
#include "demovisu/DemoVisualisation.h"

#include <QImage>
#include <QRect>
#include <QString>

// The real program on a demo visualisation (tools/demovisu) at 800 x 600 or
// 1280 x 1024, started the way a visualisation starts it: TEMPVISU and Wine's
// drive link, the program beside the symbol images of the build. The checks
// below use GoogleTest assertions; each bounds its own waits and the program
// is killed when its run ends.
class DemoRun
{
public:
    // Lays out the demo for `width` with the operator's language `language`.
    DemoRun(int width, int language);

    bool ready() const { return m_ready; }
    ProgramRun &run() { return m_run; }
    const DemoVisualisation &demo() const { return m_demo; }
    const QImage &screenshot() const { return m_screenshot; }
    const QImage &symbol() const { return m_symbol; }
    int width() const { return m_demo.layout.width; }
    int height() const { return m_demo.layout.height; }

    // The help window's expected size and place: 1 / 1.3 of the screen, centred.
    QSize helpSize() const;

    // Starts the program and waits (up to 30 s) until the fade has ended and
    // the symbols are drawn; false when the screen never showed that.
    bool startAndWaitForOverlay(QImage *screen = nullptr, QString *why = nullptr);

    // The program's window of the help window's size, or a null rectangle;
    // waits up to `milliseconds` for it to be there (or gone, `gone`).
    QRect waitForHelpWindow(int milliseconds, bool gone = false);

private:
    ProgramRun m_run;
    DemoVisualisation m_demo;
    QImage m_screenshot;
    QImage m_symbol;
    bool m_ready = false;
};

// The checks, shared by the 800 x 600 and the 1280 x 1024 runs.
void checkOverlayCoversAndFades(int width);
// The footer button is pressed at once after the overlay is complete.
void checkFooterButton(int width);
// A click on a symbol opens the page of `languageFolder` ("Deutsch" or
// "English") for the operator's `language`; dragging, closing and reopening.
void checkHelpWindow(int width, int language, const QString &languageFolder);
void checkMissingPage(int width);
void checkMissingStartFile(int width, bool screenshot);
