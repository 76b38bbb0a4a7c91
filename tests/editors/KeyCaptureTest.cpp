// Which key events the key assignment dialog's hooks capture, swallow or
// pass on to the system.

#include <gtest/gtest.h>

#include "editors/EditorTestSupport.h"
#include "editors/KeyCapture.h"

namespace keyloom::editors {
namespace {

using namespace test;

struct ThreadCase {
    const char* what;
    KeyEvent event;
    bool keyboardOption;
    HookVerdict verdict;
    KeyCode captured;
};

TEST(KeyCapture, ThreadHookRules) {
    const ThreadCase cases[] = {
        {"fresh press", press(kA), true, HookVerdict::Swallow, 0x01E},
        {"auto-repeat", repeat(kA), true, HookVerdict::Swallow, 0},
        {"release", release(kA), true, HookVerdict::Swallow, 0},
        {"print screen release", release(kPrintScreen), true, HookVerdict::Swallow, 0x137},
        {"mouse option selected", press(kA), false, HookVerdict::Swallow, 0},
        {"media key", press(kVolumeUp), true, HookVerdict::PassOn, 0},
        {"no key code", {0xFF, 0, false, false, 0}, true, HookVerdict::PassOn, 0},
    };
    for (const auto& c : cases) {
        const CaptureDecision d = captureFromThreadHook(c.event, c.keyboardOption);
        EXPECT_EQ(d.verdict, c.verdict) << c.what;
        EXPECT_EQ(d.captured, c.captured) << c.what;
    }
}

TEST(KeyCapture, LowLevelHookTakesOnlyTheWindowsAndApplicationKeys) {
    struct Case {
        std::uint32_t vk;
        LowLevelMessage message;
        HookVerdict verdict;
        KeyCode captured;
    };
    const Case cases[] = {
        {91, LowLevelMessage::KeyDown, HookVerdict::Swallow, 0x15B},
        {92, LowLevelMessage::SystemKeyUp, HookVerdict::Swallow, 0x15C},
        {93, LowLevelMessage::KeyUp, HookVerdict::Swallow, 0x15D},
        {0x41, LowLevelMessage::KeyDown, HookVerdict::PassOn, 0},
        {91, LowLevelMessage::Other, HookVerdict::PassOn, 0},
    };
    for (const auto& c : cases) {
        const CaptureDecision d = captureFromLowLevelHook({c.vk, c.message, 0});
        EXPECT_EQ(d.verdict, c.verdict) << c.vk;
        EXPECT_EQ(d.captured, c.captured) << c.vk;
    }
}

}  // namespace
}  // namespace keyloom::editors
