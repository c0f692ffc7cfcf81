#pragma once

#include "raster/DeviceContext.h"

#include <QImage>

// The picture laid onto an opaque colour (0x00BBGGRR): where it is
// transparent the colour shows. An opaque picture is returned as it is.
QImage composeOnColour(const QImage &picture, quint32 colour);

// A surface with a persistent image: what is drawn on it stays until it is
// cleared, and Refresh shows it. Colours are values 0x00BBGGRR.
//
// A new size is taken by the image only when the image is next used: a form
// sized by its width and then by its height allocates and fills its buffer
// once, and a clear right after a resize fills it only once.
class DrawingSurface
{
public:
    virtual ~DrawingSurface() = default;

    // The handle the raster calls draw through: the image and the pen and fill
    // colours in force now.
    DeviceContext hDC()
    {
        applyResize();
        return DeviceContext { &m_image, ForeColor, FillColor };
    }

    // Fills the image with the background colour, then lays the surface's own
    // picture over it, if it has one.
    void Cls();

    // Shows the image now.
    virtual void Refresh() = 0;

    quint32 BackColor = 0xFFFFFF;
    quint32 ForeColor = 0x000000; // pen
    quint32 FillColor = 0x000000;

    const QImage &image() const
    {
        applyResize();
        return m_image;
    }
    // The image's size in pixels, without making it take a new size.
    QSize imageSize() const { return m_resizePending ? m_size : m_image.size(); }
    // Makes the image take its new size now rather than at its next use.
    void applyNewSize() { applyResize(); }

protected:
    // Gives the image a new size in pixels; what is kept of the old content
    // stays, new parts take the background colour as it is now.
    void resizeImage(int width, int height);
    // The picture shown under whatever is drawn, laid onto the background
    // colour as it is now; null for none.
    void setBackgroundPicture(const QImage &picture);
    QImage &mutableImage()
    {
        applyResize();
        return m_image;
    }

private:
    void applyResize() const;

    mutable QImage m_image = QImage(1, 1, QImage::Format_RGB32);
    QImage m_picture;
    // A resize not yet applied: the new size, the part of the old content that
    // stays, and the colour of the new parts.
    mutable bool m_resizePending = false;
    QSize m_size;
    QSize m_kept;
    QRgb m_newPartsColour = 0;
};
