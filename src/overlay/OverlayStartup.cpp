#include "overlay/OverlayStartup.h"

#include "description/LanguageResolver.h"
#include "form/MainForm.h"
#include "form/Startup.h"
#include "os/RunGuarded.h"
#include "overlay/OverlayBuild.h"

namespace {

class OverlaySteps : public StartupSteps
{
public:
    explicit OverlaySteps(MainForm &Main)
        : m_main(Main)
    { }
    void BuildOverlay() override { ::BuildOverlay(m_main); }
    void ResolveLanguage() override { ::ResolveLanguage(m_main.context()); }

private:
    MainForm &m_main;
};

} // namespace

bool loadMain(MainForm &Main)
{
    OverlaySteps steps(Main);
    return runGuarded([&] { Form_Load(Main.context(), Main.module(), steps); });
}
