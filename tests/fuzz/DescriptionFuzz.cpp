// Arbitrary bytes as the description, read and its containers resolved.
#include "description/ContainerResolver.h"
#include "description/DescriptionReader.h"
#include "description/TavlinModule.h"
#include "model/ScreenContext.h"
#include "semantics/RuntimeError.h"
#include "support/FakeServices.h"
#include "support/TempFolder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const TempFolder folder;
    folder.write(QStringLiteral("Kestrel/Tavlin.txt"),
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    FakeServices fake;
    ScreenContext context;
    context.TempPfad = folder.path() + QStringLiteral("\\Kestrel");
    TavlinModule module;
    try {
        ReadDescription(context, module);
        ResolveContainers(context);
    } catch (const RuntimeError &error) {
        // Position sums beyond 16 bits overflow (the start-up guard reports it).
        if (error.number() != 6)
            __builtin_trap();
    }
    if (context.LastEntry < -1 || context.LastEntry > 1000)
        __builtin_trap();
    return 0;
}
