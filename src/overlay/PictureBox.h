#pragma once

#include "os/Picture.h"
#include "raster/DrawingSurface.h"
#include "semantics/Twips.h"

#include <QWidget>

class QPainter;

// A picture box of the overlay form: a borderless child window with a
// persistent image, a background colour, an optional picture and twips
// geometry. A press and release of the left button inside it is a click. It
// paints itself, or, as an element of the form's control arrays, is painted
// by the form and only takes the input over it.
class PictureBox : public QWidget, public DrawingSurface
{
    Q_OBJECT

public:
    PictureBox(QWidget *parent, const TwipsScale &scale, qint16 index = 0);

    qint16 Index() const { return m_index; }

    float Left() const { return m_scale.toTwipsX(x()); }
    float Top() const { return m_scale.toTwipsY(y()); }
    float Width() const { return m_scale.toTwipsX(width()); }
    float Height() const { return m_scale.toTwipsY(height()); }
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);

    // The inner size in pixels (the image's size).
    int ScaleWidth() const { return imageSize().width(); }
    int ScaleHeight() const { return imageSize().height(); }

    bool Visible() const { return !isHidden(); }
    void setVisibleProperty(bool visible) { setVisible(visible); }

    // Setting the background colour clears what was drawn, as on the platform.
    void setBackColor(quint32 colour);

    // The picture is laid onto the background colour as it is assigned, so a
    // transparent pixel shows that colour from then on. With AutoSize the box
    // takes the picture's size.
    void setPicture(const Picture &picture);
    const Picture &picture() const { return m_picture; }
    bool AutoSize = false;

    // Brings the box in front of its siblings.
    void ZOrder() { raise(); }

    // Position and size in pixels at once, as the overlay's layout gives them.
    void setGeometryPixels(const QRect &area)
    {
        move(area.topLeft());
        resizePixels(area.width(), area.height());
    }

    void Refresh() override;

    // From now on the parent paints the box (see paint) and the box paints
    // nothing of its own.
    void setPaintedByParent();
    bool paintedByParent() const { return m_paintedByParent; }
    // Paints the part `area` (in the box's coordinates) with the box's
    // top-left corner at `origin`.
    void paint(QPainter &painter, const QPoint &origin, const QRect &area) const;

    // Copies the settings a new control-array element takes from element 0.
    void copySettingsFrom(const PictureBox &other);

signals:
    // A press and release of the left button on the box, with its index.
    void clicked(qint16 index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void resizePixels(int width, int height);

    TwipsScale m_scale;
    qint16 m_index;
    Picture m_picture;
    bool m_pressed = false;
    bool m_paintedByParent = false;
};
