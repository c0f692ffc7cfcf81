#include "browser/webengine/HelpSchemeHandler.h"

#include "browser/HelpFiles.h"
#include "browser/webengine/HelpFileStream.h"
#include "os/Log.h"

#include <QPointer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype kChunk = 64 * 1024;

// Reads the open file into `buffer` until its end, waiting while the buffer
// is full, and tells the engine each time bytes have come.
void pump(int fd, HelpFileBuffer &buffer)
{
    QByteArray chunk(kChunk, Qt::Uninitialized);
    for (;;) {
        {
            std::unique_lock<std::mutex> hold(buffer.lock);
            const bool room = buffer.changed.wait_for(
                hold, std::chrono::milliseconds(HelpSchemeHandler::kStalledMs), [&] {
                    return buffer.cancelled || buffer.bytes.size() < HelpFileBuffer::kCapacity;
                });
            if (buffer.cancelled)
                return;
            if (!room) {
                buffer.failed = true;
                break;
            }
        }
        ssize_t got;
        do
            got = ::read(fd, chunk.data(), size_t(chunk.size()));
        while (got < 0 && errno == EINTR);
        {
            const std::lock_guard<std::mutex> hold(buffer.lock);
            if (got > 0)
                buffer.bytes.append(chunk.constData(), got);
            else if (got == 0)
                buffer.ended = true;
            else
                buffer.failed = true;
        }
        HelpFileStream::announce(buffer);
        if (got <= 0)
            return;
    }
    HelpFileStream::announce(buffer);
}

} // namespace

HelpSchemeHandler::HelpSchemeHandler(QObject *parent)
    : QWebEngineUrlSchemeHandler(parent)
{
    m_workers.setMaxThreadCount(kStreams);
}

HelpSchemeHandler::~HelpSchemeHandler()
{
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        for (const std::weak_ptr<HelpFileBuffer> &weak : m_buffers)
            if (const std::shared_ptr<HelpFileBuffer> buffer = weak.lock()) {
                const std::lock_guard<std::mutex> holdBuffer(buffer->lock);
                buffer->cancelled = true;
                buffer->changed.notify_all();
            }
    }
    m_workers.clear();
    m_workers.waitForDone();
}

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
    const std::optional<QByteArrayList> names = HelpFiles::namesOf(job->requestUrl());
    if (job->requestMethod() != "GET" || !names) {
        logRefusal("request", job->requestUrl().toString());
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    // More waiting requests than any help page needs: a page flooding the
    // workers gets no more.
    if (m_workers.activeThreadCount() >= kStreams && m_buffers.size() >= size_t(kWaiting)) {
        job->fail(QWebEngineUrlRequestJob::RequestFailed);
        return;
    }
    serve(job, *names);
}

void HelpSchemeHandler::serve(QWebEngineUrlRequestJob *job, const QByteArrayList &names)
{
    auto buffer = std::make_shared<HelpFileBuffer>();
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_buffers.erase(std::remove_if(m_buffers.begin(), m_buffers.end(),
                            [](const std::weak_ptr<HelpFileBuffer> &b) { return b.expired(); }),
            m_buffers.end());
        m_buffers.push_back(buffer);
    }
    const QByteArray type = HelpFiles::contentType(names.isEmpty() ? QByteArray() : names.last());
    m_workers.start([this, request = QPointer<QWebEngineUrlRequestJob>(job), buffer, type,
                        folder = m_folder, names] {
        const int fd = HelpFiles::open(folder, names);
        struct stat info;
        if (fd >= 0 && ::fstat(fd, &info) == 0) {
            const std::lock_guard<std::mutex> hold(buffer->lock);
            buffer->size = info.st_size;
        }
        // The answer goes from the window's thread, where the request lives;
        // the file streams meanwhile.
        QMetaObject::invokeMethod(
            this,
            [request, buffer, type, found = fd >= 0] {
                if (!request) {
                    const std::lock_guard<std::mutex> hold(buffer->lock);
                    buffer->cancelled = true;
                    buffer->changed.notify_all();
                } else if (!found) {
                    request->fail(QWebEngineUrlRequestJob::UrlNotFound);
                } else {
                    request->reply(type, new HelpFileStream(buffer, request));
                }
            },
            Qt::QueuedConnection);
        if (fd >= 0) {
            pump(fd, *buffer);
            ::close(fd);
        }
    });
}
