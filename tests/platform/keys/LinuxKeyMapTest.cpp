#include "platform/keys/LinuxKeyMap.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

namespace keyloom::keys {
namespace {

TEST(LinuxKeyMap, KeystrokeFlagsCarryScanCodeAndExtendedFlag) {
    EXPECT_EQ(keystrokeFlagsOf(0x1E), 0x001E0000u);
    EXPECT_EQ(keystrokeFlagsOf(0x11D), 0x011D0000u);
    EXPECT_EQ(windowsKeystrokeOf(KEY_A, true), (WindowsKeystroke{0x41, 0x001E0000u}));
    EXPECT_EQ(windowsKeystrokeOf(KEY_INSERT, true), (WindowsKeystroke{0x2D, 0x01520000u}));
}

TEST(LinuxKeyMap, NumLockAndPauseShareAScanCodeButNotTheFlag) {
    EXPECT_EQ(windowsKeystrokeOf(KEY_NUMLOCK, true), (WindowsKeystroke{0x90, 0x01450000u}));
    EXPECT_EQ(windowsKeystrokeOf(KEY_PAUSE, true), (WindowsKeystroke{0x13, 0x00450000u}));
    EXPECT_EQ(windowsKeystrokeOf(KEY_BREAK, true), (WindowsKeystroke{0x03, 0x01460000u}));
    EXPECT_EQ(windowsKeystrokeOf(KEY_SYSRQ, true), (WindowsKeystroke{0x2C, 0x01370000u}));
}

TEST(LinuxKeyMap, KeypadVirtualKeysFollowNumLock) {
    EXPECT_EQ(windowsKeystrokeOf(KEY_KP0, true), (WindowsKeystroke{0x60, 0x00520000u}));
    EXPECT_EQ(windowsKeystrokeOf(KEY_KP0, false), (WindowsKeystroke{0x2D, 0x00520000u}));
    EXPECT_EQ(windowsKeystrokeOf(KEY_KP5, false).virtualKey, 0x0C);
    EXPECT_EQ(windowsKeystrokeOf(KEY_KPDOT, false).virtualKey, 0x2E);
    EXPECT_EQ(windowsKeystrokeOf(KEY_KP7, false).virtualKey, 0x24);
    // Keys off the digit block do not change with Num Lock.
    for (unsigned key : {KEY_KPENTER, KEY_KPSLASH, KEY_KPPLUS, KEY_HOME, KEY_A}) {
        EXPECT_EQ(windowsKeystrokeOf(key, true), windowsKeystrokeOf(key, false)) << key;
    }
}

TEST(LinuxKeyMap, ModifiersGiveSideNeutralVirtualKeys) {
    EXPECT_EQ(windowsKeystrokeOf(KEY_LEFTSHIFT, true), (WindowsKeystroke{0x10, 0x002A0000u}));
    EXPECT_EQ(windowsKeystrokeOf(KEY_RIGHTSHIFT, true), (WindowsKeystroke{0x10, 0x00360000u}));
    EXPECT_EQ(windowsKeystrokeOf(KEY_RIGHTCTRL, true), (WindowsKeystroke{0x11, 0x011D0000u}));
    EXPECT_EQ(windowsKeystrokeOf(KEY_RIGHTALT, true), (WindowsKeystroke{0x12, 0x01380000u}));
}

TEST(LinuxKeyMap, KeysWithoutARowGiveNothing) {
    for (unsigned code :
         {0u, 84u, unsigned(KEY_F14), unsigned(KEY_KPEQUAL), unsigned(KEY_ZENKAKUHANKAKU),
          unsigned(BTN_LEFT), unsigned(KEY_MAX), unsigned(KEY_MAX) + 1, 0xFFFFFFFFu}) {
        EXPECT_FALSE(windowsKeystrokeOf(code, true).isKey()) << code;
        EXPECT_EQ(windowsKeystrokeOf(code, false), WindowsKeystroke{}) << code;
    }
}

}  // namespace
}  // namespace keyloom::keys
