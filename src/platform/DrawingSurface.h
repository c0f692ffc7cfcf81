#pragma once

#include "platform/DeviceContext.h"

#include <QImage>

// The picture laid onto an opaque colour (0x00BBGGRR): where it is
// transparent the colour shows. An opaque picture is returned as it is.
QImage composeOnColour(const QImage &picture, quint32 colour);

// A surface with a persistent image: what is drawn on it stays until it is
// cleared, and Refresh shows it. Colours are values 0x00BBGGRR.
class DrawingSurface
{
public:
    virtual ~DrawingSurface() = default;

    // The handle the raster calls draw through: the image and the pen and fill
    // colours in force now.
    DeviceContext hDC() { return DeviceContext { &m_image, ForeColor, FillColor }; }

    // Fills the image with the background colour, then lays the surface's own
    // picture over it, if it has one.
    void Cls();

    // Shows the image now.
    virtual void Refresh() = 0;

    quint32 BackColor = 0xFFFFFF;
    quint32 ForeColor = 0x000000; // pen
    quint32 FillColor = 0x000000;

    const QImage &image() const { return m_image; }

protected:
    // Gives the image a new size in pixels; what is kept of the old content
    // stays, new parts take the background colour.
    void resizeImage(int width, int height);
    // The picture shown under whatever is drawn, laid onto the background
    // colour as it is now; null for none.
    void setBackgroundPicture(const QImage &picture);
    QImage &mutableImage() { return m_image; }

private:
    QImage m_image = QImage(1, 1, QImage::Format_RGB32);
    QImage m_picture;
};
