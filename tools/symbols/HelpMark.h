#pragma once

#include <QImage>
#include <QRgb>

// Tavlin's help mark: a round blue badge with a white question mark, drawn
// from painter paths only (no font), so it looks the same on every machine.
//
// The square image of `size` pixels is RGB32 and has `background` wherever
// the badge does not cover it. The badge's outline has a hard edge against
// the background (no blended pixels), so a colour key such as cyan cuts it
// out cleanly; inside, the question mark is smoothed. The badge never uses
// the background colour itself, and the image has at most 255 colours, so it
// fits a GIF with the background as one more entry.
QImage drawHelpMark(int size, QRgb background);
