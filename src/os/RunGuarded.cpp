#include "os/RunGuarded.h"

#include "os/Services.h"
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

void reportAndEnd(const Services &services, const RuntimeError &error)
{
    services.messageBox->showError(standardErrorText(error), QStringLiteral("Tavlin"));
    services.terminator->terminate();
}

} // namespace

bool runGuarded(const Services &services, const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const ProgramEnded &) {
    } catch (const RuntimeError &error) {
        reportAndEnd(services, error);
    } catch (const std::bad_alloc &) {
        reportAndEnd(services, RuntimeError(7, QStringLiteral("Out of memory")));
    } catch (const std::exception &error) {
        reportAndEnd(services,
            RuntimeError(
                51, QStringLiteral("Internal error: %1").arg(QString::fromUtf8(error.what()))));
    } catch (...) {
        reportAndEnd(services, RuntimeError(51, QStringLiteral("Internal error")));
    }
    return false;
}
