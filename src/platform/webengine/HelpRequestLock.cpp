#include "platform/webengine/HelpRequestLock.h"

#include <QMutexLocker>

void HelpRequestLock::setPolicy(const HelpUrlPolicy &policy)
{
    QMutexLocker locker(&m_mutex);
    m_policy = policy;
}

void HelpRequestLock::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    const QUrl url = info.requestUrl();
    // Inline data (data: images in a page) never leaves the process.
    if (url.scheme() == QLatin1String("data"))
        return;
    QMutexLocker locker(&m_mutex);
    if (!m_policy.allows(url))
        info.block(true);
}
