// Time from the click on a help symbol to the help page's first paint, for
// the first and the second click of a run, with the browser engine loaded on
// demand (at the first click).
// Run under a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_HelpPageFirstPaint
//
// Each iteration is a fresh process (the engine can only start once per
// process), which loads the engine plugin from beside this program. The child shows a full-screen
// stand-in for the overlay with one symbol, waits 3 s as an operator would, then clicks the symbol
// with a real mouse event: the real symbol click sizes and opens the real help window with the real
// engine. The page's first paint is when its red background first shows in the window; the child
// then closes the window with a click on Ende and clicks again. Reported: first click (the
// iteration time) and second click.
#include "OverlayStandIn.h"
#include "browser/BrowserEngine.h"
#include "browser/BrowserView.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"
#include "helpwindow/PictureButton.h"
#include "interaction/SymbolClick.h"
#include "os/RunGuarded.h"
#include "state/ScreenContext.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

QString g_self;

class SymbolStandIn : public QWidget
{
public:
    using QWidget::QWidget;
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent *event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        event->accept();
        if (onClick)
            onClick();
    }
};

bool showsRed(QWidget *view)
{
    const QImage image = view->grab(QRect(view->width() / 2, view->height() / 2, 4, 4)).toImage();
    return !image.isNull() && image.pixelColor(1, 1) == QColor(255, 0, 0);
}

int clickChild(int argc, char **argv)
{
    prepareBrowserEngine();
    QApplication app(argc, argv);
    useBrowserEngine();

    QTemporaryDir folder;
    QDir().mkpath(folder.path() + QStringLiteral("/Visu/Program/Help/Tavlin/English"));
    QFile page(folder.path() + QStringLiteral("/Visu/Program/Help/Tavlin/English/Conveyor.html"));
    if (!page.open(QIODevice::WriteOnly))
        return 2;
    page.write("<html><head><title>Conveyor</title></head><body style=\"background:#ff0000\">"
               "<h1>Conveyor</h1><p>The conveyor moves the parts from the press to the stacker.</p>"
               "<p><a href=\"Other.html\">Other</a></p></body></html>");
    page.close();

    ScreenContext context;
    context.VisuPfad = folder.path() + QStringLiteral("/Visu\\");
    context.LanguageName = QStringLiteral("English");
    context.DispHInt = 1280;
    context.DispVInt = 1024;
    context.HelpEntries[0].Tag = QStringLiteral("Conveyor");
    context.LastEntry = 0;
    Help help;
    SymbolClick symbolClick(context, help);

    OverlayStandIn overlay;
    auto *symbol = new SymbolStandIn(&overlay);
    symbol->setGeometry(200, 200, 35, 36);
    QElapsedTimer sinceClick;
    symbol->onClick = [&] {
        sinceClick.start();
        runGuarded([&] { symbolClick.Symbol_Click(0); });
    };
    overlay.show();
    if (!QTest::qWaitForWindowExposed(&overlay))
        return 3;

    QTest::qWait(3000);

    double times[2] = { -1, -1 };
    for (double &time : times) {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            HelpWindow *window = help.window();
            if (!window || !window->isVisible() || !window->WebBrowser || time >= 0)
                return;
            if (showsRed(window->WebBrowser->widget())) {
                time = sinceClick.nsecsElapsed() / 1e6;
                QTimer::singleShot(
                    50, window, [window] { QTest::mouseClick(window->Ende, Qt::LeftButton); });
            } else if (sinceClick.elapsed() > 20000) {
                QTest::mouseClick(window->Ende, Qt::LeftButton);
            }
        });
        poll.start(2);
        QTest::mouseClick(symbol, Qt::LeftButton, {}, QPoint(17, 18));
        poll.stop();
        QTest::qWait(500);
    }
    std::printf("first=%.1f second=%.1f\n", times[0], times[1]);
    std::fflush(stdout);
    return 0;
}

void BM_HelpPageFirstPaint(benchmark::State &state)
{
    double second = 0;
    for (auto _ : state) {
        QProcess child;
        child.start(g_self, { QStringLiteral("--click-child") });
        child.waitForFinished(120000);
        const QByteArray out = child.readAllStandardOutput();
        double first = -1;
        double secondNow = -1;
        const int at = out.indexOf("first=");
        if (at < 0
            || std::sscanf(out.constData() + at, "first=%lf second=%lf", &first, &secondNow) != 2
            || first < 0 || secondNow < 0) {
            state.SkipWithError("the child did not see the page painted");
            return;
        }
        state.SetIterationTime(first / 1000.0);
        second += secondNow;
    }
    state.counters["second_click_ms"]
        = benchmark::Counter(second, benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_HelpPageFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--click-child") == 0)
        return clickChild(argc, argv);
    g_self = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
