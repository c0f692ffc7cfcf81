#pragma once

#include "os/Services.h"

#include <QtGlobal>
#include <functional>

// Runs step(1) .. step(steps) from the event loop, `pause` milliseconds apart,
// the first after one pause, and returns after the last. The operator's input
// is held back meanwhile and handled by the event loop afterwards, in order.
// An exception a step throws ends the fade and is thrown on from here.
void runPacedSteps(qint16 steps, qint32 pause, const std::function<void(qint16 step)> &step);

// The same steps one after another without pauses or the event loop, for a
// preview or a measurement that wants only the last frame.
void runStepsAtOnce(qint16 steps, const std::function<void(qint16 step)> &step);

// A clock that stands still and an event pump that handles no window message
// and runs paced steps at once: the fade without its pauses.
class NoPauses : public TickClock, public EventPump
{
public:
    quint32 tickCount() override { return 0; }
    void doEvents() override { }
    void runSteps(qint16 steps, qint32, const std::function<void(qint16)> &step) override
    {
        runStepsAtOnce(steps, step);
    }
};

// `services` with their clock and event pump replaced by `pauses`, which must
// outlive whatever keeps the result.
inline Services withoutPauses(Services services, NoPauses &pauses)
{
    services.clock = &pauses;
    services.events = &pauses;
    return services;
}
