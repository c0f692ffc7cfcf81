#pragma once

#include <QString>
#include <functional>

class RuntimeError;
struct Services;

// The standard run-time error message: "Run-time error 'N':" and the
// description, and for file errors the file as the program named it.
QString standardErrorText(const RuntimeError &error);

// The one guard around every event handler and the start-up sequence: an error
// raised inside is shown with the standard run-time error message (titled
// "Tavlin") and ends the program; a requested program end (ProgramEnded)
// unwinds silently. Nothing escapes into Qt's event loop. Returns false when
// the handler did not run to its end.
bool runGuarded(const Services &services, const std::function<void()> &handler);
