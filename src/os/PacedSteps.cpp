#include "os/PacedSteps.h"

#include "os/HeldInput.h"

#include <QEventLoop>
#include <QTimer>
#include <exception>

void runPacedSteps(qint16 steps, qint32 pause, const std::function<void(qint16)> &step)
{
    HeldInput held;
    QEventLoop loop;
    QTimer timer;
    // A step is 31 ms with its drawing; a coarse timer could stretch a pause
    // by a twentieth, and a fade with it.
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(pause);
    qint16 done = 0;
    std::exception_ptr failure;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        // No exception may pass through the event loop: it is carried out.
        try {
            step(++done);
        } catch (...) {
            failure = std::current_exception();
        }
        if (failure || done >= steps) {
            timer.stop();
            loop.quit();
        }
    });
    if (steps > 0) {
        timer.start();
        loop.exec();
    }
    if (failure) {
        // The error's message ends the program; the touches made meanwhile
        // must not reach the overlay behind it.
        held.discard();
        std::rethrow_exception(failure);
    }
}

void runStepsAtOnce(qint16 steps, const std::function<void(qint16)> &step)
{
    for (qint16 n = 1; n <= steps; ++n)
        step(n);
}
