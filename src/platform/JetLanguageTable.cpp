#include "platform/JetLanguageTable.h"

#include "platform/JetFileCheck.h"
#include "platform/LibmdbLanguageRead.h"
#include "platform/PathMapper.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

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

using Status = LanguageTableResult::Status;

// How long the child may take. A language table is read in milliseconds; a
// file that keeps libmdb busy longer is treated as damaged.
constexpr int kChildTimeLimitMs = 5000;
constexpr qint64 kMaxAnswerSize = 256 * 1024 * 1024;
constexpr quint32 kAnswerMagic = 0x5441564a; // "TAVJ"
constexpr quint32 kAnswerEnd = 0x454e4421; // "END!"

QByteArray encodeAnswer(const LanguageTableResult &result)
{
    QByteArray answer;
    QDataStream out(&answer, QIODevice::WriteOnly);
    out << kAnswerMagic << qint32(result.status) << qint32(result.rows.size());
    for (const LanguageRow &row : result.rows) {
        for (const JetValue *v : { &row.language, &row.name })
            out << qint32(v->kind) << v->number << v->text;
    }
    out << kAnswerEnd;
    return answer;
}

// The child's answer, or a damaged-file result when it is not whole.
LanguageTableResult decodeAnswer(const QByteArray &answer)
{
    LanguageTableResult damaged;
    damaged.status = Status::Damaged;

    QDataStream in(answer);
    quint32 magic = 0;
    qint32 status = 0;
    qint32 count = 0;
    in >> magic >> status >> count;
    if (in.status() != QDataStream::Ok || magic != kAnswerMagic || status < int(Status::Ok)
        || status > int(Status::ColumnMissing) || count < 0)
        return damaged;

    LanguageTableResult result;
    result.status = Status(status);
    for (qint32 i = 0; i < count; ++i) {
        LanguageRow row;
        for (JetValue *v : { &row.language, &row.name }) {
            qint32 kind = 0;
            in >> kind >> v->number >> v->text;
            if (in.status() != QDataStream::Ok || kind < int(JetValue::Kind::Null)
                || kind > int(JetValue::Kind::Other))
                return damaged;
            v->kind = JetValue::Kind(kind);
        }
        result.rows.append(row);
    }
    quint32 end = 0;
    in >> end;
    if (in.status() != QDataStream::Ok || end != kAnswerEnd || !in.atEnd())
        return damaged;
    if (!result.ok())
        result.rows.clear();
    return result;
}

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

[[noreturn]] void runChild(int answerFd, const QByteArray &bytes)
{
    // A fault in libmdb ends the child quietly: no handler inherited from the
    // parent (a crash reporter, a test harness) is to act on it here.
    for (int signal : { SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP, SIGSYS, SIGPIPE })
        std::signal(signal, SIG_DFL);
#ifdef TAVLIN_SANITIZED
    __sanitizer_set_death_callback(nullptr);
#endif
    // libmdb reports problems on stdout and stderr; they are not for the operator.
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (devNull >= 0) {
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
    }
    const QByteArray answer = encodeAnswer(readLanguageTableWithLibmdb(bytes));
    _exit(writeAll(answerFd, answer.constData(), answer.size()) ? 0 : 1);
}

// Reads the child's whole answer until it closes the pipe, within the time limit.
bool readAnswer(int fd, QByteArray &answer, const QElapsedTimer &clock)
{
    char buffer[65536];
    for (;;) {
        const qint64 left = kChildTimeLimitMs - clock.elapsed();
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
bool reapChild(pid_t child, const QElapsedTimer &clock)
{
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR)
            return false;
        if (clock.elapsed() >= kChildTimeLimitMs) {
            ::kill(child, SIGKILL);
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
            return false;
        }
        ::usleep(1000);
    }
}

LanguageTableResult readIsolated(const QByteArray &bytes)
{
    LanguageTableResult damaged;
    damaged.status = Status::Damaged;

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return damaged;
    QElapsedTimer clock;
    clock.start();
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return damaged;
    }
    if (child == 0) {
        ::close(fds[0]);
        runChild(fds[1], bytes);
    }
    ::close(fds[1]);
    QByteArray answer;
    const bool complete = readAnswer(fds[0], answer, clock);
    ::close(fds[0]);
    const bool exitedWell = reapChild(child, clock);
    if (!complete || !exitedWell)
        return damaged;
    return decodeAnswer(answer);
}

} // namespace

LanguageTableResult JetLanguageTable::readBytes(const QByteArray &bytes)
{
    LanguageTableResult result;
    switch (checkJetFile(bytes)) {
    case JetFileKind::NotJet:
        result.status = Status::NotJet;
        return result;
    case JetFileKind::Damaged:
        result.status = Status::Damaged;
        return result;
    case JetFileKind::Jet3:
    case JetFileKind::Jet4:
        break;
    }
    return readIsolated(bytes);
}

LanguageTableResult JetLanguageTable::read(const QString &windowsPath)
{
    LanguageTableResult result;
    result.status = Status::FileMissing;
    QFile file(mapWindowsPath(windowsPath));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return result;
    if (file.size() > kMaxFileSize) {
        result.status = Status::Damaged;
        return result;
    }
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    const bool readWell = file.error() == QFileDevice::NoError;
    file.close();
    if (!readWell) {
        result.status = Status::Damaged;
        return result;
    }
    return readBytes(bytes);
}
