// A help page written by a hostile help author, with the real engine: it tries
// every door out of the help folder and onto the network, and the operator
// presses what the page offers. Nothing may get through.
#include "webengine/HostilePage.h"
#include "browser/BrowserView.h"
#include "helpwindow/PictureButton.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QImage>
#include <QTcpServer>
#include <QTimer>
#include <QUdpSocket>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <atomic>
#include <thread>

namespace {

const QByteArray kCanary = "tavlin-canary-5d1e";

// probes.js: `probe` knocks on the local listeners `tcp` and `udp` every way
// it can and returns those of `urls` whose answer held the canary;
// `everywhere` probes from the page and every kind of worker it can start.
const char kProbes[] = R"JS(
async function probe({urls = [], tcp, udp}) {
  for (const host of tcp ? ['127.0.0.1', 'localhost'] : []) {
    try { new WebSocket('ws://' + host + ':' + tcp + '/s'); } catch (e) {}
    fetch('http://' + host + ':' + tcp + '/f', {mode: 'no-cors'}).catch(() => {});
    try { new EventSource('http://' + host + ':' + tcp + '/e'); } catch (e) {}
    try { new WebTransport('https://' + host + ':' + udp + '/t').ready.catch(() => {}); } catch (e) {}
  }
  const leaks = [];
  for (const u of urls) {
    try { if ((await (await fetch(u)).text()).includes('@CANARY@')) leaks.push('fetch ' + u); } catch (e) {}
    try {
      const x = new XMLHttpRequest(); x.open('GET', u, false); x.send();
      if (x.responseText.includes('@CANARY@')) leaks.push('xhr ' + u);
    } catch (e) {}
  }
  return leaks;
}
onmessage = async m => postMessage(await probe(m.data));
onconnect = c => { const p = c.ports[0]; p.onmessage = async m => p.postMessage(await probe(m.data)); };
async function everywhere(message) {
  const x = new XMLHttpRequest(); x.open('GET', 'probes.js', false); x.send();
  const blob = URL.createObjectURL(new Blob([x.responseText], {type: 'text/javascript'}));
  const found = (await probe(message)).map(l => 'page: ' + l);
  for (const [who, make] of [['worker', () => new Worker(blob)],
                             ['shared worker', () => new SharedWorker(blob)],
                             ['shared script worker', () => new SharedWorker('probes.js')]]) {
    try {
      const target = make(), port = target.port || target;
      const leaks = await new Promise(done => {
        setTimeout(() => done([]), 8000);
        port.onmessage = m => done(m.data);
        port.postMessage(message);
      });
      found.push(...leaks.map(l => who + ': ' + l));
    } catch (e) {}
  }
  return found;
}
)JS";

} // namespace

// Every door out of the folder and onto the network, from the page and every
// kind of worker: whatever reaches the listeners stays pending there.
TEST_F(HostilePageTest, NoFileOutsideTheFolderAndNoNetworkFromPagesOrWorkers)
{
    QTcpServer tcp;
    QUdpSocket udp;
    ASSERT_TRUE(tcp.listen(QHostAddress::LocalHost) && udp.bind(QHostAddress::LocalHost, 0));
    folder.write(QStringLiteral("Visu/Outside/canary.txt"), kCanary);
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(outside + QStringLiteral("/picture.png"));
    folder.write(kHelp + QStringLiteral("inside.txt"), "inside");
    picture.save(folder.path() + QLatin1Char('/') + kHelp + QStringLiteral("inside.png"));
    folder.write(
        kHelp + QStringLiteral("probes.js"), QByteArray(kProbes).replace("@CANARY@", kCanary));
    // A link whose name is not valid UTF-8, leading out of the folder.
    const QByteArray english = QFile::encodeName(folder.path() + QLatin1Char('/') + kHelp);
    odd = english + "r\xff";
    ASSERT_EQ(::symlink(QFile::encodeName(outside).constData(), odd.constData()), 0);
    open("probes.html",
        "<script src=probes.js></script><iframe src=r%FF/canary.txt></iframe>"
        "<img src=r%FF/picture.png><img src=file://@OUTSIDE@/picture.png><img src=inside.png>");
    const QString urls
        = QStringLiteral("['file://%1/canary.txt', new URL('r%FF/canary.txt', location.href).href,"
                         " new URL('../../../../Outside/canary.txt', location.href).href]")
              .arg(outside);
    EXPECT_EQ(
        evaluate(
            QStringLiteral("(async () => {"
                           " const leaks = await everywhere({urls: %3, tcp: %1, udp: %2});"
                           " navigator.sendBeacon('http://127.0.0.1:%1/b', 'x');"
                           " const link = document.createElement('link'); link.rel = 'prefetch';"
                           " link.href = 'http://127.0.0.1:%1/p'; document.head.appendChild(link);"
                           " const peer = new RTCPeerConnection({iceServers: ["
                           "  {urls: 'stun:127.0.0.1:%2'}, {urls: 'stun:localhost:%2'},"
                           "  {urls: 'turn:127.0.0.1:%2', username: 'secret', credential: 'x'},"
                           "  {urls: 'turn:127.0.0.1:%1?transport=tcp', username: 'secret',"
                           "   credential: 'x'}]});"
                           " peer.createDataChannel('leak');"
                           " await peer.setLocalDescription(await peer.createOffer());"
                           " return leaks; })()")
                .arg(QString::number(tcp.serverPort()), QString::number(udp.localPort()), urls),
            60000),
        "[]");
    // The frame and pictures of the page, through the odd-name link, a file
    // URL and, for a picture that does load, the folder.
    EXPECT_EQ(evaluate(QStringLiteral("[(document.querySelector('iframe').contentDocument?.body"
                                      "?.textContent ?? '').includes('%1'),"
                                      " ...[...document.images].map(p => p.naturalWidth)]")
                           .arg(QString::fromLatin1(kCanary))),
        QStringLiteral("[false,0,0,8]"));

    // A local process swaps a file of the folder for a link to the canary
    // while the page reads it: the page sees the file or nothing, never the
    // canary.
    std::atomic<bool> stop { false };
    std::thread swapper([&] {
        const QByteArray file = english + "race.txt", copy = english + ".copy";
        while (!stop) {
            folder.write(kHelp + QStringLiteral(".copy"), "inside"); // one name only
            ::rename(copy.constData(), file.constData());
            ::symlink((QFile::encodeName(outside) + "/canary.txt").constData(), copy.constData());
            ::rename(copy.constData(), file.constData());
        }
    });
    const QString seen = evaluate(
        QStringLiteral("(async () => { let inside = 0, canary = 0;"
                       " for (let i = 0; i < 600; ++i) {"
                       "  const x = new XMLHttpRequest(); x.open('GET', 'race.txt?' + i, false);"
                       "  try { x.send(); } catch (e) { continue; }"
                       "  if (x.responseText.includes('%1')) ++canary;"
                       "  else if (x.responseText === 'inside') ++inside; }"
                       " return [inside > 0, canary]; })()")
            .arg(QString::fromLatin1(kCanary)),
        60000);
    stop = true;
    swapper.join();
    EXPECT_EQ(seen, "[true,0]") << "the file itself now and then, the canary never";
    QTest::qWait(4000); // ICE gathering and retries
    EXPECT_FALSE(tcp.hasPendingConnections());
    EXPECT_FALSE(udp.hasPendingDatagrams());
}

