#pragma once

#include <QString>
#include <QWebEngineUrlSchemeHandler>

// Answers every request for a help URL (tavlin://help/...) from the help
// folder, reading each file through HelpFiles. Help pages never load as file
// URLs, so the engine needs no access to the file system at all.
class HelpSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT

public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    // The local folder the answers come from; empty: every request fails.
    void setFolder(const QString &folder) { m_folder = folder; }
    void requestStarted(QWebEngineUrlRequestJob *job) override;

    // Registers the scheme with the engine; must run before the engine starts.
    static void registerScheme();

private:
    QString m_folder;
};
