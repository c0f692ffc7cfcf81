#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

QString TempFolder::write(const QString &name, const QByteArray &content) const
{
    const QString full = path() + QLatin1Char('/') + name;
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return full;
}

QString TempFolder::writeBmp(const QString &name, int width, int height, unsigned rgb) const
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(rgb));
    const QString full = write(name, QByteArray()); // its folders made
    image.save(full, "BMP");
    return full;
}

EnvironmentGuard::EnvironmentGuard(const char *name)
    : m_name(name)
    , m_old(qgetenv(name))
    , m_wasSet(qEnvironmentVariableIsSet(name))
{ }

EnvironmentGuard::~EnvironmentGuard()
{
    if (m_wasSet)
        qputenv(m_name.constData(), m_old);
    else
        qunsetenv(m_name.constData());
}
