#pragma once

#include "os/Platform.h"

#include <QStringList>
#include <functional>

// Test doubles for the platform services. Installing a FakePlatform replaces
// every service until it goes out of scope.
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
    void sleep(qint32 milliseconds) override
    {
        sleeps.push_back(milliseconds);
        onSleep();
    }

    quint32 ticks = 0;
    std::vector<quint32> readings; // the values the following readings return
    std::vector<qint32> sleeps;
    std::function<void()> onSleep = [] {}; // after each pause is recorded
};

struct FakeEvents : EventPump
{
    void doEvents() override { ++calls; }
    int calls = 0;
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

class FakePlatform
{
public:
    FakePlatform()
        : m_override(Platform { &messageBox, &clock, &events, &terminator, &screen })
    { }

    FakeMessageBox messageBox;
    FakeClock clock;
    FakeEvents events;
    FakeTerminator terminator;
    FakeScreen screen;

private:
    PlatformOverride m_override;
};
