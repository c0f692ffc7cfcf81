#pragma once

#include "jet/LanguageTable.h"

#include <QByteArray>

// Reads table LookupLanguages out of a Jet file's bytes with libmdb, in this
// process. Only for bytes that passed checkJetFile, and only inside an
// isolated child (see JetLanguageTable): libmdb may crash on damaged files.
//
// Damage libmdb reads through without a word is a damaged file here: a row
// table or a row that contradicts the row layout (see JetRowLayout), a
// "Language" column that holds neither numbers nor text or a "Name" column
// that does not hold text, and a text of the two with a NUL inside, which
// libmdb would cut.
LanguageTableResult readLanguageTableWithLibmdb(QByteArray bytes);

// The same for any table and any two of its columns, read as "Language" and
// "Name" would be.
LanguageTableResult readTwoColumnsWithLibmdb(
    QByteArray bytes, const char *tableName, const char *languageColumn, const char *nameColumn);
