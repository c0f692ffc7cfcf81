#include "os/ScreenImage.h"

#include <cstdlib>
#include <mutex>
#include <new>

namespace {

// Large pages (MADV_HUGEPAGE) were tried for these images and left: when the
// system's memory is fragmented, as after a panel's long uptime, the kernel
// compacts it at the first write, and the start stood still for 8 to 20 ms
// where small pages readied ahead cost nothing on the way to the first frame.
constexpr size_t kScreenSized = size_t(2) << 20;
constexpr size_t kSmallPage = 4096;

// The bytes an image of this size takes; 0 when it is smaller than a screen's.
size_t screenImageBytes(int width, int height)
{
    if (width <= 0 || height <= 0)
        return 0;
    const size_t bytes = size_t(width) * 4 * size_t(height);
    return bytes < kScreenSized ? 0 : bytes;
}

// The one block readied ahead of need.
struct Spare
{
    std::mutex lock;
    void *data = nullptr;
    size_t bytes = 0;
};

// Process-wide: one block readied ahead for whichever screen image asks first.
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

QImage screenImage(int width, int height, QImage::Format format)
{
    const size_t bytes = screenImageBytes(width, height);
    if (bytes == 0)
        return QImage();
    void *data = takeSpare(bytes);
    if (!data)
        data = std::malloc(bytes);
    if (!data)
        throw std::bad_alloc();
    return QImage(
        static_cast<uchar *>(data), width, height, qsizetype(width) * 4, format, release, data);
}

void prepareScreenImage(int width, int height)
{
    const size_t bytes = screenImageBytes(width, height);
    void *data = bytes ? std::malloc(bytes) : nullptr;
    if (!data)
        return;
    // One byte per page: each is made (and cleared by the system) now.
    for (size_t at = 0; at < bytes; at += kSmallPage)
        static_cast<volatile uchar *>(data)[at] = 0;
    Spare &block = spare();
    const std::lock_guard<std::mutex> hold(block.lock);
    std::free(block.data);
    block.data = data;
    block.bytes = bytes;
}
