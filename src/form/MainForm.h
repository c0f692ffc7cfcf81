#pragma once

#include "form/ControlArray.h"
#include "form/PictureBox.h"
#include "state/ScreenContext.h"
#include "semantics/Twips.h"
#include "description/TavlinModule.h"
#include "raster/DrawingSurface.h"

#include <QWidget>
#include <functional>

// The overlay form Main: a frameless window above all others at the screen's
// top-left corner, with a persistent image it paints, the help symbols and
// their backgrounds (control arrays Symbol and Bild) and three never-shown work
// pictures. It holds the screen context and runs the start-up sequence.
class MainForm : public QWidget, public DrawingSurface
{
    Q_OBJECT

public:
    explicit MainForm(QWidget *parent = nullptr);

    ScreenContext &context() { return m_context; }
    TavlinModule &module() { return m_module; }

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

    // Handlers provided elsewhere; each runs inside the run-time error guard.
    // Unset handlers do nothing.
    std::function<void(qint16 Index)> symbolClickHandler;
    std::function<void(qint16 Button, qint16 Shift, float X, float Y)> mouseDownHandler;
    std::function<void(qint16 Button, qint16 Shift, float X, float Y)> mouseMoveHandler;
    std::function<void(qint16 Button, qint16 Shift, float X, float Y)> mouseUpHandler;
    std::function<void()> dblClickHandler;

    void Symbol_Click(qint16 Index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QRect onScreen(const QRect &area) const;
    PictureBox *createWorkPicture(int left, int top, quint32 backColor);
    void placeDesign(PictureBox &box, int left, int top, int width, int height);
    void deliverMouse(
        const std::function<void(qint16, qint16, float, float)> &handler, QMouseEvent *event);

    TwipsScale m_scale;
    bool m_waitedUntilShown = false;
    ScreenContext m_context;
    TavlinModule m_module;
};
