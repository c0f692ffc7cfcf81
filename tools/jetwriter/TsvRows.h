#pragma once

#include "JetWriter.h"

#include <QByteArray>
#include <QString>

// Adds the rows of tab-separated UTF-8 text to the writer, one row a line,
// values in the order of the writer's columns. "\N" is null, and so is an
// empty field of a number column; an empty field of a text column is an
// empty text. A number is a whole decimal number that fits its column.
//
// Nothing is read into what it is not: a field that is no such number, or
// text that is not UTF-8, is refused with its line and column (counted from
// 1) in `error`, and no row is added. A byte-order mark is a character like
// any other, so the writer refuses it at the start of a text.
bool addTsvRows(const QByteArray &utf8, JetWriter &writer, QString *error);
