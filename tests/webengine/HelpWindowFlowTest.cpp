#include "state/ScreenContext.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"
#include "helpwindow/PictureButton.h"
#include "interaction/SymbolClick.h"
#include "browser/BrowserView.h"
#include "os/Platform.h"
#include "os/RunGuarded.h"
#include "support/TempFolder.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {

bool pageShows(QWidget *view, QColor colour)
{
    const QImage image = view->grab(QRect(view->width() / 2, view->height() / 2, 4, 4)).toImage();
    return !image.isNull() && image.pixelColor(1, 1) == colour;
}

bool waitUntil(const std::function<bool()> &condition, int milliseconds = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < milliseconds)
        QTest::qWait(20);
    return condition();
}

} // namespace

// The whole road of a help request with the real engine: a symbol click opens
// the page centred on the 1280 x 1024 screen, the window is dragged by its
// handle and closed by Ende, and the next click opens it centred again.
TEST(HelpWindowFlowTest, ClickShowsThePageCentredDragCloseAndReopen)
{
    TempFolder folder;
    folder.write(QStringLiteral("Visu/Program/Help/Tavlin/English/Conveyor.html"),
        "<html><body style=\"background:#00ff00\"><h1>Conveyor</h1></body></html>");
    ScreenContext context;
    context.VisuPfad = folder.path() + QStringLiteral("/Visu\\");
    context.LanguageName = QStringLiteral("English");
    context.DispHInt = 1280;
    context.DispVInt = 1024;
    context.HelpEntries[0].Tag = QStringLiteral("Conveyor");
    context.LastEntry = 0;
    Help help;
    SymbolClick symbolClick(context, help);

    const float twips = platform().screen->twipsPerPixelX();
    ASSERT_FLOAT_EQ(twips, 15.0f) << "the Xvfb screen is expected at 96 dpi";
    const QRect centred(148, 118, 985, 788);

    for (int round = 0; round < 2; ++round) {
        bool painted = false;
        QRect opened;
        QPoint dragged;
        // Owned by this scope: a timer that never fired (no window opened) dies here.
        QObject scope;
        QTimer::singleShot(0, &scope, [&] {
            HelpWindow *window = help.window();
            ASSERT_NE(window, nullptr);
            opened = window->geometry();
            painted = waitUntil(
                [&] { return pageShows(window->WebBrowser->widget(), QColor(0, 255, 0)); });
            QTest::mousePress(window->Verschieben, Qt::LeftButton, {}, QPoint(30, 30));
            QTest::mouseMove(window->Verschieben, QPoint(130, 80));
            QTest::mouseRelease(window->Verschieben, Qt::LeftButton, {}, QPoint(130, 80));
            waitUntil([&] { return window->geometry().topLeft() != opened.topLeft(); }, 2000);
            dragged = window->geometry().topLeft();
            QTest::mouseClick(window->Ende, Qt::LeftButton);
        });
        runGuarded([&] { symbolClick.Symbol_Click(0); });
        EXPECT_TRUE(painted) << "round " << round;
        EXPECT_EQ(opened, centred) << "round " << round;
        EXPECT_EQ(dragged, centred.topLeft() + QPoint(100, 50)) << "round " << round;
        EXPECT_FALSE(help.isLoaded());
    }
}
