#pragma once

#include "platform/HelpUrlPolicy.h"

#include <QMutex>
#include <QWebEngineUrlRequestInterceptor>

// Blocks every request of the help profile (pages, frames, images, scripts,
// style sheets) that does not name a file under the current help folder, so
// that a page cannot even fetch from the network. It runs on the engine's IO
// thread, hence the lock around the policy.
class HelpRequestLock : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT

public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void setPolicy(const HelpUrlPolicy &policy);
    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    QMutex m_mutex;
    HelpUrlPolicy m_policy;
};
