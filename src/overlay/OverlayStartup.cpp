#include "overlay/OverlayStartup.h"

#include "description/LanguageResolver.h"
#include "os/RunGuarded.h"
#include "overlay/MainForm.h"
#include "overlay/OverlayBuild.h"
#include "overlay/Startup.h"

void Form_Load(MainForm &Main)
{
    ReadStartupInput(Main.context(), Main.module(), Main.services());
    BuildOverlay(Main);
    ResolveLanguage(Main.context());
}

bool loadMain(MainForm &Main)
{
    return runGuarded(Main.services(), [&] { Form_Load(Main); });
}
