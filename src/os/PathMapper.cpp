#include "os/PathMapper.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString wineDriveRoot(QChar drive)
{
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (prefix.isEmpty())
        prefix = QDir::homePath() + QStringLiteral("/.wine");
    const QString link
        = prefix + QStringLiteral("/dosdevices/") + drive.toLower() + QLatin1Char(':');
    const QFileInfo info(link);
    if (info.exists() && info.isDir())
        return info.canonicalFilePath();
    return QString();
}

// The entry of folder `base` named `name`, exactly or else ignoring case.
QString matchComponent(const QString &base, const QString &name)
{
    const QString exact
        = base.endsWith(QLatin1Char('/')) ? base + name : base + QLatin1Char('/') + name;
    if (name == QLatin1String(".") || name == QLatin1String("..") || QFileInfo::exists(exact))
        return exact;
    const QDir dir(base);
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return base.endsWith(QLatin1Char('/')) ? base + entry : base + QLatin1Char('/') + entry;
    }
    return exact;
}

} // namespace

QString mapWindowsPath(const QString &windowsPath)
{
    QString path = windowsPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));

    QString base;
    if (path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter()
        && path.at(0).unicode() < 128) {
        base = wineDriveRoot(path.at(0));
        if (base.isEmpty())
            base = QStringLiteral("/");
        path = path.mid(2);
    } else if (path.startsWith(QLatin1Char('/'))) {
        base = QStringLiteral("/");
    }

    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const bool relative = base.isEmpty();
    QString mapped = relative ? QStringLiteral(".") : base;
    for (const QString &part : parts)
        mapped = matchComponent(mapped, part);
    if (relative)
        mapped = parts.isEmpty() ? path : mapped.mid(2); // drop the "./" we started from
    return mapped;
}
