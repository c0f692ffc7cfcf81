#pragma once

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
