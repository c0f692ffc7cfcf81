#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Dir with normal attributes: true exactly when the Windows path names an
// existing regular file that is not hidden (on this platform: its name does
// not start with "."). A folder is not a file. "*" and "?" are ordinary
// characters here, never wildcards, so a path can only ever match itself.
bool Dir(const QString &windowsPath);

// The whole content of a file named by a Windows path, or nothing when it
// cannot be opened or read.
std::optional<QByteArray> readWholeFile(const QString &windowsPath);
