#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

// Runs `work` in a forked child process and returns what it returned, sent
// back through a pipe. Nothing `work` does can harm the caller: when the
// child crashes, aborts, trips a sanitizer, exits otherwise than normally or
// is still running after `timeLimitMs` (it is then killed), the result is
// empty. The child is always reaped and both pipe ends closed before this
// returns.
//
// In the child only `work` runs, with standard output and error sent to
// /dev/null and the fault signals back at their default, so a fault ends it
// quietly; it never returns into the caller's code. `work` should keep to
// plain computation: the child has only the calling thread.
std::optional<QByteArray> runIsolated(const std::function<QByteArray()> &work, int timeLimitMs);
