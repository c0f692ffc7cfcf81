#pragma once

#include <QImage>

struct DemoLayout;

// Paints the demo operator screen: title bar, the plant schematic with its
// tanks, valves, pumps, filler and conveyor, the operation panel with frames
// in frames, trend, alarm list and the footer with its navigation buttons
// and the help button (its image given). Every described control is drawn
// exactly inside its rectangle of the layout.
//
// Text is drawn with the DejaVu Sans font when it is installed; needs a
// QGuiApplication.
QImage drawDemoScreen(const DemoLayout &layout, const QImage &footerHelpImage);
