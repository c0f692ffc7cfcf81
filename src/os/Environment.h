#pragma once

#include <QString>

// The value of a process environment variable, or the empty string when it is
// not set. Values of any length are returned whole.
QString environmentValue(const QString &name);
