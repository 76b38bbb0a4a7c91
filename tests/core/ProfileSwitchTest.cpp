// Switching the keyboard's active on-board profile: the switch with its
// refusal and its unapplied-changes question, the profile buttons, the
// profile menu, and the refresh after the keyboard changed profile itself.

#include <algorithm>
#include <filesystem>

#include "CoreFixture.h"
#include "storage/ProfileMenu.h"

namespace keyloom::testing {
namespace {

class ProfileSwitching : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        plugIn();
        startAndConnect();
        window.clearRecords();
    }
    int keyboardProfile() { return memory().parameters[10]; }
};

TEST_F(ProfileSwitching, ProfileFiveIsTakenAsZero) {
    ASSERT_TRUE(core->switchActiveProfile(2));
    EXPECT_EQ(keyboardProfile(), 2);
    EXPECT_TRUE(core->switchActiveProfile(5));
    EXPECT_EQ(keyboardProfile(), 0);
    EXPECT_EQ(core->state().connection.activeProfile.load(), 0);
    EXPECT_TRUE(called("redrawKeyView"));
    EXPECT_TRUE(called("profileMenuChanged"));
}

TEST_F(ProfileSwitching, OpenKeyEditorRefusesEverySwitchWithoutTouchingTheKeyboard) {
    core->state().editors.setKeyAssignmentDialogOpen(true);
    clearLog();
    EXPECT_FALSE(core->switchActiveProfile(1));
    EXPECT_FALSE(core->profileButton(2));
    EXPECT_FALSE(core->chooseProfileMenuItem(9002));
    for (int command : commands())
        EXPECT_NE(command, 4);  // the parameter block was never written
    EXPECT_EQ(keyboardProfile(), 0);
    EXPECT_EQ(window.messageKeysShown(),
              (std::vector<std::string>{"PROFILE_SEELCT_PROMPT2", "PROFILE_SEELCT_PROMPT2",
                                        "PROFILE_SEELCT_PROMPT2"}));
}

TEST_F(ProfileSwitching, UnappliedChangesAnsweredYesAreWrittenBeforeTheSwitch) {
    {
        auto working = core->workingStore().lock();
        working->image->block(0)[0x1E] = {AssignmentKind::Key, 0, 0x1D};
    }
    core->modified().markEdited();
    window.answer("PROFILE_SELECT_PROMPT", window::MessageAnswer::Yes);
    clearLog();

    EXPECT_TRUE(core->switchActiveProfile(1));
    EXPECT_EQ(matrixWrites(), std::vector<int>{0});  // Apply wrote the old profile
    EXPECT_EQ(keyboardProfile(), 1);
    EXPECT_FALSE(window.isModified());
    const auto calls = window.calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "busyIndicatorOn"), calls.end());  // Apply ran
}

TEST_F(ProfileSwitching, UnappliedChangesAnsweredNoAreDroppedFromTheSlotFile) {
    {
        auto working = core->workingStore().lock();
        working->image->block(0)[0x1E] = {AssignmentKind::Key, 0, 0x1D};
    }
    core->modified().markEdited();
    clearLog();

    EXPECT_TRUE(core->switchActiveProfile(1));
    EXPECT_EQ(window.messageKeysShown(), std::vector<std::string>{"PROFILE_SELECT_PROMPT"});
    EXPECT_TRUE(matrixWrites().empty());
    EXPECT_FALSE(window.isModified());
    EXPECT_EQ(keyboardProfile(), 1);
    auto working = core->workingStore().lock();
    EXPECT_EQ(working->image->block(0)[0x1E].kind, AssignmentKind::Default);
}

TEST_F(ProfileSwitching, EditsThatCannotBeDroppedStayUnappliedAndTheUserIsTold) {
    {
        auto working = core->workingStore().lock();
        working->image->block(0)[0x1E] = {AssignmentKind::Key, 0, 0x1D};
    }
    core->modified().markEdited();
    std::filesystem::remove(core->slotFile());

    EXPECT_TRUE(core->switchActiveProfile(1));
    EXPECT_EQ(window.messageKeysShown(),
              (std::vector<std::string>{"PROFILE_SELECT_PROMPT", "KEYLOOM_DISCARD_FAILED"}));
    EXPECT_TRUE(window.isModified()) << "the store still holds the edit";
    auto working = core->workingStore().lock();
    EXPECT_EQ(working->image->block(0)[0x1E].kind, AssignmentKind::Key);
}

TEST_F(ProfileSwitching, OpenProfileManagerGetsItsRowTicked) {
    core->state().editors.setProfileManager(true, false);
    EXPECT_TRUE(core->switchActiveProfile(2));
    EXPECT_TRUE(called("profileManagerSelectRow 2"));
}

