#pragma once

#include <QtGlobal>

// Forms and controls keep their geometry in whole screen pixels; their Left,
// Top, Width and Height properties are twips. A value set is converted to the
// nearest pixel (halves to even) with the start-up twips per pixel, and reads
// back as that pixel count times the factor, as a Single.
struct TwipsScale
{
    float x = 15.0f;
    float y = 15.0f;

    qint32 toPixelsX(double twips) const;
    qint32 toPixelsY(double twips) const;
    float toTwipsX(int pixels) const { return static_cast<float>(double(pixels) * double(x)); }
    float toTwipsY(int pixels) const { return static_cast<float>(double(pixels) * double(y)); }

};
