#pragma once

#include "demovisu/DemoVisualisation.h"

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

// The real program on a demo visualisation of the screen's size, started the
// way a visualisation starts it, watched and driven from outside (see
// ScreenDriver.h), for the end-to-end tests and the benchmarks. It runs from
// a copy in a folder of its own (bin/) beside the symbol images and the
// browser engine plugin, and is killed, if need be, when this goes.
struct DemoProgram
{
    // From the program built in `builtFolder`, on a screen `width` pixels
    // wide at `dotsPerInch`, the operator's language `language`.
    DemoProgram(const QString &builtFolder, int width, int dotsPerInch, int language);

    // Starts the program as a visualisation does, with TEMPVISU and Wine's
    // drive link, `environment` ("NAME=value") added and through `launcher`
    // (taskset, say) when given, with `arguments` (which it ignores); false
    // without the demo or when not started within 10 s. Its stderr is kept
    // (see messages).
    bool start(const QStringList &environment = {}, const QStringList &launcher = {},
        const QStringList &arguments = {});
    bool running() const { return process.state() != QProcess::NotRunning; }
    // Whether the program ends within `milliseconds`, by itself, with status 0.
    bool endsWithStatusZero(int milliseconds);

    // Whether the screen shows the overlay after the fade, apart from the
    // footer help button, within `milliseconds`; `screen` gets the last read.
    bool showsOverlay(int milliseconds, QImage *screen = nullptr);
    // Whether the footer help button shows its raised or its latched look
    // within 5 s.
    bool showsButtonLook(bool raised) const;
    // Where a press on the footer help button goes.
    QPoint footerButton() const;
    // The program's first visible window titled to match `title` that `which`
    // accepts, waiting up to `milliseconds` for one to show or, `gone`, for
    // none to be left, or for the program to end; null when there is none.
    QRect waitForWindow(const std::function<bool(const QRect &)> &which, int milliseconds,
        bool gone = false, const QString &title = QString());
    // Writes `html` as the page in `language` of the first symbol with a page
    // and says where to click that symbol (`file`: the page's file); (-1, -1)
    // when it cannot.
    QPoint writePage(const QString &language, const QByteArray &html, QString *file = nullptr);

    // What the program wrote on stderr.
    QString messages() const;

    QTemporaryDir dir;
    QString bin;
    QProcess process;
    DemoVisualisation demo;
    QImage screenshot, symbol, expected; // expected: the overlay after the fade
};
