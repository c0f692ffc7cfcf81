#include "form/MainForm.h"

#include "raster/Colour.h"
#include "os/DisplayServer.h"
#include "os/Platform.h"
#include "os/RunGuarded.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

qint16 buttonMask(Qt::MouseButtons buttons)
{
    qint16 mask = 0;
    if (buttons & Qt::LeftButton)
        mask |= 1;
    if (buttons & Qt::RightButton)
        mask |= 2;
    if (buttons & Qt::MiddleButton)
        mask |= 4;
    return mask;
}

qint16 shiftMask(Qt::KeyboardModifiers modifiers)
{
    qint16 mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= 1;
    if (modifiers & Qt::ControlModifier)
        mask |= 2;
    if (modifiers & Qt::AltModifier)
        mask |= 4;
    return mask;
}

// The screen's factors as they are now (read once, at form creation).
TwipsScale screenTwips()
{
    return TwipsScale { platform().screen->twipsPerPixelX(), platform().screen->twipsPerPixelY() };
}

} // namespace

MainForm::MainForm(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , Symbol(this, screenTwips())
    , Bild(this, screenTwips())
    , m_scale(screenTwips())
{
    setWindowTitle(QStringLiteral("Tavlin"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    appPath = QCoreApplication::applicationDirPath();

    BackColor = Colour::Grey;
    move(0, 0);
    setWidth(10950);
    setHeight(7080);
    Cls();

    const auto click = [this](qint16 index) { runGuarded([this, index] { Symbol_Click(index); }); };
    Symbol.clickHandler = click;
    placeDesign(Symbol.createFirst(), 1935, 2910, 525, 540);
    placeDesign(Bild.createFirst(), 480, 3060, 1065, 780);
    ZwischenPic = createWorkPicture(1620, -60, Colour::rgb(224, 224, 224));
    DunkelPic = createWorkPicture(0, 0, Colour::Black);
    OriginalPic = createWorkPicture(1800, 1350, Colour::rgb(192, 192, 192));
}

void MainForm::placeDesign(PictureBox &box, int left, int top, int width, int height)
{
    box.setLeft(left);
    box.setTop(top);
    box.setWidth(width);
    box.setHeight(height);
    box.Cls();
    box.show();
}

PictureBox *MainForm::createWorkPicture(int left, int top, quint32 backColor)
{
    auto *box = new PictureBox(this, m_scale);
    box->hide();
    box->AutoSize = true;
    box->setLeft(left);
    box->setTop(top);
    box->setWidth(1275);
    box->setHeight(1350);
    box->setBackColor(backColor);
    return box;
}

void MainForm::setWidth(double twips)
{
    resize(std::max(m_scale.toPixelsX(twips), 1), height());
    resizeImage(width(), height());
}

void MainForm::setHeight(double twips)
{
    resize(width(), std::max(m_scale.toPixelsY(twips), 1));
    resizeImage(width(), height());
}

void MainForm::Refresh()
{
    if (!isVisible())
        return;
    // Painted and flushed at once, then handed to the display server and
    // waited for; no input is handled here, so no handler runs inside the
    // fade or inside another handler that draws. A window manager may show
    // the window only after the DoEvents that follows Show; the first step
    // waits for that (a second at most, once).
    if (!m_waitedUntilShown) {
        m_waitedUntilShown = true;
        waitUntilShown(*this, 1000);
    }
    repaint(onScreen(rect()));
    waitForDisplayServer();
}

QRect MainForm::onScreen(const QRect &area) const
{
    // The form reaches past the screen; only the part on the screen can be
    // seen, so only that is painted and handed over.
    const QScreen *display = screen();
    if (!display)
        return area;
    return area & QRect(mapFromGlobal(display->geometry().topLeft()), display->geometry().size());
}

void MainForm::Symbol_Click(qint16 Index)
{
    if (symbolClickHandler)
        symbolClickHandler(Index);
}

void MainForm::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect area = onScreen(event->rect());
    painter.drawImage(area.topLeft(), image(), area);
}

void MainForm::deliverMouse(
    const std::function<void(qint16, qint16, float, float)> &handler, QMouseEvent *event)
{
    event->accept();
    if (!handler)
        return;
    // Pixels to twips with the start-up factors; the position is relative to
    // the form, which sits at the screen's origin.
    const QPointF position = event->position();
    const auto x = static_cast<float>(position.x() * double(m_scale.x));
    const auto y = static_cast<float>(position.y() * double(m_scale.y));
    // The button that changed for presses and releases, the held ones for moves.
    const qint16 button = buttonMask(
        event->type() == QEvent::MouseMove ? event->buttons() : Qt::MouseButtons(event->button()));
    const qint16 shift = shiftMask(event->modifiers());
    runGuarded([&] { handler(button, shift, x, y); });
}

void MainForm::mousePressEvent(QMouseEvent *event)
{
    deliverMouse(mouseDownHandler, event);
}

void MainForm::mouseMoveEvent(QMouseEvent *event)
{
    deliverMouse(mouseMoveHandler, event);
}

void MainForm::mouseReleaseEvent(QMouseEvent *event)
{
    deliverMouse(mouseUpHandler, event);
}

void MainForm::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (dblClickHandler)
        runGuarded([this] { dblClickHandler(); });
}
