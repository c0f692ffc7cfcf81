#include "platform/DrawingSurface.h"

#include "platform/Colour.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>

namespace {

void releaseBuffer(void *data)
{
    std::free(data);
}

// An RGB32 image. Screen-sized ones live in memory aligned to, and advised
// for, large pages: a dimming pass walks three of them, and with small pages
// the address translations alone slow it down noticeably.
QImage allocateImage(int width, int height)
{
    constexpr size_t largePage = size_t(2) << 20;
    const qsizetype bytesPerLine = qsizetype(width) * 4;
    const size_t bytes = size_t(bytesPerLine) * size_t(height);
    if (bytes < largePage)
        return QImage(width, height, QImage::Format_RGB32);
    const size_t rounded = (bytes + largePage - 1) / largePage * largePage;
    void *data = std::aligned_alloc(largePage, rounded);
    if (!data)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(data, rounded, MADV_HUGEPAGE);
#endif
    return QImage(static_cast<uchar *>(data), width, height, bytesPerLine, QImage::Format_RGB32,
        releaseBuffer, data);
}

} // namespace

void DrawingSurface::Cls()
{
    m_image.fill(Colour::toQRgb(BackColor));
    if (!m_picture.isNull()) {
        QPainter painter(&m_image);
        painter.drawImage(0, 0, m_picture);
    }
}

void DrawingSurface::resizeImage(int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == m_image.width() && height == m_image.height())
        return;
    QImage resized = allocateImage(width, height);
    resized.fill(Colour::toQRgb(BackColor));
    const int keptWidth = std::min(width, m_image.width());
    const int keptRows = std::min(height, m_image.height());
    for (int y = 0; y < keptRows; ++y)
        std::memcpy(resized.scanLine(y), m_image.constScanLine(y), size_t(keptWidth) * 4);
    m_image = resized;
}
