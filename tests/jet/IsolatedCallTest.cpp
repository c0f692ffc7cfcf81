#include "jet/IsolatedCall.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

// The child's answer comes back whole; whatever goes wrong in the child: nothing back, the
// child reaped, no descriptor left open.
TEST(IsolatedCall, returnsTheAnswerWholeAndSurvivesCrashesAbortsExitsAndHangs)
{
    const auto descriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
    const uint before = descriptors();
    EXPECT_EQ(runIsolated([] { return QByteArray("rows"); }, 5000), QByteArray("rows"));
    EXPECT_EQ(runIsolated([] { return QByteArray(); }, 5000), QByteArray());
    // Far more than a pipe holds at once.
    QByteArray big(3 * 1024 * 1024, '\0');
    for (int i = 0; i < big.size(); ++i)
        big[i] = char(i * 7);
    EXPECT_EQ(runIsolated([&big] { return big; }, 20000), big);
    EXPECT_FALSE(runIsolated(
        [] {
            std::raise(SIGSEGV);
            return QByteArray("never");
        },
        5000));
    EXPECT_FALSE(runIsolated([]() -> QByteArray { std::abort(); }, 5000));
    EXPECT_FALSE(runIsolated([]() -> QByteArray { _exit(3); }, 5000));

    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(runIsolated(
        []() -> QByteArray {
            for (;;)
                ::pause();
        },
        300));
    EXPECT_LT(clock.elapsed(), 3000);

    EXPECT_EQ(descriptors(), before);
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}
