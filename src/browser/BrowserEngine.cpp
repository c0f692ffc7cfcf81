#include "browser/BrowserEngine.h"

#include "browser/BrowserView.h"
#include "browser/ClipboardLock.h"
#include "browser/EngineSwitches.h"
#include "os/Log.h"
#include "os/ScratchFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLibrary>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QTimer>
#include <unistd.h>

// Qt's own setter of the context that all OpenGL contexts share, exported by
// QtGui for its modules (the engine reads it back) but not in a public header.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE

namespace {

// The plugin's entry point (browser/webengine/WebEnginePlugin.cpp).
using CreateView = BrowserView *(*)(QWidget *parent);

using PrepareView = void (*)();

struct Plugin
{
    QString path;
    bool tried = false;
    CreateView create = nullptr;
    PrepareView prepare = nullptr;
};

// Process-wide: a library is loaded once per process, whoever asks first.
Plugin &plugin()
{
    static Plugin shared;
    return shared;
}

// The engine draws through OpenGL contexts shared with the application's. Qt
// creates the shared context at start when asked to (and the engine asks as
// soon as it is linked), which costs the overlay's start a few tens of
// milliseconds; here it is created only now, before the engine is loaded. It
// lives as long as the process. False when the display offers no OpenGL:
// the engine would crash the whole program as it starts.
bool provideSharedOpenGLContext()
{
    if (QOpenGLContext::globalShareContext())
        return true;
    // Compiled shaders in the run's own folder, never under ~/.cache.
    const QByteArray shaders = scratchSubfolder("shaders");
    if (shaders.isEmpty())
        qputenv("MESA_SHADER_CACHE_DISABLE", "true");
    else
        qputenv("MESA_SHADER_CACHE_DIR", shaders);
    auto *context = new QOpenGLContext();
    if (context->create()) {
        qt_gl_set_global_share_context(context);
        return true;
    }
    delete context;
    return false;
}

// Whether the engine's helper program is where the engine looks for it: the
// one QTWEBENGINEPROCESS_PATH names, or else Qt's or the program's folder.
// Without it the engine ends the whole program as it starts.
bool engineHelperFound()
{
    const QString named = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH");
    if (!named.isEmpty())
        return QFileInfo::exists(named);
    const QString name = QStringLiteral("/QtWebEngineProcess");
    return QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + name)
        || QFileInfo::exists(QCoreApplication::applicationDirPath() + name);
}

bool withoutEngine(const QString &reason)
{
    qCWarning(lcHelp).noquote() << "Help pages are shown as plain text, without the browser engine:"
                                << reason;
    return false;
}

bool loadPlugin()
{
    Plugin &p = plugin();
    if (p.tried)
        return p.create != nullptr;
    p.tried = true;
    if (!QFileInfo::exists(p.path))
        return withoutEngine(p.path + QStringLiteral(" is missing"));
    if (!engineHelperFound())
        return withoutEngine(QStringLiteral("its helper program QtWebEngineProcess is missing"));
    if (!provideSharedOpenGLContext())
        return withoutEngine(QStringLiteral("the display offers no OpenGL"));
    // A profile kept in memory still gets a folder (and one for page
    // databases) below the user's data folder, XDG_DATA_HOME, whenever the
    // engine likes, from its first view on: from now on that is the run's
    // scratch folder, which goes with the run. (Fonts a user keeps there are
    // not seen by help pages.)
    const QByteArray engineData = scratchSubfolder("data");
    if (!engineData.isEmpty())
        qputenv("XDG_DATA_HOME", engineData);
    // The engine cannot be unloaded safely; it stays for the rest of the run.
    auto *library = new QLibrary(p.path);
    library->setLoadHints(QLibrary::PreventUnloadHint);
    if (!library->load())
        return withoutEngine(library->errorString());
    p.create = reinterpret_cast<CreateView>(library->resolve("tavlin_createBrowserView"));
    p.prepare = reinterpret_cast<PrepareView>(library->resolve("tavlin_prepareBrowserView"));
    if (!p.create || !p.prepare)
        return withoutEngine(p.path + QStringLiteral(" has no entry point"));
    qCInfo(lcHelp) << "The browser engine is loaded";
    return true;
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

BrowserFactory useBrowserEngine(const QString &pluginPath)
{
    Plugin &p = plugin();
    p.path = pluginPath.isEmpty() ? defaultBrowserEnginePath() : pluginPath;
    // The engine describes its graphics set-up at length each time it starts;
    // QT_LOGGING_RULES can still ask for it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    lockClipboard();
    // Without the plugin, nothing: the help window takes its text view.
    return [](QWidget *parent) -> std::unique_ptr<BrowserView> {
        if (loadPlugin())
            return std::unique_ptr<BrowserView>(plugin().create(parent));
        return nullptr;
    };
}

void warmUpBrowserEngine(int afterMilliseconds, const std::function<void()> &rehearse)
{
    // Two steps, each a single stretch of the GUI thread (about 0.1 s each on
    // a panel), with the event loop between them: the footer button is
    // answered in between.
    QTimer::singleShot(afterMilliseconds, Qt::VeryCoarseTimer, qApp, [rehearse] {
        QElapsedTimer step;
        step.start();
        if (!plugin().path.isEmpty() && loadPlugin()) {
            qCDebug(lcHelp) << "The browser engine was loaded ahead in" << step.elapsed() << "ms";
            QTimer::singleShot(kWarmUpStepMs, Qt::VeryCoarseTimer, qApp, [rehearse] {
                QElapsedTimer view;
                view.start();
                plugin().prepare();
                if (rehearse)
                    rehearse();
                qCDebug(lcHelp) << "The browser engine was started ahead in" << view.elapsed()
                                << "ms";
            });
        }
    });
}
