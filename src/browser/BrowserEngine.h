#pragma once

#include "browser/BrowserView.h"

#include <QString>
#include <functional>

// The real browser engine (Qt WebEngine) lives in a plugin of its own,
// "libtavlin_webengine.so" beside the program, which is loaded when the first
// help page opens. The overlay's start-up thus pays nothing for it: linked into the
// program, the engine's load hook alone makes the application object create
// shared OpenGL contexts at start, which delayed the overlay's first paint by
// about 40 to 55 ms.
//
// main() calls prepareBrowserEngine() before the QApplication is constructed
// and useBrowserEngine() after it.
// When the plugin is missing or cannot be loaded, the help window falls back
// to the plain text view.

// Locks the engine's environment before the application object exists (see
// browser/EngineSwitches.h): only when the process runs as root (as in CI
// containers) is the sandbox switched off, which Chromium refuses to run with
// as root. An ordinary user keeps the sandbox, whatever the environment says.
void prepareBrowserEngine();

// The engine plugin as the help window's browser, loaded on first use: the
// factory the help window is given. `pluginPath` defaults to the plugin
// beside the program.
BrowserFactory useBrowserEngine(const QString &pluginPath = QString());

// The plugin's file beside the program.
QString defaultBrowserEnginePath();

// Makes the engine ready for the first help page while nobody waits for it:
// `afterMilliseconds` from now, with the event loop running, loads the engine,
// then, on a later turn of the event loop, starts its processes with a page
// nobody sees and calls `rehearse`, which shows a help window with the engine
// out of sight (helpwindow/HelpRehearsal.h). Without the engine nothing
// happens.
//
// Ready, the program with its engine processes holds about 210 MB (against
// about 35 MB without the engine) before any page is asked for; the first
// page then shows about twice as soon.
void warmUpBrowserEngine(int afterMilliseconds, const std::function<void()> &rehearse);

// From the fade's end to the engine's start: the overlay's first frames and
// the operator's first look come first.
inline constexpr int kWarmUpAfterFadeMs = 500;
// The pause between the warm-up's steps.
inline constexpr int kWarmUpStepMs = 300;
