#pragma once

#include <QByteArray>
#include <QStringList>

// Splits ANSI (Windows-1252) text into lines as sequential line input reads
// them: a line ends at CR LF or at a lone CR; a lone LF is part of the line;
// a last line without terminator is still a line. Empty input has no lines.
QStringList splitAnsiLines(const QByteArray &bytes);
