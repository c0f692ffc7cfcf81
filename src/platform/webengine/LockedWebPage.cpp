#include "platform/webengine/LockedWebPage.h"

LockedWebPage::LockedWebPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{ }

bool LockedWebPage::acceptNavigationRequest(const QUrl &url, NavigationType, bool)
{
    // Frames too: an iframe must not pull in anything from outside either.
    return m_policy.allows(url);
}

QWebEnginePage *LockedWebPage::createWindow(WebWindowType)
{
    // No pop-ups, no new tabs or windows, whatever the page asks for.
    return nullptr;
}
