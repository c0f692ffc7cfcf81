#pragma once

#include "JetWriter.h"

// Table LookupLanguages holding the rows (an invalid QVariant is null), with
// the columns "Language" (Long Integer) and "Name" (Text 50) unless others
// are given. The Jet writer's own test has mdbtools read back what it writes.
JetWriter languageTableWriter(const QVector<JetWriter::Row> &rows,
    JetWriter::Version version = JetWriter::Version::Jet4,
    const QVector<JetWriter::Column> &columns
    = { { QStringLiteral("Language"), JetWriter::ColumnType::LongInteger },
        { QStringLiteral("Name"), JetWriter::ColumnType::Text } });
