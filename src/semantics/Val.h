#pragma once

#include <QString>

// The classic Val: the number at the start of a text.
// - blanks, tabs and line feeds are skipped wherever they stand ("1 2 8 0" is 1280);
// - an optional sign, digits with at most one "." (whatever the locale) and an
//   optional exponent introduced by "E" or "e" with its own optional sign;
// - "&H" and "&O" introduce hexadecimal and octal whole numbers, which are read
//   as a 16-bit value when they fit in 16 bits, else as a 32-bit value
//   ("&HFFFF" is -1, "&H10000" is 65536);
// - reading stops at the first character that cannot continue the number, and a
//   text with no number gives 0.
// A number too large for a Double, or a hexadecimal/octal one beyond 32 bits,
// raises run-time error 6.
double Val(const QString &text);
