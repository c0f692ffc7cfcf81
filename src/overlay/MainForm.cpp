#include "overlay/MainForm.h"

#include "os/DisplayServer.h"
#include "os/RunGuarded.h"
#include "os/Services.h"
#include "raster/Colour.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The window that holds the form: at the screen's top-left corner, covered
// entirely by the form, so it never paints anything of its own. Placed by
// itself, above everything, task bars and docks included: see
// kOwnPlacement.
QWidget *newFrame()
{
    auto *frame = new QWidget(nullptr, Qt::Window | kOwnPlacement);
    frame->setWindowTitle(QStringLiteral("Tavlin"));
    frame->setAttribute(Qt::WA_OpaquePaintEvent);
    frame->setAttribute(Qt::WA_NoSystemBackground);
    frame->move(0, 0);
    setDialogOwner(frame);
    markOwnWindow(*frame);
    return frame;
}

// Where the symbol template stands as designed, twips.
constexpr int kSymbolLeft = 1935;
constexpr int kSymbolTop = 2910;

} // namespace

TwipsScale screenTwipsScale(ScreenMetrics &screen)
{
    return TwipsScale { screen.twipsPerPixelX(), screen.twipsPerPixelY() };
}

QPoint symbolTemplatePosition(const TwipsScale &scale)
{
    return QPoint(scale.toPixelsX(kSymbolLeft), scale.toPixelsY(kSymbolTop));
}

MainForm::MainForm(const Services &services)
    : QWidget(newFrame())
    , Symbol(this, screenTwipsScale(*services.screen))
    , Bild(this, screenTwipsScale(*services.screen))
    , m_services(services)
    , m_scale(screenTwipsScale(*services.screen))
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

    connect(&Symbol, &ControlArray::clicked, this, [this](qint16 index) {
        runGuarded(m_services, [this, index] { emit symbolClick(index); });
    });
    placeDesign(Symbol.createFirst(), kSymbolLeft, kSymbolTop, 525, 540);
    placeDesign(Bild.createFirst(), 480, 3060, 1065, 780);
    ZwischenPic = createWorkPicture(1620, -60, Colour::rgb(224, 224, 224));
    DunkelPic = createWorkPicture(0, 0, Colour::Black);
    OriginalPic = createWorkPicture(1800, 1350, Colour::rgb(192, 192, 192));
}

MainForm::~MainForm()
{
    // The frame would delete the form with its other children: the form
    // leaves it first.
    QWidget *frame = parentWidget();
    frame->hide();
    setParent(nullptr);
    delete frame;
}

void MainForm::setVisible(bool visible)
{
    // The form first, so that the frame's window appears with the form in it.
    QWidget::setVisible(visible);
    parentWidget()->setVisible(visible);
}

// The frame covers the part of the form on the screen; the form's image
// reaches from the form's origin to that part's far corner. What would be
// drawn beyond it could never be seen, and an image of the form's full size
// would be three times the screen's.
void MainForm::fitFrame()
{
    const QRect visible = onScreen(rect());
    parentWidget()->resize(visible.size().expandedTo(QSize(1, 1)));
    resizeImage(std::max(visible.right() + 1, 1), std::max(visible.bottom() + 1, 1));
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
    fitFrame();
}

void MainForm::setHeight(double twips)
{
    resize(width(), std::max(m_scale.toPixelsY(twips), 1));
    fitFrame();
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
        waitUntilShown(*window(), 1000);
    }
    repaint(onScreen(rect()));
    waitForDisplayServer();
}

QRect MainForm::onScreen(const QRect &area) const
{
    // The form reaches past the screen; only the part on the screen can be
    // seen, so only that is painted and handed over.
    const QRect display = m_services.screen->geometry();
    if (display.isEmpty())
        return area;
    return area & QRect(mapFromGlobal(display.topLeft()), display.size());
}

void MainForm::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect area = onScreen(event->rect());
    painter.drawImage(area.topLeft(), image(), area);
    // Then the shown elements of Symbol and Bild, in their stacking order
    // (children() runs from the bottom up), as the window system would stack
    // them.
    for (QObject *child : children()) {
        const auto *box = qobject_cast<PictureBox *>(child);
        if (!box || !box->paintedByParent() || box->isHidden())
            continue;
        const QRect part = area & box->geometry();
        if (!part.isEmpty())
            box->paint(painter, box->pos(), part.translated(-box->pos()));
    }
}

void MainForm::deliverMouse(void (MainForm::*signal)(QPointF), QMouseEvent *event)
{
    event->accept();
    // Relative to the form, which sits at the screen's origin.
    const QPointF position = event->position();
    runGuarded(m_services, [&] { (this->*signal)(position); });
}

void MainForm::mousePressEvent(QMouseEvent *event)
{
    deliverMouse(&MainForm::mouseDown, event);
}

void MainForm::mouseMoveEvent(QMouseEvent *event)
{
    deliverMouse(&MainForm::mouseMove, event);
}

void MainForm::mouseReleaseEvent(QMouseEvent *event)
{
    deliverMouse(&MainForm::mouseUp, event);
}

void MainForm::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    runGuarded(m_services, [this] { emit dblClick(); });
}
