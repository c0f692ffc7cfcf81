#pragma once

#include "platform/HelpUrlPolicy.h"

#include <QWebEnginePage>

// A page that navigates only to the help pages its lock lets through and
// never opens another window.
class LockedWebPage : public QWebEnginePage
{
    Q_OBJECT

public:
    LockedWebPage(QWebEngineProfile *profile, QObject *parent);

    void setPolicy(const HelpUrlPolicy &policy) { m_policy = policy; }
    const HelpUrlPolicy &policy() const { return m_policy; }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;

private:
    HelpUrlPolicy m_policy;
};
