// The key assignment dialog's state: opening on a key button, the tabs,
// capture, Clear, and what Apply writes into which block of the image.

#include <gtest/gtest.h>

#include "editors/EditorTestSupport.h"
#include "editors/KeyAssignmentState.h"

namespace keyloom::editors {
namespace {

using namespace test;

constexpr int kEscButton = 1022;  // entry 1
constexpr int kAButton = 1058;    // entry 30
constexpr int kG1Button = 1000;
constexpr int kG9Button = 1143;

KeyAssignment assignment(AssignmentKind kind, std::uint32_t value) {
    KeyAssignment a;
    a.kind = kind;
    a.value = value;
    return a;
}

class KeyAssignmentStateTest : public ::testing::Test {
protected:
    KeyAssignment& entry(std::size_t block, std::size_t index) {
        return store_.lock()->image->block(block)[index];
    }
    void open(int button, int profile = 0, bool secondBank = false) {
        ASSERT_EQ(state_.openForKeyButton(button, {profile, false, secondBank}).outcome,
                  OpenOutcome::ShowDialog);
        state_.initialise(u"Macro", false);
    }

    WorkingStore store_;
    KeyAssignmentState state_{store_, [] { return std::uint64_t{0}; }};
};

TEST_F(KeyAssignmentStateTest, ACapturedKeyIsWrittenUnlessItIsTheKeysOwn) {
    struct Case {
        Key pressed;
        AssignmentKind kind;
        std::uint32_t value;
    };
    for (const Case& c :
         {Case{kEsc, AssignmentKind::Default, 0}, Case{kA, AssignmentKind::Key, 0x01E},
          Case{kPrintScreen, AssignmentKind::Key, 0x137}}) {
        entry(0, 1) = assignment(AssignmentKind::Function, 2);
        open(kEscButton);
        EXPECT_EQ(state_.view(), TabView::Function);
        state_.pressKeyTab();
        // Print Screen arrives only as a release.
        const KeyEvent event =
            c.pressed.vk == kPrintScreen.vk ? release(c.pressed) : press(c.pressed);
        EXPECT_EQ(state_.onThreadKeyEvent(event), HookVerdict::Swallow);
        EXPECT_EQ(state_.captureBoxKey(), KeyCodeFromEvent(c.pressed.vk, flagsOf(c.pressed.scan)));
        const ApplyResult result = state_.apply();
        EXPECT_EQ(entry(0, 1), assignment(c.kind, c.value)) << c.pressed.scan;
        EXPECT_EQ(result.assignedLook, c.kind != AssignmentKind::Default);
        state_.close();
    }
}

TEST_F(KeyAssignmentStateTest, OnlyTheKeyViewCapturesKeys) {
    open(kAButton);
    EXPECT_TRUE(state_.captureHooksWanted());
    EXPECT_EQ(state_.onLowLevelKeyEvent({91, LowLevelMessage::KeyDown, 0}), HookVerdict::Swallow);
    EXPECT_EQ(state_.capturedKey(), 0x15B);
    EXPECT_EQ(state_.onThreadKeyEvent(press(kVolumeUp)), HookVerdict::PassOn);
    EXPECT_EQ(state_.capturedKey(), 0x15B);

    state_.pressMediaTab();
    EXPECT_FALSE(state_.captureHooksWanted());
    EXPECT_EQ(state_.onLowLevelKeyEvent({92, LowLevelMessage::KeyDown, 0}), HookVerdict::PassOn);
    EXPECT_EQ(state_.onThreadKeyEvent(press(kEsc)), HookVerdict::PassOn);
    EXPECT_EQ(state_.capturedKey(), 0x15B);
}

TEST_F(KeyAssignmentStateTest, OpeningOnAMacroKeySelectsItsMacroOrTheFirst) {
    store_.lock()->macros = {storedMacro(3, u"three"), storedMacro(5, u"five")};
    const std::pair<std::uint32_t, long> cases[] = {{5, 1}, {3, 0}, {9, 0}, {0, 0}};
    for (const auto& [number, selected] : cases) {
        entry(0, 30) = macroKey(number);
        open(kAButton);
        EXPECT_EQ(state_.view(), TabView::Macro);
        EXPECT_EQ(state_.macros().selectedMacro(), selected) << number;
        state_.close();
    }
}

TEST_F(KeyAssignmentStateTest, G9ShowsOnlyTheMacroTab) {
    store_.lock()->macros = {storedMacro(1, u"one")};
    open(kG9Button);
    EXPECT_TRUE(state_.macroOnly());
    EXPECT_EQ(state_.entryIndex(), 264u);
    EXPECT_EQ(state_.view(), TabView::Macro);
    state_.pressKeyTab();
    state_.pressMediaTab();
    state_.pressFunctionTab();
    state_.pressClear();
    EXPECT_EQ(state_.mode(), AssignmentKind::Macro);
    state_.macros().setPlayCountText("3");
    state_.apply();
    KeyAssignment expected = macroKey(1);
    expected.parameter = 3;  // the play count
    EXPECT_EQ(entry(0, 264), expected);
}

TEST_F(KeyAssignmentStateTest, WithoutG9OnTheKeyboardItEditsMacrosAndAssignsNothing) {
    KeyMatrix defaults;  // a keyboard with the A key and no G keys
    defaults.bytes = {0x02, 0x02, 0x04};
    ASSERT_TRUE(keyboardHasEntry(defaults, 30));
    ASSERT_TRUE(keyboardHasEntry(KeyMatrix{}, 264)) << "not known yet: present";
    store_.lock()->macros = {storedMacro(1, u"one")};
    const KeyAssignment before = entry(0, 264);
    KeyButtonContext context;
    context.activeProfile = 0;
    context.defaults = &defaults;
    ASSERT_EQ(state_.openForKeyButton(kG9Button, context).outcome, OpenOutcome::ShowDialog);
    state_.initialise(u"Macro", false);
    EXPECT_TRUE(state_.macroOnly());
    EXPECT_FALSE(state_.assignsKey());
    state_.macros().setPlayCountText("3");
    EXPECT_TRUE(state_.apply().macros.committed);
    EXPECT_EQ(entry(0, 264), before);
    EXPECT_EQ(store_.lock()->macros.at(0).playCount, 3);
}

TEST_F(KeyAssignmentStateTest, ClearThenOkWritesDefault) {
    KeyAssignment stored = assignment(AssignmentKind::Key, 0x030);
    stored.toggle = 1;
    entry(0, 30) = stored;
    open(kAButton);
    EXPECT_EQ(state_.captureBoxKey(), 0x030);
    EXPECT_FALSE(state_.changed());
    state_.pressClear();
    EXPECT_EQ(state_.mode(), AssignmentKind::Default);
    EXPECT_FALSE(state_.captureBoxKey());
    EXPECT_TRUE(state_.changed());  // so Apply can be pressed as well as OK
    state_.apply();
    state_.close();
    KeyAssignment expected;
    expected.toggle = 1;
    EXPECT_EQ(entry(0, 30), expected);
}

TEST_F(KeyAssignmentStateTest, ApplyOnProfileTwoTouchesOnlyBlockTwo) {
    const AssignmentImage before = *store_.lock()->image;
    open(kAButton, 2);
    state_.onThreadKeyEvent(press(kEsc));
    state_.apply();
    const AssignmentImage after = *store_.lock()->image;
    for (std::size_t b = 0; b < AssignmentImage::kBlockCount; ++b) {
        for (std::size_t i = 0; i < AssignmentImage::kEntriesPerBlock; ++i) {
            const bool edited = b == 2 && i == 30;
            EXPECT_EQ(after.block(b)[i] == before.block(b)[i], !edited) << b << "/" << i;
        }
    }
    EXPECT_EQ(after.block(2)[30], assignment(AssignmentKind::Key, 0x001));
}

TEST_F(KeyAssignmentStateTest, OpeningChoosesTheEntryOrRefuses) {
    EXPECT_EQ(state_.openForKeyButton(4711, {0, false, false}).outcome, OpenOutcome::NotAKeyButton);
    EXPECT_EQ(state_.openForKeyButton(kAButton, {-1, false, false}).outcome,
              OpenOutcome::NoActiveProfile);

    // Key-toggle mode flips the flag and shows no dialog.
    EXPECT_EQ(state_.openForKeyButton(kAButton, {1, true, false}).toggleOn, true);
    EXPECT_EQ(entry(1, 30).toggle, 1u);
    EXPECT_EQ(state_.openForKeyButton(kAButton, {1, true, false}).toggleOn, false);
    EXPECT_EQ(entry(1, 30).toggle, 0u);
    EXPECT_EQ(state_.openCounter(), 0);

    // The second bank of G1, given a media key, keeps the extra key's code.
    open(kG1Button, 0, true);
    EXPECT_EQ(state_.entryIndex(), 265u);
    state_.pressMediaTab();
    state_.selectMediaRow(3);
    state_.apply();
    KeyAssignment expected = assignment(AssignmentKind::Media, 3);
    expected.parameter = 0x1301;
    EXPECT_EQ(entry(0, 265), expected);
    EXPECT_EQ(state_.openCounter(), 1);
    EXPECT_TRUE(state_.closeIfOpen());
    EXPECT_EQ(state_.openCounter(), 0);
    EXPECT_FALSE(state_.closeIfOpen());
}

TEST_F(KeyAssignmentStateTest, AMouseAssignmentOpensOnTheMouseList) {
    entry(0, 30) = assignment(AssignmentKind::Key, 370);
    open(kAButton);
    EXPECT_FALSE(state_.keyboardOption());
    EXPECT_EQ(state_.mouseRow(), 1u);
    state_.onThreadKeyEvent(press(kEsc));  // swallowed, not captured
    state_.selectMouseRow(3);
    state_.apply();
    EXPECT_EQ(entry(0, 30), assignment(AssignmentKind::Key, 353));
}

TEST_F(KeyAssignmentStateTest, OnlyAKeyEntrysValueIsTakenAsTheCapturedKey) {
    entry(0, 30) = assignment(AssignmentKind::Disabled, 0x030);  // a leftover value
    open(kAButton);
    // Disabled is one of the Key view's choices; choosing the keyboard
    // instead finds no key in the box.
    state_.chooseKeyAction(KeyChoice::Keyboard);
    EXPECT_FALSE(state_.captureBoxKey());
    state_.apply();
    EXPECT_EQ(entry(0, 30), KeyAssignment{});
}

TEST_F(KeyAssignmentStateTest, TheMacroTabAlwaysHasAMacroToApply) {
    store_.lock()->macros = {storedMacro(7, u"seven"), storedMacro(8, u"eight")};
    entry(0, 30) = assignment(AssignmentKind::Key, 0x030);
    open(kAButton);
    state_.pressMacroTab();
    EXPECT_EQ(state_.macros().selectedMacro(), 0);
    state_.apply();
    EXPECT_EQ(entry(0, 30), macroKey(7));

    store_.lock()->macros.clear();
    open(kAButton);
    state_.apply();
    EXPECT_EQ(entry(0, 30), KeyAssignment{});
}

TEST_F(KeyAssignmentStateTest, AKeysTextIsReleasedOnlyWhenItsKindChanges) {
    const std::size_t slot = 30;
    for (const bool toMedia : {false, true}) {
        entry(0, 30) = assignment(AssignmentKind::LaunchProgram, 0);
        store_.lock()->texts.setText(slot, u"/usr/bin/true");
        open(kAButton);
        if (toMedia) {
            state_.pressMediaTab();
        }
        state_.apply();
        state_.close();
        auto working = store_.lock();
        EXPECT_EQ(working->texts.text(slot).has_value(), !toMedia);
        EXPECT_EQ(working->image->block(0)[30].kind,
                  toMedia ? AssignmentKind::Media : AssignmentKind::LaunchProgram);
    }
}

}  // namespace
}  // namespace keyloom::editors

