// A help page written by a hostile help author, with the real engine: it tries
// every door out of the help folder and onto the network, and the operator
// presses what the page offers. Nothing may get through.
#include "browser/BrowserView.h"
#include "browser/HelpFiles.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"
#include "helpwindow/PictureButton.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <unistd.h>

namespace {

const QByteArray kCanary = "tavlin-canary-5d1e";
const QString kHelp = QStringLiteral("Visu/Program/Help/Tavlin/English/");

bool waitFor(const std::function<bool()> &condition, int milliseconds = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < milliseconds)
        QTest::qWait(20);
    return condition();
}

// Closes every dialog that a page manages to open and counts it, so that a
// failing lock fails the test instead of hanging it.
class DialogWatch
{
public:
    explicit DialogWatch(QWidget *allowed)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, allowed] {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal && modal != allowed) {
                ++dialogs;
                modal->close();
            }
        });
        m_timer.start(50);
    }
    int dialogs = 0;

private:
    QTimer m_timer;
};

// Probes that run in a page, a dedicated worker and a shared worker alike:
// `probeFiles` returns the URLs whose answer held the canary; `probeNetwork`
// knocks on the local listeners in every way a worker can.
const char kProbes[] = R"JS(
const CANARY = '@CANARY@';
async function probeFiles(urls) {
  const leaks = [];
  for (const u of urls) {
    try { const r = await fetch(u); if ((await r.text()).includes(CANARY)) leaks.push('fetch ' + u); } catch (e) {}
    try {
      const x = new XMLHttpRequest(); x.open('GET', u, false); x.send();
      if (x.responseText.includes(CANARY)) leaks.push('xhr ' + u);
    } catch (e) {}
  }
  return leaks;
}
function probeNetwork(tcp, udp) {
  for (const host of ['127.0.0.1', 'localhost']) {
    try { new WebSocket('ws://' + host + ':' + tcp + '/s'); } catch (e) {}
    try { fetch('http://' + host + ':' + tcp + '/f', {mode: 'no-cors'}).catch(() => {}); } catch (e) {}
    try { new EventSource('http://' + host + ':' + tcp + '/e'); } catch (e) {}
    try { new WebTransport('https://' + host + ':' + udp + '/t').ready.catch(() => {}); } catch (e) {}
  }
}
)JS";

const char kWorkerMain[] = R"JS(
onmessage = async m => postMessage(m.data.urls ? await probeFiles(m.data.urls) : (probeNetwork(m.data.tcp, m.data.udp), []));
onconnect = c => { const p = c.ports[0]; p.onmessage = async m => p.postMessage(m.data.urls ? await probeFiles(m.data.urls) : (probeNetwork(m.data.tcp, m.data.udp), [])); };
)JS";

// Runs in the page: the same probes from the page itself, a dedicated worker,
// a shared worker from a blob and one from a script in the folder.
const char kPageMain[] = R"JS(
const workerCode = document.getElementById('probes').textContent + document.getElementById('main').textContent;
const blob = URL.createObjectURL(new Blob([workerCode], {type: 'text/javascript'}));
function ask(target, message) {
  return new Promise(done => {
    const port = target.port || target;
    setTimeout(() => done(['no answer']), 8000);
    port.onmessage = m => done(m.data);
    if (target.port) target.port.start();
    port.postMessage(message);
  });
}
async function everywhere(message, pageProbe) {
  const found = [];
  const add = (who, list) => { for (const l of list) if (l !== 'no answer') found.push(who + ': ' + l); };
  add('page', await pageProbe());
  for (const [who, make] of [['worker', () => new Worker(blob)],
                             ['shared worker', () => new SharedWorker(blob)],
                             ['shared script worker', () => new SharedWorker('shared.js')]]) {
    try { add(who, await ask(make(), message)); } catch (e) {}
  }
  return found;
}
)JS";

QByteArray withProbes(QByteArray page)
{
    return page.replace("@PROBES@",
        QByteArray("<script id=probes type=text/plain>") + kProbes
            + "</script><script id=main type=text/plain>" + kWorkerMain + "</script><script>"
            + kProbes + kPageMain + "</script>");
}

class HostilePageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        outside = folder.path() + QStringLiteral("/Visu/Outside");
        folder.write(QStringLiteral("Visu/Outside/canary.txt"), kCanary);
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.save(outside + QStringLiteral("/picture.png"));
        folder.write(kHelp + QStringLiteral("inside.txt"), "inside");
        picture.save(folder.path() + QLatin1Char('/') + kHelp + QStringLiteral("inside.png"));
        folder.write(kHelp + QStringLiteral("shared.js"), QByteArray(kProbes) + kWorkerMain);
        // A link whose name is not valid UTF-8, leading out of the folder.
        odd = QFile::encodeName(folder.path() + QLatin1Char('/') + kHelp) + "r\xff";
        ASSERT_EQ(::symlink(QFile::encodeName(outside).constData(), odd.constData()), 0);
    }

    void TearDown() override
    {
        if (help.isLoaded())
            help.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ::unlink(odd.constData()); // a name the temporary folder cannot remove
    }

    // Opens `name` (written with `content` into the help folder) as the
    // overlay does and waits until it has loaded.
    void open(const QString &name, const QByteArray &content)
    {
        QByteArray page = content;
        page.replace("@CANARY@", kCanary).replace("@OUTSIDE@", QFile::encodeName(outside));
        folder.write(kHelp + name, withProbes(page).replace("@CANARY@", kCanary));
        help.setWidth(9225);
        help.setHeight(6915);
        help.setLeft(1500);
        help.setTop(1500);
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
        QString state;
        waitFor([&] {
            state = evaluate(QStringLiteral("location.href + ' ' + document.readyState"), 500);
            return state == loaded;
        });
        ASSERT_EQ(state.toStdString(), loaded.toStdString());
        QTest::qWait(300); // a fresh page takes input once its first frame is up
    }

    // A real click at the page's point (100, `y`).
    void click(int y, Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget *surface = view->focusProxy() ? view->focusProxy() : view;
        QTest::mouseClick(surface, button, {}, QPoint(100, y));
        QTest::qWait(200);
    }

    // Runs `script` (an expression, possibly a promise) in the page and
    // returns its value as JSON text.
    QString evaluate(const QString &script, int milliseconds = 20000)
    {
        const QString id = QString::number(++m_calls);
        view->page()->runJavaScript(QStringLiteral("Promise.resolve(") + script
            + QStringLiteral(").then(v => { window.__r") + id
            + QStringLiteral(" = JSON.stringify(v === undefined ? null : v); })"));
        // Answers may come after the wait has given up (or at the page's
        // end), so they go into shared state.
        struct Answer
        {
            QString value;
            bool pending = false;
        };
        auto answer = std::make_shared<Answer>();
        waitFor(
            [&] {
                if (!answer->pending) {
                    answer->pending = true;
                    view->page()->runJavaScript(
                        QStringLiteral("window.__r") + id, [answer](const QVariant &v) {
                            answer->value = v.toString();
                            answer->pending = false;
                        });
                }
                return !answer->value.isEmpty();
            },
            milliseconds);
        return answer->value;
    }

    TempFolder folder;
    QString outside;
    QByteArray odd;
    Help help;
    QWebEngineView *view = nullptr;

private:
    int m_calls = 0;
};

} // namespace

