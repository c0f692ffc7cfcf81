#pragma once

#include <QByteArray>

// The program writes nothing of its own, yet the libraries under it want a
// few folders: Qt a runtime folder (when XDG_RUNTIME_DIR is unset), the
// graphics driver (Mesa) a cache of compiled shaders, which would otherwise
// land under ~/.cache (and without which every help page compiles its
// shaders afresh, about 150 ms more per click on a software renderer), the
// browser engine its profile's folder, and every library the temporary
// folder (TMPDIR points into this folder for the run).
//
// They all go into one private folder of this run under the temporary folder
// (TMPDIR), made before the application object and removed when the program
// ends, however it ends: a small guardian process (a shell), started here,
// removes it as soon as the program's end closes the pipe between them, be it
// a crash or SIGKILL.
//
// Call before the application object and before any thread is started: both
// read TMPDIR and XDG_RUNTIME_DIR, which this sets.
void makeScratchFolder();

// The folder (empty when it could not be made), and one of its sub-folders,
// made on first use (empty when it could not be).
QByteArray scratchFolder();
QByteArray scratchSubfolder(const char *name);
