#pragma once

#include "JetWriter.h"

// Table LookupLanguages with the rows (invalid QVariant: null); by default the columns
// "Language" (Long Integer) and "Name" (Text 50).
JetWriter languageTableWriter(const QVector<JetWriter::Row> &rows,
    JetWriter::Version version = JetWriter::Version::Jet4,
    const QVector<JetWriter::Column> &columns
    = { { QStringLiteral("Language"), JetWriter::ColumnType::LongInteger },
        { QStringLiteral("Name"), JetWriter::ColumnType::Text } });
