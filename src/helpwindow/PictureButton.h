#pragma once

#include <QAbstractButton>
#include <QImage>
#include <functional>

// A graphical command button: no caption, a picture centred on a plain
// background, a raised bevel that sinks while pressed. Besides its click it
// reports raw presses, moves and releases of any mouse button, in twips
// relative to its own top-left corner.
class PictureButton : public QAbstractButton
{
    Q_OBJECT

public:
    PictureButton(const QImage &picture, const QColor &background, QWidget *parent);

    // Arguments: button (1 left, 2 right, 4 middle), shift state, X, Y.
    using MouseHandler = std::function<void(int, int, float, float)>;
    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;

    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void report(const MouseHandler &handler, QMouseEvent *event);

    QImage m_picture;
    QColor m_background;
};
