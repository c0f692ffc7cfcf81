#include "raster/DrawingSurface.h"

#include "os/ScreenImage.h"
#include "raster/Colour.h"

#include <algorithm>
#include <cstring>

namespace {

// An RGB32 image. A screen-sized one takes the memory readied for it ahead,
// if any: the form's image is made on the way to the first frame.
QImage allocateImage(int width, int height)
{
    const QImage image = screenImage(width, height, QImage::Format_RGB32);
    return image.isNull() ? QImage(width, height, QImage::Format_RGB32) : image;
}

// Fills a rectangle of an RGB32 image that lies inside it.
void fillArea(QImage &image, const QRect &area, QRgb colour)
{
    if (area.isEmpty())
        return;
    // One row filled pixel by pixel, the others copied from it: a screen's
    // clear runs at the speed of a copy.
    const size_t bytes = size_t(area.width()) * sizeof(QRgb);
    auto *first = reinterpret_cast<QRgb *>(image.scanLine(area.top())) + area.left();
    std::fill_n(first, area.width(), colour);
    for (int y = area.top() + 1; y <= area.bottom(); ++y)
        std::memcpy(reinterpret_cast<QRgb *>(image.scanLine(y)) + area.left(), first, bytes);
}

} // namespace

QImage composeOnColour(const QImage &picture, quint32 colour)
{
    if (picture.isNull() || picture.format() == QImage::Format_RGB32)
        return picture;
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    QImage composed(source.size(), QImage::Format_RGB32);
    const QRgb background = Colour::toQRgb(colour);
    for (int y = 0; y < source.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        auto *to = reinterpret_cast<QRgb *>(composed.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const int alpha = qAlpha(from[x]);
            if (alpha == 255) {
                to[x] = from[x];
            } else if (alpha == 0) {
                to[x] = background;
            } else {
                auto mix
                    = [alpha](int c, int b) { return (c * alpha + b * (255 - alpha) + 127) / 255; };
                to[x] = qRgb(mix(qRed(from[x]), qRed(background)),
                    mix(qGreen(from[x]), qGreen(background)),
                    mix(qBlue(from[x]), qBlue(background)));
            }
        }
    }
    return composed;
}

void DrawingSurface::Cls()
{
    const QSize size = imageSize();
    if (m_picture.size() == size) {
        // The picture covers the image: share it until something is drawn.
        m_image = m_picture;
        m_resizePending = false;
        m_oneColour = false;
        return;
    }
    const QRgb background = Colour::toQRgb(BackColor);
    if (m_resizePending || !m_image.isDetached()) {
        if (m_picture.isNull()) {
            // One colour throughout: a new image that keeps nothing, made at
            // its next use. A form cleared before it takes its real size
            // never fills the size it had.
            m_resizePending = true;
            m_size = size;
            m_kept = QSize(0, 0);
            m_newPartsColour = background;
            return;
        }
        // Everything is overwritten below: nothing of the old content to keep.
        m_image = allocateImage(size.width(), size.height());
        m_resizePending = false;
    }
    const int width = std::min(m_image.width(), m_picture.width());
    const int rows = std::min(m_image.height(), m_picture.height());
    for (int y = 0; y < rows; ++y)
        std::memcpy(m_image.scanLine(y), m_picture.constScanLine(y), size_t(width) * 4);
    fillArea(m_image, QRect(width, 0, m_image.width() - width, rows), background);
    fillArea(m_image, QRect(0, rows, m_image.width(), m_image.height() - rows), background);
    m_oneColour = width == 0 || rows == 0;
    m_oneColourPixel = background;
}

void DrawingSurface::setBackgroundPicture(const QImage &picture)
{
    m_picture = composeOnColour(picture, BackColor);
}

void DrawingSurface::resizeImage(int width, int height)
{
    const QSize size(std::max(width, 1), std::max(height, 1));
    const QRgb colour = Colour::toQRgb(BackColor);
    if (m_resizePending && colour != m_newPartsColour)
        applyResize();
    if (!m_resizePending) {
        if (size == m_image.size())
            return;
        m_resizePending = true;
        m_kept = m_image.size();
        m_newPartsColour = colour;
    }
    m_size = size;
    m_kept = m_kept.boundedTo(size);
}

void DrawingSurface::applyResize() const
{
    if (!m_resizePending)
        return;
    m_resizePending = false;
    QImage resized = allocateImage(m_size.width(), m_size.height());
    const int keptWidth = m_kept.width(), keptRows = m_kept.height();
    for (int y = 0; y < keptRows; ++y)
        std::memcpy(resized.scanLine(y), m_image.constScanLine(y), size_t(keptWidth) * 4);
    fillArea(resized, QRect(keptWidth, 0, m_size.width() - keptWidth, keptRows), m_newPartsColour);
    fillArea(
        resized, QRect(0, keptRows, m_size.width(), m_size.height() - keptRows), m_newPartsColour);
    m_image = resized;
    m_oneColour = oneColourAfterResize();
    m_oneColourPixel = m_newPartsColour;
}

bool DrawingSurface::oneColourAfterResize() const
{
    return m_kept.isEmpty() || (m_oneColour && m_oneColourPixel == m_newPartsColour);
}

bool DrawingSurface::holdsOneColour(QRgb &pixel) const
{
    if (m_resizePending) {
        // What the resize will leave, without making it.
        pixel = m_newPartsColour;
        return oneColourAfterResize();
    }
    pixel = m_oneColourPixel;
    return m_oneColour;
}

bool DrawingSurface::shareHostImage(DrawingSurface &host, bool overwritten)
{
    if (!overwritten)
        applyResize();
    host.applyResize();
    if (sharesHostImage(host))
        return true;
    if (!fitsInHostImage(host))
        return false;
    const QSize size = imageSize();
    QImage &whole = host.m_image;
    uchar *memory = whole.bits(); // the host's own memory from here on
    if (!overwritten)
        for (int y = 0; y < size.height(); ++y)
            std::memcpy(whole.scanLine(y), m_image.constScanLine(y), size_t(size.width()) * 4);
    auto *keeper = new QImage(whole);
    m_image = QImage(
        memory, size.width(), size.height(), whole.bytesPerLine(), QImage::Format_RGB32,
        [](void *image) { delete static_cast<QImage *>(image); }, keeper);
    m_resizePending = false;
    m_oneColour = false;
    host.m_oneColour = false;
    return true;
}

bool DrawingSurface::fitsInHostImage(const DrawingSurface &host) const
{
    const QSize size = imageSize();
    const QSize whole = host.imageSize();
    return size.width() <= whole.width() && size.height() <= whole.height()
        && host.m_image.format() == QImage::Format_RGB32;
}

bool DrawingSurface::sharesHostImage(const DrawingSurface &host) const
{
    return !m_resizePending && !host.m_resizePending
        && m_image.constBits() == host.m_image.constBits()
        && m_image.bytesPerLine() == host.m_image.bytesPerLine();
}
