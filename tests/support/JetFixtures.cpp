#include "support/JetFixtures.h"

JetWriter languageTableWriter(const QVector<JetWriter::Row> &rows, JetWriter::Version version,
    const QVector<JetWriter::Column> &columns)
{
    JetWriter writer(version);
    writer.setTableName(QStringLiteral("LookupLanguages"));
    for (const JetWriter::Column &column : columns)
        writer.addColumn(column.name, column.type, column.textLength);
    for (const JetWriter::Row &row : rows)
        writer.addRow(row);
    return writer;
}
