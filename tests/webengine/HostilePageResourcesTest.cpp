// The second round of hostile pages: what a page may not do to the overlay's
// own process and to the operator's panel: its memory, its windows, its GPU,
// its log and its clipboard, and files that are not plain files of the folder.
#include "helpwindow/PictureButton.h"
#include "support/QtPrinters.h"
#include "webengine/HostilePage.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QScreen>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>

namespace {

// The peak resident memory of this process, in MiB.
qint64 peakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() / 1024;
    return -1;
}

QStringList g_pageMessages; // what reached Qt's log from pages
QtMessageHandler g_previous = nullptr;

void recordPageMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const QByteArray category(context.category ? context.category : "");
    if (category == "js" || category.startsWith("tavlin"))
        g_pageMessages << text;
    else
        g_previous(type, context, text);
}

} // namespace

// A file hard-linked into the folder from outside is refused like a link; a
// named pipe (or any device) named like a file of the folder is never opened,
// so no driver's open runs for a page.
TEST_F(HostilePageTest, HardLinksAndDevicesAreNeverServed)
{
    folder.write(QStringLiteral("Visu/Outside/canary.txt"), "tavlin-canary-hard");
    const QByteArray english = QFile::encodeName(folder.write(kHelp + "P.html", "<p>P"));
    const QByteArray pipe = english.chopped(6) + "pipe.txt";
    ASSERT_EQ(::link(QFile::encodeName(outside + "/canary.txt").constData(),
                  (english.chopped(6) + "hard.txt").constData()),
        0);
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    // A writer's open returns once a reader has opened the pipe: only if the
    // page's request opened it, or at the end, when the test opens it itself.
    std::atomic<bool> ending { false }, openedByPage { false };
    std::thread writer([&] {
        const int fd = ::open(pipe.constData(), O_WRONLY);
        openedByPage = !ending;
        ::close(fd);
    });
    open("P.html", "<p>P");
    EXPECT_EQ(evaluate(QStringLiteral(
                  "['hard.txt', 'pipe.txt', 'Pipe.txt'].map(n => { const x = new XMLHttpRequest();"
                  " x.open('GET', n, false); try { x.send(); return x.status; }"
                  " catch (e) { return 'refused'; } })")),
        "[\"refused\",\"refused\",\"refused\"]");
    ending = true;
    ::close(::open(pipe.constData(), O_RDONLY | O_NONBLOCK));
    writer.join();
    EXPECT_FALSE(openedByPage) << "the named pipe was opened";
}

// A page asking again and again for a large file of the folder, each time
// under another name, by every way it has: the overlay's own process keeps to
// a fixed budget, the help files stream from disk.
TEST_F(HostilePageTest, RequestsForLargeFilesKeepTheOverlaysMemoryBounded)
{
    QFile large(folder.write(kHelp + QStringLiteral("large.bin"), QByteArray()));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(60 << 20));
    large.close();
    open("M.html", "<p>M");
    const qint64 before = peakMemoryMiB();
    EXPECT_EQ(
        evaluate(
            QStringLiteral(
                "Promise.all([...Array(24).keys()].map(i => i % 2"
                " ? new Promise(done => { const x = new XMLHttpRequest();"
                "   x.open('GET', 'large.bin?x' + i); x.responseType = 'arraybuffer';"
                "   x.onloadend = () => done(x.response ? x.response.byteLength : 0); x.send(); })"
                " : new Promise(done => { const p = new Image(); p.onload = p.onerror ="
                "   () => done(62914560); p.src = 'large.bin?i' + i; })))"
                ".then(sizes => sizes.every(s => s == 62914560))"),
            120000),
        "true");
    EXPECT_LT(peakMemoryMiB() - before, 64) << "MiB more at the peak";
}

