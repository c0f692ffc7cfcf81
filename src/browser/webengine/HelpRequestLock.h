#pragma once

#include <QWebEngineUrlRequestInterceptor>

// Blocks every request of the help profile (pages, frames, images, scripts,
// style sheets, sockets) that is not for a help URL, inline data or a blob of
// the page's own making, so that a page cannot even reach out to the network.
// The scheme handler decides which help files exist.
class HelpRequestLock : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT

public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;
};
