#pragma once

#include <QRgb>
#include <QtGlobal>

// Colour values as the program writes them: 0x00BBGGRR, red in the low byte
// (0xFFFF00 is cyan, 0xC0C0C0 silver). Images hold QRgb (0xAARRGGBB).
namespace Colour {

constexpr quint32 Cyan = 0xFFFF00;
constexpr quint32 Silver = 0xC0C0C0;
constexpr quint32 White = 0xFFFFFF;
constexpr quint32 Grey = 0x808080;
constexpr quint32 Black = 0x000000;

// An opaque QRgb of the colour value; bits above the blue byte are ignored.
constexpr QRgb toQRgb(quint32 colour)
{
    return 0xFF000000u | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

// The colour value of a QRgb; its alpha is dropped.
constexpr quint32 fromQRgb(QRgb rgb)
{
    return ((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16);
}

// The colour value of an RGB triple of 8-bit components.
constexpr quint32 rgb(int red, int green, int blue)
{
    return quint32(red & 0xFF) | (quint32(green & 0xFF) << 8) | (quint32(blue & 0xFF) << 16);
}

} // namespace Colour
