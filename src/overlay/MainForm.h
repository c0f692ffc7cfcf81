#pragma once

#include "description/TavlinModule.h"
#include "model/ScreenContext.h"
#include "os/Services.h"
#include "overlay/ControlArray.h"
#include "overlay/PictureBox.h"
#include "raster/DrawingSurface.h"
#include "semantics/Twips.h"

#include <QWidget>

// The overlay form Main: a frameless window above all others at the screen's
// top-left corner, with a persistent image it paints, the help symbols and
// their backgrounds (control arrays Symbol and Bild) and three never-shown work
// pictures. It holds the screen context and runs the start-up sequence.
//
// The form is sized from the screenshot and reaches far past the screen's
// right and bottom edges, where nothing can ever be seen. So the window on the
// screen is a frame only as large as the part of the form on the screen, with
// the form, at its full size, as its child at its origin: the window system's
// buffer, every frame handed over and the form's own image cover just the
// visible part.
class MainForm : public QWidget, public DrawingSurface
{
    Q_OBJECT

public:
    // The services are the form's and its handlers' for the form's lifetime.
    explicit MainForm(const Services &services);
    ~MainForm() override;

    const Services &services() const { return m_services; }

    // Shows or hides the form and its frame together.
    void setVisible(bool visible) override;

    ScreenContext &context() { return m_context; }
    TavlinModule &module() { return m_module; }
    // The screen's twips per pixel when the form was made, as its elements use them.
    const TwipsScale &scale() const { return m_scale; }

    // Outer size in twips; the form is never moved from (0, 0).
    float Width() const { return m_scale.toTwipsX(width()); }
    float Height() const { return m_scale.toTwipsY(height()); }
    void setWidth(double twips);
    void setHeight(double twips);
    bool Visible() const { return isVisible(); }
    void setVisibleProperty(bool visible) { setVisible(visible); }

    // Repaints the form from its image at once and waits until the window
    // system has it on the screen; handles no input meanwhile.
    void Refresh() override;

    // The program's own folder (App.Path).
    QString appPath;

    // Controls, in their stored order.
    ControlArray Symbol;
    ControlArray Bild;
    PictureBox *ZwischenPic;
    PictureBox *DunkelPic;
    PictureBox *OriginalPic;

signals:
    // The form's events, each raised inside the run-time error guard: connect
    // them directly, so that a handler runs at once and an error in it ends
    // the program with the standard message. Mouse positions are pixels.
    void symbolClick(qint16 Index);
    void mouseDown(QPointF position);
    void mouseMove(QPointF position);
    void mouseUp(QPointF position);
    void dblClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QRect onScreen(const QRect &area) const;
    void fitFrame();
    PictureBox *createWorkPicture(int left, int top, quint32 backColor);
    void placeDesign(PictureBox &box, int left, int top, int width, int height);
    void deliverMouse(void (MainForm::*signal)(QPointF), QMouseEvent *event);

    const Services m_services;
    TwipsScale m_scale;
    bool m_waitedUntilShown = false;
    ScreenContext m_context;
    TavlinModule m_module;
};

// The screen's twips per pixel as they are now; a form reads them once, as
// it is made.
TwipsScale screenTwipsScale(ScreenMetrics &screen);

// Where Symbol(0) stands as designed on a form of the given scale; a symbol
// stays there when its alignment does not move it.
QPoint symbolTemplatePosition(const TwipsScale &scale);
