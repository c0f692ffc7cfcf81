#include "browser/BrowserView.h"
#include "browser/HelpFiles.h"
#include "browser/webengine/ForeignWindowGuard.h"
#include "browser/webengine/HelpRequestLock.h"
#include "browser/webengine/HelpSchemeHandler.h"
#include "browser/webengine/LockedWebPage.h"
#include "os/Log.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// What a page runs before anything of its own, in a world of its own that
// the page cannot touch: nothing of a page can be dragged out of the window
// (the engine writes a dragged picture to a file for the program it is
// dropped on).
const char kNoDragScript[] = "window.addEventListener('dragstart', e => e.preventDefault(), true);";

// One profile for all help pages: off the record (nothing is written to
// disk), serving the help folder through its own scheme, with the request
// lock and every feature a help page does not need switched off. Created on
// first use and kept until the application ends.
struct HelpProfile
{
    QWebEngineProfile *profile = nullptr;
    HelpSchemeHandler *files = nullptr;
};

// Process-wide: the engine allows one profile per scheme handler, and every
// help window of the run shares it.
HelpProfile &helpProfile()
{
    static HelpProfile shared;
    if (shared.profile)
        return shared;

    // The scheme must be known before the engine starts, which it does with
    // the first profile.
    HelpSchemeHandler::registerScheme();
    auto *profile = new QWebEngineProfile(qApp); // no storage name: off the record
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->setSpellCheckEnabled(false);

    QWebEngineSettings *settings = profile->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
    settings->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    settings->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
    settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    settings->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
    settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    settings->setAttribute(QWebEngineSettings::TouchIconsEnabled, false);
    settings->setAttribute(QWebEngineSettings::WebGLEnabled, false);
    settings->setAttribute(QWebEngineSettings::Accelerated2dCanvasEnabled, false);
    settings->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);

    // Downloads are refused outright.
    QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile,
        [](QWebEngineDownloadRequest *download) { download->cancel(); });

    QWebEngineScript noDrag;
    noDrag.setSourceCode(QString::fromLatin1(kNoDragScript));
    noDrag.setInjectionPoint(QWebEngineScript::DocumentCreation);
    noDrag.setWorldId(QWebEngineScript::ApplicationWorld);
    noDrag.setRunsOnSubFrames(true);
    profile->scripts()->insert(noDrag);

    profile->setUrlRequestInterceptor(new HelpRequestLock(profile));
    new ForeignWindowGuard(profile);
    shared.files = new HelpSchemeHandler(profile);
    profile->installUrlSchemeHandler(HelpFiles::kScheme, shared.files);
    shared.profile = profile;
    return shared;
}

// Said over the page when its renderer has gone (crashed, killed, or never
// started): the view would otherwise stay empty without a word.
class StoppedNotice : public QLabel
{
public:
    explicit StoppedNotice(QWidget *page)
        : QLabel(QStringLiteral("The help page stopped. Close with \u2715."), page)
    {
        setAlignment(Qt::AlignCenter);
        setWordWrap(true);
        setAutoFillBackground(true);
        QFont larger = font();
        larger.setPointSizeF(larger.pointSizeF() * 1.5);
        setFont(larger);
        setGeometry(page->rect());
        page->installEventFilter(this);
        show();
        raise();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            setGeometry(static_cast<QWidget *>(watched)->rect());
        return QLabel::eventFilter(watched, event);
    }
};

class WebEngineBrowserView : public BrowserView
{
public:
    explicit WebEngineBrowserView(QWidget *parent)
        : m_view(new QWebEngineView(parent))
    {
        HelpProfile &shared = helpProfile();
        m_page = new LockedWebPage(shared.profile, m_view);
        m_view->setPage(m_page);
        m_view->setContextMenuPolicy(Qt::NoContextMenu); // no view source, no inspect
        m_view->setAcceptDrops(false);

        QObject::connect(
            m_page, &QWebEnginePage::loadStarted, m_view, [this] { m_loading = true; });
        QObject::connect(
            m_page, &QWebEnginePage::loadFinished, m_view, [this](bool) { m_loading = false; });
        QObject::connect(m_page, &QWebEnginePage::renderProcessTerminated, m_view,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int code) {
                if (status == QWebEnginePage::NormalTerminationStatus || m_notice)
                    return;
                qCWarning(lcHelp) << "The help page's renderer stopped, status" << status << "code"
                                  << code;
                m_notice = new StoppedNotice(m_view);
            });
        QObject::connect(m_page, &QWebEnginePage::featurePermissionRequested, m_page,
            [page = m_page](const QUrl &origin, QWebEnginePage::Feature feature) {
                page->setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
            });
        QObject::connect(m_page, &QWebEnginePage::fullScreenRequested, m_page,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
        QObject::connect(m_page, &QWebEnginePage::fileSystemAccessRequested, m_page,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    }

    ~WebEngineBrowserView() override { delete m_view; }

    QWidget *widget() override { return m_view; }

    void navigate(const QUrl &page, const QString &allowedFolder) override
    {
        helpProfile().files->setFolder(allowedFolder);
        m_page->load(page);
    }

    bool busy() const override { return m_loading; }

    void stop() override
    {
        if (m_view)
            m_view->stop();
    }

private:
    QPointer<QWebEngineView> m_view;
    LockedWebPage *m_page = nullptr;
    QPointer<StoppedNotice> m_notice;
    bool m_loading = false;
};

} // namespace

// The plugin's entry points, looked up by name (browser/BrowserEngine.cpp).
extern "C" Q_DECL_EXPORT BrowserView *tavlin_createBrowserView(QWidget *parent)
{
    return new WebEngineBrowserView(parent);
}

// Starts the engine, its helper processes and the help profile, with a page
// that nobody sees on the help scheme (it names no file, so nothing is read),
// closed once it has loaded. The help pages then start in processes that are
// already there. (A view made ahead and handed to the first help window made
// the first page no faster; what does is a whole help window shown out of
// sight, see helpwindow/HelpRehearsal.h.)
extern "C" Q_DECL_EXPORT void tavlin_prepareBrowserView()
{
    auto *page = new LockedWebPage(helpProfile().profile, qApp);
    QObject::connect(page, &QWebEnginePage::loadFinished, page, &QObject::deleteLater);
    QUrl nothing; // the help scheme's root
    nothing.setScheme(QLatin1String(HelpFiles::kScheme));
    nothing.setHost(QLatin1String(HelpFiles::kHost));
    nothing.setPath(QStringLiteral("/"));
    page->load(nothing);
}
