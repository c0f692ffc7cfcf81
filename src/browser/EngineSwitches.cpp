#include "browser/EngineSwitches.h"

#include <QByteArrayList>
#include <QtGlobal>

namespace {

// No name resolves and no connection starts, whatever asks: pages, every kind
// of worker, sockets, prefetch. WebRTC may use no UDP except through a proxy,
// and there is none. Nothing is written to the disk cache of shaders. No page
// gets the file system API (it would write below the profile's folder), and
// WebGL, whose shaders run in the overlay's own process, is off.
const QByteArrayList kLockSwitches = {
    "\"--host-resolver-rules=MAP * ~NOTFOUND\"",
    "--force-webrtc-ip-handling-policy=disable_non_proxied_udp",
    "--webrtc-ip-handling-policy=disable_non_proxied_udp",
    "--disable-background-networking",
    "--no-pings",
    "--disable-gpu-shader-disk-cache",
    "--disable-file-system",
    "--disable-webgl",
    "--disable-accelerated-2d-canvas",
};

// Only switches that take GPU work away or choose how a panel draws pass;
// --ignore-gpu-blocklist, which puts GPU work on a GPU known to misbehave,
// does not.
const QByteArrayList kGraphicsSwitches = {
    "--disable-gpu",
    "--disable-gpu-compositing",
    "--disable-software-rasterizer",
};
const QByteArrayList kGraphicsChoices = { "--use-gl=", "--use-angle=" };

// Splits switches as the engine does: at blanks, except inside double quotes
// (which are dropped).
QByteArrayList split(const QByteArray &switches)
{
    QByteArrayList parts;
    QByteArray part;
    bool quoted = false, inPart = false;
    for (const char c : switches) {
        if (c == '"') {
            quoted = !quoted;
            inPart = true;
        } else if (c == ' ' && !quoted) {
            if (inPart)
                parts << part;
            part.clear();
            inPart = false;
        } else {
            part += c;
            inPart = true;
        }
    }
    if (inPart)
        parts << part;
    return parts;
}

bool harmless(const QByteArray &part)
{
    if (kGraphicsSwitches.contains(part))
        return true;
    for (const QByteArray &choice : kGraphicsChoices) {
        // A plain value only: nothing that could smuggle in another switch.
        if (part.startsWith(choice) && part.size() > choice.size() && !part.contains(' ')
            && !part.contains('"'))
            return true;
    }
    return false;
}

} // namespace

QByteArray lockedEngineSwitches(const QByteArray &requested)
{
    QByteArrayList kept;
    for (const QByteArray &part : split(requested))
        if (harmless(part))
            kept << part;
    return (kept + kLockSwitches).join(' ');
}

void lockEngineEnvironment(bool runningAsRoot)
{
    qputenv(
        "QTWEBENGINE_CHROMIUM_FLAGS", lockedEngineSwitches(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")));
    qunsetenv("QTWEBENGINE_REMOTE_DEBUGGING");
    if (runningAsRoot)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    else
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
}
