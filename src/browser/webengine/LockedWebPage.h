#pragma once

#include <QWebEnginePage>

// A page that navigates only to help URLs, never opens another window, a file
// chooser or a dialog that waits for the operator.
class LockedWebPage : public QWebEnginePage
{
    Q_OBJECT

public:
    LockedWebPage(QWebEngineProfile *profile, QObject *parent);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList &oldFiles,
        const QStringList &acceptedMimeTypes) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg,
        const QString &defaultValue, QString *result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message,
        int lineNumber, const QString &sourceID) override;

private:
    int m_consoleMessages = 0;
};
