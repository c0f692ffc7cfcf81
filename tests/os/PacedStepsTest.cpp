#include "os/PacedSteps.h"
#include "semantics/RuntimeError.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct PressCounter : QObject
{
    bool event(QEvent *e) override
    {
        presses += e->type() == QEvent::MouseButtonPress;
        return QObject::event(e);
    }
    int presses = 0;
};

} // namespace

// The steps run in order from the event loop, which handles what is due between them; an
// error in a step ends them and comes out of the call, not through Qt, and the input held
// meanwhile is forgotten.
TEST(PacedSteps, RunInOrderFromTheEventLoopAndEndOnAnError)
{
    std::vector<qint16> ran;
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    runPacedSteps(3, 1, [&](qint16 n) { ran.push_back(n); });
    EXPECT_EQ(ran, (std::vector<qint16> { 1, 2, 3 }));
    EXPECT_TRUE(timerRan);

    PressCounter counter;
    EXPECT_THROW(runPacedSteps(5, 1,
                     [&](qint16 n) {
                         ran.push_back(n);
                         if (n == 1)
                             QCoreApplication::postEvent(&counter,
                                 new QMouseEvent(QEvent::MouseButtonPress, {}, {}, Qt::LeftButton,
                                     Qt::LeftButton, {}));
                         if (n == 2)
                             throw RuntimeError::overflow();
                     }),
        RuntimeError);
    EXPECT_EQ(ran, (std::vector<qint16> { 1, 2, 3, 1, 2 }));
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.presses, 0);
}
