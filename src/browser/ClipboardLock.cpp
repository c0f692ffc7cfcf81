#include "browser/ClipboardLock.h"

#include <QClipboard>
#include <QGuiApplication>

void lockClipboard()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    // Dropped in the same turn of the event loop as it was taken: another
    // program's request for the contents is answered only after it.
    QObject::connect(
        clipboard, &QClipboard::changed, clipboard, [clipboard](QClipboard::Mode mode) {
            const bool owned = mode == QClipboard::Clipboard ? clipboard->ownsClipboard()
                : mode == QClipboard::Selection              ? clipboard->ownsSelection()
                                                             : clipboard->ownsFindBuffer();
            if (owned)
                clipboard->clear(mode);
        });
}
