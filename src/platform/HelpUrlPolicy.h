#pragma once

#include <QString>
#include <QUrl>

// The file URL of a help page named by a Windows path.
QUrl helpPageUrl(const QString &windowsPath);

// The lock that keeps the help view on the help pages: only file URLs naming
// something inside one folder pass. Symbolic links and ".." are resolved
// before the test, so neither leads out of the folder. Any other scheme
// (http, https, ftp, data, javascript, ...) is refused.
class HelpUrlPolicy
{
public:
    HelpUrlPolicy() = default; // refuses everything
    explicit HelpUrlPolicy(const QString &localFolder);

    bool allows(const QUrl &url) const;
    const QString &folder() const { return m_folder; }

private:
    QString m_folder; // canonical, without a trailing "/"; empty: nothing passes
};
