#pragma once

#include <QByteArray>

// What can be checked of an Access (Jet) file before a reader parses it.
enum class JetFileKind {
    Jet3, // Access 97: 2048-byte pages
    Jet4, // Access 2000 to 2003: 4096-byte pages
    NotJet, // no Jet database header, or a version this program does not read
    Damaged // a Jet header, but the file cannot be whole (size, catalog page)
};

// Checks the header page (signature, version, unencrypted pages), that the
// size is a whole number of pages and that the catalog's definition page is
// where every Jet file keeps it.
JetFileKind checkJetFile(const QByteArray &bytes);
