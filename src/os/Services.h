#pragma once

#include <QRect>
#include <QString>
#include <QtGlobal>
#include <functional>

// The operating-system services the logic needs, each behind a small interface
// so that tests can replace them: message boxes, the millisecond clock, event
// processing and paced steps, the program's end and the screen's twips per pixel.

class MessageBoxService
{
public:
    virtual ~MessageBoxService() = default;
    // A modal message with one OK button and no icon; returns when confirmed.
    virtual void show(const QString &text, const QString &title) = 0;
    // The standard run-time error message (also modal, one OK button).
    virtual void showError(const QString &text, const QString &title) = 0;
};

class TickClock
{
public:
    virtual ~TickClock() = default;
    // Milliseconds since some fixed point; wraps after 2^32.
    virtual quint32 tickCount() = 0;
};

class EventPump
{
public:
    virtual ~EventPump() = default;
    // Handles the pending window messages once (painting included), then returns.
    virtual void doEvents() = 0;
    // Runs step(1) .. step(steps) from the event loop, `pause` ms apart, and
    // returns after the last; input waits until then (see PacedSteps.h).
    virtual void runSteps(qint16 steps, qint32 pause, const std::function<void(qint16)> &step) = 0;
};

class ProgramTerminator
{
public:
    virtual ~ProgramTerminator() = default;
    // Ends the process at once. The real one never returns; a test's fake
    // records the call and returns, and EndProgram then unwinds.
    virtual void terminate() = 0;
};

class ScreenMetrics
{
public:
    virtual ~ScreenMetrics() = default;
    // Twips per pixel of the primary screen (1440 / logical dots per inch).
    virtual float twipsPerPixelX() = 0;
    virtual float twipsPerPixelY() = 0;
    // The primary screen's place and size in pixels; empty when there is none.
    virtual QRect geometry() = 0;
};

// The services a part of the program uses, handed to it by whoever made it:
// the real ones (RealServices) by main, fakes by the tests. Nothing reaches
// them any other way.
struct Services
{
    MessageBoxService *messageBox = nullptr;
    TickClock *clock = nullptr;
    EventPump *events = nullptr;
    ProgramTerminator *terminator = nullptr;
    ScreenMetrics *screen = nullptr;
};