namespace keyloom::editors {
namespace {

TEST_F(KeyAssignmentStateTest, EachKeyChoiceIsWrittenAndReopensChosen) {
    struct Case {
        KeyChoice choice;
        KeyAssignment written;
    };
    for (const Case& c : {Case{KeyChoice::Disabled, assignment(AssignmentKind::Disabled, 0)},
                          Case{KeyChoice::StopMacro, assignment(AssignmentKind::StopMacro, 0)},
                          Case{KeyChoice::Mouse, assignment(AssignmentKind::Key, 369)},
                          Case{KeyChoice::Keyboard, KeyAssignment{}}}) {
        entry(0, 30) = assignment(AssignmentKind::Key, 0x030);
        open(kAButton);
        EXPECT_EQ(state_.pressedTab(), TabView::Key);
        state_.chooseKeyAction(c.choice);
        if (c.choice == KeyChoice::Keyboard)
            state_.pressClear();
        // The choice survives a look at another tab.
        state_.pressMediaTab();
        state_.pressKeyTab();
        EXPECT_EQ(state_.keyChoice(), c.choice);
        state_.apply();
        state_.close();
        EXPECT_EQ(entry(0, 30), c.written) << static_cast<int>(c.choice);
        open(kAButton);
        EXPECT_EQ(state_.keyChoice(), c.choice);
        state_.close();
    }
}

TEST_F(KeyAssignmentStateTest, KeysBecomeTheAssignmentOnlyWithTheKeyboardChoice) {
    open(kAButton);
    EXPECT_EQ(state_.pressedTab(), TabView::Key) << "a key at its default opens on the Key tab";
    state_.chooseKeyAction(KeyChoice::Disabled);
    // Super is still kept from the desktop, but the key stays disabled.
    EXPECT_EQ(state_.onLowLevelKeyEvent({91, LowLevelMessage::KeyDown, 0}), HookVerdict::Swallow);
    EXPECT_EQ(state_.onThreadKeyEvent(press(kEsc)), HookVerdict::Swallow);
    EXPECT_EQ(state_.keyChoice(), KeyChoice::Disabled);
    state_.pressClear();
    EXPECT_EQ(state_.mode(), AssignmentKind::Default);
    state_.onThreadKeyEvent(press(kEsc));
    state_.chooseKeyAction(KeyChoice::Mouse);
    state_.chooseKeyAction(KeyChoice::Keyboard);
    state_.apply();
    EXPECT_EQ(entry(0, 30), assignment(AssignmentKind::Key, 0x001));
}

}  // namespace
}  // namespace keyloom::editors