TEST_F(ProfileSwitching, SwitchWithoutKeyboardFails) {
    keyboard->unplug();
    ASSERT_TRUE(waitForState(0));
    EXPECT_FALSE(core->switchActiveProfile(1));
    EXPECT_FALSE(core->profileButton(1));
    EXPECT_EQ(window.selectedProfileButton(), 0);
}

TEST_F(ProfileSwitching, ProfileButtonOfTheActiveProfileRefreshesLightingOnly) {
    clearLog();
    EXPECT_TRUE(core->profileButton(0));
    // The lighting records, then the profile's colour block.
    EXPECT_EQ(commands(),
              (std::vector<int>{3, 1, 5, 5, 5, 2, 1, 17, 17, 17, 17, 17, 17, 17, 17, 2}));
    EXPECT_TRUE(called("lightingChanged"));
    EXPECT_FALSE(called("setProfileButtons 0"));

    EXPECT_TRUE(core->profileButton(2));
    EXPECT_EQ(keyboardProfile(), 2);
    EXPECT_EQ(core->lightingProfile(), 2);
    EXPECT_EQ(core->lightingState().effect, 20);
    EXPECT_EQ(window.selectedProfileButton(), 2);
    // Profile 2's colour block went out with the switch.
    const std::vector<int> sent = commands();
    EXPECT_NE(std::find(sent.begin(), sent.end(), 17), sent.end());
    EXPECT_TRUE(called("keyToggleModeOff"));
}

TEST_F(ProfileSwitching, KeyboardSideProfileChangeEndsOnProfileOne) {
    ASSERT_TRUE(keyboard->selectProfileOnKeyboard(2));
    window.startTimer(window::timer::kProfileRefresh, std::chrono::milliseconds(0));
    window.pumpPending();
    EXPECT_TRUE(called("setProfileButtons 2"));
    EXPECT_TRUE(called("lightingChanged"));
    EXPECT_EQ(keyboardProfile(), 0);
    EXPECT_EQ(window.selectedProfileButton(), 0);
    EXPECT_EQ(core->lightingProfile(), 0);
}

TEST_F(ProfileSwitching, MenuChecksTheActiveProfileAndItsCommandsSwitch) {
    ProfileMenu menu = core->profileMenu();
    ASSERT_EQ(menu.items.size(), 5u);
    EXPECT_EQ(menu.items[0].command, 9000);
    EXPECT_TRUE(menu.items[1].separator());
    EXPECT_TRUE(menu.items[2].checked);
    EXPECT_FALSE(menu.items[0].checked);

    changeMemory([](sim::SimMemory& m) { m.profileSettings[2 * 42 + 15] = 2; });
    ASSERT_TRUE(core->readLightingRecords());
    EXPECT_TRUE(core->chooseProfileMenuItem(9003));
    EXPECT_EQ(keyboardProfile(), 2);
    menu = core->profileMenu();
    EXPECT_TRUE(menu.items[4].checked);
    EXPECT_EQ(menu.label, menu.items[4].text);
    // The profile switched to becomes the lighting profile, and the
    // report-rate buttons show its step.
    EXPECT_EQ(core->lightingProfile(), 2);
    EXPECT_EQ(window.selectedReportRateButton(), 2);

    // The default item only redraws: the keyboard keeps its profile.
    EXPECT_TRUE(core->chooseProfileMenuItem(9000));
    EXPECT_EQ(keyboardProfile(), 2);
    EXPECT_FALSE(core->chooseProfileMenuItem(8999));
}

TEST(ProfileMenuModel, UnknownProfileChecksTheDefaultItemAndTheTooltipFollowsTheLabel) {
    auto lookup = [](std::string_view key) { return "<" + std::string(key) + ">"; };
    ProfileMenu menu = buildProfileMenu(-1, lookup);
    EXPECT_TRUE(menu.items[0].checked);
    EXPECT_EQ(menu.label, "<DEFAULT_PROFILE_NAME>");
    EXPECT_EQ(menu.tooltip, "<PROFILE_TIP><DEFAULT_PROFILE_NAME>");
    menu = buildProfileMenu(7, lookup);
    EXPECT_TRUE(menu.items[0].checked);
    // The three on-board profiles share one slot file: they are told apart
    // by number.
    const auto named = [](std::string_view key) {
        return key == "KEYLOOM_PROFILE_NAME" ? std::string("Profile %d") : std::string(key);
    };
    menu = buildProfileMenu(1, named);
    EXPECT_EQ(menu.label, "Profile 2");
    EXPECT_TRUE(menu.items[3].checked);
    EXPECT_EQ(menu.items[2].text, "Profile 1");
    EXPECT_EQ(menu.items[4].text, "Profile 3");
    EXPECT_EQ(ProfileMenu::profileOfCommand(9000), -1);
}

}  // namespace
}  // namespace keyloom::testing
