// Arbitrary text through Val and the Integer conversion that follows it.
#include "semantics/AnsiText.h"
#include "semantics/Arithmetic.h"
#include "semantics/RuntimeError.h"
#include "semantics/Val.h"

#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fromWindows1252(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    try {
        const double value = Val(text);
        if (!std::isfinite(value))
            __builtin_trap();
        Arithmetic::toInteger(value);
    } catch (const RuntimeError &error) {
        if (error.number() != 6)
            __builtin_trap();
    }
    return 0;
}
