#include "browser/webengine/LockedWebPage.h"

#include "browser/HelpFiles.h"
#include "os/Log.h"

namespace {

// What the log takes of one page's console: enough for a help author to find
// a fault, never a page's flood.
constexpr int kConsoleMessages = 20;
constexpr int kConsoleMessageLength = 300;

} // namespace

LockedWebPage::LockedWebPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{ }

bool LockedWebPage::acceptNavigationRequest(const QUrl &url, NavigationType, bool)
{
    // Frames too: an iframe must not pull in anything from outside either.
    if (HelpFiles::namesOf(url))
        return true;
    logRefusal("link", url.toString());
    return false;
}

QWebEnginePage *LockedWebPage::createWindow(WebWindowType)
{
    // No pop-ups, no new tabs or windows, whatever the page asks for.
    logRefusal("new window", url().toString());
    return nullptr;
}

QStringList LockedWebPage::chooseFiles(FileSelectionMode, const QStringList &, const QStringList &)
{
    // A file dialog would let anyone at the panel browse, rename and delete
    // files, and hand the chosen one to the page.
    return {};
}

// Page dialogs would be modal: a page raising them in a loop would leave the
// window's own controls dead, and a prompt could ask the operator for a
// password on the page's behalf. They are answered at once, as if dismissed.
void LockedWebPage::javaScriptAlert(const QUrl &, const QString &) { }

bool LockedWebPage::javaScriptConfirm(const QUrl &, const QString &)
{
    return false;
}

bool LockedWebPage::javaScriptPrompt(const QUrl &, const QString &, const QString &, QString *)
{
    return false;
}

void LockedWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
    const QString &message, int lineNumber, const QString &sourceID)
{
    ++m_consoleMessages;
    if (m_consoleMessages > kConsoleMessages)
        return;
    static const char *const levels[] = { "info", "warning", "error" };
    qCInfo(lcHelp).noquote() << QStringLiteral("Page console (%1) %2:%3: %4")
                                    .arg(QLatin1String(levels[qBound(0, int(level), 2)]),
                                        QUrl(sourceID).fileName(), QString::number(lineNumber),
                                        message.left(kConsoleMessageLength));
    if (m_consoleMessages == kConsoleMessages)
        qCInfo(lcHelp) << "Further console messages of this page are left out";
}
