#include "browser/BrowserView.h"

#include "browser/HelpFiles.h"

#include <QPointer>
#include <QTextBrowser>

namespace {

// A rich-text view that loads pages and pictures from the help folder only,
// through the same lock as the engine.
class LockedTextBrowser : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;

    QString folder;

    QVariant loadResource(int, const QUrl &name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        const std::optional<QByteArrayList> names = HelpFiles::namesOf(url);
        if (!names)
            return QVariant();
        const std::optional<QByteArray> content = HelpFiles::read(folder, *names);
        return content ? QVariant(*content) : QVariant();
    }
};

// The view used when the help window has no engine: a read-only rich-text view.
// It runs no scripts, fetches nothing from the network and follows only the
// links the lock lets through.
class TextBrowserView : public BrowserView
{
public:
    explicit TextBrowserView(QWidget *parent)
        : m_view(new LockedTextBrowser(parent))
    {
        m_view->setOpenLinks(false);
        m_view->setOpenExternalLinks(false);
        m_view->setContextMenuPolicy(Qt::NoContextMenu);
        m_view->setAcceptDrops(false);
        QObject::connect(m_view, &QTextBrowser::anchorClicked, m_view, [this](const QUrl &link) {
            const QUrl target = m_view->source().resolved(link);
            if (HelpFiles::namesOf(target))
                m_view->setSource(target);
        });
    }
    ~TextBrowserView() override { delete m_view; }

    QWidget *widget() override { return m_view; }
    void navigate(const QUrl &page, const QString &allowedFolder) override
    {
        m_view->folder = allowedFolder;
        if (HelpFiles::namesOf(page))
            m_view->setSource(page);
        else
            m_view->clear();
    }
    bool busy() const override { return false; }
    void stop() override { }

private:
    QPointer<LockedTextBrowser> m_view;
};

} // namespace

std::unique_ptr<BrowserView> createBrowserView(const BrowserFactory &factory, QWidget *parent)
{
    if (factory) {
        if (std::unique_ptr<BrowserView> view = factory(parent))
            return view;
    }
    return std::make_unique<TextBrowserView>(parent);
}
