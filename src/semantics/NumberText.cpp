#include "semantics/NumberText.h"

#include <QLocale>
#include <cmath>

QString Str(qint64 value)
{
    const QString digits = QString::number(value);
    return value < 0 ? digits : QLatin1Char(' ') + digits;
}

QString Str(double value)
{
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return Str(static_cast<qint64>(value));
    // Up to 15 significant digits, no trailing zeros, as the classic runtime prints Doubles.
    QString text = QLocale::c().toString(std::fabs(value), 'g', 15);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    text.replace(QLatin1String("e+"), QLatin1String("E+"));
    text.replace(QLatin1String("e-"), QLatin1String("E-"));
    return (value < 0 ? QLatin1Char('-') : QLatin1Char(' ')) + text;
}

QString Trim(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}
