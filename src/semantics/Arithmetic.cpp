#include "semantics/Arithmetic.h"

#include "semantics/RuntimeError.h"

#include <cmath>
#include <limits>

namespace Arithmetic {

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return lower + 1.0;
    if (fraction < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

Integer toInteger(double value)
{
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        throw RuntimeError::overflow();
    return static_cast<Integer>(rounded);
}

Long toLong(double value)
{
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw RuntimeError::overflow();
    return static_cast<Long>(rounded);
}

Integer checkedInteger(qint64 value)
{
    if (value < -32768 || value > 32767)
        throw RuntimeError::overflow();
    return static_cast<Integer>(value);
}

Long checkedLong(qint64 value)
{
    if (value < std::numeric_limits<Long>::min() || value > std::numeric_limits<Long>::max())
        throw RuntimeError::overflow();
    return static_cast<Long>(value);
}

double divide(double numerator, double denominator)
{
    if (denominator == 0.0) {
        if (numerator == 0.0 || std::isnan(numerator))
            throw RuntimeError::overflow(); // 0 / 0 is error 6 in the classic runtime
        throw RuntimeError::divisionByZero();
    }
    const double result = numerator / denominator;
    if (!std::isfinite(result))
        throw RuntimeError::overflow();
    return result;
}

float toSingle(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > double(std::numeric_limits<float>::max()))
        throw RuntimeError::overflow();
    return static_cast<float>(value);
}

Long tickDifference(quint32 earlier, quint32 later)
{
    // Unsigned subtraction wraps correctly across the 49.7-day roll-over.
    return static_cast<Long>(later - earlier);
}

} // namespace Arithmetic