// Links are blocks 40 pixels high, one below the other. Only those into the
// help folder lead anywhere: no web page, no outside file, no pop-up, no
// download, no context menu. Page dialogs and the file chooser never show, and
// a page that does nothing but raise alerts still closes by the red cross.
TEST_F(HostilePageTest, OnlyHelpLinksAreFollowedAndNoDialogBlocksTheOperator)
{
    folder.write(kHelp + QStringLiteral("B.html"),
        "<title>B</title><body style=\"margin:0\">"
        "<a href=\"../Deutsch/C.html\" style=\"display:block;height:40px\">sibling</a>");
    folder.write(QStringLiteral("Visu/Program/Help/Tavlin/Deutsch/C.html"), "<title>C</title>C");
    open("A.html",
        "<title>A</title><style>body{margin:0} a,input{display:block;height:40px}</style>"
        "<body onmousedown=\"window.presses = (window.presses || 0) + 1\">"
        "<a href=\"B.html\">inside</a><a href=\"https://example.com/\">web</a>"
        "<a href=\"file://@OUTSIDE@/canary.txt\">outside</a>"
        "<a href=\"B.html\" target=\"_blank\">pop-up</a><a href=\"B.html\" download>download</a>"
        "<input type=file id=file style=\"width:300px\">");
    const QUrl a = view->page()->url();
    const int windows = QApplication::topLevelWidgets().size();
    using Download = QWebEngineDownloadRequest;
    QList<Download::DownloadState> downloads;
    QObject::connect(view->page()->profile(), &QWebEngineProfile::downloadRequested, view,
        [&](Download *download) { downloads.append(download->state()); });
    // Closes and counts every dialog that gets through, so that a failing
    // lock fails the test instead of hanging it.
    int dialogs = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != help.window()) {
            ++dialogs;
            modal->close();
        }
    });
    watch.start(50);
    EXPECT_EQ(evaluate("[prompt('Password?', 'x'), confirm('Sure?')]"), "[null,false]");
    for (const int y : { 60, 100, 140, 180, 220 })
        click(y);
    click(20, Qt::RightButton);
    // A pop-up the page opens right after a click is closed at once.
    EXPECT_EQ(evaluate(QStringLiteral("(window.w = window.open('B.html'), window.presses)")),
        QStringLiteral("6"));
    view->page()->runJavaScript(QStringLiteral("location.href = 'https://example.com/'"));
    QTest::qWait(1500);
    EXPECT_EQ(evaluate(QStringLiteral(
                  "[!window.w || window.w.closed, document.getElementById('file').files.length]")),
        QStringLiteral("[true,0]"));
    EXPECT_EQ(view->page()->url(), a);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(downloads, QList { Download::DownloadCancelled });

    click(20);
    ASSERT_NO_FATAL_FAILURE(waitForPage(help.HelpFolder + QStringLiteral("English\\B.html")));
    click(20);
    ASSERT_NO_FATAL_FAILURE(waitForPage(help.HelpFolder + QStringLiteral("Deutsch\\C.html")));

    view->page()->runJavaScript("setTimeout(() => { for (;;) alert('locked'); }, 0)");
    QTest::qWait(1500);
    EXPECT_EQ(dialogs, 0) << "a page dialog or the file chooser appeared";
    QTest::mouseClick(help.window()->Ende, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(waitFor([&] { return !help.isLoaded(); }, 5000));
}
