#include "app/DisplayPlatform.h"

#include "os/Log.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QtGlobal>

namespace {

// Whether every entry of the variable `name` (";"-separated, each
// "name[:options]", as Qt reads QT_QPA_PLATFORM and QT_QPA_GENERIC_PLUGINS)
// is one `allowed` takes; the first that is not is said with `why`.
template<typename Allowed> bool allowedEntries(const char *name, Allowed allowed, const char *why)
{
    for (const QByteArray &entry : qgetenv(name).split(';')) {
        const QByteArray value = entry.split(':').first().trimmed();
        if (!value.isEmpty() && !allowed(value)) {
            qCCritical(lcStartup, "\"%s\" (%s) %s", value.constData(), name, why);
            return false;
        }
    }
    return true;
}

} // namespace

bool chooseDisplayPlatform()
{
    const bool allowed
        = allowedEntries(
              "QT_QPA_PLATFORM",
              [](const QByteArray &platform) {
                  return platform == "xcb" || platform == "wayland" || platform == "offscreen";
              },
              "is not supported as the display platform: Tavlin runs on xcb or wayland.")
        && allowedEntries(
            "QT_QPA_GENERIC_PLUGINS",
            [](const QByteArray &plugin) { return !plugin.startsWith("tuio"); },
            "takes touches from the network and is not supported as an input plugin.");
    if (!allowed)
        return false;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
    return true;
}
