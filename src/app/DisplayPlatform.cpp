#include "app/DisplayPlatform.h"

#include "os/Log.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QtGlobal>

namespace {

// The first entry of `list` (";"-separated, each "name[:options]", as Qt reads
// QT_QPA_PLATFORM and QT_QPA_GENERIC_PLUGINS) whose name `allowed` refuses.
template<typename Allowed> QByteArray firstRefused(const QByteArray &list, Allowed allowed)
{
    for (const QByteArray &entry : list.split(';')) {
        const QByteArray name = entry.split(':').first().trimmed();
        if (!name.isEmpty() && !allowed(name))
            return name;
    }
    return QByteArray();
}

} // namespace

bool chooseDisplayPlatform()
{
    const QByteArray platform
        = firstRefused(qgetenv("QT_QPA_PLATFORM"), [](const QByteArray &name) {
              return name == "xcb" || name == "wayland" || name == "offscreen";
          });
    if (!platform.isEmpty()) {
        qCCritical(lcStartup,
            "The display platform \"%s\" (QT_QPA_PLATFORM) is not supported: "
            "Tavlin runs on xcb or wayland.",
            platform.constData());
        return false;
    }
    const QByteArray input = firstRefused(qgetenv("QT_QPA_GENERIC_PLUGINS"),
        [](const QByteArray &name) { return !name.startsWith("tuio"); });
    if (!input.isEmpty()) {
        qCCritical(lcStartup,
            "The input plugin \"%s\" (QT_QPA_GENERIC_PLUGINS) takes touches "
            "from the network and is not supported.",
            input.constData());
        return false;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
    return true;
}
