#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"
#include "browser/BrowserView.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <functional>
#include <gtest/gtest.h>

namespace {

bool waitFor(const std::function<bool()> &condition, int milliseconds = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QTest::qWait(20);
    }
    return true;
}

QVariant evaluate(QWebEnginePage *page, const QString &script)
{
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    waitFor([&] { return done; });
    return result;
}

// A help folder with two languages, a secret file beside it and a page whose
// links try every way out. Each link is a block 40 pixels high at a known place.
class HelpBrowserLockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::green);
        const QString pictureFile
            = folder.path() + QStringLiteral("/Visu/Program/Help/Tavlin/English/pic.png");
        folder.write(QStringLiteral("Visu/Program/Help/Tavlin/English/pic.png"), "");
        picture.save(pictureFile);
        folder.write(QStringLiteral("Visu/outside.png"), "");
        picture.save(folder.path() + QStringLiteral("/Visu/outside.png"));
        folder.write(QStringLiteral("Visu/secret.html"), "<html><body>secret</body></html>");
        folder.write(QStringLiteral("Visu/Program/Help/Tavlin/English/B.html"),
            "<html><head><title>B</title></head><body>B</body></html>");
        folder.write(QStringLiteral("Visu/Program/Help/Tavlin/Deutsch/C.html"),
            "<html><head><title>C</title></head><body>C</body></html>");
        const QByteArray secret
            = QUrl::fromLocalFile(folder.path() + QStringLiteral("/Visu/secret.html")).toEncoded();
        const QByteArray outsidePicture
            = QUrl::fromLocalFile(folder.path() + QStringLiteral("/Visu/outside.png")).toEncoded();
        folder.write(QStringLiteral("Visu/Program/Help/Tavlin/English/A.html"),
            "<html><head><title>A</title><style>"
            "body{margin:0;background:#fff} a{display:block;position:absolute;left:0;"
            "width:300px;height:40px;background:#ddd}</style></head><body>"
            "<a id=inside href=\"B.html\" style=\"top:0\">inside</a>"
            "<a id=sibling href=\"../Deutsch/C.html\" style=\"top:50px\">sibling</a>"
            "<a id=web href=\"https://example.com/\" style=\"top:100px\">web</a>"
            "<a id=outside href=\""
                + secret
                + "\" style=\"top:150px\">outside</a>"
                  "<a id=popup href=\"B.html\" target=\"_blank\" style=\"top:200px\">popup</a>"
                  "<a id=download href=\"B.html\" download style=\"top:250px\">download</a>"
                  "<img id=insidePic src=\"pic.png\" style=\"position:absolute;top:300px\">"
                  "<img id=outsidePic src=\""
                + outsidePicture
                + "\" style=\"position:absolute;top:320px\">"
                  "</body></html>");

        help.setWidth(9225);
        help.setHeight(6915);
        help.setLeft(1500);
        help.setTop(1500);
        help.Adresse
            = folder.path() + QStringLiteral("/Visu\\Program\\Help\\Tavlin\\English\\A.html");
        help.HelpFolder = folder.path() + QStringLiteral("/Visu\\Program\\Help\\Tavlin\\");
        help.Init();
        help.window()->show();
        view = qobject_cast<QWebEngineView *>(help.window()->WebBrowser->widget());
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(help.window()));
        ASSERT_TRUE(waitFor(
            [&] { return title() == QStringLiteral("A") && !help.window()->WebBrowser->busy(); }));
        settle();
    }

    void TearDown() override
    {
        help.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString title() const { return view->page()->title(); }
    QString fileName() const { return view->page()->url().fileName(); }

    // A real left click on the link block whose top is `top`.
    void clickLink(int top, Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget *surface = view->focusProxy() ? view->focusProxy() : view;
        QTest::mouseClick(surface, button, {}, QPoint(100, top + 20));
    }

    void backToA()
    {
        view->page()->load(QUrl(QStringLiteral("tavlin://help/English/A.html")));
        ASSERT_TRUE(waitFor([&] { return title() == QStringLiteral("A"); }));
        settle();
    }

    // A freshly loaded page may not take input until its first frame is up.
    void settle()
    {
        waitFor([&] {
            return evaluate(view->page(), QStringLiteral("document.readyState")).toString()
                == QStringLiteral("complete");
        });
        QTest::qWait(300);
    }

    TempFolder folder;
    Help help;
    QWebEngineView *view = nullptr;
};

} // namespace

TEST_F(HelpBrowserLockTest, LinksInsideTheHelpFolderAreFollowed)
{
    clickLink(0);
    EXPECT_TRUE(waitFor([&] { return title() == QStringLiteral("B"); }))
        << fileName().toStdString();
    backToA();
    clickLink(50);
    EXPECT_TRUE(waitFor([&] { return title() == QStringLiteral("C"); }))
        << fileName().toStdString();
    EXPECT_EQ(view->page()->url(), QUrl(QStringLiteral("tavlin://help/Deutsch/C.html")));
}

TEST_F(HelpBrowserLockTest, WebAddressesAndOutsideFilesAreRefused)
{
    clickLink(100);
    QTest::qWait(1500);
    EXPECT_EQ(title(), QStringLiteral("A"));
    EXPECT_EQ(fileName(), QStringLiteral("A.html"));
    clickLink(150);
    QTest::qWait(1500);
    EXPECT_EQ(title(), QStringLiteral("A"));
    // Scripts cannot go elsewhere either.
    evaluate(view->page(), QStringLiteral("location.href = 'https://example.com/'; 1"));
    QTest::qWait(1000);
    EXPECT_EQ(fileName(), QStringLiteral("A.html"));
    // Pictures load from inside the folder only.
    EXPECT_GT(
        evaluate(view->page(), QStringLiteral("document.getElementById('insidePic').naturalWidth"))
            .toInt(),
        0);
    EXPECT_EQ(
        evaluate(view->page(), QStringLiteral("document.getElementById('outsidePic').naturalWidth"))
            .toInt(),
        0);
}

TEST_F(HelpBrowserLockTest, NoPopUpsNoDownloadsNoContextMenu)
{
    const int windowsBefore = QApplication::topLevelWidgets().size();
    clickLink(200);
    QTest::qWait(1000);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
    EXPECT_EQ(
        evaluate(view->page(), QStringLiteral("window.open('B.html') === null")).toBool(), true);
    EXPECT_EQ(title(), QStringLiteral("A"));

    QList<QWebEngineDownloadRequest::DownloadState> downloads;
    QObject::connect(view->page()->profile(), &QWebEngineProfile::downloadRequested, view,
        [&](QWebEngineDownloadRequest *download) { downloads.append(download->state()); });
    clickLink(250);
    QTest::qWait(1500);
    ASSERT_EQ(downloads.size(), 1);
    for (const auto state : downloads)
        EXPECT_EQ(state, QWebEngineDownloadRequest::DownloadCancelled);
    EXPECT_EQ(title(), QStringLiteral("A"));

    clickLink(0, Qt::RightButton);
    QTest::qWait(500);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
    EXPECT_EQ(view->contextMenuPolicy(), Qt::NoContextMenu);
}
