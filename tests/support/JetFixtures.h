#pragma once

#include "JetWriter.h"

#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

// Jet database fixtures, made by the Jet writer (whose own test has mdbtools
// read back what it writes).

// Writes the writer's file to `path` (making folders); the calling test fails
// when it cannot. Returns `path`.
QString writeJetFile(const QString &path, const JetWriter &writer);

// Table LookupLanguages with the columns "Language" (Long Integer) and
// "Name" (Text 50) holding the given rows (an invalid QVariant is null).
JetWriter languageTableWriter(const std::vector<std::pair<QVariant, QVariant>> &rows,
    JetWriter::Version version = JetWriter::Version::Jet4);

// The two real Jet files made by the desktop database program, in tests/data/jet.
QString realJetFile(const char *name);
