#pragma once

#include <QString>

// Maps a Windows path, as the program builds it by plain concatenation, onto
// this file system. The program keeps the Windows form for everything it
// shows; only file access goes through this function.
//
// - Backslashes become "/"; doubled separators are harmless.
// - A drive letter "X:" resolves through Wine's drive link
//   $WINEPREFIX/dosdevices/x: (~/.wine when WINEPREFIX is unset) when that
//   link exists; otherwise the drive stands for the root, so C:\Temp is /Temp.
// - Each component is matched exactly first and, failing that, without regard
//   to case (the visualisation writes names in whatever case it likes). A
//   component that matches nothing is kept as written.
// - A POSIX path ("/tmp/x") passes through, with the same component matching.
QString mapWindowsPath(const QString &windowsPath);
