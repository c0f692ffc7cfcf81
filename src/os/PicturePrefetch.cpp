#include "os/PicturePrefetch.h"

#include "memory/LargePageImage.h"
#include "os/PathMapper.h"
#include "os/PlainBitmap.h"

#include <QFile>
#include <optional>
#include <sys/stat.h>
#include <thread>

namespace {

// What tells one version of a file from another without reading it.
struct FileStamp
{
    dev_t device;
    ino_t inode;
    off_t size;
    timespec modified;
    timespec changed;

    bool operator==(const FileStamp &other) const
    {
        return device == other.device && inode == other.inode && size == other.size
            && modified.tv_sec == other.modified.tv_sec
            && modified.tv_nsec == other.modified.tv_nsec && changed.tv_sec == other.changed.tv_sec
            && changed.tv_nsec == other.changed.tv_nsec;
    }
};

std::optional<FileStamp> stampOf(const QString &nativePath)
{
    struct stat status;
    if (::stat(QFile::encodeName(nativePath).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileStamp { status.st_dev, status.st_ino, status.st_size, status.st_mtim,
        status.st_ctim };
}

// The one prefetch. What the worker writes is read only after it has been
// joined.
struct Prefetch
{
    std::thread worker;
    QImage image;
    std::optional<FileStamp> stamp;

    ~Prefetch()
    {
        if (worker.joinable())
            worker.join();
    }
};

Prefetch &prefetch()
{
    static Prefetch current;
    return current;
}

void decode(Prefetch &target, const QString &windowsPath)
{
    try {
        const QString nativePath = mapWindowsPath(windowsPath);
        const std::optional<FileStamp> before = stampOf(nativePath);
        QFile file(nativePath);
        if (!before || !file.open(QIODevice::ReadOnly))
            return;
        QImage image = readPlainBitmap(file);
        // Kept only when the file did not change while it was read.
        if (!image.isNull() && stampOf(nativePath) == before) {
            target.image = image;
            target.stamp = before;
            // The overlay's form image, the screen's size, which a screenshot
            // nearly always has, is allocated right after the picture is
            // taken; its memory is readied here too.
            prepareLargePageImage(image.width(), image.height());
        }
    } catch (...) {
        // Out of memory, or anything else: LoadPicture decodes the file itself.
    }
}

} // namespace

void PrefetchPicture(const QString &windowsPath)
{
    Prefetch &current = prefetch();
    if (current.worker.joinable())
        return;
    current.image = QImage();
    current.stamp.reset();
    try {
        current.worker = std::thread(decode, std::ref(current), windowsPath);
    } catch (const std::system_error &) {
        // No thread to be had: LoadPicture decodes the file itself.
    }
}

QImage takePrefetchedPicture(const QString &nativePath)
{
    Prefetch &current = prefetch();
    if (!current.worker.joinable())
        return QImage();
    current.worker.join();
    QImage image = std::move(current.image);
    current.image = QImage();
    // The same file (device and inode) as well as the same version of it.
    const bool unchanged = current.stamp && current.stamp == stampOf(nativePath);
    current.stamp.reset();
    return unchanged ? image : QImage();
}
