#pragma once

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <functional>

// A stand-in for the overlay in the start-up benchmarks: a frameless window
// over the whole 1280 x 1024 screen that paints a darkened picture. It prints
// "painted" once its first paint is done and, in a child process of the
// benchmarks, quits shortly after.
class OverlayStandIn : public QWidget
{
public:
    OverlayStandIn()
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
        , m_picture(1280, 1024, QImage::Format_RGB32)
    {
        m_picture.fill(QColor(90, 90, 90));
        QPainter painter(&m_picture);
        for (int i = 0; i < 40; ++i)
            painter.fillRect(20 + i * 31, 30 + (i % 7) * 120, 25, 60, QColor(60, 60, 120));
        setGeometry(0, 0, 1280, 1024);
    }

    bool quitAfterPaint = false;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).drawImage(0, 0, m_picture);
        if (m_painted)
            return;
        m_painted = true;
        QTimer::singleShot(0, this, [this] {
            std::printf("painted\n");
            std::fflush(stdout);
            if (quitAfterPaint)
                QTimer::singleShot(300, qApp, &QCoreApplication::quit);
        });
    }

private:
    QImage m_picture;
    bool m_painted = false;
};

// The child process of the start-up benchmarks. `beforeApp` runs before the
// application object exists, `afterApp` right after it.
inline int runOverlayStandIn(int argc, char **argv, const std::function<void()> &beforeApp,
    const std::function<void()> &afterApp)
{
    if (beforeApp)
        beforeApp();
    QApplication app(argc, argv);
    if (afterApp)
        afterApp();
    OverlayStandIn overlay;
    overlay.quitAfterPaint = true;
    overlay.show();
    return app.exec();
}
