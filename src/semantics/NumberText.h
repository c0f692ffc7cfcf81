#pragma once

#include <QString>

// Number-to-text as the classic Str does it: a non-negative number gets a
// leading blank where the minus sign would stand (Str(800) is " 800",
// Str(-5) is "-5"); fractions drop the leading zero (" .625").
QString Str(qint64 value);
QString Str(double value);

// Trim: removes leading and trailing blanks (spaces only, as the classic
// function does; tabs stay).
QString Trim(const QString &text);
