#pragma once

#include "browser/BrowserView.h"

#include <QPointer>
#include <QWidget>
#include <vector>

// A browser that loads nothing: it records what it was asked to show and
// reports the loading state a test sets.
struct FakeBrowserLog
{
    struct Navigation
    {
        QUrl page;
        QString allowedFolder;
    };
    std::vector<Navigation> navigations;
    int created = 0;
    int destroyed = 0;
    int stops = 0;
    bool busy = false;
};

class FakeBrowserView : public BrowserView
{
public:
    FakeBrowserView(QWidget *parent, FakeBrowserLog &log)
        : m_widget(new QWidget(parent))
        , m_log(log)
    {
        ++m_log.created;
    }
    ~FakeBrowserView() override
    {
        ++m_log.destroyed;
        delete m_widget.data();
    }
    QWidget *widget() override { return m_widget; }
    void navigate(const QUrl &page, const QString &allowedFolder) override
    {
        m_log.navigations.push_back({ page, allowedFolder });
    }
    bool busy() const override { return m_log.busy; }
    void stop() override { ++m_log.stops; }

private:
    QPointer<QWidget> m_widget;
    FakeBrowserLog &m_log;
};

// Hands out fake views that log into one log, which it keeps.
struct FakeBrowser
{
    BrowserFactory factory()
    {
        return [this](QWidget *parent) { return std::make_unique<FakeBrowserView>(parent, log); };
    }
    FakeBrowserLog log;
};
