#pragma once

#include <QtGlobal>

// The classic numeric types: Integer is 16-bit, Long 32-bit, and every
// arithmetic result or conversion that leaves the type's range raises
// run-time error 6 (Overflow) instead of wrapping. Conversions from floating
// point round to nearest with halves going to the even neighbour.
namespace Arithmetic {

using Integer = qint16;
using Long = qint32;

// Round to the nearest whole number, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double roundHalfEven(double value);

// CInt / CLng: round half to even, then range-check. NaN and infinities overflow.
Integer toInteger(double value);
Long toLong(double value);

// Range checks of an exact integral result.
Integer checkedInteger(qint64 value);
Long checkedLong(qint64 value);

inline Integer add(Integer a, Integer b) { return checkedInteger(qint64(a) + b); }
inline Integer sub(Integer a, Integer b) { return checkedInteger(qint64(a) - b); }
inline Integer mul(Integer a, Integer b) { return checkedInteger(qint64(a) * b); }
inline Long addLong(Long a, Long b) { return checkedLong(qint64(a) + b); }
inline Long subLong(Long a, Long b) { return checkedLong(qint64(a) - b); }
inline Long mulLong(Long a, Long b) { return checkedLong(qint64(a) * b); }

// A floating-point division as the runtime does it: x / 0 raises error 11,
// a result beyond the Double range raises error 6.
double divide(double numerator, double denominator);

// A Double stored into a Single: a value beyond the Single range overflows.
float toSingle(double value);

// Wrap-safe difference of two readings of a 32-bit millisecond tick counter.
Long tickDifference(quint32 earlier, quint32 later);

} // namespace Arithmetic
