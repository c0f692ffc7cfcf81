#include "TsvRows.h"

#include <QStringDecoder>

#include <limits>

namespace {

bool isNumberColumn(JetWriter::ColumnType type)
{
    return type == JetWriter::ColumnType::LongInteger || type == JetWriter::ColumnType::Integer;
}

// A sign and decimal digits, nothing else: "1.5", "1e3", "0x10" or " 1" are
// not whole numbers, even where a lenient conversion would read one.
bool isWholeNumber(const QString &field)
{
    const qsizetype start
        = field.startsWith(QLatin1Char('-')) || field.startsWith(QLatin1Char('+'));
    if (field.size() == start)
        return false;
    for (qsizetype i = start; i < field.size(); ++i) {
        if (field.at(i).unicode() < '0' || field.at(i).unicode() > '9')
            return false;
    }
    return true;
}

} // namespace

bool addTsvRows(const QByteArray &utf8, JetWriter &writer, QString *error)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder(utf8);
    if (decoder.hasError()) {
        *error = QStringLiteral("the rows are not UTF-8 text");
        return false;
    }
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast(); // the newline that ends the last line

    const QVector<JetWriter::Column> &columns = writer.columns();
    QVector<JetWriter::Row> rows;
    for (qsizetype l = 0; l < lines.size(); ++l) {
        QString line = lines.at(l);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QStringList fields = line.split(QLatin1Char('\t'));
        JetWriter::Row row;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const QString &field = fields.at(i);
            const bool number = i < columns.size() && isNumberColumn(columns.at(i).type);
            if (field == QLatin1String("\\N") || (number && field.isEmpty())) {
                row.append(QVariant());
                continue;
            }
            if (!number) {
                row.append(field);
                continue;
            }
            const bool integer = columns.at(i).type == JetWriter::ColumnType::Integer;
            const qint64 low
                = integer ? std::numeric_limits<qint16>::min() : std::numeric_limits<qint32>::min();
            const qint64 high
                = integer ? std::numeric_limits<qint16>::max() : std::numeric_limits<qint32>::max();
            bool ok = isWholeNumber(field);
            const qint64 value = ok ? field.toLongLong(&ok, 10) : 0;
            if (!ok || value < low || value > high) {
                *error
                    = QStringLiteral("line %1, column %2: \"%3\" is no whole number that fits "
                                     "the %4 column %5")
                          .arg(l + 1)
                          .arg(i + 1)
                          .arg(field,
                              integer ? QStringLiteral("Integer") : QStringLiteral("Long Integer"),
                              columns.at(i).name);
                return false;
            }
            row.append(value);
        }
        rows.append(row);
    }
    for (const JetWriter::Row &row : rows)
        writer.addRow(row);
    return true;
}
