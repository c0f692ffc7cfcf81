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
        m_oneColour = false; // the caller draws
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

    // True when nothing has been drawn since the image was filled with one
    // colour throughout (a clear without a picture, or a resize of such an
    // image); pixel is then that colour.
    bool holdsOneColour(QRgb &pixel) const;

    // Makes this image the top-left part of host's: the same memory, at the
    // host's row length, so that what is drawn here is on the host at once.
    // What this image holds is copied there first, unless the caller is about
    // to draw over every pixel of it (`overwritten`): a pending resize is then
    // never made. False, and nothing done, when the host's image is smaller.
    //
    // The sharing ends by itself, never leaving either image invalid: the
    // host's image keeps a second reference to its memory for as long as this
    // one uses it, so the host copies its image before it next draws on it or
    // takes a new one (what the host draws never reaches this image), and
    // this image goes back to memory of its own on a resize.
    bool shareHostImage(DrawingSurface &host, bool overwritten = false);
    // Whether this image, at its new size, fits in host's as shareHostImage
    // needs.
    bool fitsInHostImage(const DrawingSurface &host) const;
    // True while this image is the top-left part of host's.
    bool sharesHostImage(const DrawingSurface &host) const;

protected:
    // Gives the image a new size in pixels; what is kept of the old content
    // stays, new parts take the background colour as it is now.
    void resizeImage(int width, int height);
    // The picture shown under whatever is drawn, laid onto the background
    // colour as it is now; null for none.
    void setBackgroundPicture(const QImage &picture);

private:
    void applyResize() const;
    // Whether the image holds one colour once the pending resize is made.
    bool oneColourAfterResize() const;

    mutable QImage m_image = QImage(1, 1, QImage::Format_RGB32);
    QImage m_picture;
    // A resize not yet applied: the new size, the part of the old content that
    // stays, and the colour of the new parts.
    mutable bool m_resizePending = false;
    QSize m_size;
    QSize m_kept;
    QRgb m_newPartsColour = 0;
    mutable bool m_oneColour = false;
    mutable QRgb m_oneColourPixel = 0;
};
