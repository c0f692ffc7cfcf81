#pragma once

#include "semantics/RuntimeError.h"

#include <QString>

// The run-time error a call raises, as its number followed by the path it
// names, if any; empty when the call raises none.
template<typename Call> QString errorOf(Call call)
{
    try {
        call();
    } catch (const RuntimeError &error) {
        const QString number = QString::number(error.number());
        return error.path().isEmpty() ? number : number + QLatin1Char(' ') + error.path();
    }
    return QString();
}
