// The profile manager's list: the rows an opening starts from, ticks that
// behave as radio buttons, Delete, the stored list and what Apply asks of
// the keyboard.

#include <gtest/gtest.h>

#include "editors/ProfileManagerState.h"
#include "storage/AppProfile.h"
#include "storage/SettingsKey.h"
#include "support/TempDir.h"

namespace keyloom::editors {
namespace {

std::string nameOf(int n) {
    return "Profile " + std::to_string(n + 1);
}

class ProfileManagerStateTest : public ::testing::Test {
protected:
    void open(int active = -1) { state.open("/data/ORVK_Keyboard/$Profile0", active, nameOf); }
    std::string stored(int number) {
        return readAppString(registry, kProfilesSection, profileListValueName(number), "(none)");
    }

    testing::TempDir dir;
    registry::Registry registry{dir.file("registry.ini")};
    ProfileManagerState state;
};

TEST_F(ProfileManagerStateTest, OpeningShowsTheThreeProfileRowsAndTicksOnlyAKnownActiveProfile) {
    for (int active : {-1, 3}) {
        open(active);
        ASSERT_EQ(state.rows().size(), 3u);
        EXPECT_EQ(state.tickedRow(), -1) << active;
        state.close();
    }
    open(1);
    EXPECT_TRUE(state.isOpen());
    EXPECT_EQ(state.tickedRow(), 1);
    EXPECT_EQ(state.rows()[2].name, "Profile 3");
    EXPECT_EQ(state.rows()[2].folder, "/data/ORVK_Keyboard/");
    EXPECT_FALSE(state.hasUnappliedChanges());

    // Rows added while open are gone at the next opening.
    state.appendFile("/home/u/Games/fps.klm");
    state.close();
    EXPECT_FALSE(state.isOpen());
    open(1);
    EXPECT_EQ(state.rows().size(), 3u);
    EXPECT_FALSE(state.hasUnappliedChanges());
}

TEST_F(ProfileManagerStateTest, TicksAreExclusiveAndMarkTheListChanged) {
    open(0);
    state.appendFile("/home/u/fps.klm");
    ASSERT_TRUE(state.tick(3));
    EXPECT_EQ(state.tickedRow(), 3);
    EXPECT_FALSE(state.rows()[0].ticked);
    EXPECT_TRUE(state.hasUnappliedChanges());
    EXPECT_FALSE(state.tick(7)) << "no such row";
    EXPECT_EQ(state.tickedRow(), 3);

    // The profile switch ticks its row and leaves nothing unapplied.
    state.selectRow(2);
    EXPECT_EQ(state.tickedRow(), 2);
    EXPECT_FALSE(state.hasUnappliedChanges());
}

TEST_F(ProfileManagerStateTest, DeleteWithoutSelectionChangesNothing) {
    open(0);
    for (int row : {-1, 3, 100}) {
        EXPECT_FALSE(state.remove(row));
        EXPECT_EQ(state.rows().size(), 3u);
        EXPECT_FALSE(state.hasUnappliedChanges());
    }
    EXPECT_TRUE(state.remove(1));
    EXPECT_EQ(state.rows()[1].name, "Profile 3");
    EXPECT_TRUE(state.hasUnappliedChanges());
}

TEST_F(ProfileManagerStateTest, ApplyStoresTheCountAndEveryRowsPath) {
    open(0);
    ProfileApplyPlan plan;
    ASSERT_TRUE(state.apply(registry, plan));
    EXPECT_EQ(stored(0), "3");
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(stored(n), "/data/ORVK_Keyboard/Profile " + std::to_string(n) + ".klm");
    EXPECT_EQ(plan.kind, ProfileApplyPlan::Kind::SetProfile);
    EXPECT_EQ(plan.profile, 0);

    // A file that does not end in .klm is stored as it is, not renamed.
    state.appendFile("/home/u/backup.profile");
    state.appendFile("/home/u/.hidden");
    EXPECT_EQ(state.rows()[3].name, "backup");
    EXPECT_EQ(state.rows()[4].name, ".hidden");
    ASSERT_TRUE(state.apply(registry, plan));
    EXPECT_EQ(stored(0), "5");
    EXPECT_EQ(stored(4), "/home/u/backup.profile");
    EXPECT_FALSE(state.hasUnappliedChanges());
}

TEST_F(ProfileManagerStateTest, ApplyPlanFollowsTheTickedRow) {
    open(-1);
    EXPECT_EQ(state.plan().kind, ProfileApplyPlan::Kind::Refresh);
    state.tick(2);
    EXPECT_EQ(state.plan().kind, ProfileApplyPlan::Kind::SetProfile);
    EXPECT_EQ(state.plan().profile, 2);
    state.appendFile("/home/u/fps.klm");
    state.tick(3);
    EXPECT_EQ(state.plan().kind, ProfileApplyPlan::Kind::RestoreFile);
    EXPECT_EQ(state.plan().file, "/home/u/fps.klm");
}

TEST_F(ProfileManagerStateTest, RowsStandForTheirProfileOrFileWhicheverRowIsRemoved) {
    open(0);
    state.appendFile("/home/u/fileA.klm");
    ASSERT_TRUE(state.remove(0));  // Profile 1
    state.tick(2);
    EXPECT_EQ(state.plan().kind, ProfileApplyPlan::Kind::RestoreFile);
    EXPECT_EQ(state.plan().file, "/home/u/fileA.klm");
    state.tick(0);
    EXPECT_EQ(state.plan().profile, 1) << "the row named Profile 2";
    state.selectRow(2);
    EXPECT_EQ(state.tickedRow(), 1) << "Profile 3's row, not the file's";
    state.selectRow(0);
    EXPECT_EQ(state.tickedRow(), -1) << "no row stands for profile 1 now";
}

TEST_F(ProfileManagerStateTest, EachFileIsStoredOnceAndTheNextOpeningListsIt) {
    // A longer list stored before leaves nothing behind.
    for (int n = 0; n <= 6; ++n)
        writeAppString(registry, kProfilesSection, profileListValueName(n), n ? "/old.klm" : "6");
    state.open("/data/ORVK_Keyboard/$Profile0", 0, nameOf, readStoredFiles(registry));
    EXPECT_EQ(state.rows().size(), 4u) << "the old file is listed once";
    state.remove(3);
    EXPECT_EQ(state.appendFile("/home/u/fps.klm"), 3);
    EXPECT_EQ(state.appendFile("/home/u/fps.klm"), 3);
    ProfileApplyPlan plan;
    ASSERT_TRUE(state.apply(registry, plan));
    EXPECT_EQ(stored(0), "4");
    EXPECT_EQ(stored(4), "/home/u/fps.klm");
    EXPECT_EQ(stored(5), "(none)");
    EXPECT_EQ(stored(6), "(none)");

    state.close();
    state.open("/data/ORVK_Keyboard/$Profile0", 1, nameOf, readStoredFiles(registry));
    ASSERT_EQ(state.rows().size(), 4u);
    EXPECT_EQ(state.rows()[3].file, "/home/u/fps.klm");
    EXPECT_EQ(state.tickedRow(), 1);
    EXPECT_FALSE(state.hasUnappliedChanges());
}

TEST_F(ProfileManagerStateTest, AStoreThatCannotBeWrittenIsReported) {
    registry::Registry unwritable(dir.file("registry.ini/inside"));
    dir.write("registry.ini", "");
    open(0);
    ProfileApplyPlan plan;
    EXPECT_FALSE(state.apply(unwritable, plan));
}

}  // namespace
}  // namespace keyloom::editors
