#include "os/PicturePrefetch.h"

#include "os/ScreenImage.h"
#include "os/PathMapper.h"
#include "os/PlainBitmap.h"

#include <QFile>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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

std::optional<FileStamp> stampOf(const struct stat &status)
{
    if (!S_ISREG(status.st_mode))
        return std::nullopt;
    return FileStamp { status.st_dev, status.st_ino, status.st_size, status.st_mtim,
        status.st_ctim };
}

std::optional<FileStamp> stampOf(const char *path)
{
    struct stat status;
    return ::stat(path, &status) == 0 ? stampOf(status) : std::nullopt;
}

std::optional<FileStamp> stampOf(int fd)
{
    struct stat status;
    return ::fstat(fd, &status) == 0 ? stampOf(status) : std::nullopt;
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

// Process-wide: started by main() before the application object exists, taken
// by the start-up sequence much later, with nothing in between to carry it.
Prefetch &prefetch()
{
    static Prefetch current;
    return current;
}

// Runs before the application object exists, beside its construction: the C
// library only, no Qt object. Whichever thread first makes Qt's per-thread
// data becomes Qt's main thread, and a QFile here (a QObject) made this
// thread Qt's main thread now and then, leaving the program without its
// browser engine and modal windows.
void decode(Prefetch &target, const std::string &nativePath)
{
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return;
    try {
        const std::optional<FileStamp> before = stampOf(fd);
        QImage image = before ? readPlainBitmap(fd) : QImage();
        // Kept only when the file did not change while it was read.
        if (!image.isNull() && stampOf(fd) == before) {
            target.image = image;
            target.stamp = before;
            // The overlay's form image, the screen's size, which a screenshot
            // nearly always has, is allocated right after the picture is
            // taken; its memory is readied here too.
            prepareScreenImage(image.width(), image.height());
        }
    } catch (...) {
        // Out of memory, or anything else: LoadPicture decodes the file itself.
    }
    ::close(fd);
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
        // The path is found here, on the main thread (its mapping reads
        // folders through Qt); the worker gets plain bytes.
        const QByteArray nativePath = QFile::encodeName(mapWindowsPath(windowsPath));
        current.worker = std::thread(decode, std::ref(current), nativePath.toStdString());
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
    const bool unchanged
        = current.stamp && current.stamp == stampOf(QFile::encodeName(nativePath).constData());
    current.stamp.reset();
    return unchanged ? image : QImage();
}
