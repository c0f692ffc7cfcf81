#include "os/LargePageImage.h"

#include <cstdlib>
#include <mutex>
#include <new>
#include <sys/mman.h>

namespace {

constexpr size_t kLargePage = size_t(2) << 20;

// The bytes an image of this size takes, rounded up to whole large pages;
// 0 when it is smaller than one.
size_t largePageBytes(int width, int height)
{
    if (width <= 0 || height <= 0)
        return 0;
    const size_t bytes = size_t(width) * 4 * size_t(height);
    return bytes < kLargePage ? 0 : (bytes + kLargePage - 1) / kLargePage * kLargePage;
}

void *allocateLargePages(size_t bytes)
{
    void *data = std::aligned_alloc(kLargePage, bytes);
    if (data) {
#ifdef MADV_HUGEPAGE
        madvise(data, bytes, MADV_HUGEPAGE);
#endif
    }
    return data;
}

// The one block readied ahead of need.
struct Spare
{
    std::mutex lock;
    void *data = nullptr;
    size_t bytes = 0;
};

// Process-wide: one block readied ahead for whichever large image asks first.
Spare &spare()
{
    static Spare block;
    return block;
}

void *takeSpare(size_t bytes)
{
    Spare &block = spare();
    const std::lock_guard<std::mutex> hold(block.lock);
    if (!block.data || block.bytes != bytes)
        return nullptr;
    void *data = block.data;
    block.data = nullptr;
    return data;
}

void release(void *data)
{
    std::free(data);
}

} // namespace

QImage largePageImage(int width, int height, QImage::Format format)
{
    const size_t bytes = largePageBytes(width, height);
    if (bytes == 0)
        return QImage();
    void *data = takeSpare(bytes);
    if (!data)
        data = allocateLargePages(bytes);
    if (!data)
        throw std::bad_alloc();
    return QImage(
        static_cast<uchar *>(data), width, height, qsizetype(width) * 4, format, release, data);
}

void prepareLargePageImage(int width, int height)
{
    const size_t bytes = largePageBytes(width, height);
    void *data = bytes ? allocateLargePages(bytes) : nullptr;
    if (!data)
        return;
    // One byte per small page: each large page, or each small one where none
    // was to be had, is made (and cleared by the system) now.
    for (size_t at = 0; at < bytes; at += 4096)
        static_cast<volatile uchar *>(data)[at] = 0;
    Spare &block = spare();
    const std::lock_guard<std::mutex> hold(block.lock);
    std::free(block.data);
    block.data = data;
    block.bytes = bytes;
}
