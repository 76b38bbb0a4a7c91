// Recording key events into a macro: pauses from the events' timestamps,
// the fixed 50 ms setting, keys that report only a release, repeats and the
// Windows keys of the low-level hook.

#include <gtest/gtest.h>

#include "editors/EditorTestSupport.h"
#include "editors/MacroRecorder.h"

namespace keyloom::editors {
namespace {

using namespace test;

class MacroRecorderTest : public ::testing::Test {
protected:
    MacroRecorderTest() { freshMacro(); }
    void freshMacro() {
        store_.lock()->macros = {storedMacro(1, u"m")};
        editor_.load(store_);
        editor_.selectMacro(0);
    }
    std::vector<MacroAction> rows() const { return {editor_.rows().begin(), editor_.rows().end()}; }
    void startAt(std::uint64_t now, bool measured) {
        now_ = now;
        recorder_.setMeasuredDelays(measured);
        ASSERT_TRUE(recorder_.start());
    }

    WorkingStore store_;
    MacroEditor editor_;
    std::uint64_t now_ = 0;
    MacroRecorder recorder_{editor_, [this] { return now_; }};
};

TEST_F(MacroRecorderTest, RecordingAKeyStoresThePauseAfterEachRow) {
    for (const bool measured : {false, true}) {
        freshMacro();
        startAt(1000, measured);
        now_ = 9999;  // handled late: pauses come from the events' own times
        EXPECT_EQ(recorder_.onThreadKeyEvent(press(kA, 1100)), HookVerdict::Swallow);
        EXPECT_EQ(recorder_.onThreadKeyEvent(repeat(kA, 1130)), HookVerdict::Swallow);
        recorder_.onThreadKeyEvent(release(kA, 1183));
        // In the keyboard's steps of 10 ms, as it will play them.
        const std::uint32_t held = measured ? 80 : 50;
        EXPECT_EQ(rows(), (std::vector<MacroAction>{{held, 0x01E, 0}, {0, 0x01E, 1}})) << measured;
    }
}

TEST_F(MacroRecorderTest, PrintScreenRecordsAShortPressBeforeItsRelease) {
    for (const bool measured : {true, false}) {
        freshMacro();
        startAt(0, measured);
        recorder_.onThreadKeyEvent(press(kA, 10));
        recorder_.onThreadKeyEvent(release(kPrintScreen, 400));
        const std::uint32_t pause = measured ? 390 : 50;
        const std::uint32_t hold = measured ? 0 : 50;
        EXPECT_EQ(rows(),
                  (std::vector<MacroAction>{{pause, 0x01E, 0}, {hold, 0x137, 0}, {0, 0x137, 1}}))
            << measured;
    }
}

TEST_F(MacroRecorderTest, AHeldKeysUnflaggedRepeatsRecordOnePressAndRelease) {
    startAt(0, true);
    recorder_.onThreadKeyEvent(press(kA, 100));
    recorder_.onThreadKeyEvent(press(kA, 600));  // already down
    for (std::uint64_t t = 640; t <= 760; t += 40) {
        recorder_.onThreadKeyEvent(release(kA, t));  // X's pair: release and press at once
        recorder_.onThreadKeyEvent(press(kA, t));
    }
    recorder_.onThreadKeyEvent(release(kA, 1881));
    recorder_.onThreadKeyEvent(release(kA, 1900));  // never pressed again
    recorder_.onThreadKeyEvent(press(kA, 1905));
    EXPECT_EQ(rows(), (std::vector<MacroAction>{{1780, 0x01E, 0}, {20, 0x01E, 1}, {0, 0x01E, 0}}));
    // A pause of minutes is kept to the longest delay a row takes.
    recorder_.onThreadKeyEvent(release(kA, 200000));
    EXPECT_EQ(rows()[2].delayMs, 40000u);
}

TEST_F(MacroRecorderTest, MediaKeysAndKeysWithoutCodePassOnUnrecorded) {
    startAt(0, true);
    EXPECT_EQ(recorder_.onThreadKeyEvent(press(kVolumeUp, 5)), HookVerdict::PassOn);
    EXPECT_EQ(recorder_.onThreadKeyEvent({0xFF, 0, false, false, 6}), HookVerdict::PassOn);
    EXPECT_TRUE(rows().empty());

    recorder_.stop();
    EXPECT_EQ(recorder_.onThreadKeyEvent(press(kA, 7)), HookVerdict::PassOn);
    EXPECT_TRUE(rows().empty());
}

TEST_F(MacroRecorderTest, WindowsKeysAreRecordedOnceWhileHeld) {
    startAt(0, true);
    const auto ll = [&](std::uint32_t vk, LowLevelMessage m, std::uint64_t t) {
        return recorder_.onLowLevelKeyEvent({vk, m, t});
    };
    EXPECT_EQ(ll(91, LowLevelMessage::KeyDown, 10), HookVerdict::Swallow);
    EXPECT_EQ(ll(91, LowLevelMessage::KeyDown, 40), HookVerdict::Swallow);  // a repeat
    EXPECT_EQ(ll(0x41, LowLevelMessage::KeyDown, 50), HookVerdict::PassOn);
    EXPECT_EQ(ll(91, LowLevelMessage::SystemKeyDown, 60), HookVerdict::Swallow);  // still held
    EXPECT_EQ(ll(93, LowLevelMessage::KeyDown, 65), HookVerdict::PassOn);         // thread hook's
    EXPECT_EQ(ll(91, LowLevelMessage::KeyUp, 70), HookVerdict::Swallow);
    EXPECT_EQ(ll(92, LowLevelMessage::KeyDown, 90), HookVerdict::Swallow);
    EXPECT_EQ(rows(), (std::vector<MacroAction>{{60, 0x15B, 0}, {20, 0x15B, 1}, {0, 0x15C, 0}}));
}

TEST_F(MacroRecorderTest, RecordingNeedsASelectedMacro) {
    editor_.selectMacro(kNoSelection);
    EXPECT_FALSE(recorder_.start());
    EXPECT_FALSE(recorder_.recording());
}

}  // namespace
}  // namespace keyloom::editors
