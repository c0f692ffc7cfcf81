#include "demovisu/HelpPages.h"

#include "demovisu/DemoLayout.h"
#include "symbols/HelpMark.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

namespace {

// Where the pages and the stylesheet lie among the library's resources.
const QString kPages = QStringLiteral(":/demohelp");

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

QString demoMissingTopic()
{
    return QStringLiteral("Wartung");
}

bool writeDemoHelpPages(
    const QString &helpFolder, const DemoLayout &layout, const QImage &screen, QString *error)
{
    const QDir folder(helpFolder);
    const QDir pages(kPages);
    int written = 0;
    for (QDirIterator it(kPages, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        QFile page(it.next());
        if (!page.open(QIODevice::ReadOnly)
            || !save(
                folder.filePath(pages.relativeFilePath(page.fileName())), page.readAll(), error))
            return false;
        ++written;
    }
    if (written == 0) {
        if (error)
            *error = QStringLiteral("the help pages are missing from the program");
        return false;
    }

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
    return savePicture(
               pictures + QStringLiteral("/anlage.png"), cut(QStringLiteral("FraAnlage")), error)
        && savePicture(
            pictures + QStringLiteral("/bedienung.png"), cut(QStringLiteral("FraBedienung")), error)
        && savePicture(pictures + QStringLiteral("/fusszeile.png"), footerCorner, error);
}
