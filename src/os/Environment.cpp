#include "os/Environment.h"

#include <QtGlobal>

QString environmentValue(const QString &name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('=')))
        return QString();
    return QString::fromLocal8Bit(qgetenv(name.toLocal8Bit().constData()));
}
