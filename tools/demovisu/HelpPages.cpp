#include "demovisu/HelpPages.h"

#include "demovisu/DemoLayout.h"
#include "symbols/HelpMark.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

namespace {

struct Text
{
    const char *title;
    const char *body; // HTML
};

struct Topic
{
    const char *name;
    Text german;
    Text english;
    const char *related; // topic names, separated by blanks
    const char *picture; // file in Bilder/, or nullptr
};

// clang-format off
const Topic kTopics[] = {
    { "Anlage",
      { "Abfülllinie 3 – Anlagenbild",
        "<p>Das Anlagenbild zeigt die Abfülllinie 3 von den Vorlagebehältern bis zum Auslaufband. "
        "Die Farben der Rohrleitungen zeigen, wo gerade Produkt fließt: <span class=\"flow\">blau</span> "
        "für fließendes Produkt, grau für stehende Leitungen.</p>"
        "<p>Pumpen und Ventile sind <span class=\"on\">grün</span>, wenn sie laufen bzw. offen sind, "
        "und grau oder weiß, wenn sie stehen bzw. geschlossen sind.</p>"
        "<p>Tippen Sie auf ein Hilfesymbol an einem Anlagenteil, um mehr darüber zu erfahren.</p>" },
      { "Filling line 3 – plant",
        "<p>The plant picture shows filling line 3 from the supply tanks to the outfeed conveyor. "
        "The colour of a pipe tells where product is flowing: <span class=\"flow\">blue</span> for "
        "flowing product, grey for idle pipes.</p>"
        "<p>Pumps and valves are <span class=\"on\">green</span> while they run or stand open, and grey "
        "or white while they are stopped or closed.</p>"
        "<p>Tap the help symbol of any part of the plant to learn more about it.</p>" },
      "Behaelter Pumpe Ventil Fuellstation Foerderband", "anlage.png" },
    { "Behaelter",
      { "Vorlagebehälter T1 und T2",
        "<p>T1 enthält das Grundwasser, T2 den Sirup. Das Schauglas in der Mitte zeigt den Füllstand "
        "in Prozent des Nutzvolumens (10 000 l).</p>"
        "<ul><li>Unter 40 % erscheint eine Warnung in der Meldeliste.</li>"
        "<li>Unter 10 % stoppt die Linie, damit die Pumpe nicht trocken läuft.</li></ul>" },
      { "Supply tanks T1 and T2",
        "<p>T1 holds the base water, T2 the syrup. The sight glass in the middle shows the level as a "
        "percentage of the working volume (10,000 l).</p>"
        "<ul><li>Below 40 % a warning appears in the alarm list.</li>"
        "<li>Below 10 % the line stops so that the pump never runs dry.</li></ul>" },
      "Fuellstand Pumpe Meldungen", nullptr },
    { "Fuellstand",
      { "Füllstandsanzeige",
        "<p>Das Feld unter jedem Behälter zeigt den Inhalt in Litern, gemessen von der Radarsonde im "
        "Behälterdeckel. Der Wert wird jede Sekunde aktualisiert.</p>"
        "<p>Weicht die Anzeige sichtbar vom Schauglas ab, melden Sie das der Instandhaltung.</p>" },
      { "Level display",
        "<p>The field below each tank shows its content in litres, measured by the radar probe in the "
        "tank lid. The value is updated every second.</p>"
        "<p>If the display clearly differs from the sight glass, report it to maintenance.</p>" },
      "Behaelter", nullptr },
    { "Ventil",
      { "Ventile V1 bis V3",
        "<p>V1 und V2 sind die Auslaufventile der Behälter, V3 sperrt die Leitung zum Füller. "
        "Ein grünes Ventil ist offen, ein weißes geschlossen.</p>"
        "<p>Im Automatikbetrieb schaltet die Steuerung die Ventile selbst. Im Handbetrieb öffnen oder "
        "schließen Sie ein Ventil durch Tippen auf sein Symbol; die Steuerung verhindert dabei, dass "
        "eine laufende Pumpe gegen ein geschlossenes Ventil fördert.</p>" },
      { "Valves V1 to V3",
        "<p>V1 and V2 are the outlet valves of the tanks, V3 shuts the line to the filler. A green "
        "valve is open, a white one closed.</p>"
        "<p>In automatic mode the control opens and closes the valves itself. In manual mode tap a "
        "valve to open or close it; the control never lets a running pump push against a closed "
        "valve.</p>" },
      "Pumpe Betriebsart Anlage", nullptr },
    { "Pumpe",
      { "Pumpen P1 und P2",
        "<p>P1 fördert das Produkt zum Füller, P2 wälzt den Sirup zwischen den Behältern um. "
        "Grün bedeutet: die Pumpe läuft.</p>"
        "<p>Eine Pumpe startet nur, wenn das Ventil davor offen ist und der Behälter mindestens 10 % "
        "Füllstand hat.</p>" },
      { "Pumps P1 and P2",
        "<p>P1 delivers the product to the filler, P2 circulates syrup between the tanks. Green means "
        "the pump is running.</p>"
        "<p>A pump starts only when the valve in front of it is open and its tank is at least 10 % "
        "full.</p>" },
      "Ventil Behaelter", nullptr },
    { "Fuellstation",
      { "Füller F1",
        "<p>Der Füller füllt die Flaschen mit sechs Füllventilen. Die Lampe am Kessel leuchtet grün, "
        "solange er produziert.</p>"
        "<p>Bei einem Flaschenstau hält der Füller an und meldet das in der Meldeliste. Beseitigen Sie "
        "den Stau nur bei geöffneter und gesicherter Schutztür, dann quittieren Sie die Meldung.</p>" },
      { "Filler F1",
        "<p>The filler fills the bottles through six filling valves. The lamp on the bowl is green "
        "while it produces.</p>"
        "<p>A bottle jam stops the filler and is reported in the alarm list. Clear the jam only with "
        "the guard door open and locked, then acknowledge the alarm.</p>" },
      "Quittieren Meldungen Foerderband", nullptr },
    { "Zaehler",
      { "Flaschenzähler",
        "<p>Der Zähler zeigt die Zahl der heute gefüllten und verschlossenen Flaschen. Er beginnt um "
        "0:00 Uhr wieder bei null.</p>" },
      { "Bottle counter",
        "<p>The counter shows how many bottles have been filled and capped today. It starts again at "
        "zero at midnight.</p>" },
      "Fuellstation Trend", nullptr },
    { "Foerderband",
      { "Auslaufband B1",
        "<p>Das Band bringt die gefüllten Flaschen zur Etikettiermaschine. Die Leistung steht rechts "
        "unter dem Band.</p>"
        "<p>Staut sich die Etikettiermaschine, läuft das Band langsamer; der Füller wird dann "
        "automatisch gedrosselt.</p>" },
      { "Outfeed conveyor B1",
        "<p>The conveyor carries the filled bottles to the labeller. Its output is shown below the "
        "belt on the right.</p>"
        "<p>When the labeller backs up, the belt slows down and the filler is throttled "
        "automatically.</p>" },
      "Fuellstation Zaehler", nullptr },
    { "Bedienung",
      { "Bedienfeld",
        "<p>Hier starten und stoppen Sie die Linie, wählen die Betriebsart und das Rezept und stellen "
        "die Dosierung ein.</p>"
        "<p>Die Bedienelemente sind nur nach der Anmeldung freigegeben.</p>" },
      { "Operation panel",
        "<p>Here you start and stop the line, choose the operating mode and the recipe, and set the "
        "dosing.</p>"
        "<p>The controls are enabled only after you have logged in.</p>" },
      "Start Stopp Betriebsart Rezept Anmeldung", "bedienung.png" },
    { "Start",
      { "Start",
        "<p>Startet die Linie in der gewählten Betriebsart. Die Anlage fährt in dieser Reihenfolge an: "
        "Auslaufband, Füller, Ventile, Pumpe P1.</p>"
        "<p>Der Start ist gesperrt, solange eine Störung nicht quittiert ist.</p>" },
      { "Start",
        "<p>Starts the line in the selected mode. The plant starts in this order: outfeed conveyor, "
        "filler, valves, pump P1.</p>"
        "<p>Start is locked while an alarm is not acknowledged.</p>" },
      "Stopp Quittieren Betriebsart", nullptr },
    { "Stopp",
      { "Stopp",
        "<p>Hält die Linie geordnet an: der Füller füllt die Flaschen im Karussell noch fertig, dann "
        "stehen Pumpen und Band. Das dauert etwa 20 Sekunden.</p>"
        "<p>Im Notfall benutzen Sie immer den roten Not-Halt-Taster an der Maschine, nicht diese "
        "Schaltfläche.</p>" },
      { "Stop",
        "<p>Stops the line in an orderly way: the filler completes the bottles in its carousel, then "
        "pumps and conveyor stop. This takes about 20 seconds.</p>"
        "<p>In an emergency always use the red emergency stop button on the machine, never this "
        "button.</p>" },
      "Start", nullptr },
    { "Quittieren",
      { "Quittieren",
        "<p>Bestätigt alle angezeigten Störungen. Eine Störung, deren Ursache noch besteht, erscheint "
        "sofort wieder.</p>" },
      { "Acknowledge",
        "<p>Confirms every alarm shown. An alarm whose cause is still present appears again at "
        "once.</p>" },
      "Meldungen Start", nullptr },
    { "Betriebsart",
      { "Betriebsart",
        "<p><b>Automatik</b>: die Steuerung führt die Linie nach dem gewählten Rezept.</p>"
        "<p><b>Hand</b>: Sie schalten Pumpen und Ventile einzeln, zum Beispiel beim Reinigen. Im "
        "Handbetrieb wird nicht produziert.</p>" },
      { "Operating mode",
        "<p><b>Automatic</b>: the control runs the line by the selected recipe.</p>"
        "<p><b>Manual</b>: you switch pumps and valves one by one, for instance while cleaning. "
        "Nothing is produced in manual mode.</p>" },
      "Ventil Pumpe Start", nullptr },
    { "Rezept",
      { "Rezept",
        "<p>Das Rezept legt Getränk, Flaschengröße und die Sollwerte der Dosierung fest. Wählen Sie es "
        "aus der Liste; ein neues Rezept wird erst beim nächsten Start wirksam.</p>"
        "<p>Unter dem Feld stehen die Chargennummer und der Freigabestand.</p>" },
      { "Recipe",
        "<p>The recipe sets the drink, the bottle size and the dosing setpoints. Choose it from the "
        "list; a new recipe takes effect at the next start.</p>"
        "<p>The batch number and the approval state are shown below the field.</p>" },
      "Dosierung Sollwert", nullptr },
    { "Dosierung",
      { "Dosierung",
        "<p>Die Dosierung mischt Grundwasser, Sirup und CO<sub>2</sub> im Verhältnis des Rezepts. "
        "Die drei Sollwerte kommen aus dem Rezept und dürfen innerhalb der Freigabegrenzen angepasst "
        "werden.</p>" },
      { "Dosing",
        "<p>Dosing mixes base water, syrup and CO<sub>2</sub> in the ratio of the recipe. The three "
        "setpoints come from the recipe and may be adjusted within the approved limits.</p>" },
      "Sollwert Uebernehmen Rezept", nullptr },
    { "Sollwert",
      { "Sollwerte",
        "<p>Tippen Sie auf ein Feld, um den Wert über die Bildschirmtastatur zu ändern. Werte außerhalb "
        "der Grenzen des Rezepts werden rot angezeigt und nicht angenommen.</p>"
        "<p>Geänderte Werte gelten erst nach <a href=\"Uebernehmen.html\">Übernehmen</a>.</p>" },
      { "Setpoints",
        "<p>Tap a field to change its value with the on-screen keyboard. Values outside the recipe's "
        "limits turn red and are not accepted.</p>"
        "<p>Changed values apply only after <a href=\"Uebernehmen.html\">Apply setpoints</a>.</p>" },
      "Dosierung Uebernehmen", nullptr },
    { "Uebernehmen",
      { "Sollwerte übernehmen",
        "<p>Schreibt die geänderten Sollwerte in die Steuerung. Jede Änderung wird mit Ihrem Namen im "
        "Chargenprotokoll vermerkt.</p>" },
      { "Apply setpoints",
        "<p>Writes the changed setpoints to the control. Every change is recorded with your name in "
        "the batch record.</p>" },
      "Sollwert Anmeldung", nullptr },
    { "Trend",
      { "Trend",
        "<p>Der Trend zeigt die letzten 30 Minuten: die Füllstände von T1 und T2 und den Durchfluss zum "
        "Füller, jeweils in Prozent.</p>"
        "<p>Ein gleichmäßiger Verlauf ist normal; Sprünge deuten auf Stillstände oder Rezeptwechsel "
        "hin.</p>" },
      { "Trend",
        "<p>The trend shows the last 30 minutes: the levels of T1 and T2 and the flow to the filler, "
        "each in percent.</p>"
        "<p>Smooth curves are normal; jumps point to stoppages or recipe changes.</p>" },
      "Behaelter Zaehler", nullptr },
    { "Meldungen",
      { "Meldungen",
        "<p>Die Liste zeigt die neuesten Meldungen oben. Das Farbfeld gibt die Art an:</p>"
        "<ul><li><span class=\"alarm\">Rot</span>: Störung, die Linie steht.</li>"
        "<li><span class=\"warn\">Gelb</span>: Warnung, die Linie läuft weiter.</li>"
        "<li><span class=\"on\">Grün</span>: Hinweis.</li></ul>"
        "<p>Eine nicht quittierte Störung ist hinterlegt. Hilfe zu jeder Meldung finden Sie im "
        "<a href=\"https://www.example.com/kalvo/service\">Serviceportal des Herstellers</a>.</p>" },
      { "Alarms and messages",
        "<p>The list shows the newest messages at the top. The colour box tells their kind:</p>"
        "<ul><li><span class=\"alarm\">Red</span>: alarm, the line has stopped.</li>"
        "<li><span class=\"warn\">Yellow</span>: warning, the line keeps running.</li>"
        "<li><span class=\"on\">Green</span>: information.</li></ul>"
        "<p>An alarm not yet acknowledged is highlighted. Help on every message is in the "
        "<a href=\"https://www.example.com/kalvo/service\">manufacturer's service portal</a>.</p>" },
      "Quittieren Fuellstation", nullptr },
    { "Uhrzeit",
      { "Datum und Uhrzeit",
        "<p>Die Uhr der Anlage. Alle Meldungen und das Chargenprotokoll tragen diese Zeit. Sie wird "
        "jede Nacht mit dem Zeitserver des Werks abgeglichen.</p>" },
      { "Date and time",
        "<p>The plant's clock. All messages and the batch record carry this time. It is synchronised "
        "with the factory's time server every night.</p>" },
      "Meldungen", nullptr },
    { "Anmeldung",
      { "Anmeldung",
        "<p>Zeigt, wer angemeldet ist. Tippen Sie darauf und halten Sie Ihre Karte an den Leser, um "
        "sich an- oder abzumelden.</p>"
        "<p>Ohne Anmeldung können Sie alles ansehen, aber nichts verstellen.</p>" },
      { "Login",
        "<p>Shows who is logged in. Tap it and hold your badge to the reader to log in or out.</p>"
        "<p>Without logging in you can look at everything but change nothing.</p>" },
      "Bedienung", nullptr },
    { "Navigation",
      { "Bildauswahl",
        "<p>Mit den Schaltflächen der Fußzeile wechseln Sie zwischen den Bildern der Visualisierung. "
        "Das aktuelle Bild ist hell hinterlegt.</p>" },
      { "Screen selection",
        "<p>The footer buttons switch between the screens of the visualisation. The current screen is "
        "highlighted.</p>" },
      "Fusszeile Meldungen Trend", nullptr },
    { "Fusszeile",
      { "Fußzeile und Hilfe",
        "<p>Die Fußzeile trägt die Bildauswahl. Das Dreieck links oben in der Fußzeile ist die "
        "Hilfe-Schaltfläche: ein Tipp darauf zeigt diese Hilfesymbole, ein weiterer Tipp schließt die "
        "Hilfe wieder.</p>" },
      { "Footer and help",
        "<p>The footer holds the screen selection. The triangle in the top-left corner of the footer "
        "is the help button: tap it to show these help symbols, tap it again to close help.</p>" },
      "Navigation", "fusszeile.png" },
};
// clang-format on

const Topic *findTopic(const QString &name)
{
    for (const Topic &topic : kTopics)
        if (QLatin1String(topic.name) == name)
            return &topic;
    return nullptr;
}

const char kStyleSheet[] = R"(/* Help pages of the Kalvo operator panel */
body {
    margin: 0;
    font-family: "DejaVu Sans", Verdana, Arial, sans-serif;
    font-size: 15px;
    line-height: 1.45;
    color: #1a1e24;
    background: #f4f6f8;
}
header {
    display: flex;
    align-items: center;
    gap: 12px;
    padding: 10px 18px;
    background: linear-gradient(#2e5a8a, #1b3557);
    color: #fff;
}
header h1 { margin: 0; font-size: 21px; font-weight: bold; }
header img { width: 36px; height: 36px; }
main { padding: 6px 18px; }
main img.picture { display: block; max-width: 100%; margin: 10px 0; border: 1px solid #788290; }
nav.related { margin: 8px 18px; padding: 6px 12px; background: #e2e7ec; border-left: 4px solid #2e5a8a; }
nav.related h2 { margin: 0 0 4px 0; font-size: 14px; }
nav.related ul { margin: 0; padding-left: 18px; }
a { color: #1d5fa8; }
.flow { color: #3a7bd5; font-weight: bold; }
.on { color: #238a3b; font-weight: bold; }
.warn { color: #a07c00; font-weight: bold; }
.alarm { color: #c02f2f; font-weight: bold; }
footer { margin-top: 12px; padding: 6px 18px; font-size: 12px; color: #5a646e; border-top: 1px solid #c8d0d8; }
)";

QString escaped(const char *text)
{
    return QString::fromUtf8(text).toHtmlEscaped();
}

QString page(const Topic &topic, bool german)
{
    const Text &text = german ? topic.german : topic.english;
    QString html;
    html
        += QStringLiteral("<!DOCTYPE html>\n<html lang=\"%1\">\n<head>\n<meta charset=\"utf-8\">\n")
               .arg(german ? QStringLiteral("de") : QStringLiteral("en"));
    html += QStringLiteral("<title>%1</title>\n").arg(escaped(text.title));
    html += QStringLiteral("<link rel=\"stylesheet\" href=\"../tavlin.css\">\n</head>\n<body>\n");
    html += QStringLiteral(
        "<header><img src=\"../Bilder/hilfe.png\" alt=\"\"><h1>%1</h1></header>\n")
                .arg(escaped(text.title));
    html += QStringLiteral("<main>\n");
    if (topic.picture)
        html += QStringLiteral("<img class=\"picture\" src=\"../Bilder/%1\" alt=\"%2\">\n")
                    .arg(QLatin1String(topic.picture), escaped(text.title));
    html += QString::fromUtf8(text.body) + QStringLiteral("\n</main>\n");

    const QStringList related
        = QString::fromLatin1(topic.related).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (!related.isEmpty()) {
        html += QStringLiteral("<nav class=\"related\"><h2>%1</h2><ul>\n")
                    .arg(german ? QStringLiteral("Siehe auch") : QStringLiteral("See also"));
        for (const QString &name : related) {
            const Topic *other = findTopic(name);
            if (other)
                html
                    += QStringLiteral("<li><a href=\"%1.html\">%2</a></li>\n")
                           .arg(name, escaped(german ? other->german.title : other->english.title));
        }
        html += QStringLiteral("</ul></nav>\n");
    }
    html += QStringLiteral("<footer>%1</footer>\n</body>\n</html>\n")
                .arg(german ? QStringLiteral("Abfülllinie 3 · Kalvo HMI 4.2")
                            : QStringLiteral("Filling line 3 · Kalvo HMI 4.2"));
    return html;
}

bool save(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString());
    return false;
}

bool savePicture(const QString &fileName, const QImage &image, QString *error)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    if (image.save(fileName, "PNG"))
        return true;
    if (error)
        *error = QStringLiteral("cannot write %1").arg(fileName);
    return false;
}

} // namespace

QStringList demoHelpLanguages()
{
    return { QStringLiteral("Deutsch"), QStringLiteral("English") };
}

QStringList demoHelpTopics()
{
    QStringList names;
    for (const Topic &topic : kTopics)
        names << QLatin1String(topic.name);
    return names;
}

QString demoMissingTopic()
{
    return QStringLiteral("Wartung");
}

QString demoExternalLink()
{
    return QStringLiteral("https://www.example.com/kalvo/service");
}

bool writeDemoHelpPages(
    const QString &helpFolder, const DemoLayout &layout, const QImage &screen, QString *error)
{
    const QDir folder(helpFolder);
    if (!save(folder.filePath(QStringLiteral("tavlin.css")), QByteArray(kStyleSheet), error))
        return false;

    // Pictures: the help mark for the page heads, and parts of the screen.
    const QString pictures = folder.filePath(QStringLiteral("Bilder"));
    // The badge keeps a clear background on the page's coloured head.
    const QRgb key = qRgb(255, 0, 255);
    QImage badge = drawHelpMark(36, key).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < badge.height(); ++y)
        for (int x = 0; x < badge.width(); ++x)
            if (badge.pixel(x, y) == key)
                badge.setPixel(x, y, qRgba(0, 0, 0, 0));
    if (!savePicture(pictures + QStringLiteral("/hilfe.png"), badge, error))
        return false;
    const auto cut = [&](const QString &name) {
        const DemoControl *control = layout.find(name);
        return control ? screen.copy(control->rect) : QImage();
    };
    const QImage footerCorner
        = screen.copy(0, layout.footerTop, layout.x(420), layout.height - layout.footerTop);
    if (!savePicture(
            pictures + QStringLiteral("/anlage.png"), cut(QStringLiteral("FraAnlage")), error)
        || !savePicture(
            pictures + QStringLiteral("/bedienung.png"), cut(QStringLiteral("FraBedienung")), error)
        || !savePicture(pictures + QStringLiteral("/fusszeile.png"), footerCorner, error))
        return false;

    for (const QString &language : demoHelpLanguages()) {
        const bool german = language == QLatin1String("Deutsch");
        for (const Topic &topic : kTopics) {
            const QString name = folder.filePath(
                language + QLatin1Char('/') + QLatin1String(topic.name) + QStringLiteral(".html"));
            if (!save(name, page(topic, german).toUtf8(), error))
                return false;
        }
    }
    return true;
}