TEST_F(HostilePageTest, NoFileOutsideTheFolderCanBeRead)
{
    open(QStringLiteral("reading.html"), "<html><body>@PROBES@</body></html>");
    const QString urls = QStringLiteral(
        "['file://@OUTSIDE@/canary.txt', new URL('r%FF/canary.txt', location.href).href,"
        " new URL('../../../../Outside/canary.txt', location.href).href]")
                             .replace(QStringLiteral("@OUTSIDE@"), outside);
    const QString leaks
        = evaluate(QStringLiteral("everywhere({urls: %1}, () => probeFiles(%1))").arg(urls), 60000);
    EXPECT_EQ(leaks.toStdString(), "[]");
    // Frames and pictures through the odd-name link.
    EXPECT_EQ(
        evaluate(QStringLiteral(
            "new Promise(done => {"
            " const frame = document.createElement('iframe'); frame.src = 'r%FF/canary.txt';"
            " const pictures = ['r%FF/picture.png', 'file://%2/picture.png', 'inside.png']"
            "  .map(src => Object.assign(document.createElement('img'), {src}));"
            " document.body.append(frame, ...pictures);"
            " setTimeout(() => { let text = '';"
            "  try { text = frame.contentDocument.body.textContent; } catch (e) {}"
            "  done([text.includes('%1'), ...pictures.map(p => p.naturalWidth)]); }, 1500); })")
                     .arg(QString::fromLatin1(kCanary), outside)),
        QStringLiteral("[false,0,0,8]"));

    // A local process swaps a file of the folder for a link to the canary
    // while the page reads it: the page sees the file or nothing, never the
    // canary.
    const QByteArray race = QFile::encodeName(folder.path() + QLatin1Char('/') + kHelp);
    std::atomic<bool> stop { false };
    std::thread swapper([&] {
        const QByteArray file = race + "race.txt", inside = race + "inside.txt",
                         link = race + ".link", copy = race + ".copy";
        ::symlink((QFile::encodeName(outside) + "/canary.txt").constData(), link.constData());
        while (!stop) {
            ::link(inside.constData(), copy.constData());
            ::rename(copy.constData(), file.constData());
            ::symlink((QFile::encodeName(outside) + "/canary.txt").constData(), copy.constData());
            ::rename(copy.constData(), file.constData());
        }
    });
    const QString counts = evaluate(
        QStringLiteral("(async () => { let inside = 0, canary = 0;"
                       " for (let i = 0; i < 600; ++i) {"
                       "  const x = new XMLHttpRequest(); x.open('GET', 'race.txt?' + i, false);"
                       "  try { x.send(); } catch (e) { continue; }"
                       "  if (x.responseText.includes('%1')) ++canary;"
                       "  else if (x.responseText === 'inside') ++inside; }"
                       " return [inside, canary]; })()")
            .arg(QString::fromLatin1(kCanary)),
        60000);
    stop = true;
    swapper.join();
    const QJsonArray seen = QJsonDocument::fromJson(counts.toUtf8()).array();
    ASSERT_EQ(seen.size(), 2) << counts.toStdString();
    EXPECT_GT(seen[0].toInt(), 0) << "the race never served the file itself";
    EXPECT_EQ(seen[1].toInt(), 0) << "the canary was served through the swapped link";
}

TEST_F(HostilePageTest, NoNetworkFromPagesOrWorkers)
{
    QTcpServer tcp;
    ASSERT_TRUE(tcp.listen(QHostAddress::LocalHost));
    QUdpSocket udp;
    ASSERT_TRUE(udp.bind(QHostAddress::LocalHost, 0));
    int connections = 0, datagrams = 0;
    QObject::connect(&tcp, &QTcpServer::newConnection, [&] {
        while (QTcpSocket *socket = tcp.nextPendingConnection()) {
            ++connections;
            socket->deleteLater();
        }
    });
    QObject::connect(&udp, &QUdpSocket::readyRead, [&] {
        while (udp.hasPendingDatagrams()) {
            udp.receiveDatagram();
            ++datagrams;
        }
    });

    open(QStringLiteral("network.html"), "<html><body>@PROBES@</body></html>");
    evaluate(
        QStringLiteral(
            "(async () => {"
            " await everywhere({tcp: %1, udp: %2}, () => (probeNetwork(%1, %2), []));"
            " navigator.sendBeacon('http://127.0.0.1:%1/b', 'x');"
            " const link = document.createElement('link'); link.rel = 'prefetch';"
            " link.href = 'http://127.0.0.1:%1/p'; document.head.appendChild(link);"
            " const peer = new RTCPeerConnection({iceServers: ["
            "  {urls: 'stun:127.0.0.1:%2'}, {urls: 'stun:localhost:%2'},"
            "  {urls: 'turn:127.0.0.1:%2', username: document.title + 'secret', credential: 'x'},"
            "  {urls: 'turn:127.0.0.1:%1?transport=tcp', username: 'secret', credential: 'x'}]});"
            " peer.createDataChannel('leak');"
            " await peer.setLocalDescription(await peer.createOffer());"
            " return 1; })()")
            .arg(tcp.serverPort())
            .arg(udp.localPort()),
        30000);
    QTest::qWait(4000); // ICE gathering and retries
    EXPECT_EQ(connections, 0);
    EXPECT_EQ(datagrams, 0);
}

