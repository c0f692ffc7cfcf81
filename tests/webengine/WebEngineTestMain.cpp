#include "platform/webengine/WebEngineBrowser.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    prepareWebEngine();
    QApplication app(argc, argv);
    installWebEngineBrowser();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
