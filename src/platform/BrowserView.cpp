#include "platform/BrowserView.h"

#include "platform/HelpUrlPolicy.h"

#include <QPointer>
#include <QTextBrowser>

namespace {

// The view used when no engine is registered: a read-only rich-text view.
// It runs no scripts, fetches nothing from the network and follows only the
// links the lock lets through.
class TextBrowserView : public BrowserView
{
public:
    explicit TextBrowserView(QWidget *parent)
        : m_view(new QTextBrowser(parent))
    {
        m_view->setOpenLinks(false);
        m_view->setOpenExternalLinks(false);
        m_view->setContextMenuPolicy(Qt::NoContextMenu);
        m_view->setAcceptDrops(false);
        QObject::connect(m_view, &QTextBrowser::anchorClicked, m_view, [this](const QUrl &link) {
            const QUrl target = m_view->source().resolved(link);
            if (m_policy.allows(target))
                m_view->setSource(target);
        });
    }
    ~TextBrowserView() override { delete m_view; }

    QWidget *widget() override { return m_view; }
    void navigate(const QUrl &page, const QString &allowedFolder) override
    {
        m_policy = HelpUrlPolicy(allowedFolder);
        if (m_policy.allows(page))
            m_view->setSource(page);
        else
            m_view->clear();
    }
    bool busy() const override { return false; }
    void stop() override { }

private:
    QPointer<QTextBrowser> m_view;
    HelpUrlPolicy m_policy;
};

BrowserFactory &registeredFactory()
{
    static BrowserFactory factory;
    return factory;
}

std::function<void()> &registeredWarmUp()
{
    static std::function<void()> warmUp;
    return warmUp;
}

} // namespace

void setBrowserFactory(BrowserFactory factory)
{
    registeredFactory() = std::move(factory);
}

std::unique_ptr<BrowserView> createBrowserView(QWidget *parent)
{
    if (registeredFactory())
        return registeredFactory()(parent);
    return std::make_unique<TextBrowserView>(parent);
}

void setBrowserWarmUp(std::function<void()> warmUp)
{
    registeredWarmUp() = std::move(warmUp);
}

void warmUpBrowser()
{
    if (registeredWarmUp())
        registeredWarmUp()();
}
