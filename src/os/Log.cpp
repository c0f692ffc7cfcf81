#include "os/Log.h"

#include <QElapsedTimer>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcStartup, "tavlin.startup")
Q_LOGGING_CATEGORY(lcHelp, "tavlin.help")
Q_LOGGING_CATEGORY(lcLock, "tavlin.lock")

namespace {

// Process-wide, as Qt's message handler is: the socket to the journal (-1
// when there is none) and the handler a message goes to that the journal
// does not take.
int g_journal = -1;
QtMessageHandler g_fallback = nullptr;

int priorityOf(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return 7;
    case QtInfoMsg:
        return 6;
    case QtWarningMsg:
        return 4;
    case QtCriticalMsg:
        return 3;
    case QtFatalMsg:
        return 2;
    }
    return 6;
}

// One field in the journal's own format, which takes any bytes in a value:
// the name, a newline, the value's length as 64 bits little-endian, the value.
void appendField(QByteArray &entry, const char *name, const QByteArray &value)
{
    entry += name;
    entry += '\n';
    quint64 size = quint64(value.size());
    for (int i = 0; i < 8; ++i, size >>= 8)
        entry += char(size & 0xFF);
    entry += value;
    entry += '\n';
}

bool sendToJournal(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    QByteArray entry;
    appendField(entry, "MESSAGE", message.toUtf8());
    appendField(entry, "PRIORITY", QByteArray::number(priorityOf(type)));
    appendField(entry, "SYSLOG_IDENTIFIER", "tavlin");
    if (context.category)
        appendField(entry, "QT_CATEGORY", context.category);
    ssize_t sent;
    do
        sent = ::send(g_journal, entry.constData(), size_t(entry.size()), MSG_NOSIGNAL);
    while (sent < 0 && errno == EINTR);
    return sent == entry.size();
}

void journalHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (g_journal >= 0 && sendToJournal(type, context, message))
        return;
    g_fallback(type, context, message);
}

} // namespace

void logToSystemJournal(const char *socketPath)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (std::strlen(socketPath) >= sizeof address.sun_path)
        return;
    std::strcpy(address.sun_path, socketPath);
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
        g_journal = fd;
        g_fallback = qInstallMessageHandler(journalHandler);
    } else if (fd >= 0) {
        ::close(fd);
    }
}

int logEnd(int status)
{
    qCInfo(lcStartup, "Tavlin ends, exit status %d", status);
    return status;
}

QString logCut(const QString &text, int length)
{
    return text.size() <= length ? text : text.left(length) + QStringLiteral("...");
}

int LogBudget::take(qint64 nowMs)
{
    const QMutexLocker hold(&m_lock);
    if (m_windowStart < 0 || nowMs - m_windowStart >= 1000) {
        m_windowStart = nowMs;
        m_inWindow = 0;
    }
    if (m_inWindow >= m_burst) {
        ++m_leftOut;
        return -1;
    }
    ++m_inWindow;
    const int leftOut = m_leftOut;
    m_leftOut = 0;
    return leftOut;
}

void logRefusal(const char *what, const QString &url)
{
    // Process-wide, like the log: every page and thread shares one budget.
    static LogBudget budget(5);
    static const QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    const int leftOut = budget.take(clock.elapsed());
    if (leftOut < 0)
        return;
    if (leftOut > 0)
        qCInfo(lcLock, "%d more refusals were left out", leftOut);
    qCInfo(lcLock).noquote() << "Refused" << what << logCut(url);
}
