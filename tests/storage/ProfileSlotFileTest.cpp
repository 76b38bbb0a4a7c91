// The slot file: its name, and saves that only refresh an existing file.

#include <gtest/gtest.h>

#include <filesystem>

#include "ProfileTestSupport.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileSlotFile.h"
#include "support/TempDir.h"

namespace keyloom {
namespace {

using testing::TempDir;

TEST(ProfileSlotFile, IsNamedAfterSlotZeroInTheDataFolder) {
    EXPECT_EQ(slotFileName(), "$Profile0");
    EXPECT_EQ(slotFilePath("/home/u/.local/share/ORVK_Keyboard"),
              "/home/u/.local/share/ORVK_Keyboard/$Profile0");
}

TEST(ProfileSlotFile, SavesOnlyOverAnExistingSlotFile) {
    TempDir dir;
    const std::string slot = slotFilePath(dir.path());
    StoreContents store;
    store.macros = {testing::sampleMacro(1, u"m", 2)};
    const AssignmentImage before = *store.image;

    EXPECT_EQ(saveToSlotFile(store, slot), FileResult::Failed);
    EXPECT_FALSE(std::filesystem::exists(slot));
    EXPECT_EQ(*store.image, before);  // nothing rebuilt either

    ASSERT_EQ(createEmptyProfileFile(slot), FileResult::Ok);
    EXPECT_EQ(saveToSlotFile(store, slot), FileResult::Ok);
    StoreContents loaded;
    ASSERT_EQ(loadProfileFile(slot, loaded), FileResult::Ok);
    EXPECT_EQ(loaded.macros, store.macros);

    WorkingStore working;
    working.lock()->macros.clear();
    EXPECT_EQ(saveToSlotFile(working, slot), FileResult::Ok);
    ASSERT_EQ(loadProfileFile(slot, loaded), FileResult::Ok);
    EXPECT_TRUE(loaded.macros.empty());
    EXPECT_EQ(saveToSlotFile(working, slotFilePath(dir.file("missing"))), FileResult::Failed);
}

}  // namespace
}  // namespace keyloom
