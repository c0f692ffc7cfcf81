#pragma once

#include "JetWriter.h"

#include <QSet>
#include <QStringList>

#include <vector>

// Language tables of 300 rows over several pages, with names beyond ASCII,
// as the damage campaign and the language table's fuzzer damage them, and
// what can be told of a name read from a damaged copy.
struct SampleTable
{
    QString title;
    JetWriter::Version version;
    QByteArray bytes;
    QSet<QString> names; // every name the table holds
    std::vector<bool> textByte; // whether a byte belongs to a text's own bytes
    std::vector<QString> rowTexts; // each row's texts one after the other
    int pageSize = 0;

    // Whether a name read from a damaged copy is one no reader could have
    // refused: one of the table's, empty (the overlay takes English, as for
    // null), or made of one row's own texts, re-split by a moved offset.
    bool explained(const QString &name, bool textChanged) const;
    bool reSplit(const QString &name) const;
};

// The table with these columns; the values follow from each column's name
// and type, "Name" holding the names.
SampleTable makeSampleTable(
    const QString &title, JetWriter::Version version, const QVector<JetWriter::Column> &columns);

// Ten tables: Jet 3 and Jet 4, five column layouts.
std::vector<SampleTable> sampleTables();
