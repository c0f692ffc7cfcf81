#include "os/RunGuarded.h"
#include "os/EndProgram.h"
#include "semantics/RuntimeError.h"
#include "support/FakeServices.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <stdexcept>

TEST(RunGuarded, ShowsTheStandardMessageAndEndsTheProgramOrEndsSilently)
{
    FakeServices fake;
    const Services services = fake.services();
    bool after = false;
    EXPECT_FALSE(runGuarded(services, [&] {
        throw RuntimeError::overflow();
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_EQ(fake.messageBox.errors, QStringList({ "Run-time error '6':\n\nOverflow" }));
    EXPECT_EQ(fake.messageBox.titles, QStringList({ "Tavlin" }));
    EXPECT_EQ(fake.terminator.calls, 1);

    EXPECT_FALSE(runGuarded(
        services, [] { throw RuntimeError::fileNotFound(QStringLiteral("C:\\a.gif")); }));
    EXPECT_EQ(fake.messageBox.errors.last(),
        QStringLiteral("Run-time error '53':\n\nFile not found: 'C:\\a.gif'"));
    EXPECT_FALSE(runGuarded(services, [] { throw std::runtime_error("boom"); }));
    EXPECT_FALSE(runGuarded(services, [] { throw 42; }));
    EXPECT_FALSE(runGuarded(services, [] { throw std::bad_alloc(); }));
    EXPECT_EQ(fake.messageBox.errors.mid(2),
        QStringList({ "Run-time error '51':\n\nInternal error: boom",
            "Run-time error '51':\n\nInternal error", "Run-time error '7':\n\nOut of memory" }));
    EXPECT_EQ(fake.terminator.calls, 5);

    // Ending the program stops the handler silently.
    fake.messageBox.errors.clear();
    int reached = 0;
    EXPECT_FALSE(runGuarded(services, [&] {
        reached = 1;
        EndProgram(fake.terminator);
        reached = 2;
    }));
    EXPECT_EQ(reached, 1);
    EXPECT_EQ(fake.terminator.calls, 6);
    EXPECT_TRUE(fake.messageBox.errors.isEmpty());
    EXPECT_TRUE(runGuarded(services, [] {}));
}
