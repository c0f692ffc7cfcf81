#include "platform/BrowserEngine.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    prepareBrowserEngine();
    QApplication app(argc, argv);
    useBrowserEngine(QStringLiteral(TAVLIN_BINARY_DIR "/bin/libtavlin_webengine.so"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
