#pragma once

#include <Qt>
#include <functional>

class QWidget;

// The program's windows (the overlay, the help window, message boxes) place
// themselves and stay out of the window manager's hands: a manager keeps its
// task bar above the overlay (IceWM), shrinks the overlay to the space beside
// its docks, or stacks dialogs below it, each in its own way (see
// docs/decisions.md). Without a frame, above all windows the manager keeps;
// the dialogs take the keyboard focus themselves when they are shown.
constexpr Qt::WindowFlags kOwnPlacement
    = Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;

// Marks one of the program's own windows: nothing else may open a window (a
// help page's pickers and dialogs included).
void markOwnWindow(QWidget &window);
bool isOwnWindow(const QWidget &window);

// Waits until the display server has taken every frame handed to it so far,
// without handling any window message: input that arrives meanwhile stays
// queued for the event loop. Returns at once on platforms without a server
// (offscreen), where a flushed frame is already complete.
void waitForDisplayServer();

// Waits, up to `milliseconds`, until the window system shows the shown
// top-level `window`: until then nothing drawn on it can reach the screen.
// Handles only the window system's own messages meanwhile (exposure, geometry,
// painting); the operator's input stays queued, in order.
void waitUntilShown(QWidget &window, int milliseconds);

// How long a modal window may take to reach the screen. A window manager that
// hangs, or one that never maps the window, would otherwise leave a modal
// window nobody can see, and the overlay under it taking no input for good.
constexpr int kShownDeadlineMs = 5000;

// Calls `notShown` once, `milliseconds` from now, when the top-level
// `window` is still meant to be visible but the window system has not shown
// it. Nothing happens once the window is gone or hidden.
void whenNotShownWithin(QWidget &window, int milliseconds, std::function<void()> notShown);

// The window the program's own dialogs (message boxes, the help window) stand
// on: a window manager keeps a dialog above the window it belongs to, also
// when that one covers the whole screen above its docks and task bars. The
// owner is the open modal window, else the one set here (the overlay), else
// none.
void setDialogOwner(QWidget *window);
QWidget *dialogOwner();
