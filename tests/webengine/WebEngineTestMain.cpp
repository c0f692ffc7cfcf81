#include "browser/BrowserEngine.h"
#include "os/ScratchFolder.h"
#include "webengine/HostilePage.h"

#include <QApplication>
#include <gtest/gtest.h>

int runHelpSession(); // EngineEnvironmentTest.cpp

int main(int argc, char **argv)
{
    // A hostile environment asks for WebGL on any GPU; the program's lock
    // must keep it off.
    if (!qEnvironmentVariableIsSet("TAVLIN_HELP_SESSION"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--ignore-gpu-blocklist --enable-webgl");
    makeScratchFolder(); // as the program does
    prepareBrowserEngine();
    QApplication app(argc, argv);
    engineUnderTest(); // as the program does before its first window
    if (qEnvironmentVariableIsSet("TAVLIN_HELP_SESSION"))
        return runHelpSession();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
