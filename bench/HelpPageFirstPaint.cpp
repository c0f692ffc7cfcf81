// Time from the click on a help symbol to the help page's first paint, for
// the first and the second click of a run, against a bare browser view that
// starts in a fresh process and paints the same page (bench_BareBrowserView,
// from its start to its paint), and the memory of the program with its engine
// processes before the first click and with a page open.
// Run under a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_HelpPageFirstPaint
//
// Each iteration is a fresh process (the engine can only start once per
// process), which loads the engine plugin from beside this program. The child
// shows a full-screen stand-in for the overlay with one symbol, warms the
// engine up as the program does after its fade (/warm) or not (/cold, as the
// program did before), waits 3 s as an operator would, then clicks the symbol
// with a real mouse event: the real symbol click sizes and opens the real
// help window. The page's first paint is when its red background first shows
// in the window; the child then closes the window with a click on Ende and
// clicks again. Reported: the first click (the iteration time), the second,
// both as ratios to the bare view, and the memory (the proportional set size
// of the child and its engine processes).
#include "OverlayStandIn.h"
#include "browser/BrowserEngine.h"
#include "browser/BrowserView.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"
#include "helpwindow/PictureButton.h"
#include "interaction/SymbolClick.h"
#include "os/RunGuarded.h"
#include "os/ScratchFolder.h"
#include "state/ScreenContext.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>

namespace {

QString g_self;
double g_bareMs = 0; // the bare view's mean, once measured

const char kPage[] = "<html><head><title>Conveyor</title></head><body style=\"background:#ff0000\">"
                     "<h1>Conveyor</h1><p>The conveyor moves the parts from the press to the "
                     "stacker.</p><p><a href=\"Other.html\">Other</a></p></body></html>";

double nowMs()
{
    return std::chrono::duration<double, std::milli>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The proportional set size (MB) of this process and all below it.
double treeMemoryMb()
{
    QHash<qint64, qint64> parents;
    for (QDirIterator it("/proc", QDir::Dirs | QDir::NoDotAndDotDot); it.hasNext();) {
        QFile stat(it.next() + "/stat");
        if (stat.open(QIODevice::ReadOnly)) {
            const QByteArray line = stat.readAll();
            const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
            parents.insert(
                QFileInfo(it.filePath()).fileName().toLongLong(), fields.value(1).toLongLong());
        }
    }
    const qint64 self = QCoreApplication::applicationPid();
    double kb = 0;
    for (auto it = parents.cbegin(); it != parents.cend(); ++it) {
        qint64 pid = it.key();
        for (int depth = 0; depth < 8 && pid > 1 && pid != self; ++depth)
            pid = parents.value(pid);
        if (pid != self)
            continue;
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(it.key()));
        if (rollup.open(QIODevice::ReadOnly))
            for (const QByteArray &line : rollup.readAll().split('\n'))
                if (line.startsWith("Pss:"))
                    kb += line.mid(4).trimmed().split(' ').first().toDouble();
    }
    return kb / 1024;
}

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

int clickChild(int argc, char **argv, bool warm)
{
    makeScratchFolder();
    prepareBrowserEngine();
    QApplication app(argc, argv);
    useBrowserEngine();

    QTemporaryDir folder;
    QDir().mkpath(folder.path() + QStringLiteral("/Visu/Program/Help/Tavlin/English"));
    QFile page(folder.path() + QStringLiteral("/Visu/Program/Help/Tavlin/English/Conveyor.html"));
    if (!page.open(QIODevice::WriteOnly))
        return 2;
    page.write(kPage);
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

    if (warm)
        warmUpBrowserEngine(kWarmUpAfterFadeMs);
    QTest::qWait(3000);
    const double before = treeMemoryMb();
    double open = -1;

    double times[2] = { -1, -1 };
    for (double &time : times) {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            HelpWindow *window = help.window();
            if (!window || !window->isVisible() || !window->WebBrowser || time >= 0)
                return;
            if (showsRed(window->WebBrowser->widget())) {
                time = sinceClick.nsecsElapsed() / 1e6;
                if (open < 0)
                    open = treeMemoryMb();
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
    std::printf("first=%.1f second=%.1f before=%.1f open=%.1f\n", times[0], times[1], before, open);
    std::fflush(stdout);
    return 0;
}

// The bare view from its process's start to its page's paint.
void BM_BareBrowserView(benchmark::State &state)
{
    QTemporaryDir folder;
    QFile page(folder.path() + QStringLiteral("/Conveyor.html"));
    if (!page.open(QIODevice::WriteOnly) || page.write(kPage) < 0)
        return state.SkipWithError("no page");
    page.close();
    double total = 0;
    for (auto _ : state) {
        QProcess child;
        const double start = nowMs();
        child.start(QFileInfo(g_self).path() + QStringLiteral("/bench_BareBrowserView"),
            { page.fileName() });
        child.waitForFinished(60000);
        double painted = -1;
        const QByteArray out = child.readAllStandardOutput();
        if (std::sscanf(out.constData(), "painted=%lf", &painted) != 1)
            return state.SkipWithError("the bare view did not paint its page");
        state.SetIterationTime((painted - start) / 1000.0);
        total += painted - start;
    }
    g_bareMs = total / double(state.iterations());
}

void BM_HelpPageFirstPaint(benchmark::State &state)
{
    double first = 0, second = 0, before = 0, open = 0;
    for (auto _ : state) {
        QProcess child;
        child.start(g_self, { QStringLiteral("--click-child"), QString::number(state.range(0)) });
        child.waitForFinished(120000);
        const QByteArray out = child.readAllStandardOutput();
        double times[4] = { -1, -1, -1, -1 };
        const int at = out.indexOf("first=");
        if (at < 0
            || std::sscanf(out.constData() + at, "first=%lf second=%lf before=%lf open=%lf",
                   &times[0], &times[1], &times[2], &times[3])
                != 4
            || times[0] < 0 || times[1] < 0)
            return state.SkipWithError("the child did not see the page painted");
        state.SetIterationTime(times[0] / 1000.0);
        first += times[0];
        second += times[1];
        before += times[2];
        open += times[3];
    }
    const double n = double(state.iterations());
    state.counters["second_click_ms"] = second / n;
    state.counters["memory_before_click_MB"] = before / n;
    state.counters["memory_page_open_MB"] = open / n;
    if (g_bareMs > 0) {
        state.counters["first_vs_bare"] = first / n / g_bareMs;
        state.counters["second_vs_bare"] = second / n / g_bareMs;
    }
}

BENCHMARK(BM_BareBrowserView)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_HelpPageFirstPaint)
    ->ArgName("warm")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && std::strcmp(argv[1], "--click-child") == 0)
        return clickChild(1, argv, std::strcmp(argv[2], "1") == 0);
    g_self = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