TEST_F(HostilePageTest, DialogsAndTheFileChooserNeverBlockTheOperator)
{
    open(QStringLiteral("dialogs.html"),
        "<html><body style=\"margin:0\">"
        "<input type=file id=file style=\"position:absolute;left:0;top:0;width:300px;height:60px\">"
        "</body></html>");
    DialogWatch watch(help.window());
    EXPECT_EQ(evaluate(QStringLiteral("[prompt('Password?', 'x'), confirm('Sure?')]")),
        QStringLiteral("[null,false]"));

    click(30);
    QTest::qWait(1300);
    EXPECT_EQ(evaluate(QStringLiteral("document.getElementById('file').files.length")),
        QStringLiteral("0"));

    // A page that does nothing but raise alerts: the red cross still closes it.
    view->page()->runJavaScript(
        QStringLiteral("setTimeout(() => { for (;;) alert('locked'); }, 0)"));
    QTest::qWait(1500);
    EXPECT_EQ(watch.dialogs, 0) << "a page dialog or the file chooser appeared";
    QTest::mouseClick(help.window()->Ende, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(waitFor([&] { return !help.isLoaded(); }, 5000));
}

// Links are blocks 40 pixels high, one below the other. Only those into the
// help folder lead anywhere: no web page, no outside file, no pop-up, no
// download, no context menu.
TEST_F(HostilePageTest, OnlyLinksIntoTheHelpFolderAreFollowed)
{
    folder.write(kHelp + QStringLiteral("B.html"),
        "<html><head><title>B</title></head><body style=\"margin:0\">"
        "<a href=\"../Deutsch/C.html\" "
        "style=\"display:block;height:40px\">sibling</a></body></html>");
    folder.write(QStringLiteral("Visu/Program/Help/Tavlin/Deutsch/C.html"),
        "<html><head><title>C</title></head><body>C</body></html>");
    open(QStringLiteral("A.html"),
        "<html><head><title>A</title><style>body{margin:0} a{display:block;height:40px}</style>"
        "</head><body onmousedown=\"window.presses = (window.presses || 0) + 1\">"
        "<a href=\"B.html\">inside</a><a href=\"https://example.com/\">web</a>"
        "<a href=\"file://@OUTSIDE@/canary.txt\">outside</a>"
        "<a href=\"B.html\" target=\"_blank\">pop-up</a><a href=\"B.html\" download>download</a>"
        "</body></html>");
    const QUrl a = view->page()->url();
    const int windows = QApplication::topLevelWidgets().size();
    QList<QWebEngineDownloadRequest::DownloadState> downloads;
    QObject::connect(view->page()->profile(), &QWebEngineProfile::downloadRequested, view,
        [&](QWebEngineDownloadRequest *download) { downloads.append(download->state()); });
    for (const int y : { 60, 100, 140, 180 })
        click(y);
    click(20, Qt::RightButton);
    // A pop-up the page opens right after a click is closed at once.
    EXPECT_EQ(evaluate(QStringLiteral("(window.w = window.open('B.html'), window.presses)")),
        QStringLiteral("5"));
    view->page()->runJavaScript(QStringLiteral("location.href = 'https://example.com/'"));
    QTest::qWait(1500);
    EXPECT_EQ(evaluate(QStringLiteral("!window.w || window.w.closed")), QStringLiteral("true"));
    EXPECT_EQ(view->page()->url(), a);
    EXPECT_EQ(view->page()->title(), QStringLiteral("A"));
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(downloads,
        QList<QWebEngineDownloadRequest::DownloadState> {
            QWebEngineDownloadRequest::DownloadCancelled });

    click(20);
    ASSERT_NO_FATAL_FAILURE(waitForPage(help.HelpFolder + QStringLiteral("English\\B.html")));
    click(20);
    waitForPage(help.HelpFolder + QStringLiteral("Deutsch\\C.html"));
}
