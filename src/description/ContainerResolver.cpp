#include "description/ContainerResolver.h"

#include "model/HelpEntry.h"
#include "semantics/Arithmetic.h"

bool FindContainer(const EntryTable &table, int start, const QString &name, qint16 index,
    qint16 &left, qint16 &top, QString &path)
{
    for (int j = start - 1; j >= 0; --j) {
        const HelpEntry &candidate = table.HelpEntries[static_cast<size_t>(j)];
        if (candidate.Name == name && candidate.Index == index) {
            left = Arithmetic::add(left, candidate.Left);
            top = Arithmetic::add(top, candidate.Top);
            path = candidate.ContainerPath + QString::number(j) + QLatin1Char('.');
            return true;
        }
    }
    return false;
}

void ResolveContainers(EntryTable &table)
{
    for (int i = 0; i <= table.LastEntry; ++i) {
        HelpEntry &entry = table.HelpEntries[static_cast<size_t>(i)];
        if (entry.ContainerName.isEmpty())
            continue;
        qint16 left = entry.Left;
        qint16 top = entry.Top;
        QString path = entry.ContainerPath;
        if (FindContainer(table, i, entry.ContainerName, entry.ContainerIndex, left, top, path)) {
            entry.Left = left;
            entry.Top = top;
            entry.ContainerPath = path;
        } else {
            entry.ContainerPath = QStringLiteral("FALSE");
        }
    }
}
