#pragma once

#include <QString>

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

// Registers the engine plugin as the help window's browser, to be loaded on
// first use. `pluginPath` defaults to the plugin beside the program.
void useBrowserEngine(const QString &pluginPath = QString());

// The plugin's file beside the program.
QString defaultBrowserEnginePath();
