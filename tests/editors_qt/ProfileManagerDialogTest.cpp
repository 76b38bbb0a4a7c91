// The profile manager on the main window and the simulated keyboard: the
// rows it opens with, Add, Load and Delete, Apply's registry values and what
// the keyboard receives, and closing when the keyboard goes.

#include <QTableWidget>
#include <filesystem>

#include "DialogTestSupport.h"
#include "storage/ProfileFile.h"
#include "support/SimKeyboardLog.h"

namespace keyloom::testing {
namespace {

namespace id = editors::qt::profile_dialog;

class ProfileManagerDialogTest : public DialogFixture {
protected:
    editors::qt::CKeyloom_DlgProfile& manager() { return dialog->profileManager(); }
    void openManager() { ASSERT_TRUE(manager().openWithoutWaiting()); }
    void applyAndWait(int command = id::kApply) {
        manager().runCommand(command);
        ASSERT_TRUE(pumpUntil([&] { return !manager().applying() && !dialog->isBusy(); }));
    }
    std::string stored(int number) {
        return readAppString(*registry, kProfilesSection, profileListValueName(number), "");
    }
    int rows() { return manager().list().rowCount(); }
    bool ticked(int row) { return manager().isTicked(row); }
    bool applyEnabled() { return manager().button(id::kApply)->isEnabled(); }
};

TEST_F(ProfileManagerDialogTest,
       WithoutAKeyboardItShowsTheThreeProfilesUntickedAndDeleteNeedsARow) {
    createWindow();
    openManager();
    ASSERT_EQ(rows(), 3);
    for (int r = 0; r < 3; ++r) {
        EXPECT_FALSE(ticked(r)) << r;
        EXPECT_EQ(manager().list().item(r, 1)->text().toStdString(),
                  "Profile " + std::to_string(r + 1));
        EXPECT_EQ(manager().list().item(r, 2)->text().toStdString(), paths.dataFolder + "/");
    }
    EXPECT_EQ(manager().list().horizontalHeaderItem(0)->text(), "Active");
    EXPECT_FALSE(applyEnabled());
    EXPECT_TRUE(dialog->core().state().editors.profileManagerOpen());

    manager().selectRow(-1);
    manager().runCommand(id::kDelete);
    EXPECT_EQ(rows(), 3);
    EXPECT_FALSE(applyEnabled());
    EXPECT_FALSE(dialog->core().state().editors.profileManagerHasUnappliedChanges());
    saveScreenshot(manager(), "profile_manager");

    manager().runCommand(id::kCancel);
    EXPECT_FALSE(manager().isVisible());
    EXPECT_FALSE(dialog->core().state().editors.profileManagerOpen());
}

TEST_F(ProfileManagerDialogTest, ApplyStoresThreePathsAndSwitchesTheKeyboard) {
    openWindow();
    openManager();
    EXPECT_TRUE(ticked(0));
    manager().tickRow(2);
    EXPECT_FALSE(ticked(0)) << "the boxes behave as radio buttons";
    saveScreenshot(manager(), "profile_manager_ticked");
    EXPECT_TRUE(applyEnabled());
    EXPECT_TRUE(dialog->core().state().editors.profileManagerHasUnappliedChanges());

    applyAndWait();
    EXPECT_EQ(stored(0), "3");
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE(stored(n).ends_with(".klm")) << stored(n);
    EXPECT_EQ(memoryOf(*keyboard).parameters[10], 2);
    EXPECT_EQ(dialog->core().state().connection.activeProfile.load(), 2);
    ASSERT_TRUE(pumpUntil([&] { return button(shell::control::kProfile1 + 2).isSelected(); }));
    EXPECT_FALSE(applyEnabled());
    EXPECT_TRUE(manager().isVisible());

    // OK applies and closes.
    manager().tickRow(0);
    applyAndWait(id::kOk);
    EXPECT_FALSE(manager().isVisible());
    EXPECT_EQ(memoryOf(*keyboard).parameters[10], 0);
}

TEST_F(ProfileManagerDialogTest, AProfileButtonWhileItIsOpenTicksTheNewProfilesRow) {
    openWindow();
    openManager();
    dialog->runCommand(shell::control::kProfile1 + 1);
    ASSERT_TRUE(pumpUntil([&] { return !dialog->isBusy() && ticked(1); }));
    EXPECT_EQ(memoryOf(*keyboard).parameters[10], 1);
    EXPECT_FALSE(applyEnabled());
    EXPECT_FALSE(dialog->core().state().editors.profileManagerHasUnappliedChanges());
}

TEST_F(ProfileManagerDialogTest, AddCreatesAnEmptyProfileAndReopeningShowsOnlyTheThreeProfiles) {
    createWindow();
    const std::string file = dir.file("data/fps.klm");
    answerFileDialogs(file);
    openManager();
    manager().runCommand(id::kAdd);
    ASSERT_EQ(rows(), 4);
    EXPECT_EQ(manager().list().item(3, 1)->text(), "fps");
    EXPECT_TRUE(validateProfileFile(file).valid());
    EXPECT_TRUE(applyEnabled());

    // A file that cannot be created is still listed.
    answerFileDialogs(dir.file("no-such-folder/x.klm"));
    manager().runCommand(id::kAdd);
    EXPECT_EQ(rows(), 5);

    manager().runCommand(id::kCancel);
    openManager();
    EXPECT_EQ(rows(), 3);
    EXPECT_FALSE(applyEnabled());

    // Load lists a file without reading it; a cancelled chooser adds nothing.
    answerFileDialogs("");
    manager().runCommand(id::kLoad);
    EXPECT_EQ(rows(), 3);
    answerFileDialogs(file);
    manager().runCommand(id::kLoad);
    EXPECT_EQ(rows(), 4);
    manager().selectRow(3);
    manager().runCommand(id::kDelete);
    EXPECT_EQ(rows(), 3);
    EXPECT_TRUE(std::filesystem::exists(file)) << "Delete leaves the file on disk";
}

TEST_F(ProfileManagerDialogTest, ATickedFileRowIsWrittenToTheKeyboardAsRestoreDoes) {
    openWindow();
    const std::string good = dir.file("good.klm");
    {
        auto working = dialog->core().workingStore().lock();
        working->image->block(1)[0x1E] = KeyAssignment{AssignmentKind::Key, 0, 0x1D};
    }
    ASSERT_TRUE(dialog->core().backupToFile(good));
    const std::string bad = dir.write("bad.klm", std::string(40000, 'x'));

    openManager();
    answerFileDialogs(bad);
    manager().runCommand(id::kLoad);
    manager().tickRow(3);
    clearReceived(*keyboard);
    applyAndWait();
    EXPECT_TRUE(shown("MAIN_PROMPT_INPORT"));
    EXPECT_TRUE(matrixWritesReceived(*keyboard).empty());

    answerFileDialogs(good);
    manager().runCommand(id::kLoad);
    manager().tickRow(4);
    // Asked first, naming the file: No leaves the keyboard as it is.
    std::vector<std::string> questions;
    bool replace = false;
    dialog->setMessageResponder([&](const window::MessageRequest& r) {
        if (r.key != "KEYLOOM_PROFILES_REPLACE_ASK")
            return r.buttons == window::MessageButtons::YesNo ? window::MessageAnswer::Yes
                                                              : window::MessageAnswer::Ok;
        questions.push_back(r.text);
        return replace ? window::MessageAnswer::Yes : window::MessageAnswer::No;
    });
    applyAndWait();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find(good), std::string::npos) << questions[0];
    EXPECT_TRUE(matrixWritesReceived(*keyboard).empty());
    EXPECT_EQ(stored(5), "") << "nothing stored either";
    replace = true;
    applyAndWait();
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(matrixWritesReceived(*keyboard), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(stored(0), "5");
    EXPECT_EQ(stored(5), good);
}

TEST_F(ProfileManagerDialogTest, UnappliedKeyChangesAreAskedAboutNotDropped) {
    openWindow();
    {
        auto working = dialog->core().workingStore().lock();
        working->image->block(0)[0x1E] = KeyAssignment{AssignmentKind::Key, 0, 0x1D};
    }
    dialog->core().modified().markEdited();
    openManager();
    manager().tickRow(1);
    clearReceived(*keyboard);
    applyAndWait();  // the prompt is answered Yes: written first
    EXPECT_TRUE(shown("PROFILE_SELECT_PROMPT"));
    EXPECT_EQ(matrixWritesReceived(*keyboard), std::vector<int>{0});
    auto working = dialog->core().workingStore().lock();
    EXPECT_EQ(working->image->block(0)[0x1E].kind, AssignmentKind::Key);
}

TEST_F(ProfileManagerDialogTest, TheKeyboardGoingClosesItAsCancel) {
    openWindow();
    openManager();
    manager().tickRow(1);
    // It goes while the Add chooser is open: the chosen file comes too late.
    const std::string file = dir.file("late.klm");
    dialog->setFileChooser([&](shell::CKeyloomDlg::FileDialogKind) {
        keyboard->unplug();
        EXPECT_TRUE(pumpUntil([&] { return !manager().isVisible(); }));
        return file;
    });
    manager().runCommand(id::kAdd);
    EXPECT_FALSE(manager().isVisible());
    EXPECT_FALSE(dialog->core().state().editors.profileManagerOpen());
    EXPECT_FALSE(dialog->core().state().editors.profileManagerHasUnappliedChanges());
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(stored(0), "") << "closing as Cancel stores nothing";
}

}  // namespace
}  // namespace keyloom::testing

