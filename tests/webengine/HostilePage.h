// The fixture of the hostile-page tests: a help folder in a temporary folder,
// the help window with the real engine, and ways to run the page's scripts.
#pragma once

#include "browser/BrowserEngine.h"
#include "browser/BrowserView.h"
#include "browser/HelpFiles.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"
#include "os/RealServices.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QWebEngineView>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

// The engine plugin the test run names (TAVLIN_ENGINE_PLUGIN), else the build's.
inline BrowserFactory engineUnderTest()
{
    return useBrowserEngine(qEnvironmentVariable(
        "TAVLIN_ENGINE_PLUGIN", QStringLiteral(TAVLIN_BINARY_DIR "/bin/libtavlin_webengine.so")));
}

inline const QString kHelp = QStringLiteral("Visu/Program/Help/Tavlin/English/");

// Unlike QTest::qWaitFor, keeps the event loop running between the checks,
// which the engine needs to answer.
inline bool waitFor(const std::function<bool()> &condition, int milliseconds = 20000)
{
    QElapsedTimer timer;
    for (timer.start(); !condition() && timer.elapsed() < milliseconds;)
        QTest::qWait(20);
    return condition();
}

class HostilePageTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ::unlink(odd.constData()); // a name the temporary folder cannot remove
    }

    // Opens `name` (written with `page` into the help folder) as the overlay
    // does and waits until it has loaded.
    void open(const QString &name, QByteArray page)
    {
        folder.write(kHelp + name, page.replace("@OUTSIDE@", QFile::encodeName(outside)));
        help.setWidth(9225);
        help.setHeight(6915);
        help.HelpFolder = folder.path() + QStringLiteral("/Visu\\Program\\Help\\Tavlin\\");
        help.Adresse = help.HelpFolder + QStringLiteral("English\\") + name;
        help.Init();
        help.window()->show();
        view = qobject_cast<QWebEngineView *>(help.window()->WebBrowser->widget());
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(help.window()));
        waitForPage(help.Adresse);
    }

    // Waits until the view shows the help file `file` (a Windows path) fully
    // loaded. Until a page has come, the view holds an empty document.
    void waitForPage(const QString &file)
    {
        const QString loaded = QStringLiteral("\"%1 complete\"")
                                   .arg(HelpFiles::urlOf(help.HelpFolder, file).toString());
        auto state = [&] { return evaluate("location.href + ' ' + document.readyState", 500); };
        waitFor([&] { return state() == loaded; });
        ASSERT_EQ(state(), loaded);
        QTest::qWait(300); // a fresh page takes input once its first frame is up
    }

    // A real click at the page's point (100, `y`).
    void click(int y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(
            view->focusProxy() ? view->focusProxy() : view, button, {}, QPoint(100, y));
        QTest::qWait(200);
    }

    // The value of `script` (possibly a promise) in the page as JSON text.
    // Answers may come after the wait has given up: they go to shared state.
    QString evaluate(const QString &script, int milliseconds = 20000)
    {
        const QString result = QStringLiteral("window.__r%1").arg(++m_calls);
        view->page()->runJavaScript(
            QStringLiteral("Promise.resolve(%1).then(v => { %2 = JSON.stringify(v ?? null); })")
                .arg(script, result));
        auto answer = std::make_shared<QString>();
        waitFor(
            [&] {
                view->page()->runJavaScript(
                    result, [answer](const QVariant &v) { *answer = v.toString(); });
                return !answer->isEmpty();
            },
            milliseconds);
        return *answer;
    }

    TempFolder folder;
    QString outside = folder.path() + QStringLiteral("/Visu/Outside");
    QByteArray odd;
    const RealServices real;
    Help help { real.services(), engineUnderTest() };
    QWebEngineView *view = nullptr;

private:
    int m_calls = 0;
};
