#include "demovisu/DemoScreen.h"

#include "demovisu/DemoLayout.h"
#include "demovisu/FooterHelpButton.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <algorithm>
#include <vector>

namespace {

const QColor kDesk(0xB4, 0xBE, 0xC8);
const QColor kPanel(0xD8, 0xDD, 0xE2);
const QColor kShadow(0x78, 0x82, 0x8C);
const QColor kLight(0xFF, 0xFF, 0xFF);
const QColor kText(0x1A, 0x1E, 0x24);
const QColor kFace(0xD4, 0xD0, 0xC8);
const QColor kRunning(0x2E, 0xAD, 0x4B);
const QColor kStopped(0x8C, 0x8C, 0x8C);
const QColor kAlarm(0xD2, 0x3C, 0x3C);
const QColor kWarning(0xE8, 0xC1, 0x3A);
const QColor kPipe(0x5F, 0x7A, 0x96);
const QColor kFlow(0x3A, 0x7B, 0xD5);
const QColor kFooter(0x8E, 0x99, 0xA5);

class Screen
{
public:
    Screen(QImage &image, const DemoLayout &layout)
        : m_painter(&image)
        , m_layout(layout)
    {
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    }

    void draw(const QImage &footerHelpImage, QImage &image);

private:
    QFont font(qreal designPixels, bool bold = false) const
    {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(qMax(7, qRound(m_layout.size(designPixels))));
        f.setBold(bold);
        return f;
    }
    int s(qreal design) const { return qMax(1, qRound(m_layout.size(design))); }
    QPoint at(int designX, int designY) const
    {
        return QPoint(m_layout.x(designX), m_layout.y(designY));
    }

    void text(
        const QRect &rect, const QString &words, int flags, const QColor &colour, const QFont &f)
    {
        m_painter.setFont(f);
        m_painter.setPen(colour);
        m_painter.drawText(rect, flags, words);
    }

    // Classic 3D edges: raised or sunken, two pixels wide.
    void bevel(const QRect &r, bool raised)
    {
        const QColor outerLight = raised ? kLight : kShadow;
        const QColor outerDark = raised ? QColor(0x40, 0x40, 0x40) : kLight;
        const QColor innerLight = raised ? QColor(0xEE, 0xEE, 0xEE) : QColor(0x40, 0x40, 0x40);
        const QColor innerDark = raised ? kShadow : QColor(0xEE, 0xEE, 0xEE);
        edge(r, outerLight, outerDark);
        edge(r.adjusted(1, 1, -1, -1), innerLight, innerDark);
    }
    void edge(const QRect &r, const QColor &topLeft, const QColor &bottomRight)
    {
        m_painter.setPen(topLeft);
        m_painter.drawLine(r.left(), r.top(), r.right(), r.top());
        m_painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
        m_painter.setPen(bottomRight);
        m_painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        m_painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
    }

    void titleBar();
    void pipes();
    void control(const DemoControl &c);
    void frame(const DemoControl &c);
    void tank(const DemoControl &c);
    void valve(const DemoControl &c);
    void pump(const DemoControl &c);
    void filler(const DemoControl &c);
    void conveyor(const DemoControl &c);
    void counter(const DemoControl &c);
    void commandButton(const DemoControl &c);
    void option(const DemoControl &c);
    void field(const DemoControl &c);
    void combo(const DemoControl &c);
    void trend(const DemoControl &c);
    void alarmList(const DemoControl &c);
    void footer(const DemoControl &c);
    void footerButton(const DemoControl &c);

