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

// Only platforms that show the overlay on the panel's own screen, and no
// input from the network, whatever form the variable takes.
TEST(DisplayPlatform, RemoteAndConsolePlatformsAreRefused)
{
    EnvironmentGuard chosen("QT_QPA_PLATFORM"), input("QT_QPA_GENERIC_PLUGINS");
    input.unset();
    for (const char *refused : { "vnc", "vnc:port=5901", "linuxfb", "eglfs", "minimal", "xcb;vnc",
             " vnc ;xcb", "wayland-egl" }) {
        chosen.set(QString::fromLatin1(refused));
        EXPECT_FALSE(chooseDisplayPlatform()) << refused;
    }
    for (const char *allowed : { "xcb", "xcb:nomitshm", "wayland;xcb", "offscreen" }) {
        chosen.set(QString::fromLatin1(allowed));
        EXPECT_TRUE(chooseDisplayPlatform()) << allowed;
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), allowed);
    }
    input.set(QStringLiteral("evdevtouch:/dev/input/event2;tuiotouch:udp=3333"));
    EXPECT_FALSE(chooseDisplayPlatform());
    input.set(QStringLiteral("evdevtouch:/dev/input/event2;libinput"));
    EXPECT_TRUE(chooseDisplayPlatform());
}
