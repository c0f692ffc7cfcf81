#include "browser/BrowserEngine.h"

#include "browser/BrowserView.h"
#include "browser/EngineSwitches.h"
#include "os/ShaderCache.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>
#include <QTimer>
#include <unistd.h>

// Qt's own setter of the context that all OpenGL contexts share, exported by
// QtGui for its modules (the engine reads it back) but not in a public header.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE

namespace {

// The plugin's entry points (src/platform/webengine/WebEnginePlugin.cpp).
using CreateView = BrowserView *(*)(QWidget *parent);
using WarmUp = void (*)();

struct Plugin
{
    QString path;
    bool tried = false;
    CreateView create = nullptr;
    WarmUp warmUp = nullptr;
};

Plugin &plugin()
{
    static Plugin shared;
    return shared;
}

// The engine draws through OpenGL contexts shared with the application's. Qt
// creates the shared context at start when asked to (and the engine asks as
// soon as it is linked), which costs the overlay's start a few tens of
// milliseconds; here it is created only now, before the engine is loaded. It
// lives as long as the process.
void provideSharedOpenGLContext()
{
    if (QOpenGLContext::globalShareContext())
        return;
    useTemporaryShaderCache();
    auto *context = new QOpenGLContext();
    if (context->create())
        qt_gl_set_global_share_context(context);
    else
        delete context;
}

bool loadPlugin()
{
    Plugin &p = plugin();
    if (p.tried)
        return p.create != nullptr;
    p.tried = true;
    if (!QFileInfo::exists(p.path)) {
        qWarning(
            "Help pages are shown without the browser engine: %s is missing", qPrintable(p.path));
        return false;
    }
    provideSharedOpenGLContext();
    // The engine cannot be unloaded safely; it stays for the rest of the run.
    auto *library = new QLibrary(p.path);
    library->setLoadHints(QLibrary::PreventUnloadHint);
    if (!library->load()) {
        qWarning("Help pages are shown without the browser engine: %s",
            qPrintable(library->errorString()));
        return false;
    }
    p.create = reinterpret_cast<CreateView>(library->resolve("tavlin_createBrowserView"));
    p.warmUp = reinterpret_cast<WarmUp>(library->resolve("tavlin_warmUpBrowser"));
    if (!p.create)
        qWarning("Help pages are shown without the browser engine: %s has no entry point",
            qPrintable(p.path));
    return p.create != nullptr;
}

} // namespace

void prepareBrowserEngine()
{
    lockEngineEnvironment(geteuid() == 0);
    // Qt's own shader cache would land under ~/.cache.
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
}

QString defaultBrowserEnginePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/libtavlin_webengine.so");
}

void useBrowserEngine(const QString &pluginPath)
{
    Plugin &p = plugin();
    p.path = pluginPath.isEmpty() ? defaultBrowserEnginePath() : pluginPath;
    setBrowserFactory([](QWidget *parent) -> std::unique_ptr<BrowserView> {
        if (loadPlugin())
            return std::unique_ptr<BrowserView>(plugin().create(parent));
        setBrowserFactory(nullptr); // the text view from now on
        return createBrowserView(parent);
    });
    // Warming up takes three steps (the shared context, loading the engine,
    // starting its profile and a renderer); each runs on its own turn of the
    // event loop, so that input arriving meanwhile waits for one step at most.
    // A help page opened before the end completes what is left at once.
    setBrowserWarmUp([] {
        QTimer::singleShot(0, qApp, [] {
            provideSharedOpenGLContext();
            QTimer::singleShot(0, qApp, [] {
                if (!loadPlugin() || !plugin().warmUp)
                    return;
                QTimer::singleShot(0, qApp, [] { plugin().warmUp(); });
            });
        });
    });
}
