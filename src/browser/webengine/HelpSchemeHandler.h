#pragma once

#include <QString>
#include <QThreadPool>
#include <QWebEngineUrlSchemeHandler>
#include <memory>
#include <mutex>
#include <vector>

struct HelpFileBuffer;

// Answers every request for a help URL (tavlin://help/...) from the help
// folder, reading each file through HelpFiles. Help pages never load as file
// URLs, so the engine needs no access to the file system at all.
//
// Files are opened and read by a few workers, never on the window's thread,
// and stream to the engine through small buffers: however many files a page
// asks for, and however large, the overlay's process holds at most
// kStreams buffers and kWaiting requests waiting for a worker.
class HelpSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT

public:
    static constexpr int kStreams = 4;
    static constexpr int kWaiting = 512;
    // A stream whose bytes the engine has not taken for this long is given up.
    static constexpr int kStalledMs = 30000;

    explicit HelpSchemeHandler(QObject *parent = nullptr);
    ~HelpSchemeHandler() override;

    // The local folder the answers come from; empty: every request fails.
    void setFolder(const QString &folder) { m_folder = folder; }
    void requestStarted(QWebEngineUrlRequestJob *job) override;

    // Registers the scheme with the engine; must run before the engine starts.
    static void registerScheme();

private:
    void serve(QWebEngineUrlRequestJob *job, const QByteArrayList &names);

    QString m_folder;
    QThreadPool m_workers;
    std::mutex m_lock;
    std::vector<std::weak_ptr<HelpFileBuffer>> m_buffers; // to cancel at the end
};
