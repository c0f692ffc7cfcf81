#pragma once

#include <QImage>
#include <QString>

// Starts decoding the picture file a Windows path names on a thread of its
// own, when it is a bitmap in the plain layout (see readPlainBitmap): the
// program's start decodes its screenshot while the window system connection
// is made. The path is mapped here; the thread itself uses the C library
// only, so this may (and should) be called before the application object
// exists. Never fails; whatever goes wrong is left to LoadPicture.
void PrefetchPicture(const QString &windowsPath);

// The image the prefetch decoded, waiting for it if need be, when the file at
// nativePath is the one it read, unchanged: same device and inode, size, and
// times of change. Null otherwise. A prefetch is taken once.
QImage takePrefetchedPicture(const QString &nativePath);
