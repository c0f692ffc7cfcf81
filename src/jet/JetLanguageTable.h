#pragma once

#include "jet/LanguageTable.h"

#include <QByteArray>

// The language table read from the Access file itself, through libmdb.
//
// The file is read whole, read-only, into memory and closed again before
// libmdb sees a byte of it; libmdb then works on that copy only, so nothing is
// ever written and nothing stays open.
//
// libmdb is a C library that trusts the bytes it reads, and this file comes
// from outside. So the bytes are first checked as far as cheaply possible
// (size, header, version, encryption, the catalog's page; see JetFileCheck),
// and libmdb then runs in a forked child process that sends the rows back
// through a pipe. Whatever libmdb does on a damaged file - crash, abort, loop -
// only the child is lost: its death, a garbled answer or a child that takes
// longer than the time limit all count as a damaged file, and the overlay
// carries on.
class JetLanguageTable : public LanguageTable
{
public:
    LanguageTableResult read(const QString &windowsPath) override;

    // The same for a file's bytes already in memory.
    static LanguageTableResult readBytes(const QByteArray &bytes);

    // Files larger than this are not read (a language table is a few pages).
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
};
