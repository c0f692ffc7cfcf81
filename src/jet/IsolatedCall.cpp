#include "jet/IsolatedCall.h"

#include <QElapsedTimer>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVLIN_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TAVLIN_SANITIZED 1
#endif
#ifdef TAVLIN_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The most a child may send back.
constexpr qint64 kMaxAnswerSize = 256 * 1024 * 1024;

bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

[[noreturn]] void runChild(int answerFd, const std::function<QByteArray()> &work)
{
    // A fault ends the child quietly: no handler inherited from the parent
    // (a crash reporter, a test harness) is to act on it here.
    for (int signal : { SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP, SIGSYS, SIGPIPE })
        std::signal(signal, SIG_DFL);
#ifdef TAVLIN_SANITIZED
    __sanitizer_set_death_callback(nullptr);
#endif
    // Libraries report their troubles on stdout and stderr; not for the operator.
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (devNull >= 0) {
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
    }
    const QByteArray answer = work();
    _exit(writeAll(answerFd, answer.constData(), answer.size()) ? 0 : 1);
}

// Reads the child's whole answer until it closes the pipe, within the time limit.
bool readAnswer(int fd, QByteArray &answer, const QElapsedTimer &clock, int timeLimitMs)
{
    char buffer[65536];
    for (;;) {
        const qint64 left = timeLimitMs - clock.elapsed();
        if (left <= 0)
            return false;
        pollfd p { fd, POLLIN, 0 };
        const int ready = ::poll(&p, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        answer.append(buffer, n);
        if (answer.size() > kMaxAnswerSize)
            return false;
    }
}

// Waits for the child to end, killing it once the time is up; true when it
// ended normally with exit code 0.
bool reapChild(pid_t child, const QElapsedTimer &clock, int timeLimitMs)
{
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR)
            return false;
        if (clock.elapsed() >= timeLimitMs) {
            ::kill(child, SIGKILL);
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
            return false;
        }
        ::usleep(1000);
    }
}

} // namespace

std::optional<QByteArray> runIsolated(const std::function<QByteArray()> &work, int timeLimitMs)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return std::nullopt;
    QElapsedTimer clock;
    clock.start();
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(fds[0]);
        runChild(fds[1], work);
    }
    ::close(fds[1]);
    QByteArray answer;
    const bool complete = readAnswer(fds[0], answer, clock, timeLimitMs);
    ::close(fds[0]);
    const bool exitedWell = reapChild(child, clock, timeLimitMs);
    if (!complete || !exitedWell)
        return std::nullopt;
    return answer;
}
