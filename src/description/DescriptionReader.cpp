#include "description/DescriptionReader.h"

#include "description/TavlinModule.h"
#include "model/ScreenContext.h"
#include "model/VisuLayout.h"
#include "os/FileSystem.h"

namespace {

// Removes the first `marker` ("X=" or "Y=") and everything up to and including
// the next ";" from `tag`, returning the text between them. A marker without a
// ";" after it takes the rest of the tag.
QString cutMarker(QString &tag, QLatin1String marker)
{
    const qsizetype p = tag.indexOf(marker);
    if (p < 0)
        return QString();
    const qsizetype q = tag.indexOf(QLatin1Char(';'), p);
    if (q < 0) {
        const QString value = tag.mid(p + 2);
        tag.truncate(p);
        return value;
    }
    const QString value = tag.mid(p + 2, q - p - 2);
    tag = tag.left(p) + tag.mid(q + 1);
    return value;
}

} // namespace

void cutTag(HelpEntry &entry)
{
    entry.TagX = cutMarker(entry.Tag, QLatin1String("X="));
    entry.TagY = cutMarker(entry.Tag, QLatin1String("Y="));
    const qsizetype t = entry.Tag.indexOf(QLatin1String("T="));
    if (t >= 0)
        entry.Tag.remove(t, 2);
}

bool ReadDescription(ScreenContext &context, TavlinModule &module)
{
    const QString fileName = VisuLayout::descriptionFile(context.TempPfad);
    if (!Dir(fileName))
        return false;

    module.OpenIni(fileName, false);
    module.CloseIni();

    const QString global = QStringLiteral("Global");
    context.DispHInt = module.InputIniInteger(global, QStringLiteral("DispHInt"), false);
    context.VisuPfad = module.InputIniString(global, QStringLiteral("VisuPfad"), false);
    context.LanguageNumber = module.InputIniInteger(global, QStringLiteral("Language"), false);

    // Sections "0", "1", ... until the first one without a Name. The table has
    // slots up to 1000; sections beyond that are ignored.
    context.LastEntry = EntryTable::kSlots - 1;
    for (int n = 0; n < EntryTable::kSlots; ++n) {
        const QString s = QString::number(n);
        HelpEntry &entry = context.HelpEntries[static_cast<size_t>(n)];
        entry.Name = module.InputIniString(s, QStringLiteral("Name"), false);
        entry.Index = module.InputIniInteger(s, QStringLiteral("Index"), false);
        entry.Tag = module.InputIniString(s, QStringLiteral("Tag"), false);
        cutTag(entry);
        entry.Alignment = module.InputIniInteger(s, QStringLiteral("Alignment"), false);
        entry.Height = module.InputIniInteger(s, QStringLiteral("Height"), false);
        entry.Left = module.InputIniInteger(s, QStringLiteral("Left"), false);
        entry.Top = module.InputIniInteger(s, QStringLiteral("Top"), false);
        entry.Width = module.InputIniInteger(s, QStringLiteral("Width"), false);
        entry.ContainerName = module.InputIniString(s, QStringLiteral("ContainerName"), false);
        entry.ContainerIndex = module.InputIniInteger(s, QStringLiteral("ContainerIndex"), false);
        entry.ContainerPath = QStringLiteral(".");
        if (entry.Name.isEmpty()) {
            context.LastEntry = static_cast<qint16>(n - 1);
            break;
        }
    }
    return true;
}
