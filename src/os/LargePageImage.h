#pragma once

#include <QImage>

// A 32-bit image in memory aligned to and advised for large pages: a
// screen-sized image is then written and walked without thousands of page
// faults and address translations. Null for an image smaller than a large
// page, which the caller allocates as usual; std::bad_alloc when there is no
// memory for it.
QImage largePageImage(int width, int height, QImage::Format format);

// Readies the memory of one large-page image of this size ahead of need, on
// the calling thread: allocated, and its pages made, so that the next
// largePageImage of the same size takes it at once. Fails silently. Safe to
// call from any thread.
void prepareLargePageImage(int width, int height);