// Every kind of input a page can offer, touched by the operator: no picker
// window opens, no popup covers the window's own controls, and the red cross
// closes the window.
TEST_F(HostilePageTest, NoPickerBlocksTheOperator)
{
    QByteArray inputs = "<style>body{margin:0} input,select{display:block;box-sizing:border-box;"
                        "width:100%;height:30px;margin:0}</style>";
    for (const char *type : { "color", "date", "datetime-local", "month", "week", "time", "file",
             "text\" list=\"l", "number", "range" })
        inputs += QByteArray("<input type=\"") + type + "\">";
    inputs += "<datalist id=l><option>a<option>b</datalist><select>";
    for (int i = 0; i < 500; ++i)
        inputs += "<option>" + QByteArray::number(i);
    inputs += "</select><select multiple><option>x<option>y</select>";
    open("I.html", inputs);
    const QRect controls(help.window()->Verschieben->mapToGlobal(QPoint()),
        help.window()->Ende->mapToGlobal(help.window()->Ende->rect().bottomRight()));
    for (int y = 15; y < 12 * 30; y += 30) {
        QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, QPoint(100, y));
        QTest::qWait(400);
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (!window->isVisible() || window == help.window())
                continue;
            EXPECT_TRUE(
                window->windowType() == Qt::Popup && !window->geometry().intersects(controls))
                << "at " << y << ": " << window->metaObject()->className() << " "
                << window->windowTitle().toStdString();
        }
        const QWidget *modal = QApplication::activeModalWidget();
        EXPECT_TRUE(!modal || modal == help.window()) << "at " << y;
        QTest::keyClick(view->focusProxy(), Qt::Key_Escape);
    }
    QTest::mouseClick(help.window()->Ende, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(waitFor([&] { return !help.isLoaded(); }, 5000));
}

// WebGL (whose shaders run in the overlay's own process) is off, whatever
// switches the environment asked for (see WebEngineTestMain).
TEST_F(HostilePageTest, NoWebGLWhateverTheSwitches)
{
    open("G.html", "<p>G");
    EXPECT_EQ(
        evaluate(QStringLiteral("['webgl', 'webgl2', 'experimental-webgl'].map(k => [() =>"
                                " document.createElement('canvas').getContext(k),"
                                " () => new OffscreenCanvas(8, 8).getContext(k)].some(make => {"
                                " try { return !!make(); } catch (e) { return false; } }))")),
        "[false,false,false]");
}

// A page flooding its console leaves a few lines for the help author, not
// the flood.
TEST_F(HostilePageTest, ConsoleFloodReachesTheLogCut)
{
    g_pageMessages.clear();
    g_previous = qInstallMessageHandler(recordPageMessages);
    open("C.html",
        "<script>for (let i = 0; i < 20000; ++i) console.error('flood ' + i + 'x'.repeat(2000));"
        "document.title = 'flooded'</script>");
    waitFor([&] { return view->page()->title() == "flooded"; });
    QTest::qWait(500);
    qInstallMessageHandler(g_previous);
    EXPECT_LT(g_pageMessages.join(QString()).size(), 64 * 1024);
    EXPECT_GE(g_pageMessages.size(), 2);
}

// On the operator's touch a page may copy what it likes, select what it likes:
// neither reaches the panel's clipboard or primary selection.
TEST_F(HostilePageTest, PageWritesNothingToTheClipboard)
{
    open("K.html",
        "<style>body{margin:0}</style><p id=p style=\"height:300px\">rm -rf /</p><script>"
        "document.body.onmouseup = () => { getSelection().selectAllChildren(p);"
        " document.execCommand('copy'); navigator.clipboard?.writeText('rm -rf /').catch(() => {});"
        " document.title = 'copied' }</script>");
    QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, QPoint(100, 100));
    waitFor([&] { return view->page()->title() == "copied"; });
    QTest::qWait(500);
    QClipboard *clipboard = QGuiApplication::clipboard();
    EXPECT_FALSE(clipboard->ownsClipboard() || clipboard->ownsSelection());
    EXPECT_FALSE(clipboard->text(QClipboard::Clipboard).contains("rm -rf"));
    EXPECT_FALSE(clipboard->text(QClipboard::Selection).contains("rm -rf"));
}

// The engine reads a backslash in a help address as a slash, as the help author's check
// assumes: "..\Bilder\dot.png" loads the picture of the help folder's Bilder folder.
TEST_F(HostilePageTest, BackslashesInAddressesAreSlashes)
{
    QImage dot(4, 4, QImage::Format_RGB32);
    dot.fill(Qt::red);
    const QString pictures = folder.path() + "/Visu/Program/Help/Tavlin/Bilder";
    ASSERT_TRUE(QDir().mkpath(pictures) && dot.save(pictures + "/dot.png"));
    open(QStringLiteral("Back.html"), "<img id=\"a\" src=\"..\\Bilder\\dot.png\">");
    EXPECT_EQ(evaluate("document.getElementById('a').src"), "\"tavlin://help/Bilder/dot.png\"");
    EXPECT_TRUE(
        waitFor([&] { return evaluate("document.getElementById('a').naturalWidth") == "4"; }));
}
