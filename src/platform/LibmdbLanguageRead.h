#pragma once

#include "platform/LanguageTable.h"

#include <QByteArray>

// Reads table LookupLanguages out of a Jet file's bytes with libmdb, in this
// process. Only for bytes that passed checkJetFile, and only inside an
// isolated child (see JetLanguageTable): libmdb may crash on damaged files.
LanguageTableResult readLanguageTableWithLibmdb(QByteArray bytes);
