#pragma once

#include <QString>
#include <QStringList>

class QImage;
struct DemoLayout;

// The help pages of the demo visualisation, one per help topic in German
// ("Deutsch") and English ("English"), under
// <installation>/Program/Help/Tavlin/<language>/<topic>.html, with a shared
// stylesheet (tavlin.css) and pictures (Bilder/) one folder up. Pages link to
// related topics; the alarm page also carries one link to the
// manufacturer's web site, which the help window is expected to refuse.
//
// The pages and the stylesheet are the files in tools/demovisu/help, built
// into the library as resources; the pictures are cut from the drawn screen.
// Every topic of the layout gets a page except "Wartung", the maintenance
// page, which is missing on purpose.

// The language folders.
QStringList demoHelpLanguages();

// The topic whose page is missing on purpose.
QString demoMissingTopic();

// Writes the pages into `helpFolder` (the ".../Program/Help/Tavlin" folder),
// with pictures cut from the drawn screen. False and `error` on failure.
bool writeDemoHelpPages(
    const QString &helpFolder, const DemoLayout &layout, const QImage &screen, QString *error);
