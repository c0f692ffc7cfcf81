#include "browser/webengine/HelpSchemeHandler.h"

#include "browser/HelpFiles.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

void HelpSchemeHandler::registerScheme()
{
    // A standard scheme with a host, so that relative links resolve as on a
    // web server. Not secure (no secure-context features such as
    // WebTransport), not local (no access to file URLs), and no CORS, so
    // that no other origin may read it.
    QWebEngineUrlScheme scheme(HelpFiles::kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags({});
    QWebEngineUrlScheme::registerScheme(scheme);
}

void HelpSchemeHandler::requestStarted(QWebEngineUrlRequestJob *job)
{
    if (job->requestMethod() != "GET") {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const std::optional<QByteArrayList> names = HelpFiles::namesOf(job->requestUrl());
    if (!names) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    std::optional<QByteArray> content = HelpFiles::read(m_folder, *names);
    if (!content) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto *buffer = new QBuffer(job); // lives as long as the job
    buffer->setData(std::move(*content));
    job->reply(HelpFiles::contentType(names->isEmpty() ? QByteArray() : names->last()), buffer);
}
