#pragma once

class QWidget;

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
