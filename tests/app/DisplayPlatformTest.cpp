#include "app/DisplayPlatform.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

TEST(DisplayPlatform, XWaylandUnlessTheUserChoseAPlatform)
{
    EnvironmentGuard wayland("WAYLAND_DISPLAY"), x11("DISPLAY"), chosen("QT_QPA_PLATFORM");
    wayland.set(QStringLiteral("wayland-0"));
    x11.set(QStringLiteral(":0"));
    chosen.unset();
    chooseDisplayPlatform();
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "xcb");

    chosen.set(QStringLiteral("wayland"));
    chooseDisplayPlatform();
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "wayland");

    // Wayland alone: nothing to fall back on, Qt's own choice stands.
    chosen.unset();
    x11.unset();
    chooseDisplayPlatform();
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
}