    QPainter m_painter;
    const DemoLayout &m_layout;
};

void Screen::draw(const QImage &footerHelpImage, QImage &image)
{
    m_painter.fillRect(image.rect(), kDesk);
    titleBar();
    // Frames first, each before the smaller ones standing in it whatever
    // their order in the description, then the pipes inside the schematic,
    // then everything else in the order of the description, so inner
    // controls lie on their frames.
    std::vector<const DemoControl *> frames;
    for (const DemoControl &c : m_layout.controls)
        if (c.kind == DemoKind::Frame)
            frames.push_back(&c);
    const auto area
        = [](const DemoControl *c) { return qint64(c->rect.width()) * c->rect.height(); };
    std::stable_sort(frames.begin(), frames.end(),
        [&](const DemoControl *a, const DemoControl *b) { return area(a) > area(b); });
    for (const DemoControl *c : frames)
        control(*c);
    pipes();
    for (const DemoControl &c : m_layout.controls)
        if (c.kind != DemoKind::Frame)
            control(c);
    m_painter.end();
    drawFooterHelpButton(image, m_layout, footerHelpImage);
}

void Screen::titleBar()
{
    const QRect bar(0, 0, m_layout.width, m_layout.y(56));
    QLinearGradient shade(bar.topLeft(), bar.bottomLeft());
    shade.setColorAt(0.0, QColor(0x2E, 0x5A, 0x8A));
    shade.setColorAt(1.0, QColor(0x1B, 0x35, 0x57));
    m_painter.fillRect(bar, shade);
    m_painter.setPen(QColor(0x0E, 0x1E, 0x33));
    m_painter.drawLine(0, bar.bottom(), bar.right(), bar.bottom());
    text(QRect(at(150, 0), at(900, 56)), QStringLiteral("Filling line 3  \u2013  Overview"),
        Qt::AlignVCenter | Qt::AlignLeft, Qt::white, font(22, true));
    text(QRect(at(560, 0), at(990, 56)), QStringLiteral("Production  |  Shift B"),
        Qt::AlignVCenter | Qt::AlignRight, QColor(0xC8, 0xD8, 0xEA), font(14));
}

void Screen::control(const DemoControl &c)
{
    switch (c.kind) {
    case DemoKind::Logo: {
        m_painter.setRenderHint(QPainter::Antialiasing, true);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(Qt::white);
        m_painter.drawRoundedRect(QRectF(c.rect).adjusted(0.5, 0.5, -0.5, -0.5), s(6), s(6));
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        text(c.rect, c.caption, Qt::AlignCenter, QColor(0x1B, 0x35, 0x57), font(24, true));
        break;
    }
    case DemoKind::Clock:
        m_painter.fillRect(c.rect, QColor(0x12, 0x26, 0x40));
        bevel(c.rect, false);
        text(c.rect, c.caption, Qt::AlignCenter, QColor(0x9F, 0xE8, 0xFF), font(12, true));
        break;
    case DemoKind::LoginButton: {
        m_painter.fillRect(c.rect, kFace);
        bevel(c.rect, true);
        const QRect head(c.rect.left() + s(8), c.rect.top() + s(8), s(24), s(24));
        m_painter.setRenderHint(QPainter::Antialiasing, true);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(QColor(0x2E, 0x5A, 0x8A));
        m_painter.drawEllipse(QRectF(head).adjusted(s(6), 0, -s(6), -s(10)));
        m_painter.drawPie(QRectF(head).adjusted(0, s(12), 0, s(12)), 0, 180 * 16);
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        text(c.rect.adjusted(s(36), 0, 0, 0), c.caption, Qt::AlignVCenter | Qt::AlignLeft, kText,
            font(13, true));
        break;
    }
    case DemoKind::Frame:
        frame(c);
        break;
    case DemoKind::Tank:
        tank(c);
        break;
    case DemoKind::LevelLabel:
        m_painter.fillRect(c.rect, Qt::white);
        bevel(c.rect, false);
        text(c.rect, c.caption, Qt::AlignCenter, kText, font(14, true));
        break;
    case DemoKind::Valve:
        valve(c);
        break;
    case DemoKind::Pump:
        pump(c);
        break;
    case DemoKind::Filler:
        filler(c);
        break;
    case DemoKind::Conveyor:
        conveyor(c);
        break;
    case DemoKind::Counter:
        counter(c);
        break;
    case DemoKind::CommandButton:
        commandButton(c);
        break;
    case DemoKind::Option:
        option(c);
        break;
    case DemoKind::Combo:
        combo(c);
        break;
    case DemoKind::Field:
        field(c);
        break;
    case DemoKind::Trend:
        trend(c);
        break;
    case DemoKind::AlarmList:
        alarmList(c);
        break;
    case DemoKind::Footer:
        footer(c);
        break;
    case DemoKind::FooterButton:
        footerButton(c);
        break;
    }
}

// A group frame: etched border whose top line runs through the middle of
// the caption.
void Screen::frame(const DemoControl &c)
{
    const QRect r = c.rect;
    m_painter.fillRect(r, kPanel);
    const QFont f = font(14, true);
    const int captionHeight = QFontMetrics(f).height();
    const int line = r.top() + captionHeight / 2;
    const QRect box(r.left(), line, r.width(), r.bottom() - line + 1);
    edge(box, kShadow, kLight);
    edge(box.adjusted(1, 1, -1, -1), kLight, kShadow);
    const int captionWidth = QFontMetrics(f).horizontalAdvance(c.caption) + s(12);
    const QRect caption(r.left() + s(10), r.top(), captionWidth, captionHeight);
    m_painter.fillRect(caption, kPanel);
    text(caption, c.caption, Qt::AlignCenter, QColor(0x1B, 0x35, 0x57), f);
    if (c.name == QLatin1String("FraDosierung"))
        text(QRect(at(908, 476), at(1228, 506)), QStringLiteral("Mixing ratio   1 : 7.74"),
            Qt::AlignLeft | Qt::AlignVCenter, QColor(0x50, 0x58, 0x60), font(13));
}

void Screen::pipes()
{
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    const auto pipe = [this](const QVector<QPoint> &designPoints, bool flowing) {
        QPolygon points;
        for (const QPoint &p : designPoints)
            points << at(p.x(), p.y());
        QPen outer(kPipe, s(12), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        m_painter.setPen(outer);
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPolyline(points);
        QPen inner(flowing ? kFlow : QColor(0xB8, 0xC4, 0xD0), s(6), Qt::SolidLine, Qt::FlatCap,
            Qt::MiterJoin);
        m_painter.setPen(inner);
        m_painter.drawPolyline(points);
    };
    // Tank outlets down through V1 and V2 into the collector, to P1, V3 and
    // the filler; P2 circulates between the tanks.
    pipe({ QPoint(111, 316), QPoint(111, 470), QPoint(404, 470) }, true);
    pipe({ QPoint(291, 316), QPoint(291, 464) }, false);
    pipe({ QPoint(462, 433), QPoint(664, 433), QPoint(664, 474) }, true);
    pipe({ QPoint(346, 211), QPoint(404, 211) }, false);
    pipe({ QPoint(462, 211), QPoint(500, 211), QPoint(500, 98), QPoint(111, 98), QPoint(111, 122) },
        false);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

void Screen::tank(const DemoControl &c)
{
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = QRectF(c.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal cap = r.height() * 0.12;
    QPainterPath body;
    body.moveTo(r.left(), r.top() + cap);
    body.arcTo(QRectF(r.left(), r.top(), r.width(), 2 * cap), 180, -180);
    body.lineTo(r.right(), r.bottom() - cap);
    body.arcTo(QRectF(r.left(), r.bottom() - 2 * cap, r.width(), 2 * cap), 0, -180);
    body.closeSubpath();
    QLinearGradient steel(r.topLeft(), r.topRight());
    steel.setColorAt(0.0, QColor(0x8A, 0x96, 0xA2));
    steel.setColorAt(0.35, QColor(0xEE, 0xF2, 0xF5));
    steel.setColorAt(1.0, QColor(0x7A, 0x86, 0x92));
    m_painter.setPen(QPen(QColor(0x4A, 0x55, 0x60), s(2)));
    m_painter.setBrush(steel);
    m_painter.drawPath(body);

    // Level: the liquid in a window down the middle, with a scale.
    const QRectF glass(
        r.left() + r.width() * 0.3, r.top() + cap * 1.6, r.width() * 0.4, r.height() - cap * 3.2);
    m_painter.setPen(QPen(QColor(0x40, 0x48, 0x50), 1));
    m_painter.setBrush(QColor(0xF4, 0xF7, 0xFA));
    m_painter.drawRect(glass);
    const qreal level = glass.height() * c.state / 100.0;
    const QColor liquid = c.index == 1 ? QColor(0xD9, 0x90, 0x2B) : QColor(0x3C, 0x8D, 0xDE);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(liquid);
    m_painter.drawRect(QRectF(glass.left(), glass.bottom() - level, glass.width(), level));
    m_painter.setPen(QColor(0x30, 0x30, 0x30));
    for (int tick = 1; tick < 4; ++tick) {
        const qreal y = glass.bottom() - glass.height() * tick / 4.0;
        m_painter.drawLine(QPointF(glass.left() - s(6), y), QPointF(glass.left(), y));
    }
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    text(QRect(c.rect.left(), c.rect.top() + qRound(cap * 1.6), c.rect.width(), s(18)),
        c.caption.left(2), Qt::AlignLeft | Qt::AlignTop, kText, font(12, true));
    text(glass.toRect(), QStringLiteral("%1%").arg(c.state), Qt::AlignCenter,
        c.state >= 55 ? Qt::white : kText, font(12, true));
    text(QRect(c.rect.left(), c.rect.bottom() - qRound(cap * 2.2), c.rect.width(), s(16)),
        c.caption.mid(3), Qt::AlignHCenter | Qt::AlignTop, kText, font(11));
}

void Screen::valve(const DemoControl &c)
{
    const QRectF r = QRectF(c.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal bodyTop = r.top() + r.height() * 0.4;
    QPainterPath bow;
    bow.moveTo(r.left(), bodyTop);
    bow.lineTo(r.right(), r.bottom());
    bow.lineTo(r.right(), bodyTop);
    bow.lineTo(r.left(), r.bottom());
    bow.closeSubpath();
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
    m_painter.setBrush(c.state ? kRunning : Qt::white);
    m_painter.drawPath(bow);
    const qreal middle = r.center().x();
    m_painter.drawLine(
        QPointF(middle, r.top() + r.height() * 0.2), QPointF(middle, (bodyTop + r.bottom()) / 2));
    m_painter.drawRect(
        QRectF(r.left() + r.width() * 0.25, r.top(), r.width() * 0.5, r.height() * 0.2));
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

void Screen::pump(const DemoControl &c)
{
    const QRectF r = QRectF(c.rect).adjusted(1, 1, -1, -1);
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient shine(r.center() - QPointF(r.width() / 6, r.height() / 6), r.width() * 0.7);
    const QColor base = c.state ? kRunning : kStopped;
    shine.setColorAt(0.0, base.lighter(150));
    shine.setColorAt(1.0, base);
    m_painter.setPen(QPen(QColor(0x20, 0x20, 0x20), s(2)));
    m_painter.setBrush(shine);
    m_painter.drawEllipse(r);
    QPainterPath arrow;
    arrow.moveTo(r.left() + r.width() * 0.3, r.top() + r.height() * 0.22);
    arrow.lineTo(r.right() - r.width() * 0.12, r.center().y());
    arrow.lineTo(r.left() + r.width() * 0.3, r.bottom() - r.height() * 0.22);
    arrow.closeSubpath();
    m_painter.setBrush(Qt::white);
    m_painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
    m_painter.drawPath(arrow);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    text(QRect(c.rect.left(), c.rect.bottom() + s(2), c.rect.width(), s(16)), c.caption,
        Qt::AlignHCenter, kText, font(12, true));
}

void Screen::filler(const DemoControl &c)
{
    const QRect r = c.rect;
    // Machine body with a window, a bowl on top and six filling valves.
    QLinearGradient steel(r.topLeft(), r.topRight());
    steel.setColorAt(0.0, QColor(0x9A, 0xA6, 0xB2));
    steel.setColorAt(0.5, QColor(0xE4, 0xEA, 0xEF));
    steel.setColorAt(1.0, QColor(0x8A, 0x96, 0xA2));
    const QRect bowl(r.left() + r.width() / 6, r.top(), r.width() * 2 / 3, r.height() / 5);
    const QRect body(r.left(), bowl.bottom() + 1, r.width(), r.height() * 3 / 5);
    m_painter.setPen(QColor(0x40, 0x48, 0x50));
    m_painter.setBrush(steel);
    m_painter.drawRect(bowl.adjusted(0, 0, -1, -1));
    m_painter.drawRect(body.adjusted(0, 0, -1, -1));
    const QRect window = body.adjusted(s(12), s(26), -s(12), -s(12));
    m_painter.fillRect(window, QColor(0x1E, 0x2A, 0x36));
    for (int i = 0; i < 6; ++i) {
        const int x = window.left() + s(6) + i * (window.width() - s(12)) / 6;
        m_painter.fillRect(
            QRect(x, window.top(), s(8), window.height() / 2), QColor(0xB0, 0xBC, 0xC8));
        m_painter.fillRect(
            QRect(x + s(1), window.bottom() - s(24), s(6), s(24)), QColor(0x6E, 0xC6, 0x5A));
    }
    text(QRect(body.left(), body.top() + s(4), body.width(), s(18)), c.caption, Qt::AlignHCenter,
        kText, font(12, true));
    const QRect legs(
        r.left() + s(8), body.bottom() + 1, r.width() - s(16), r.bottom() - body.bottom());
    m_painter.fillRect(
        QRect(legs.left(), legs.top(), s(8), legs.height()), QColor(0x50, 0x5A, 0x64));
    m_painter.fillRect(
        QRect(legs.right() - s(8), legs.top(), s(8), legs.height()), QColor(0x50, 0x5A, 0x64));
    // Running lamp.
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setBrush(c.state ? kRunning : kStopped);
    m_painter.setPen(QColor(0x20, 0x20, 0x20));
    m_painter.drawEllipse(QPointF(bowl.right() - s(8), bowl.center().y()), s(5), s(5));
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

void Screen::conveyor(const DemoControl &c)
{
    const QRect r = c.rect;
    const QRect belt(r.left(), r.top() + r.height() * 2 / 3 - s(6), r.width(), s(14));
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    m_painter.setBrush(QColor(0x4A, 0x4F, 0x55));
    m_painter.drawRoundedRect(
        QRectF(belt).adjusted(0.5, 0.5, -0.5, -0.5), belt.height() / 2.0, belt.height() / 2.0);
    m_painter.setBrush(QColor(0xA0, 0xA8, 0xB0));
    for (int x = belt.left() + belt.height() / 2; x < belt.right(); x += s(40))
        m_painter.drawEllipse(
            QPointF(x, belt.center().y() + 0.5), belt.height() / 3.0, belt.height() / 3.0);
    // Bottles on the belt.
    const QColor glass(0x9C, 0xD8, 0x8C);
    for (int i = 0; i < 14; ++i) {
        const qreal x = belt.left() + s(30) + i * (r.width() - s(60)) / 13.0;
        const QRectF bottle(x - s(6), r.top() + s(4), s(12), belt.top() - r.top() - s(4));
        QPainterPath shape;
        shape.addRoundedRect(bottle.adjusted(0, bottle.height() * 0.35, 0, 0), s(3), s(3));
        shape.addRect(
            QRectF(bottle.center().x() - s(2.5), bottle.top(), s(5), bottle.height() * 0.4));
        m_painter.setPen(QPen(QColor(0x3E, 0x6E, 0x38), 1));
        m_painter.setBrush(glass);
        m_painter.drawPath(shape.simplified());
        m_painter.fillRect(
            QRectF(bottle.center().x() - s(3), bottle.top(), s(6), s(3)), QColor(0xC8, 0x28, 0x28));
    }
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    text(QRect(r.left(), belt.bottom() + 1, r.width() / 3, r.bottom() - belt.bottom()), c.caption,
        Qt::AlignLeft | Qt::AlignVCenter, kText, font(11, true));
    text(QRect(r.right() - r.width() / 3, belt.bottom() + 1, r.width() / 3,
             r.bottom() - belt.bottom()),
        QStringLiteral("18 400 bottles/h"), Qt::AlignRight | Qt::AlignVCenter, kText, font(11));
}

void Screen::counter(const DemoControl &c)
{
    m_painter.fillRect(c.rect, QColor(0x10, 0x18, 0x10));
    bevel(c.rect, false);
    const QRect inner = c.rect.adjusted(s(4), s(3), -s(4), -s(3));
    text(QRect(inner.left(), inner.top(), inner.width(), inner.height() / 3),
        QStringLiteral("Bottles today"), Qt::AlignLeft | Qt::AlignVCenter, QColor(0x9A, 0xC8, 0x9A),
        font(10));
    QFont digits = font(24, true);
    digits.setFamily(QStringLiteral("DejaVu Sans Mono"));
    text(QRect(
             inner.left(), inner.top() + inner.height() / 3, inner.width(), inner.height() * 2 / 3),
        c.caption, Qt::AlignRight | Qt::AlignVCenter, QColor(0x6C, 0xFF, 0x6C), digits);
}

void Screen::commandButton(const DemoControl &c)
{
    m_painter.fillRect(c.rect, kFace);
    bevel(c.rect, true);
    QColor accent;
    switch (c.state) {
    case 1:
        accent = kRunning;
        break;
    case 2:
        accent = kAlarm;
        break;
    case 3:
        accent = kWarning;
        break;
    default:
        accent = QColor(0x2E, 0x5A, 0x8A);
        break;
    }
    m_painter.fillRect(
        QRect(c.rect.left() + s(4), c.rect.bottom() - s(8), c.rect.width() - s(8), s(4)), accent);
    text(c.rect.adjusted(0, 0, 0, -s(6)), c.caption, Qt::AlignCenter, kText, font(14, true));
}

void Screen::option(const DemoControl &c)
{
    const int d = s(16);
    const QRectF dot(c.rect.left() + s(2), c.rect.center().y() - d / 2.0 + 0.5, d, d);
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(QPen(kShadow, 1));
    m_painter.setBrush(Qt::white);
    m_painter.drawEllipse(dot);
    if (c.state) {
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(kText);
        m_painter.drawEllipse(dot.adjusted(d / 3.5, d / 3.5, -d / 3.5, -d / 3.5));
    }
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    text(c.rect.adjusted(d + s(10), 0, 0, 0), c.caption, Qt::AlignLeft | Qt::AlignVCenter, kText,
        font(14));
}

void Screen::field(const DemoControl &c)
{
    static const char *const labels[] = { "Base water", "Syrup", "CO\u2082 dosage" };
    const QString label = QString::fromUtf8(labels[qBound(0, c.state, 2)]);
    text(QRect(m_layout.x(908), c.rect.top(), c.rect.left() - m_layout.x(908) - s(6),
             c.rect.height()),
        label, Qt::AlignLeft | Qt::AlignVCenter, kText, font(14));
    m_painter.fillRect(c.rect, Qt::white);
    bevel(c.rect, false);
    text(c.rect.adjusted(s(4), 0, -s(6), 0), c.caption, Qt::AlignRight | Qt::AlignVCenter, kText,
        font(14, true));
}

void Screen::combo(const DemoControl &c)
{
    m_painter.fillRect(c.rect, Qt::white);
    bevel(c.rect, false);
    const int button = c.rect.height() - s(4);
    const QRect arrowBox(
        c.rect.right() - s(2) - button + 1, c.rect.top() + s(2), button, c.rect.height() - s(4));
    m_painter.fillRect(arrowBox, kFace);
    bevel(arrowBox, true);
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(kText);
    const QPointF centre = QRectF(arrowBox).center();
    m_painter.drawPolygon(QPolygonF({ centre + QPointF(-s(5), -s(2)), centre + QPointF(s(5), -s(2)),
        centre + QPointF(0, s(4)) }));
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    text(c.rect.adjusted(s(8), 0, -button - s(4), 0), c.caption, Qt::AlignLeft | Qt::AlignVCenter,
        kText, font(14));
    // The batch line under the recipe field belongs to the recipe frame.
    text(QRect(c.rect.left(), c.rect.bottom() + s(2), c.rect.width(), s(14)),
        QStringLiteral("Batch 2026-341-07  \u00B7  approved"), Qt::AlignLeft | Qt::AlignVCenter,
        QColor(0x50, 0x58, 0x60), font(10));
}

void Screen::trend(const DemoControl &c)
{
    const QRect r = c.rect;
    m_painter.fillRect(r, QColor(0x14, 0x1C, 0x26));
    bevel(r, false);
    const QRect plot = r.adjusted(s(44), s(12), -s(12), -s(26));
    m_painter.setPen(QPen(QColor(0x34, 0x44, 0x56), 1, Qt::DotLine));
    for (int i = 0; i <= 4; ++i) {
        const int y = plot.top() + plot.height() * i / 4;
        m_painter.drawLine(plot.left(), y, plot.right(), y);
        text(QRect(r.left() + s(4), y - s(8), s(36), s(16)), QString::number(100 - i * 25),
            Qt::AlignRight | Qt::AlignVCenter, QColor(0x9A, 0xAA, 0xBA), font(10));
    }
    for (int i = 0; i <= 6; ++i) {
        const int x = plot.left() + plot.width() * i / 6;
        m_painter.drawLine(x, plot.top(), x, plot.bottom());
        if (i == 6)
            break; // the newest time would run into the border
        text(QRect(x - s(24), plot.bottom() + s(4), s(48), s(16)),
            QStringLiteral("14:%1").arg(2 + i * 5, 2, 10, QLatin1Char('0')), Qt::AlignCenter,
            QColor(0x9A, 0xAA, 0xBA), font(10));
    }
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    const struct
    {
        QColor colour;
        double base, swing, wave;
    } curves[] = { { QColor(0x4F, 0xC3, 0xF7), 0.72, 0.06, 3.1 },
        { QColor(0xFF, 0xB3, 0x47), 0.40, 0.10, 1.7 },
        { QColor(0x7C, 0xE0, 0x7C), 0.58, 0.03, 6.3 } };
    for (const auto &curve : curves) {
        QPolygonF points;
        for (int i = 0; i <= 120; ++i) {
            const double t = i / 120.0;
            const double value = curve.base
                + curve.swing * std::sin(t * curve.wave * 3.14159 + curve.base * 7)
                + 0.015 * std::sin(t * 47.0 * curve.wave);
            points << QPointF(
                plot.left() + t * plot.width(), plot.bottom() - value * plot.height());
        }
        m_painter.setPen(QPen(curve.colour, s(2)));
        m_painter.drawPolyline(points);
    }
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    text(QRect(plot.left() + s(6), plot.top() + s(2), plot.width(), s(16)),
        QStringLiteral("\u25A0 Tank T1 %    \u25A0 Tank T2 %    \u25A0 Flow %"),
        Qt::AlignLeft | Qt::AlignVCenter, QColor(0xDD, 0xE6, 0xEE), font(10));
}

void Screen::alarmList(const DemoControl &c)
{
    const QRect r = c.rect;
    m_painter.fillRect(r, Qt::white);
    bevel(r, false);
    const QRect inner = r.adjusted(s(2), s(2), -s(2), -s(2));
    const int row = s(26);
    const QRect header(inner.left(), inner.top(), inner.width(), row);
    m_painter.fillRect(header, kFace);
    edge(header, kLight, kShadow);
    const int timeWidth = s(150);
    const int stateWidth = s(26);
    text(header.adjusted(stateWidth + s(4), 0, 0, 0), QStringLiteral("Time"),
        Qt::AlignLeft | Qt::AlignVCenter, kText, font(12, true));
    text(header.adjusted(stateWidth + timeWidth, 0, 0, 0), QStringLiteral("Message"),
        Qt::AlignLeft | Qt::AlignVCenter, kText, font(12, true));
    const struct
    {
        QColor colour;
        const char *time;
        const char *message;
    } rows[] = {
        { kAlarm, "06.12. 14:31:52", "Filler F1: bottle jam at infeed star wheel" },
        { kWarning, "06.12. 14:27:10", "Tank T2: level below 40 %" },
        { kWarning, "06.12. 14:02:44", "CO2 pressure near lower limit" },
        { kRunning, "06.12. 13:58:03", "Recipe 0815 loaded by operator" },
        { kRunning, "06.12. 13:41:29", "Conveyor B1 started" },
        { kStopped, "06.12. 13:40:00", "Shift B logged in" },
        { kStopped, "06.12. 12:15:37", "Cleaning cycle finished" },
    };
    int y = header.bottom() + 1;
    bool first = true;
    for (const auto &line : rows) {
        if (y + row > inner.bottom())
            break;
        const QRect band(inner.left(), y, inner.width(), row);
        if (first)
            m_painter.fillRect(band, QColor(0xFF, 0xE4, 0xE0));
        m_painter.fillRect(
            QRect(band.left() + s(6), band.top() + s(6), row - s(12), row - s(12)), line.colour);
        text(band.adjusted(stateWidth + s(4), 0, 0, 0), QLatin1String(line.time),
            Qt::AlignLeft | Qt::AlignVCenter, kText, font(12));
        text(band.adjusted(stateWidth + timeWidth, 0, 0, 0), QLatin1String(line.message),
            Qt::AlignLeft | Qt::AlignVCenter, kText, font(12, first));
        m_painter.setPen(QColor(0xE0, 0xE4, 0xE8));
        m_painter.drawLine(band.left(), band.bottom(), band.right(), band.bottom());
        y += row;
        first = false;
    }
}

void Screen::footer(const DemoControl &c)
{
    QLinearGradient shade(c.rect.topLeft(), c.rect.bottomLeft());
    shade.setColorAt(0.0, kFooter.lighter(112));
    shade.setColorAt(1.0, kFooter.darker(108));
    m_painter.fillRect(c.rect, shade);
    m_painter.setPen(QColor(0x50, 0x5A, 0x64));
    m_painter.drawLine(c.rect.left(), c.rect.top(), c.rect.right(), c.rect.top());
    m_painter.setPen(QColor(0xDD, 0xE3, 0xE9));
    m_painter.drawLine(c.rect.left(), c.rect.top() + 1, c.rect.right(), c.rect.top() + 1);
    text(QRect(at(992, 940), at(1116, 1000)), QStringLiteral("Kalvo HMI 4.2\nLine 3"),
        Qt::AlignCenter, QColor(0x24, 0x2C, 0x34), font(11));
}

void Screen::footerButton(const DemoControl &c)
{
    const bool active = c.state == 1;
    m_painter.fillRect(c.rect, active ? QColor(0xF0, 0xF4, 0xF8) : kFace);
    bevel(c.rect, !active);
    // A small pictogram above the caption.
    const QRect icon(c.rect.center().x() - s(14), c.rect.top() + s(10), s(28), s(28));
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(QPen(QColor(0x2E, 0x5A, 0x8A), s(2.5)));
    m_painter.setBrush(Qt::NoBrush);
    const QRectF box = QRectF(icon).adjusted(s(2), s(2), -s(2), -s(2));
    if (c.name == QLatin1String("CmdWartung")) {
        m_painter.drawEllipse(box.adjusted(s(4), s(4), -s(4), -s(4)));
        for (int i = 0; i < 8; ++i) {
            const double angle = i * 3.14159 / 4;
            const QPointF centre = box.center();
            m_painter.drawLine(
                centre + QPointF(std::cos(angle), std::sin(angle)) * box.width() * 0.32,
                centre + QPointF(std::cos(angle), std::sin(angle)) * box.width() * 0.5);
        }
    } else {
        switch (c.index) {
        case 0:
            m_painter.drawRect(box);
            m_painter.drawLine(box.topLeft() + QPointF(0, box.height() / 3),
                box.topRight() + QPointF(0, box.height() / 3));
            break;
        case 1:
            m_painter.drawRect(box.adjusted(box.width() / 6, 0, -box.width() / 6, 0));
            for (int i = 1; i <= 3; ++i)
                m_painter.drawLine(
                    QPointF(box.left() + box.width() / 3, box.top() + i * box.height() / 4),
                    QPointF(box.right() - box.width() / 3, box.top() + i * box.height() / 4));
            break;
        case 2:
            m_painter.drawPolygon(QPolygonF(
                { QPointF(box.center().x(), box.top()), box.bottomRight(), box.bottomLeft() }));
            m_painter.drawLine(QPointF(box.center().x(), box.top() + box.height() * 0.35),
                QPointF(box.center().x(), box.top() + box.height() * 0.7));
            break;
        case 3:
            m_painter.drawPolyline(QPolygonF(
                { box.bottomLeft(), QPointF(box.left() + box.width() * 0.35, box.center().y()),
                    QPointF(box.left() + box.width() * 0.6, box.bottom() - box.height() * 0.3),
                    box.topRight() }));
            break;
        case 4:
            for (int i = 0; i < 3; ++i)
                m_painter.drawRect(QRectF(box.left() + i * box.width() / 3,
                    box.bottom() - (i + 1) * box.height() / 3, box.width() / 3 - s(2),
                    (i + 1) * box.height() / 3));
            break;
        default:
            m_painter.drawEllipse(box.adjusted(s(6), s(6), -s(6), -s(6)));
            m_painter.drawEllipse(box);
            break;
        }
    }
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    text(QRect(c.rect.left(), icon.bottom() + s(4), c.rect.width(),
             c.rect.bottom() - icon.bottom() - s(8)),
        c.caption, Qt::AlignHCenter | Qt::AlignTop, kText, font(13, true));
}

} // namespace

QImage drawDemoScreen(const DemoLayout &layout, const QImage &footerHelpImage)
{
    QImage image(layout.width, layout.height, QImage::Format_RGB32);
    Screen screen(image, layout);
    screen.draw(footerHelpImage, image);
    return image;
}
