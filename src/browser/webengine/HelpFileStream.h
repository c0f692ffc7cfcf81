#pragma once

#include <QByteArray>
#include <QIODevice>
#include <condition_variable>
#include <memory>
#include <mutex>

// The bytes of one help file on their way to the engine, a little at a time:
// a worker reads the file into this small buffer and waits while it is full;
// the engine drains it from its own thread. So no help file is ever whole in
// the overlay's memory, and slow storage holds up only the worker.
struct HelpFileBuffer
{
    // How much may wait in the buffer; the worker reads on once it is below.
    static constexpr qsizetype kCapacity = 256 * 1024;

    std::mutex lock;
    std::condition_variable changed; // bytes taken, or the stream cancelled
    QByteArray bytes;
    qint64 size = 0; // the file's, known once it is open
    bool ended = false; // the whole file is in (or has passed)
    bool failed = false; // a read failed or the engine stopped taking bytes
    bool cancelled = false; // the engine dropped the request
    class HelpFileStream *device = nullptr; // set and cleared on the window's thread
};

class HelpFileStream : public QIODevice
{
    Q_OBJECT

public:
    HelpFileStream(std::shared_ptr<HelpFileBuffer> buffer, QObject *parent);
    ~HelpFileStream() override;

    bool isSequential() const override { return true; }
    bool atEnd() const override;
    qint64 bytesAvailable() const override;
    // The whole file's, which the engine sends as the content length.
    qint64 size() const override;

    // Tells the engine, from any thread, that bytes (or the end) have come.
    static void announce(HelpFileBuffer &buffer);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    std::shared_ptr<HelpFileBuffer> m_buffer;
};
