#include "platform/DrawingSurface.h"

#include "platform/Colour.h"

#include <QPainter>

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
    QImage resized(width, height, QImage::Format_RGB32);
    resized.fill(Colour::toQRgb(BackColor));
    QPainter painter(&resized);
    painter.drawImage(0, 0, m_image);
    painter.end();
    m_image = resized;
}
