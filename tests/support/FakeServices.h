#pragma once

#include "os/PacedSteps.h"
#include "os/Services.h"

#include <QStringList>
#include <functional>

// Test doubles for the services; a FakeServices hands out all five.
struct FakeMessageBox : MessageBoxService
{
    void show(const QString &text, const QString &title) override
    {
        messages.append(text);
        titles.append(title);
    }
    void showError(const QString &text, const QString &title) override
    {
        errors.append(text);
        titles.append(title);
    }

    QStringList messages; // ordinary messages, in order
    QStringList errors; // standard run-time error messages, in order
    QStringList titles;
};

struct FakeClock : TickClock
{
    quint32 tickCount() override
    {
        const quint32 now = ticks;
        if (!readings.empty()) {
            ticks = readings.front();
            readings.erase(readings.begin());
        }
        return now;
    }

    quint32 ticks = 0;
    std::vector<quint32> readings; // the values the following readings return
};

// Handles no window message; paced steps run at once, their pause recorded.
struct FakeEvents : EventPump
{
    void doEvents() override { ++calls; }
    void runSteps(qint16 steps, qint32 pause, const std::function<void(qint16)> &step) override
    {
        pauses.insert(pauses.end(), steps, pause);
        runStepsAtOnce(steps, step);
    }
    int calls = 0;
    std::vector<qint32> pauses;
};

struct FakeTerminator : ProgramTerminator
{
    void terminate() override { ++calls; }
    int calls = 0;
};

struct FakeScreen : ScreenMetrics
{
    float twipsPerPixelX() override { return x; }
    float twipsPerPixelY() override { return y; }
    QRect geometry() override { return area; }
    float x = 15.0f;
    float y = 15.0f;
    QRect area { 0, 0, 800, 600 };
};

struct FakeServices
{
    FakeServices() = default;
    FakeServices(const FakeServices &) = delete;
    FakeServices &operator=(const FakeServices &) = delete;

    Services services() { return Services { &messageBox, &clock, &events, &terminator, &screen }; }

    FakeMessageBox messageBox;
    FakeClock clock;
    FakeEvents events;
    FakeTerminator terminator;
    FakeScreen screen;
};
