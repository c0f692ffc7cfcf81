#pragma once

#include <QString>
#include <ostream>

// Readable failure messages for Qt strings (and lists of them) in GoogleTest assertions.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
