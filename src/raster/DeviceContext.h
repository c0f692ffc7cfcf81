#pragma once

#include <QImage>
#include <QtGlobal>

// What a drawing call reaches through a surface's handle: its persistent image
// (RGB32, origin top-left, pixels) and the pen and fill colours in force
// (colour values 0x00BBGGRR).
struct DeviceContext
{
    QImage *image = nullptr;
    quint32 penColour = 0;
    quint32 fillColour = 0;
};
