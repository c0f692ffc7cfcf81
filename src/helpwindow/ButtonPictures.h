#pragma once

#include <QImage>

// The two pictures of the help window's buttons, drawn here at their fixed
// sizes in place of stored bitmaps.

// Close symbol, 30 x 31 pixels: a red diagonal cross on light grey.
QImage closeSymbolPicture();

// Move symbol, 72 x 57 pixels: a miniature of the help window (a light-blue
// page with grey text lines and a grey bar ending in a small red cross,
// inside a 5-pixel grey margin) under four black arrows pointing outwards
// from the middle of each side, their tips at the picture's edges.
QImage moveSymbolPicture();
