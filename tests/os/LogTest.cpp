#include "os/Log.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

static QStringList g_seen;
static void record(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    g_seen << QString::fromLatin1(context.category) + QLatin1Char(' ') + message;
}

TEST(Log, RefusalsGoToTheLockCategoryCutAndWithinABudgetOfEachSecond)
{
    LogBudget budget(2);
    for (const auto &[now, expected] :
        { std::pair { 0, 0 }, { 10, 0 }, { 999, -1 }, { 999, -1 }, { 1000, 2 }, { 1500, 0 } })
        EXPECT_EQ(budget.take(now), expected) << now;

    const QtMessageHandler previous = qInstallMessageHandler(record);
    for (int i = 0; i < 8; ++i)
        logRefusal("link", QStringLiteral("https://example.org/") + QString(400, QLatin1Char('x')));
    qInstallMessageHandler(previous);
    ASSERT_EQ(g_seen.size(), 5) << qPrintable(g_seen.join('\n'));
    EXPECT_EQ(
        g_seen[0], "tavlin.lock Refused link https://example.org/" + QString(280, 'x') + "...");
}

TEST(Log, GoesToTheJournalInItsOwnFormatWhenOneListens)
{
    TempFolder folder;
    const QByteArray path = QFile::encodeName(folder.path() + QStringLiteral("/journal"));
    const int journal = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address { AF_UNIX, {} };
    std::strcpy(address.sun_path, path.constData());
    ASSERT_EQ(::bind(journal, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    logToSystemJournal(path.constData());
    qCWarning(lcStartup) << "two\nlines";
    qInstallMessageHandler(previous);
    QByteArray entry(512, '\0');
    entry.resize(std::max<ssize_t>(::recv(journal, entry.data(), 512, MSG_DONTWAIT), 0));
    ::close(journal);
    EXPECT_EQ(entry,
        QByteArray("MESSAGE\n\x09\0\0\0\0\0\0\0two\nlines\nPRIORITY\n\x01\0\0\0\0\0\0\0"
                   "4\n"
                   "SYSLOG_IDENTIFIER\n\x06\0\0\0\0\0\0\0tavlin\n"
                   "QT_CATEGORY\n\x0e\0\0\0\0\0\0\0tavlin.startup\n",
            113));
}
