#pragma once

#include <QImage>

// A 32-bit image of at least 2 MB, the size of a screen: null for a smaller
// one, which the caller allocates as usual; std::bad_alloc when there is no
// memory for it. One such image can be readied ahead of need.
QImage screenImage(int width, int height, QImage::Format format);

// Readies the memory of one screen image of this size ahead of need, on the
// calling thread: allocated, and each of its pages made, so that the next
// screenImage of the same size takes it at once instead of meeting a page
// fault every 4 KB while it is first written. Fails silently. Safe to call
// from any thread.
void prepareScreenImage(int width, int height);