namespace keyloom::testing {
namespace {

struct RecordingPrompter : window::Prompter {
    std::vector<window::MessageRequest> shown;
    window::MessageAnswer showMessage(const window::MessageRequest& request) override {
        shown.push_back(request);
        return window::MessageAnswer::Ok;
    }
};

TEST(DialogPicturesTest, MissingPicturesKeepTheDialogClosedAndSayWhichOne) {
    TempDir emptySkin;
    RecordingPrompter prompts;
    editors::qt::ProfileDialogSetup profile;
    profile.skinFolder = emptySkin.path() + "/";
    profile.skinFile = emptySkin.file("Profile.ini");
    profile.prompts = &prompts;
    editors::qt::CKeyloom_DlgProfile manager(profile);
    EXPECT_FALSE(manager.openWithoutWaiting());
    EXPECT_FALSE(manager.isVisible());
    EXPECT_FALSE(manager.state().isOpen());

    editors::qt::UpdateDialogSetup update;
    update.skinFolder = emptySkin.path() + "/";
    update.skinFile = emptySkin.file("UpdateDlg.ini");
    update.prompts = &prompts;
    editors::qt::CKeyloom_DlgUpdate updater(update);
    EXPECT_FALSE(updater.openWithoutWaiting());

    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_NE(prompts.shown[0].text.find("Profile_normal.jpg"), std::string::npos);
    EXPECT_NE(prompts.shown[1].text.find("update_normal.jpg"), std::string::npos);
}

}  // namespace
}  // namespace keyloom::testing
