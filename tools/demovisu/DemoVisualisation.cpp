#include "demovisu/DemoVisualisation.h"

#include "demovisu/BmpWriter.h"
#include "demovisu/DemoScreen.h"
#include "demovisu/DescriptionWriter.h"
#include "demovisu/FooterHelpButton.h"
#include "demovisu/HelpPages.h"
#include "demovisu/LanguageTable.h"
#include "gif/GifEncoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

bool makeFolder(const QString &path, QString *error)
{
    if (QDir().mkpath(path))
        return true;
    return fail(error, QStringLiteral("cannot create the folder %1").arg(path));
}

bool saveFile(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    return fail(error, QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString()));
}

// Wine's drive link, relative so that the whole root can be moved.
bool linkDriveC(const QString &root, QString *error)
{
    const QString devices = root + QStringLiteral("/wine/dosdevices");
    if (!makeFolder(devices, error))
        return false;
    const QString link = devices + QStringLiteral("/c:");
    const QFileInfo existing(link);
    if (existing.isSymLink() || existing.exists()) {
        if (existing.isSymLink()
            && existing.symLinkTarget()
                == QFileInfo(root + QStringLiteral("/drive_c")).absoluteFilePath())
            return true;
        if (!QFile::remove(link))
            return fail(error, QStringLiteral("cannot replace %1").arg(link));
    }
    if (!QFile::link(QStringLiteral("../../drive_c"), link))
        return fail(error, QStringLiteral("cannot create the drive link %1").arg(link));
    return true;
}

} // namespace

bool buildDemoVisualisation(const DemoOptions &options, DemoVisualisation *result, QString *error)
{
    if (options.displayWidth != 800 && options.displayWidth != 1280)
        return fail(error,
            QStringLiteral("the display width must be 800 or 1280, not %1")
                .arg(options.displayWidth));
    if (options.root.isEmpty())
        return fail(error, QStringLiteral("no folder given"));

    const QString root = QFileInfo(options.root).absoluteFilePath();
    DemoVisualisation demo;
    demo.winePrefix = root + QStringLiteral("/wine");
    demo.tempVisu = QStringLiteral("C:\\Temp");
    demo.visuPfad = QStringLiteral("C:\\Kalvo\\");
    demo.tempFolder = root + QStringLiteral("/drive_c/Temp/Kestrel");
    demo.visuFolder = root + QStringLiteral("/drive_c/Kalvo");
    demo.layout = demoLayout(options.displayWidth);
    demo.layout.twipsPerPixel = options.twipsPerPixel;

    if (!makeFolder(demo.tempFolder, error) || !makeFolder(demo.visuFolder, error)
        || !linkDriveC(root, error))
        return false;

    // Footer button images for both widths: one installation serves both.
    GifEncoder gif;
    const QString footerFolder = demo.visuFolder + QStringLiteral("/Standard/KalvoFußzeile");
    if (!makeFolder(footerFolder, error))
        return false;
    for (const int width : { 800, 1280 }) {
        const QString name = footerFolder + QStringLiteral("/KalvoFußzeileHelp_%1.gif").arg(width);
        if (!gif.write(footerHelpImage(width), name))
            return fail(error, gif.errorString());
    }

    // The screen as the visualisation shows it, and its description.
    const QImage screen = drawDemoScreen(demo.layout, footerHelpImage(options.displayWidth));
    if (!saveFile(demo.tempFolder + QStringLiteral("/TavlinScreen.bmp"), encodeBmp24(screen), error)
        || !saveFile(demo.tempFolder + QStringLiteral("/Tavlin.txt"),
            describeDemo(demo.layout, demo.visuPfad, options.language), error))
        return false;

    if (!writeDemoHelpPages(
            demo.visuFolder + QStringLiteral("/Program/Help/Tavlin"), demo.layout, screen, error))
        return false;

    const QString tools = demo.visuFolder + QStringLiteral("/Program/Tools");
    if (!makeFolder(tools, error))
        return false;
    if (!writeDemoLanguageTable(tools + QStringLiteral("/Languages.mdb"), error))
        return false;

    if (result)
        *result = demo;
    return true;
}
