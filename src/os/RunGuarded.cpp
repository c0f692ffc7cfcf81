#include "os/RunGuarded.h"

#include "os/Platform.h"
#include "semantics/RuntimeError.h"

#include <new>

QString standardErrorText(const RuntimeError &error)
{
    QString text
        = QStringLiteral("Run-time error '%1':\n\n%2").arg(error.number()).arg(error.description());
    if (!error.path().isEmpty())
        text += QStringLiteral(": '%1'").arg(error.path());
    return text;
}

namespace {

void reportAndEnd(const RuntimeError &error)
{
    platform().messageBox->showError(standardErrorText(error), QStringLiteral("Tavlin"));
    platform().terminator->terminate();
}

} // namespace

bool runGuarded(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const ProgramEnded &) {
    } catch (const RuntimeError &error) {
        reportAndEnd(error);
    } catch (const std::bad_alloc &) {
        reportAndEnd(RuntimeError(7, QStringLiteral("Out of memory")));
    } catch (const std::exception &error) {
        reportAndEnd(RuntimeError(
            51, QStringLiteral("Internal error: %1").arg(QString::fromUtf8(error.what()))));
    } catch (...) {
        reportAndEnd(RuntimeError(51, QStringLiteral("Internal error")));
    }
    return false;
}
