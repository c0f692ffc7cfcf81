#pragma once

#include <QByteArray>

// The switches the browser engine starts with. The engine takes its switches
// from QTWEBENGINE_CHROMIUM_FLAGS (and, without it, from the command line), so
// whoever sets the program's environment could otherwise open a debugging
// port, turn web security off or give pages the file system. The program
// always sets the variable itself: the switches that lock the engine, plus
// those of `requested` that only choose how a panel draws.
//
// Kept from `requested`: --disable-gpu, --disable-gpu-compositing,
// --disable-software-rasterizer, --use-gl=..., --use-angle=...; everything
// else is dropped.
QByteArray lockedEngineSwitches(const QByteArray &requested);

// Sets the engine's environment for this process before it starts: the
// locked switches, no debugging port, and the sandbox on unless the process
// runs as root (where the engine does not start with it).
void lockEngineEnvironment(bool runningAsRoot);
