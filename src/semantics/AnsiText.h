#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252 ("ANSI") text, the code page the visualisation writes its
// description in. Bytes 0x80 to 0x9F carry the typographic characters (euro
// sign, quotes, dashes, Š, Ž, Ÿ ...); every other byte is its Latin-1 code
// point. The five bytes the code page leaves undefined map to the control code
// of the same value, as Windows does, so every byte survives a round trip.
QString fromWindows1252(const QByteArray &bytes);

// The reverse; a character outside the code page becomes "?".
QByteArray toWindows1252(const QString &text);

// True when the character exists in Windows-1252.
bool isWindows1252(QChar c);

// Upper-casing by the classic rule: each character maps to its single upper-case
// form when that form exists in Windows-1252, and stays as it is otherwise, so
// "ß" stays "ß" (Fußzeile becomes FUßZEILE) and "ÿ" becomes "Ÿ".
QString UCase(const QString &text);
