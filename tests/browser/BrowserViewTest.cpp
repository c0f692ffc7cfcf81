#include "browser/BrowserView.h"
#include "browser/BrowserEngine.h"
#include "support/TempFolder.h"

#include <QImage>
#include <QTextBrowser>
#include <QWidget>
#include <gtest/gtest.h>

// When the engine plugin cannot be loaded the help window still shows the
// page's text, under the same lock: pages and pictures from the help folder
// only.
TEST(BrowserViewTest, TextViewFallbackKeepsToTheFolder)
{
    TempFolder folder;
    const QString help = folder.path() + QStringLiteral("/Help");
    folder.write(QStringLiteral("Help/English/A.html"), "<p>Page A</p><a href=\"B.html\">b</a>");
    folder.write(QStringLiteral("Help/English/B.html"), "<p>Page B</p>");
    folder.write(QStringLiteral("secret.html"), "<p>Secret</p>");
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::green);
    picture.save(help + QStringLiteral("/English/pic.png"));
    picture.save(folder.path() + QStringLiteral("/outside.png"));

    QWidget parent;
    std::unique_ptr<BrowserView> view = createBrowserView(
        useBrowserEngine(QStringLiteral("/nonexistent/libtavlin_webengine.so")), &parent);
    auto *text = qobject_cast<QTextBrowser *>(view->widget());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->parentWidget(), &parent);
    EXPECT_FALSE(view->busy()); // nothing for the help window to stop

    const QUrl pageA(QStringLiteral("tavlin://help/English/A.html"));
    view->navigate(pageA, help);
    EXPECT_EQ(text->source(), pageA);
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("Page A")));
    EXPECT_FALSE(
        text->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pic.png"))).isNull());
    for (const QString &outside :
        { folder.path() + QStringLiteral("/outside.png"), QStringLiteral("../../outside.png"),
            QUrl::fromLocalFile(folder.path() + QStringLiteral("/outside.png")).toString() })
        EXPECT_TRUE(text->loadResource(QTextDocument::ImageResource, QUrl(outside)).isNull())
            << outside.toStdString();

    emit text->anchorClicked(QUrl(QStringLiteral("B.html")));
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("Page B")));
    emit text->anchorClicked(QUrl::fromLocalFile(folder.path() + QStringLiteral("/secret.html")));
    emit text->anchorClicked(QUrl(QStringLiteral("https://example.com/")));
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("Page B")));

    view->navigate(QUrl::fromLocalFile(folder.path() + QStringLiteral("/secret.html")), help);
    EXPECT_FALSE(text->toPlainText().contains(QStringLiteral("Secret")));
    view.reset();
    EXPECT_TRUE(parent.children().isEmpty());
}
