#pragma once

#include <QAbstractButton>
#include <QImage>

class ScreenMetrics;

// A graphical command button: no caption, a picture centred on a plain
// background, a raised bevel that sinks while pressed. Besides its click it
// reports raw presses, moves and releases of any mouse button, in twips
// relative to its own top-left corner.
class PictureButton : public QAbstractButton
{
    Q_OBJECT

public:
    // Positions are reported at the screen's twips per pixel.
    PictureButton(
        const QImage &picture, const QColor &background, ScreenMetrics &screen, QWidget *parent);

    const QImage &picture() const { return m_picture; }

signals:
    // Arguments: button (1 left, 2 right, 4 middle), shift state, X, Y.
    void mouseDown(int button, int shift, float x, float y);
    void mouseMove(int button, int shift, float x, float y);
    void mouseUp(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void report(void (PictureButton::*signal)(int, int, float, float), QMouseEvent *event);

    ScreenMetrics &m_screen;
    QImage m_picture;
    QColor m_background;
};
