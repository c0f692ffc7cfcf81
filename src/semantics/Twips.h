#pragma once

#include <QtGlobal>

// Twips to whole screen pixels and back. The program converts in more than
// one way, and which rounding a place uses decides where a line or a symbol
// lands, so each way has its name here and none is written anywhere else.
namespace Twips {

// CLng(twips / factor): the Double quotient to the nearest Long, halves to
// even. A division by zero is error 11, a quotient beyond the Long range 6.
qint32 toLongPixels(double twips, double twipsPerPixel);

// The quotient first stored as a Single, then to the nearest Long.
qint32 toLongPixelsViaSingle(float twips, float twipsPerPixel);

// A window's or control's position or size as set: the Double quotient to the
// nearest whole pixel, halves to even; beyond what a widget can take (2^24
// pixels) is error 6.
int toWidgetPixels(float twips, float twipsPerPixel);

// Pixels (whole, or a pointer's fractional place) as twips, as a Single.
inline float toTwips(double pixels, float twipsPerPixel)
{
    return static_cast<float>(pixels * double(twipsPerPixel));
}

} // namespace Twips

// Forms and controls keep their geometry in whole screen pixels; their Left,
// Top, Width and Height properties are twips. A value set is converted with
// CLng and the start-up twips per pixel, and reads back as that pixel count
// times the factor, as a Single.
struct TwipsScale
{
    float x = 15.0f;
    float y = 15.0f;

    qint32 toPixelsX(double twips) const { return Twips::toLongPixels(twips, x); }
    qint32 toPixelsY(double twips) const { return Twips::toLongPixels(twips, y); }
    float toTwipsX(double pixels) const { return Twips::toTwips(pixels, x); }
    float toTwipsY(double pixels) const { return Twips::toTwips(pixels, y); }
};
