#include "demovisu/DemoLayout.h"

namespace {

struct Builder
{
    DemoLayout &layout;

    DemoControl &add(DemoKind kind, const QString &name, int index, QRect designRect,
        const QString &container, int containerIndex, const QString &tag,
        const QString &caption = QString())
    {
        DemoControl control;
        control.kind = kind;
        control.name = name;
        control.index = index;
        control.rect
            = layout.rect(designRect.x(), designRect.y(), designRect.width(), designRect.height());
        control.container = container;
        control.containerIndex = containerIndex;
        control.tag = tag;
        control.caption = caption;
        layout.controls.push_back(control);
        return layout.controls.back();
    }
};

DemoControl &aligned(DemoControl &control, int alignment)
{
    control.hasAlignment = true;
    control.alignment = alignment;
    return control;
}

} // namespace

int DemoLayout::x(int designX) const
{
    return qRound(designX * (width / 1280.0));
}

int DemoLayout::y(int designY) const
{
    // The footer keeps its fixed top edge on either screen.
    if (designY == 916)
        return footerTop;
    return qRound(designY * (height / 1024.0));
}

QRect DemoLayout::rect(int designLeft, int designTop, int designWidth, int designHeight) const
{
    const int left = x(designLeft);
    const int top = y(designTop);
    return QRect(left, top, x(designLeft + designWidth) - left, y(designTop + designHeight) - top);
}

qreal DemoLayout::size(qreal designSize) const
{
    return designSize * (height / 1024.0);
}

const DemoControl *DemoLayout::find(const QString &name, int index) const
{
    for (const DemoControl &control : controls)
        if (control.name == name && control.index == index)
            return &control;
    return nullptr;
}

QString demoTopic(const QString &tag)
{
    QString topic = tag;
    for (const QLatin1String marker : { QLatin1String("X="), QLatin1String("Y=") }) {
        const qsizetype at = topic.indexOf(marker);
        if (at < 0)
            continue;
        const qsizetype end = topic.indexOf(QLatin1Char(';'), at);
        topic = end < 0 ? topic.left(at) : topic.left(at) + topic.mid(end + 1);
    }
    const qsizetype t = topic.indexOf(QLatin1String("T="));
    if (t >= 0)
        topic.remove(t, 2);
    return topic;
}

