#include "browser/webengine/LockedWebPage.h"

#include "browser/HelpFiles.h"

LockedWebPage::LockedWebPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{ }

bool LockedWebPage::acceptNavigationRequest(const QUrl &url, NavigationType, bool)
{
    // Frames too: an iframe must not pull in anything from outside either.
    return HelpFiles::namesOf(url).has_value();
}

QWebEnginePage *LockedWebPage::createWindow(WebWindowType)
{
    // No pop-ups, no new tabs or windows, whatever the page asks for.
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
