#pragma once

#include "JetWriter.h"

#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

// Jet database fixtures. Every fixture a test uses is written by the Jet
// writer and then read back with mdbtools' own programs (mdb-tables,
// mdb-schema, mdb-export), which must list the table, its columns and
// exactly the rows written - a check by readers independent of ours.

// Writes the writer's file to `path` (making folders) and checks it with
// mdbtools; the calling test fails when either step fails. Returns `path`.
QString writeCheckedJetFile(const QString &path, const JetWriter &writer);

// Table LookupLanguages with the columns "Language" (Long Integer) and
// "Name" (Text 50) holding the given rows (an invalid QVariant is null).
JetWriter languageTableWriter(const std::vector<std::pair<QVariant, QVariant>> &rows,
    JetWriter::Version version = JetWriter::Version::Jet4);

// The two real Jet files made by the desktop database program, in tests/data/jet.
QString realJetFile(const char *name);
