#pragma once

// Waits until the display server has taken every frame handed to it so far,
// without handling any window message: input that arrives meanwhile stays
// queued for the event loop. Returns at once on platforms without a server
// (offscreen), where a flushed frame is already complete.
void waitForDisplayServer();
