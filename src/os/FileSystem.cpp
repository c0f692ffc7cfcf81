#include "os/FileSystem.h"

#include "os/PathMapper.h"

#include <QFile>
#include <QFileInfo>

bool Dir(const QString &windowsPath)
{
    if (windowsPath.isEmpty())
        return false;
    const QFileInfo info(mapWindowsPath(windowsPath));
    return info.exists() && info.isFile() && !info.fileName().startsWith(QLatin1Char('.'));
}

std::optional<QByteArray> readWholeFile(const QString &windowsPath)
{
    QFile file(mapWindowsPath(windowsPath));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
}
