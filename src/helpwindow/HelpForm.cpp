#include "helpwindow/HelpForm.h"

#include "browser/BrowserView.h"
#include "browser/HelpFiles.h"
#include "helpwindow/HelpWindow.h"
#include "helpwindow/PictureButton.h"
#include "helpwindow/TwipsGeometry.h"
#include "os/DisplayServer.h"
#include "os/Log.h"
#include "os/PathMapper.h"
#include "os/Platform.h"
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

Help::Help() = default;

HelpWindow *Help::window() const
{
    return m_window.data();
}

Help::~Help()
{
    runGuarded([this] { Form_Terminate(); });
    delete m_window.data();
}

HelpWindow *Help::load()
{
    if (!m_window) {
        auto *window = new HelpWindow(dialogOwner());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        QObject::connect(window->Ende, &PictureButton::clicked, window,
            [this] { runGuarded([this] { Ende_Click(); }); });
        PictureButton *drag = window->Verschieben;
        QObject::connect(drag, &PictureButton::mouseDown, window,
            [this](int button, int shift, float x, float y) {
                runGuarded([&] { Verschieben_MouseDown(button, shift, x, y); });
            });
        QObject::connect(drag, &PictureButton::mouseMove, window,
            [this](int button, int shift, float x, float y) {
                runGuarded([&] { Verschieben_MouseMove(button, shift, x, y); });
            });
        QObject::connect(
            drag, &PictureButton::mouseUp, window, [this](int button, int shift, float x, float y) {
                runGuarded([&] { Verschieben_MouseUp(button, shift, x, y); });
            });
        m_window = window;
    }
    return m_window;
}

float Help::Width()
{
    return TwipsGeometry::width(load());
}
float Help::Height()
{
    return TwipsGeometry::height(load());
}
float Help::Left()
{
    return TwipsGeometry::left(load());
}
float Help::Top()
{
    return TwipsGeometry::top(load());
}
void Help::setWidth(float twips)
{
    TwipsGeometry::setWidth(load(), twips);
}
void Help::setHeight(float twips)
{
    TwipsGeometry::setHeight(load(), twips);
}
void Help::setLeft(float twips)
{
    TwipsGeometry::setLeft(load(), twips);
}
void Help::setTop(float twips)
{
    TwipsGeometry::setTop(load(), twips);
}

void Help::Init()
{
    using namespace Arithmetic;
    HelpWindow *window = load();
    QWidget *browser = window->WebBrowser->widget();
    const float W = TwipsGeometry::width(window);
    const float H = TwipsGeometry::height(window);

    m_MarginX = toInteger(platform().screen->twipsPerPixelX() * 5.0f);
    m_MarginY = toInteger(platform().screen->twipsPerPixelY() * 5.0f);
    TwipsGeometry::setTop(window->Ende, H - TwipsGeometry::height(window->Ende) - m_MarginY);
    TwipsGeometry::setLeft(window->Ende, W - TwipsGeometry::width(window->Ende) - m_MarginX);
    TwipsGeometry::setLeft(window->Verschieben, m_MarginX);
    TwipsGeometry::setTop(
        window->Verschieben, H - TwipsGeometry::height(window->Verschieben) - m_MarginY);
    TwipsGeometry::setWidth(
        window->Verschieben, TwipsGeometry::left(window->Ende) - mul(2, m_MarginX));
    TwipsGeometry::setLeft(browser, m_MarginX);
    TwipsGeometry::setTop(browser, m_MarginY);
    TwipsGeometry::setWidth(browser, W - mul(2, m_MarginX));
    TwipsGeometry::setHeight(browser, TwipsGeometry::top(window->Verschieben) - mul(2, m_MarginY));
    const QString folder = lockedFolder(HelpFolder, Adresse);
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
        platform().messageBox->show(
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
        platform().events->doEvents();
    }
}
