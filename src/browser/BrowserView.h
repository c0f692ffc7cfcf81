#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

class QWidget;

// The embedded HTML view of the help window. The window places and sizes the
// view's widget itself; the view only loads pages. Loading is asynchronous:
// navigate() returns at once and busy() tells whether a load is still running.
//
// Every view is locked to one folder: it shows help URLs (HelpFiles), answered
// from the files inside that folder, and nothing else.
class BrowserView
{
public:
    virtual ~BrowserView() = default;

    // The widget to embed; a child of the parent given to the factory.
    virtual QWidget *widget() = 0;
    // Starts loading `page` (a help URL) and from now on answers help URLs
    // from the files under `allowedFolder` (a local folder path).
    virtual void navigate(const QUrl &page, const QString &allowedFolder) = 0;
    virtual bool busy() const = 0;
    virtual void stop() = 0;
};

using BrowserFactory = std::function<std::unique_ptr<BrowserView>(QWidget *parent)>;

// A view from the factory the help window was given: the real engine in the
// program (browser/BrowserEngine.h), a fake in tests. Without one, a simple
// text view, which shows the page's text and follows links under the same
// lock but runs no scripts.
std::unique_ptr<BrowserView> createBrowserView(const BrowserFactory &factory, QWidget *parent);
