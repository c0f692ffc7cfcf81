#include "browser/EngineSwitches.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

TEST(EngineSwitchesTest, OnlyGraphicsSwitchesPassTheEnvironmentIsLockedSandboxOffForRootOnly)
{
    const QByteArray locked = lockedEngineSwitches(
        "--disable-gpu --use-gl=egl --remote-debugging-port=9222 --disable-web-security "
        "\"--use-angle=swiftshader --allow-file-access-from-files\" --use-gl= "
        "--host-resolver-rules=\"MAP * 127.0.0.1\" --no-sandbox --disable-gpu-compositing "
        "--ignore-gpu-blocklist --enable-webgl");
    EXPECT_EQ(locked,
        "--disable-gpu --use-gl=egl --disable-gpu-compositing "
        "\"--host-resolver-rules=MAP * ~NOTFOUND\" "
        "--force-webrtc-ip-handling-policy=disable_non_proxied_udp "
        "--webrtc-ip-handling-policy=disable_non_proxied_udp --disable-background-networking "
        "--no-pings --disable-gpu-shader-disk-cache --disable-file-system --disable-webgl "
        "--disable-accelerated-2d-canvas");
    EXPECT_EQ(lockedEngineSwitches(QByteArray()),
        locked.mid(QByteArray("--disable-gpu --use-gl=egl --disable-gpu-compositing ").size()));

    const EnvironmentGuard flags("QTWEBENGINE_CHROMIUM_FLAGS"),
        debugging("QTWEBENGINE_REMOTE_DEBUGGING"), sandbox("QTWEBENGINE_DISABLE_SANDBOX");
    for (const bool root : { false, true }) {
        flags.set(QStringLiteral("--remote-debugging-port=1 --disable-gpu"));
        debugging.set(QStringLiteral("9222"));
        sandbox.set(QStringLiteral("1"));
        lockEngineEnvironment(root);
        EXPECT_EQ(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"), lockedEngineSwitches("--disable-gpu"));
        EXPECT_FALSE(qEnvironmentVariableIsSet("QTWEBENGINE_REMOTE_DEBUGGING"));
        EXPECT_EQ(qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"), root);
    }
}
