#include "helpwindow/HelpForm.h"

#include "browser/BrowserView.h"
#include "browser/HelpFiles.h"
#include "helpwindow/HelpWindow.h"
#include "helpwindow/PictureButton.h"
#include "os/DisplayServer.h"
#include "os/Log.h"
#include "os/PathMapper.h"
#include "os/RunGuarded.h"
#include "semantics/Arithmetic.h"

#include <QFileInfo>

namespace {

// The folder (a Windows path) the help view is locked to.
QString lockedFolder(const QString &helpFolder, const QString &adresse)
{
    if (!helpFolder.isEmpty())
        return helpFolder;
    return adresse.left(adresse.lastIndexOf(QLatin1Char('\\')) + 1);
}

} // namespace

Help::Help(const Services &services, BrowserFactory browser)
    : m_services(services)
    , m_browser(std::move(browser))
    , m_twips(*services.screen)
{ }

HelpWindow *Help::window() const
{
    return m_window.data();
}

Help::~Help()
{
    runGuarded(m_services, [this] { Form_Terminate(); });
    delete m_window.data();
}

HelpWindow *Help::load()
{
    if (!m_window) {
        auto *window = new HelpWindow(*m_services.screen, m_browser, dialogOwner());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        QObject::connect(window->Ende, &PictureButton::clicked, window,
            [this] { runGuarded(m_services, [this] { Ende_Click(); }); });
        PictureButton *drag = window->Verschieben;
        QObject::connect(drag, &PictureButton::mouseDown, window,
            [this](int button, int shift, float x, float y) {
                runGuarded(m_services, [&] { Verschieben_MouseDown(button, shift, x, y); });
            });
        QObject::connect(drag, &PictureButton::mouseMove, window,
            [this](int button, int shift, float x, float y) {
                runGuarded(m_services, [&] { Verschieben_MouseMove(button, shift, x, y); });
            });
        QObject::connect(
            drag, &PictureButton::mouseUp, window, [this](int button, int shift, float x, float y) {
                runGuarded(m_services, [&] { Verschieben_MouseUp(button, shift, x, y); });
            });
        m_window = window;
    }
    return m_window;
}

float Help::Width()
{
    return m_twips.width(load());
}
float Help::Height()
{
    return m_twips.height(load());
}
float Help::Left()
{
    return m_twips.left(load());
}
float Help::Top()
{
    return m_twips.top(load());
}
void Help::setWidth(float twips)
{
    m_twips.setWidth(load(), twips);
}
void Help::setHeight(float twips)
{
    m_twips.setHeight(load(), twips);
}
void Help::setLeft(float twips)
{
    m_twips.setLeft(load(), twips);
}
void Help::setTop(float twips)
{
    m_twips.setTop(load(), twips);
}

void Help::Init()
{
    using namespace Arithmetic;
    HelpWindow *window = load();
    QWidget *browser = window->WebBrowser->widget();
    const float W = m_twips.width(window);
    const float H = m_twips.height(window);

    m_MarginX = toInteger(m_services.screen->twipsPerPixelX() * 5.0f);
    m_MarginY = toInteger(m_services.screen->twipsPerPixelY() * 5.0f);
    m_twips.setTop(window->Ende, H - m_twips.height(window->Ende) - m_MarginY);
    m_twips.setLeft(window->Ende, W - m_twips.width(window->Ende) - m_MarginX);
    m_twips.setLeft(window->Verschieben, m_MarginX);
    m_twips.setTop(window->Verschieben, H - m_twips.height(window->Verschieben) - m_MarginY);
    m_twips.setWidth(window->Verschieben, m_twips.left(window->Ende) - mul(2, m_MarginX));
    m_twips.setLeft(browser, m_MarginX);
    m_twips.setTop(browser, m_MarginY);
    m_twips.setWidth(browser, W - mul(2, m_MarginX));
    m_twips.setHeight(browser, m_twips.top(window->Verschieben) - mul(2, m_MarginY));
    const QString folder = lockedFolder(HelpFolder, Adresse);
    qCInfo(lcHelp).noquote() << "Help page" << logCut(Adresse);
    window->WebBrowser->navigate(HelpFiles::urlOf(folder, Adresse), mapWindowsPath(folder));
}

void Help::Show()
{
    HelpWindow *window = load();
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();
    // Modal without an event loop of its own: the overlay's input is held
    // back by Qt until the window goes, and the click that opened it ends
    // here.
    whenNotShownWithin(*window, kShownDeadlineMs, [this] {
        qCWarning(lcHelp).noquote()
            << "The help window did not reach the screen in time:" << Adresse;
        Unload();
        m_services.messageBox->show(
            QStringLiteral("The help page could not be shown."), QStringLiteral("Tavlin"));
    });
}

void Help::Unload()
{
    HelpWindow *window = m_window;
    if (!window)
        return;
    m_window = nullptr;
    window->hide();
    window->releaseBrowser();
    // The window may be unloading from inside one of its own handlers.
    window->deleteLater();
}

void Help::Ende_Click()
{
    Unload();
}

void Help::Verschieben_MouseDown(int, int, float X, float Y)
{
    m_DragStartX = X;
    m_DragStartY = Y;
    m_Dragging = true;
}

void Help::Verschieben_MouseMove(int, int, float X, float Y)
{
    if (!m_Dragging)
        return;
    setLeft(X - m_DragStartX + Left());
    setTop(Y - m_DragStartY + Top());
}

void Help::Verschieben_MouseUp(int, int, float, float)
{
    m_Dragging = false;
}

void Help::Form_Terminate()
{
    // Only a loaded window has a browser; asking an unloaded one would load it
    // again just to find nothing to stop.
    if (!m_window || !m_window->WebBrowser)
        return;
    if (m_window->WebBrowser->busy()) {
        m_window->WebBrowser->stop();
        m_services.events->doEvents();
    }
}
