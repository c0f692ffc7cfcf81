#include "os/PacedSteps.h"
#include "semantics/RuntimeError.h"

#include <QTimer>
#include <gtest/gtest.h>

// The steps run in order from the event loop, which handles what is due between
// them; an error in a step ends them and comes out of the call, not through Qt.
TEST(PacedSteps, RunInOrderFromTheEventLoopAndCarryAnErrorOut)
{
    std::vector<qint16> ran;
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    runPacedSteps(3, 1, [&](qint16 n) { ran.push_back(n); });
    EXPECT_EQ(ran, (std::vector<qint16> { 1, 2, 3 }));
    EXPECT_TRUE(timerRan);

    ran.clear();
    EXPECT_THROW(runPacedSteps(5, 1,
                     [&](qint16 n) {
                         ran.push_back(n);
                         if (n == 2)
                             throw RuntimeError::overflow();
                     }),
        RuntimeError);
    EXPECT_EQ(ran, (std::vector<qint16> { 1, 2 }));
}
