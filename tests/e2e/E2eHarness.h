#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

// What the end-to-end tests do on their X display: wait, read the screen and
// drive the real pointer and keyboard through xdotool.

// Processes events until `done` holds; false when `milliseconds` passed first.
bool waitUntil(const std::function<bool()> &done, int milliseconds);

// The screen, or `size` of it from `at`, as RGB32.
QImage grabScreen(QPoint at = QPoint(), QSize size = QSize(-1, -1));

// The pixels of `actual` that differ from `expected` outside `apart`; -1 for
// another size.
int mismatches(const QImage &actual, const QImage &expected, const QRect &apart);

// Saves an image for the reader of a failed test; returns its path.
QString keepForInspection(const QImage &image, const QString &name);

// Runs xdotool; false when it failed or did not finish within 10 s. What it
// printed goes to `output`.
bool xdotool(const QStringList &arguments, QString *output = nullptr);

// Moves the pointer to `at`, then, when given, does `action` ("click",
// "mousedown" or "mouseup") with the left button there.
bool pointer(QPoint at, const char *action = nullptr);

// The visible top-level windows of the process `pid`, those titled `title`
// when one is given.
QList<QRect> windowsOf(qint64 pid, const QString &title = QString());

// The window that has the keyboard focus; a null rectangle when none has.
QRect focusedWindow();
