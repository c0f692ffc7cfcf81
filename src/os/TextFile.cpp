#include "os/TextFile.h"

#include "semantics/AnsiText.h"

QStringList splitAnsiLines(const QByteArray &bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (bytes.at(i) != '\r')
            continue;
        lines.append(fromWindows1252(bytes.mid(start, i - start)));
        if (i + 1 < size && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(fromWindows1252(bytes.mid(start)));
    return lines;
}
