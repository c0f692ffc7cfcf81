#include "browser/webengine/HelpRequestLock.h"

#include "browser/HelpFiles.h"
#include "os/Log.h"

void HelpRequestLock::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    const QUrl url = info.requestUrl();
    if (url.scheme() == QLatin1String("data") || HelpFiles::namesOf(url))
        return;
    // A blob lives in the page's memory; it belongs to the origin inside it.
    if (url.scheme() == QLatin1String("blob") && HelpFiles::namesOf(QUrl(url.path())))
        return;
    logRefusal("request", url.toString());
    info.block(true);
}
