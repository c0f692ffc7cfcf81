#include "os/ScratchFolder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Process-wide: made once before the application object, read by whatever
// needs a place that goes with the run (Qt's runtime folder, the shaders).
QByteArray &folder()
{
    static QByteArray path;
    return path;
}

int removeEntry(const char *path, const struct stat *, int, struct FTW *)
{
    ::remove(path);
    return 0;
}

// The guardian: waits until every writer of the pipe is gone (the program,
// however it ended), then removes the folder. It holds nothing else open.
[[noreturn]] void guard(int pipeRead, const QByteArray &path)
{
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGHUP, SIG_IGN);
    std::signal(SIGTERM, SIG_IGN);
    for (int fd = 0; fd < 1024; ++fd)
        if (fd != pipeRead)
            ::close(fd);
    char byte;
    while (::read(pipeRead, &byte, 1) != 0 && errno == EINTR) { }
    ::nftw(path.constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    std::_Exit(0);
}

} // namespace

void makeScratchFolder()
{
    if (!folder().isEmpty())
        return;
    QByteArray pattern = QFile::encodeName(QDir::tempPath()) + "/tavlin-XXXXXX";
    if (!::mkdtemp(pattern.data())) // private: mode 0700
        return;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        ::rmdir(pattern.constData());
        return;
    }
    const pid_t guardian = ::fork();
    if (guardian == 0)
        guard(ends[0], pattern);
    ::close(ends[0]);
    if (guardian < 0) {
        ::close(ends[1]);
        ::rmdir(pattern.constData());
        return;
    }
    // ends[1] stays open, unused, until the process is gone; the guardian
    // is not waited for (it outlives the program by a moment).
    folder() = pattern;
    // The temporary folder of this run, for whatever the libraries keep there
    // (the engine puts a picture dragged out of a page there, for one).
    qputenv("TMPDIR", pattern);
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray runtime = scratchSubfolder("runtime");
        if (!runtime.isEmpty())
            qputenv("XDG_RUNTIME_DIR", runtime);
    }
}

QByteArray scratchFolder()
{
    return folder();
}

QByteArray scratchSubfolder(const char *name)
{
    if (folder().isEmpty())
        return QByteArray();
    const QByteArray path = folder() + '/' + name;
    return ::mkdir(path.constData(), 0700) == 0 || errno == EEXIST ? path : QByteArray();
}
