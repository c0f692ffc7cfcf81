#include "os/Platform.h"

#include "os/ShaderCache.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstdlib>

namespace {

class QtMessageBox : public MessageBoxService
{
public:
    void show(const QString &text, const QString &title) override
    {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
        box.exec();
    }
    void showError(const QString &text, const QString &title) override
    {
        QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
        box.exec();
    }
};

class SteadyClock : public TickClock
{
public:
    SteadyClock() { m_timer.start(); }
    quint32 tickCount() override { return static_cast<quint32>(m_timer.elapsed()); }
    void sleep(qint32 milliseconds) override
    {
        if (milliseconds > 0)
            QThread::msleep(static_cast<unsigned long>(milliseconds));
    }

private:
    QElapsedTimer m_timer;
};

class QtEventPump : public EventPump
{
public:
    void doEvents() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }
};

class ImmediateExit : public ProgramTerminator
{
public:
    void terminate() override
    {
        // At once: no handler of either form runs, nothing is saved; only
        // the help window's scratch folder goes.
        removeTemporaryShaderCache();
        std::fflush(nullptr);
        std::_Exit(0);
    }
};

class PrimaryScreen : public ScreenMetrics
{
public:
    float twipsPerPixelX() override { return twips(true); }
    float twipsPerPixelY() override { return twips(false); }
    QRect geometry() override
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        return screen ? screen->geometry() : QRect();
    }

private:
    static float twips(bool horizontal)
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        if (!screen)
            return 15.0f;
        const qreal dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
        return dpi > 0 ? static_cast<float>(1440.0 / dpi) : 15.0f;
    }
};

Platform makeDefault()
{
    static QtMessageBox messageBox;
    static SteadyClock clock;
    static QtEventPump events;
    static ImmediateExit terminator;
    static PrimaryScreen screen;
    return Platform { &messageBox, &clock, &events, &terminator, &screen };
}

} // namespace

Platform &platform()
{
    static Platform current = makeDefault();
    return current;
}

PlatformOverride::PlatformOverride(const Platform &replacement)
    : m_saved(platform())
{
    Platform &current = platform();
    if (replacement.messageBox)
        current.messageBox = replacement.messageBox;
    if (replacement.clock)
        current.clock = replacement.clock;
    if (replacement.events)
        current.events = replacement.events;
    if (replacement.terminator)
        current.terminator = replacement.terminator;
    if (replacement.screen)
        current.screen = replacement.screen;
}

PlatformOverride::~PlatformOverride() { platform() = m_saved; }
