#pragma once

// The help window's real browser: Qt WebEngine, locked to the help pages.
// Built only into the program (never into the core library or the unit tests).
//
// main() calls, in this order:
//   prepareWebEngine();            before the QApplication is constructed
//   installWebEngineBrowser();     after it, before the first help page
// and, once the overlay has faded in and the event loop runs, optionally
//   warmUpBrowser();               (platform/BrowserView.h)

// Settings the engine needs before the application object exists: the shared
// OpenGL contexts it asks for, and, only when the process runs as root (as in
// CI containers), the switch that turns the engine's sandbox off, which
// Chromium refuses to run with as root. An ordinary user keeps the sandbox.
void prepareWebEngine();

// Registers the WebEngine view as the help window's browser and its warm-up.
void installWebEngineBrowser();
