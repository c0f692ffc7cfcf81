#pragma once

#include "JetWriter.h"

// Table LookupLanguages with the rows (invalid QVariant: null); by default the columns
// "Language" (Long Integer) and "Name" (Text 50).
inline JetWriter languageTableWriter(const QVector<JetWriter::Row> &rows,
    JetWriter::Version version = JetWriter::Version::Jet4,
    const QVector<JetWriter::Column> &columns
    = { { QStringLiteral("Language"), JetWriter::ColumnType::LongInteger },
        { QStringLiteral("Name"), JetWriter::ColumnType::Text } })
{
    JetWriter writer(version);
    writer.setTableName(QStringLiteral("LookupLanguages"));
    for (const JetWriter::Column &column : columns)
        writer.addColumn(column.name, column.type, column.textLength);
    for (const JetWriter::Row &row : rows)
        writer.addRow(row);
    return writer;
}
