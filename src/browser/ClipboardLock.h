#pragma once

// Keeps the program from ever owning the clipboard or the primary selection.
// The overlay puts nothing there itself; whatever a help page puts there (by a
// copy on the operator's touch, or by selecting text) is dropped at once, so
// it can never be pasted into another program on the panel.
void lockClipboard();
