#include "os/ScratchFolder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

extern char **environ;

namespace {

// Process-wide: made once before the application object, read by whatever
// needs a place that goes with the run (Qt's runtime folder, the shaders).
QByteArray &folder()
{
    static QByteArray path;
    return path;
}

// The guardian: a shell that waits until every writer of the pipe on its
// standard input is gone (the program, however it ended), then removes the
// folder. It holds nothing else open and ignores the terminal's signals.
// Spawned rather than forked: a fork would copy the program's page tables
// and leave each page it writes afterwards to be copied once more, both on
// the way to the overlay's first frame.
bool spawnGuardian(int pipeRead, const QByteArray &path)
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return false;
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_adddup2(&actions, pipeRead, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    char shell[] = "/bin/sh", option[] = "-c", name[] = "tavlin-scratch";
    char script[] = "trap '' INT HUP TERM; while read -r _; do :; done; rm -rf -- \"$1\"";
    char *arguments[]
        = { shell, option, script, name, const_cast<char *>(path.constData()), nullptr };
    pid_t guardian = -1;
    const bool spawned
        = posix_spawn(&guardian, shell, &actions, &attributes, arguments, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return spawned;
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
    const bool guarded = spawnGuardian(ends[0], pattern);
    ::close(ends[0]);
    if (!guarded) {
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
