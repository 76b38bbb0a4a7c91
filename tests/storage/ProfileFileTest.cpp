// Saving the working store to a profile file and loading it back: macros,
// texts and their pool, damaged pools, and saves that must not destroy the
// previous file.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "ProfileTestSupport.h"
#include "model/AssignmentImage.h"
#include "model/MacroRecord.h"
#include "storage/ProfileFile.h"
#include "support/TempDir.h"

namespace keyloom {
namespace {

using testing::Bytes;
using testing::sampleMacro;
using testing::TempDir;

constexpr std::size_t kImage = AssignmentImage::kSize;
constexpr std::size_t kRecord = MacroRecord::kSize;

class ProfileFileTest : public ::testing::Test {
protected:
    std::string path(const std::string& name = "p.klm") const { return dir_.file(name); }

    TempDir dir_;
};

TEST_F(ProfileFileTest, AnImageOnlyFileLoadsWithNoMacrosOrTexts) {
    ASSERT_EQ(createEmptyProfileFile(path()), FileResult::Ok);
    EXPECT_EQ(std::filesystem::file_size(path()), kImage);
    EXPECT_TRUE(validateProfileFile(path()).valid());

    StoreContents store;
    store.macros.push_back(sampleMacro(1, u"old", 2));
    store.texts.setText(3, u"old");
    store.image->entries()[7].kind = AssignmentKind::Disabled;
    ASSERT_EQ(loadProfileFile(path(), store), FileResult::Ok);
    EXPECT_TRUE(store.macros.empty());
    EXPECT_EQ(store.texts.totalSize(), 0u);
    // The empty file is a fresh image: the extra keys of block 0 carry their codes.
    EXPECT_EQ(*store.image, AssignmentImage::fresh());
    EXPECT_EQ(store.image->entries()[256].parameter, 0x0301);
    EXPECT_EQ(store.image->entries()[273].parameter, 0x1309);
}

TEST_F(ProfileFileTest, MacrosAndTextsSurviveASaveAndLoad) {
    StoreContents store;
    auto entries = store.image->entries();
    entries[30] = {AssignmentKind::Key, 0, 0x1D};
    entries[40] = {AssignmentKind::TextBlock, 0, 0xBAD};
    entries[5] = {AssignmentKind::LaunchProgram, 0, 0xBAD};
    entries[512 + 9] = {AssignmentKind::Macro, 4, 2};
    entries[1024 + 100] = {AssignmentKind::TextBlock, 0, 0x1234};  // no text: keeps its field
    store.texts.setText(40, u"hello");
    store.texts.setText(5, u"/usr/bin/x");
    store.macros = {sampleMacro(2, u"second", 3), sampleMacro(1, u"first", 4000)};

    ASSERT_EQ(saveProfileFile(store, path()), FileResult::Ok);

    // Texts in entry order, each at the offset its entry now names.
    const std::size_t pool = (10 + 1) * 2 + (5 + 1) * 2;
    EXPECT_EQ(std::filesystem::file_size(path()), kImage + 2 * kRecord + pool);
    EXPECT_EQ(entries[5].value, 0u);
    EXPECT_EQ(entries[40].value, 22u);
    EXPECT_EQ(entries[1024 + 100].value, 0x1234u);
    EXPECT_EQ(store.image->header().macroCount, 2);
    EXPECT_EQ(store.image->header().poolSize, pool);
    EXPECT_TRUE(store.image->header().checksumMatches());
    const Bytes bytes = testing::readBytes(path());
    const std::size_t poolAt = kImage + 2 * kRecord;
    EXPECT_EQ(bytes[poolAt], '/');
    EXPECT_EQ(bytes[poolAt + 20], 0);
    EXPECT_EQ(bytes[poolAt + 22], 'h');
    EXPECT_EQ(bytes[bytes.size() - 2], 0);

    ASSERT_TRUE(validateProfileFile(path()).valid());
    StoreContents loaded;
    ASSERT_EQ(loadProfileFile(path(), loaded), FileResult::Ok);
    EXPECT_EQ(*loaded.image, *store.image);
    EXPECT_EQ(loaded.macros, store.macros);
    EXPECT_EQ(loaded.texts, store.texts);
}

TEST_F(ProfileFileTest, SavingWithoutTextsWritesAnEmptyPoolAndLeavesOffsetsAlone) {
    StoreContents store;
    store.image->entries()[12] = {AssignmentKind::LaunchProgram, 0, 0x40};
    store.macros = {sampleMacro(1, u"m", 1)};
    ASSERT_EQ(saveProfileFile(store, path()), FileResult::Ok);
    EXPECT_EQ(std::filesystem::file_size(path()), kImage + kRecord);
    EXPECT_EQ(store.image->header().poolSize, 0u);
    EXPECT_EQ(store.image->entries()[12].value, 0x40u);

    StoreContents loaded;
    ASSERT_EQ(loadProfileFile(path(), loaded), FileResult::Ok);
    EXPECT_EQ(loaded.image->entries()[12].value, 0x40u);
    EXPECT_FALSE(loaded.texts.text(12).has_value());
}

TEST_F(ProfileFileTest, AnEntryWithoutTextDoesNotPickUpAnotherEntrysText) {
    StoreContents store;
    auto entries = store.image->entries();
    entries[1] = {AssignmentKind::LaunchProgram, 0, 0};  // no text, offset into the pool
    entries[2] = {AssignmentKind::TextBlock, 0, 3};      // no text, odd offset into the pool
    entries[3] = {AssignmentKind::TextBlock, 0, 500};    // no text, beyond the pool
    entries[4] = {AssignmentKind::LaunchProgram, 0, 0};
    store.texts.setText(4, u"/bin/true");
    ASSERT_EQ(saveProfileFile(store, path()), FileResult::Ok);
    EXPECT_EQ(entries[1].value, 20u);
    EXPECT_EQ(entries[2].value, 20u);
    EXPECT_EQ(entries[3].value, 500u);

    StoreContents loaded;
    ASSERT_EQ(loadProfileFile(path(), loaded), FileResult::Ok);
    EXPECT_EQ(loaded.texts.text(4), u"/bin/true");
    for (std::size_t slot : {1, 2, 3})
        EXPECT_FALSE(loaded.texts.text(slot).has_value()) << slot;
}

TEST_F(ProfileFileTest, SaveTakesTheWorkingStoreLockWhenAsked) {
    WorkingStore working;
    working.lock()->macros = {sampleMacro(1, u"m", 1)};
    ASSERT_EQ(saveProfileFile(working, path()), FileResult::Ok);
    EXPECT_FALSE(WorkingStore::heldByThisThread());
    EXPECT_EQ(working.lock()->image->header().macroCount, 1);
}

TEST_F(ProfileFileTest, MoreThanAHundredMacrosAreNotSaved) {
    StoreContents store;
    for (std::uint16_t n = 1; n <= 101; ++n)
        store.macros.push_back(sampleMacro(n, u"m", 0));
    const AssignmentImage before = *store.image;
    EXPECT_EQ(saveProfileFile(store, path()), FileResult::Failed);
    EXPECT_FALSE(std::filesystem::exists(path()));
    EXPECT_EQ(*store.image, before);
}

// A pool of 14 bytes: "ab" at 0, then 4 units "xyzw" with no terminator.
Bytes fileWithDamagedPool() {
    AssignmentImage image = AssignmentImage::fresh();
    auto entries = image.entries();
    entries[1] = {AssignmentKind::TextBlock, 0, 0};      // "ab"
    entries[2] = {AssignmentKind::LaunchProgram, 0, 1};  // odd offset: read from 0
    entries[3] = {AssignmentKind::TextBlock, 0, 6};      // runs to the end unterminated
    entries[4] = {AssignmentKind::TextBlock, 0, 14};     // just past the pool
    entries[5] = {AssignmentKind::TextBlock, 0, 0xFFFFFFFF};
    entries[6] = {AssignmentKind::Key, 0, 0};  // not a text kind
    image.header().rebuild(0, 14);
    Bytes bytes = image.toBytes();
    const char16_t pool[] = {u'a', u'b', 0, u'x', u'y', u'z', u'w'};
    for (char16_t unit : pool) {
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(0);
    }
    return bytes;
}

TEST_F(ProfileFileTest, TextsOutsideThePoolOrWithoutTerminatorGetNoText) {
    const Bytes bytes = fileWithDamagedPool();
    ASSERT_EQ(checkProfileBytes(bytes), ProfileFileFault::None);
    StoreContents store;
    ASSERT_EQ(loadProfileBytes(bytes, store), FileResult::Ok);
    EXPECT_EQ(store.texts.text(1), u"ab");
    EXPECT_EQ(store.texts.text(2), u"ab");
    for (std::size_t slot : {3, 4, 5, 6}) {
        EXPECT_FALSE(store.texts.text(slot).has_value()) << slot;
    }
}

TEST_F(ProfileFileTest, LoadRefusesBytesShorterThanTheirHeaderAndKeepsTheStore) {
    StoreContents source;
    source.macros = {sampleMacro(1, u"a", 5), sampleMacro(2, u"b", 5)};
    source.image->entries()[0] = {AssignmentKind::TextBlock, 0, 0};
    source.texts.setText(0, u"text");
    Bytes bytes;
    ASSERT_TRUE(buildProfileBytes(source, bytes));

    StoreContents store;
    store.macros = {sampleMacro(9, u"keep", 1)};
    const StoreContents before = store;
    for (std::size_t cut :
         {std::size_t{1}, std::size_t{10}, kRecord + 10, bytes.size() - kImage + 1}) {
        const std::span<const std::uint8_t> shorter(bytes.data(), bytes.size() - cut);
        EXPECT_EQ(loadProfileBytes(shorter, store), FileResult::Failed) << cut;
        EXPECT_EQ(store.macros, before.macros);
        EXPECT_EQ(*store.image, *before.image);
    }
    EXPECT_EQ(loadProfileFile(path("missing.klm"), store), FileResult::Failed);
    EXPECT_EQ(store.macros, before.macros);
    EXPECT_EQ(loadProfileBytes(bytes, store), FileResult::Ok);
}

TEST_F(ProfileFileTest, ASaveReplacesTheFileWholeAndLeavesNoTemporaryFile) {
    StoreContents first;
    first.macros = {sampleMacro(1, u"first", 10)};
    ASSERT_EQ(saveProfileFile(first, path()), FileResult::Ok);
    const Bytes firstBytes = testing::readBytes(path());

    // A reader that opened the old file still sees all of it after the save:
    // the new file took its place instead of being written into it.
    std::ifstream oldFile(path(), std::ios::binary);
    StoreContents second;
    ASSERT_EQ(saveProfileFile(second, path()), FileResult::Ok);
    const Bytes seenByOldReader{std::istreambuf_iterator<char>(oldFile),
                                std::istreambuf_iterator<char>()};
    EXPECT_EQ(seenByOldReader, firstBytes);
    EXPECT_EQ(std::filesystem::file_size(path()), kImage);

    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

TEST_F(ProfileFileTest, AFailedSaveKeepsTheOldFile) {
    StoreContents store;
    ASSERT_EQ(saveProfileFile(store, path()), FileResult::Ok);
    const Bytes before = testing::readBytes(path());
    EXPECT_EQ(saveProfileFile(store, dir_.file("no/such/folder/p.klm")), FileResult::Failed);
    // A directory in the file's place cannot be replaced by a file.
    std::filesystem::create_directory(path("dir.klm"));
    EXPECT_EQ(saveProfileFile(store, path("dir.klm")), FileResult::Failed);
    EXPECT_EQ(createEmptyProfileFile(dir_.file("no/such/folder/p.klm")), FileResult::Failed);
    EXPECT_EQ(testing::readBytes(path()), before);

    // A save over the file itself that fails while writing (the disk full:
    // here a file-size limit below the file's size) leaves it as it was.
    StoreContents other;
    other.macros.push_back(sampleMacro(1, u"new", 2));
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
    rlimit small = oldLimit;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const FileResult overExisting = saveProfileFile(other, path());
    ::setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_EQ(overExisting, FileResult::Failed);
    EXPECT_EQ(testing::readBytes(path()), before);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        ++files;
    EXPECT_EQ(files, 2u) << "the file and dir.klm, no temporary left";
}

}  // namespace
}  // namespace keyloom
