#include "platform/HelpUrlPolicy.h"

#include "platform/PathMapper.h"

#include <QDir>
#include <QFileInfo>

QUrl helpPageUrl(const QString &windowsPath)
{
    return QUrl::fromLocalFile(QFileInfo(mapWindowsPath(windowsPath)).absoluteFilePath());
}

namespace {

// The real location of `path`: resolved through symbolic links as far as it
// exists, with the part that does not exist (yet) appended as written.
QString resolvedPath(const QString &path)
{
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList missing;
    for (;;) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        if (!canonical.isEmpty()) {
            if (missing.isEmpty())
                return canonical;
            return QDir::cleanPath(canonical + QLatin1Char('/') + missing.join(QLatin1Char('/')));
        }
        const int slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash < 0 || existing == QLatin1String("/"))
            return QString();
        missing.prepend(existing.mid(slash + 1));
        existing = slash == 0 ? QStringLiteral("/") : existing.left(slash);
    }
}

} // namespace

HelpUrlPolicy::HelpUrlPolicy(const QString &localFolder)
{
    if (localFolder.isEmpty())
        return;
    const QString canonical = QFileInfo(localFolder).canonicalFilePath();
    if (!canonical.isEmpty() && QFileInfo(canonical).isDir())
        m_folder = canonical == QLatin1String("/") ? QString() : canonical;
}

bool HelpUrlPolicy::allows(const QUrl &url) const
{
    if (m_folder.isEmpty() || !url.isValid() || !url.isLocalFile())
        return false;
    // A file URL with a host names a network share: not a local help page.
    if (!url.host().isEmpty())
        return false;
    const QString path = resolvedPath(url.toLocalFile());
    return path.startsWith(m_folder + QLatin1Char('/'));
}
