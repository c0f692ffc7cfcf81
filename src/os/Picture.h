#pragma once

#include <QImage>
#include <QString>

class ScreenMetrics;

// A loaded picture: the decoded image and its size in HIMETRIC (hundredths of
// a millimetre), the unit picture objects report their Width and Height in.
struct Picture
{
    QImage image; // RGB32, or ARGB32 when the file has transparent pixels
    qint32 Width = 0;
    qint32 Height = 0;

    bool isNull() const { return image.isNull(); }
};

// HIMETRIC length of `pixels` screen pixels at the given twips per pixel
// (a pixel is 2540 / dpi HIMETRIC, and dpi is 1440 / twips per pixel).
qint32 pixelsToHimetric(int pixels, float twipsPerPixel);

// LoadPicture: reads a BMP or GIF named by a Windows path. A file that does
// not exist is run-time error 53, one that cannot be decoded error 481; both
// name the path as given. Its HIMETRIC size is taken at the screen's twips
// per pixel.
Picture LoadPicture(const QString &windowsPath, ScreenMetrics &screen);
