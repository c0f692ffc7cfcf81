#pragma once

// Drives a program on this X display from outside, as an operator does: reads
// the screen, moves and clicks the real pointer (through xdotool) and finds
// windows. For the end-to-end tests and the benchmarks that watch the real
// program.

#include <QHash>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <functional>

// Whether `condition` holds within `milliseconds`, asked every few
// milliseconds with the event loop running in between.
bool waitUntil(const std::function<bool()> &condition, int milliseconds);
// The screen, or `size` of it from `at`; needs a QGuiApplication.
QImage grabScreen(QPoint at = QPoint(), QSize size = QSize(-1, -1));
// Runs xdotool; false when it failed or did not finish within 10 s.
bool xdotool(const QStringList &arguments, QString *output = nullptr);
// Moves the pointer to `at`, then, when given, does `action` ("click",
// "mousedown" or "mouseup") with the left button there.
bool pointer(QPoint at, const char *action = nullptr);
// The geometries of the windows that xdotool's `search` (or `getwindowfocus`)
// with `arguments` finds.
QList<QRect> windows(const QStringList &arguments);
// Every process's parent, by process id.
QHash<qint64, qint64> processParents();
// The proportional set size, in MiB, of process `pid` and every process below
// it (a program and its browser engine's processes, say).
double processTreeMemoryMb(qint64 pid);