DemoLayout demoLayout(int displayWidth)
{
    DemoLayout layout;
    if (displayWidth == 800) {
        layout.width = 800;
        layout.height = 600;
        layout.footerTop = 537;
        layout.helpButtonSize = 41;
    }
    Builder b { layout };
    const QString none;
    const QString footer = QStringLiteral("Fußzeile");

    // Title bar: the logo is described but has no help page (empty tag). It
    // is not the first entry, whose symbol element would otherwise keep its
    // stored visibility and show as a blank square. The clock and the login button sit so close to
    // the top and right edges that their symbols have to be kept on the screen.
    aligned(b.add(DemoKind::Clock, QStringLiteral("LblUhrzeit"), -1, QRect(1004, 8, 148, 40), none,
                -1, QStringLiteral("Uhrzeit"), QStringLiteral("06.12.2026  14:32")),
        7);
    b.add(DemoKind::Logo, QStringLiteral("ImgLogo"), -1, QRect(12, 8, 120, 40), none, -1, QString(),
        QStringLiteral("KALVO"));
    aligned(
        b.add(DemoKind::LoginButton, QStringLiteral("CmdAnmeldung"), -1, QRect(1162, 8, 112, 40),
            none, -1, QStringLiteral("Anmeldung"), QStringLiteral("Operator")),
        4);

    // The plant schematic.
    const QString plant = QStringLiteral("FraAnlage");
    aligned(b.add(DemoKind::Frame, plant, -1, QRect(12, 68, 844, 540), none, -1,
                QStringLiteral("Anlage"), QStringLiteral("Filling line 3 - plant")),
        1);
    aligned(b.add(DemoKind::Tank, QStringLiteral("ImgTank"), 0, QRect(56, 122, 110, 196), plant, -1,
                QStringLiteral("T=Behaelter"), QStringLiteral("T1 Base")),
        -1)
        .state
        = 72;
    aligned(b.add(DemoKind::Tank, QStringLiteral("ImgTank"), 1, QRect(236, 122, 110, 196), plant,
                -1, QStringLiteral("T=Behaelter"), QStringLiteral("T2 Syrup")),
        -1)
        .state
        = 38;
    aligned(b.add(DemoKind::LevelLabel, QStringLiteral("LblFuellstand"), 0, QRect(56, 326, 110, 26),
                plant, -1, QStringLiteral("Fuellstand"), QStringLiteral("7 240 l")),
        7);
    aligned(
        b.add(DemoKind::LevelLabel, QStringLiteral("LblFuellstand"), 1, QRect(236, 326, 110, 26),
            plant, -1, QStringLiteral("Fuellstand"), QStringLiteral("1 520 l")),
        7);
    aligned(b.add(DemoKind::Valve, QStringLiteral("ImgVentil"), 0, QRect(93, 376, 36, 30), plant,
                -1, QStringLiteral("Y=C;Ventil"), QStringLiteral("V1")),
        7)
        .state
        = 1;
    aligned(b.add(DemoKind::Valve, QStringLiteral("ImgVentil"), 1, QRect(273, 376, 36, 30), plant,
                -1, QStringLiteral("Ventil"), QStringLiteral("V2")),
        4)
        .state
        = 0;
    b.add(DemoKind::Pump, QStringLiteral("ImgPumpe"), 0, QRect(404, 404, 58, 58), plant, -1,
         QStringLiteral("X=L;Pumpe"), QStringLiteral("P1"))
        .state
        = 1;
    b.add(DemoKind::Pump, QStringLiteral("ImgPumpe"), 1, QRect(404, 182, 58, 58), plant, -1,
         QStringLiteral("X=L;Y=C;T=Pumpe"), QStringLiteral("P2"))
        .state
        = 0;
    aligned(b.add(DemoKind::Valve, QStringLiteral("ImgVentil"), 2, QRect(508, 418, 36, 30), plant,
                -1, QStringLiteral("Y=C;Ventil"), QStringLiteral("V3")),
        1)
        .state
        = 1;
    b.add(DemoKind::Filler, QStringLiteral("ImgFueller"), -1, QRect(596, 268, 136, 206), plant, -1,
         QStringLiteral("X=12;Y=C;T=Fuellstation"), QStringLiteral("Filler F1"))
        .state
        = 1;
    aligned(b.add(DemoKind::Counter, QStringLiteral("LblZaehler"), -1, QRect(700, 104, 140, 56),
                plant, -1, QStringLiteral("Zaehler"), QStringLiteral("12480")),
        4);
    b.add(DemoKind::Conveyor, QStringLiteral("ImgFoerderband"), -1, QRect(36, 520, 800, 62), plant,
         -1, QStringLiteral("X=120;Foerderband"), QStringLiteral("Conveyor B1"))
        .state
        = 1;

    // The operation panel. The overlay raises each entry and then everything
    // nested in it, lower numbers on top, so a frame nested in another and
    // numbered before its contents would be raised above them by the outer
    // one and cover their symbols. Containers therefore nest one deep: the
    // recipe frame stands in the operation frame on the screen but is an
    // entry of its own, numbered before it so that it comes above it, and
    // holds the recipe's controls directly. The dosing frame, which only
    // surrounds some of them on the screen, is nested in it and numbered
    // after them, so that they end above its picture.
    const QString operation = QStringLiteral("FraBedienung");
    const QString recipe = QStringLiteral("FraRezept");
    aligned(b.add(DemoKind::Frame, recipe, -1, QRect(880, 226, 376, 370), none, -1,
                QStringLiteral("Rezept"), QStringLiteral("Recipe")),
        1);
    aligned(b.add(DemoKind::Combo, QStringLiteral("CboRezept"), -1, QRect(896, 254, 344, 30),
                recipe, -1, QStringLiteral("Rezept"), QStringLiteral("0815  Lemon 0.5 l PET")),
        4);
    const char *values[] = { "4.80 l/min", "0.62 l/min", "6.5 g/l" };
    for (int i = 0; i < 3; ++i) {
        DemoControl &field = aligned(b.add(DemoKind::Field, QStringLiteral("TxtSollwert"), i,
                                         QRect(1080, 334 + i * 44, 148, 30), recipe, -1,
                                         QStringLiteral("Y=C;Sollwert"), QLatin1String(values[i])),
            4);
        field.state = i; // which setpoint: its label stands left of the field
    }
    aligned(b.add(DemoKind::CommandButton, QStringLiteral("CmdUebernehmen"), -1,
                QRect(908, 520, 320, 46), recipe, -1, QStringLiteral("Uebernehmen"),
                QStringLiteral("Apply setpoints")),
        7)
        .state
        = 0;
    aligned(b.add(DemoKind::Frame, QStringLiteral("FraDosierung"), -1, QRect(892, 300, 352, 284),
                recipe, -1, QStringLiteral("Dosierung"), QStringLiteral("Dosing")),
        1);
    aligned(b.add(DemoKind::Frame, operation, -1, QRect(868, 68, 400, 540), none, -1,
                QStringLiteral("Bedienung"), QStringLiteral("Operation")),
        4);
    aligned(b.add(DemoKind::CommandButton, QStringLiteral("CmdBetrieb"), 0, QRect(884, 98, 118, 46),
                operation, -1, QStringLiteral("Start"), QStringLiteral("Start")),
        1)
        .state
        = 1;
    aligned(
        b.add(DemoKind::CommandButton, QStringLiteral("CmdBetrieb"), 1, QRect(1009, 98, 118, 46),
            operation, -1, QStringLiteral("Stopp"), QStringLiteral("Stop")),
        1)
        .state
        = 2;
    aligned(
        b.add(DemoKind::CommandButton, QStringLiteral("CmdBetrieb"), 2, QRect(1134, 98, 118, 46),
            operation, -1, QStringLiteral("Quittieren"), QStringLiteral("Acknowledge")),
        1)
        .state
        = 3;
    // No Alignment key at all: the description leaves it out.
    b.add(DemoKind::Option, QStringLiteral("OptBetriebsart"), 0, QRect(888, 158, 170, 26),
         operation, -1, QStringLiteral("Betriebsart"), QStringLiteral("Automatic"))
        .state
        = 1;
    b.add(DemoKind::Option, QStringLiteral("OptBetriebsart"), 1, QRect(888, 188, 170, 26),
         operation, -1, QStringLiteral("Betriebsart"), QStringLiteral("Manual"))
        .state
        = 0;

    // Trend and alarms. The trend frame's alignment is none of the codes,
    // so its symbol keeps the template position.
    const QString trend = QStringLiteral("FraTrend");
    const QString alarms = QStringLiteral("FraMeldungen");
    aligned(b.add(DemoKind::Frame, trend, -1, QRect(12, 620, 620, 284), none, -1,
                QStringLiteral("Trend"), QStringLiteral("Trend - last 30 minutes")),
        0);
    b.add(DemoKind::Trend, QStringLiteral("PicTrend"), -1, QRect(24, 648, 596, 244), trend, -1,
        QStringLiteral("X=300;Y=C;T=Trend"));
    aligned(b.add(DemoKind::Frame, alarms, -1, QRect(644, 620, 624, 284), none, -1,
                QStringLiteral("Meldungen"), QStringLiteral("Alarms and messages")),
        1);
    aligned(b.add(DemoKind::AlarmList, QStringLiteral("LstMeldungen"), -1,
                QRect(656, 648, 600, 244), alarms, -1, QStringLiteral("Meldungen")),
        4);

    // The footer with its navigation buttons; the maintenance page is left
    // out on purpose.
    aligned(b.add(DemoKind::Footer, footer, -1, QRect(0, 916, 1280, 108), none, -1,
                QStringLiteral("Fusszeile")),
        1);
    const char *pages[] = { "Overview", "Recipes", "Alarms", "Trends", "Reports", "Settings" };
    for (int i = 0; i < 6; ++i)
        aligned(b.add(DemoKind::FooterButton, QStringLiteral("CmdNavigation"), i,
                    QRect(96 + i * 152, 930, 142, 80), footer, -1, QStringLiteral("Navigation"),
                    QLatin1String(pages[i])),
            7)
            .state
            = i == 0 ? 1 : 0;
    aligned(
        b.add(DemoKind::FooterButton, QStringLiteral("CmdWartung"), -1, QRect(1122, 930, 154, 80),
            footer, -1, QStringLiteral("Wartung"), QStringLiteral("Maintenance")),
        4);
    return layout;
}
