#include "browser/webengine/HelpFileStream.h"

#include <cstring>

HelpFileStream::HelpFileStream(std::shared_ptr<HelpFileBuffer> buffer, QObject *parent)
    : QIODevice(parent)
    , m_buffer(std::move(buffer))
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    const std::lock_guard<std::mutex> hold(m_buffer->lock);
    m_buffer->device = this;
}

HelpFileStream::~HelpFileStream()
{
    const std::lock_guard<std::mutex> hold(m_buffer->lock);
    m_buffer->device = nullptr;
    m_buffer->cancelled = true;
    m_buffer->changed.notify_all();
}

void HelpFileStream::announce(HelpFileBuffer &buffer)
{
    // Posted, under the lock that the device's end takes too: the device is
    // alive while the event is posted, and an event for a device that goes
    // meanwhile goes with it.
    const std::lock_guard<std::mutex> hold(buffer.lock);
    if (HelpFileStream *device = buffer.device)
        QMetaObject::invokeMethod(
            device, [device] { emit device->readyRead(); }, Qt::QueuedConnection);
}

bool HelpFileStream::atEnd() const
{
    const std::lock_guard<std::mutex> hold(m_buffer->lock);
    return m_buffer->bytes.isEmpty() && (m_buffer->ended || m_buffer->failed);
}

qint64 HelpFileStream::bytesAvailable() const
{
    const std::lock_guard<std::mutex> hold(m_buffer->lock);
    return m_buffer->bytes.size();
}

qint64 HelpFileStream::size() const
{
    const std::lock_guard<std::mutex> hold(m_buffer->lock);
    return m_buffer->size;
}

qint64 HelpFileStream::readData(char *data, qint64 maxSize)
{
    const std::lock_guard<std::mutex> hold(m_buffer->lock);
    // A sequential device ends by -1; 0 is "nothing yet, wait for readyRead".
    if (m_buffer->bytes.isEmpty())
        return m_buffer->ended || m_buffer->failed ? -1 : 0;
    const qint64 taken = std::min<qint64>(maxSize, m_buffer->bytes.size());
    std::memcpy(data, m_buffer->bytes.constData(), size_t(taken));
    m_buffer->bytes.remove(0, taken);
    m_buffer->changed.notify_all();
    return taken;
}
