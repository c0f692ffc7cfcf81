#include "os/RealServices.h"

#include "os/DisplayServer.h"
#include "os/Log.h"
#include "os/PacedSteps.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

class QtMessageBox : public MessageBoxService
{
public:
    void show(const QString &text, const QString &title) override
    {
        exec(QMessageBox::NoIcon, text, title);
    }
    void showError(const QString &text, const QString &title) override
    {
        exec(QMessageBox::Critical, text, title);
    }

private:
    // A box that does not reach the screen in time goes again unconfirmed:
    // nobody could confirm it, and it would hold every other window.
    static void exec(QMessageBox::Icon icon, const QString &text, const QString &title)
    {
        qCInfo(lcStartup).noquote() << "Message:" << text;
        QMessageBox box(icon, title, text, QMessageBox::Ok, dialogOwner());
        box.setWindowFlags(box.windowFlags() | kOwnPlacement);
        markOwnWindow(box);
        // Without a window manager to give it, the box takes the keyboard
        // focus itself once it is on the screen (Return confirms it).
        QTimer::singleShot(0, &box, [&box] {
            box.raise();
            box.activateWindow();
        });
        whenNotShownWithin(box, kShownDeadlineMs, [&box, text] {
            qCWarning(lcStartup).noquote() << "A message was not shown in time and went:" << text;
            box.reject();
        });
        box.exec();
    }
};

class SteadyClock : public TickClock
{
public:
    SteadyClock() { m_timer.start(); }
    quint32 tickCount() override { return static_cast<quint32>(m_timer.elapsed()); }

private:
    QElapsedTimer m_timer;
};

class QtEventPump : public EventPump
{
public:
    void doEvents() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }
    void runSteps(qint16 steps, qint32 pause, const std::function<void(qint16)> &step) override
    {
        runPacedSteps(steps, pause, step);
    }
};

class ImmediateExit : public ProgramTerminator
{
public:
    void terminate() override
    {
        // At once: no handler of either form runs, nothing is saved (the
        // run's scratch folder goes with the process).
        const int status = logEnd(0);
        std::fflush(nullptr);
        std::_Exit(status);
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
        const qreal dpi
            = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
        return dpi > 0 ? static_cast<float>(1440.0 / dpi) : 15.0f;
    }
};

} // namespace

struct RealServices::Parts
{
    QtMessageBox messageBox;
    SteadyClock clock;
    QtEventPump events;
    ImmediateExit terminator;
    PrimaryScreen screen;
};

RealServices::RealServices()
    : m_parts(std::make_unique<Parts>())
    , m_services { &m_parts->messageBox, &m_parts->clock, &m_parts->events, &m_parts->terminator,
        &m_parts->screen }
{ }

RealServices::~RealServices() = default;
