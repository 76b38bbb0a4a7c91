// Validation of profile files: each header rule, the size rules, and what the
// caller gets to show the user.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "ProfileTestSupport.h"
#include "model/AssignmentImage.h"
#include "model/MacroRecord.h"
#include "storage/Language.h"
#include "storage/ProfileFile.h"
#include "support/TempDir.h"

namespace keyloom {
namespace {

using testing::Bytes;
using testing::setU16;
using testing::setU32;
using testing::TempDir;

constexpr std::uint32_t kImage = AssignmentImage::kSize;
constexpr std::uint32_t kRecord = MacroRecord::kSize;

Bytes emptyProfile() {
    return AssignmentImage::fresh().toBytes();
}

TEST(ProfileFileCheck, AFreshImageAloneIsAValidProfile) {
    const Bytes bytes = emptyProfile();
    ASSERT_EQ(bytes.size(), kImage);
    EXPECT_EQ(checkProfileBytes(bytes), ProfileFileFault::None);
}

TEST(ProfileFileCheck, EachHeaderRuleRejects) {
    struct Case {
        const char* what;
        void (*doctor)(Bytes&);
        ProfileFileFault fault;
    };
    const Case cases[] = {
        {"magic", [](Bytes& b) { setU16(b, 0, 0x4447); }, ProfileFileFault::BadMagic},
        {"header size", [](Bytes& b) { setU16(b, 2, 33); }, ProfileFileFault::BadHeaderSize},
        {"format word", [](Bytes& b) { setU16(b, 4, 2); }, ProfileFileFault::BadFormatWord},
        {"version", [](Bytes& b) { setU16(b, 6, 2); }, ProfileFileFault::BadFormatVersion},
        {"total below the image", [](Bytes& b) { setU32(b, 8, kImage - 1); },
         ProfileFileFault::TotalSizeTooSmall},
        {"entry count", [](Bytes& b) { setU16(b, 12, 2047); }, ProfileFileFault::BadEntryCount},
        {"101 macros",
         [](Bytes& b) {
             setU16(b, 14, 101);
             setU32(b, 8, kImage + 101 * kRecord);
         },
         ProfileFileFault::TooManyMacros},
        {"flag 2", [](Bytes& b) { b[30] = 2, testing::resealHeader(b); },
         ProfileFileFault::BadFlag},
        {"total mismatch", [](Bytes& b) { setU32(b, 8, kImage + 2); },
         ProfileFileFault::TotalSizeMismatch},
        {"sizes whose sum wraps 32 bits",
         [](Bytes& b) {
             setU16(b, 14, 1);
             setU32(b, 16, 0xFFFFFFFF);
             setU32(b, 8, kImage + kRecord - 1);
         },
         ProfileFileFault::TotalSizeMismatch},
        {"checksum off by one", [](Bytes& b) { ++b[31]; }, ProfileFileFault::BadChecksum},
    };
    for (const auto& c : cases) {
        Bytes bytes = emptyProfile();
        c.doctor(bytes);
        EXPECT_EQ(checkProfileBytes(bytes), c.fault) << c.what;
    }
}

TEST(ProfileFileCheck, FlagOneAndTrailingBytesAreAccepted) {
    Bytes bytes = emptyProfile();
    bytes[30] = 1;
    testing::resealHeader(bytes);
    bytes.resize(bytes.size() + 100, 0xEE);
    EXPECT_EQ(checkProfileBytes(bytes), ProfileFileFault::None);
}

TEST(ProfileFileCheck, AFileShorterThanItsHeaderSaysIsTruncated) {
    Bytes bytes = emptyProfile();
    setU16(bytes, 14, 1);
    setU32(bytes, 8, kImage + kRecord);
    bytes.resize(kImage + kRecord - 1);
    EXPECT_EQ(checkProfileBytes(bytes), ProfileFileFault::Truncated);
    bytes.push_back(0);
    EXPECT_EQ(checkProfileBytes(bytes), ProfileFileFault::None);
    bytes.resize(kImage - 1);
    EXPECT_EQ(checkProfileBytes(bytes), ProfileFileFault::TooShort);
}

class ProfileFileValidation : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.write("lang/Lang0409.ini", "[TEXT]\nPROFILE_FORMAT_ERROR=Not a profile: %s (%d)\n");
        installLanguageFiles(
            std::make_shared<LanguageFiles>(dir_.path() + "/lang/", nullptr, 0x0409));
    }
    void TearDown() override { installLanguageFiles(nullptr); }

    std::string file(const Bytes& bytes) {
        const std::string path = dir_.file("p.klm");
        testing::writeBytes(path, bytes);
        return path;
    }

    TempDir dir_;
};

TEST_F(ProfileFileValidation, AValidFileGivesOneAndNoMessage) {
    const auto check = validateProfileFile(file(emptyProfile()));
    EXPECT_EQ(check.code, profile_file::kValid);
    EXPECT_TRUE(check.valid());
    EXPECT_TRUE(check.message.empty());
}

TEST_F(ProfileFileValidation, AWrongHeaderComesWithTheFormattedMessage) {
    Bytes bytes = emptyProfile();
    setU16(bytes, 14, 101);
    const std::string path = file(bytes);
    const auto check = validateProfileFile(path);
    EXPECT_EQ(check.code, profile_file::kInvalid);
    EXPECT_EQ(check.fault, ProfileFileFault::TooManyMacros);
    // The path fills %s; the %d the file asks for has no value and stays as written.
    EXPECT_EQ(check.message, "Not a profile: " + path + " (%d)");
}

TEST_F(ProfileFileValidation, AShortFileIsReportedAsMalformed) {
    Bytes bytes = emptyProfile();
    setU16(bytes, 14, 2);
    setU32(bytes, 8, kImage + 2 * kRecord);
    bytes.resize(kImage + kRecord);
    const auto check = validateProfileFile(file(bytes));
    EXPECT_EQ(check.code, profile_file::kInvalid);
    EXPECT_EQ(check.fault, ProfileFileFault::Truncated);
    EXPECT_FALSE(check.message.empty());
}

TEST_F(ProfileFileValidation, UnusableFilesGiveZeroWithoutAMessage) {
    Bytes small = emptyProfile();
    small.pop_back();
    for (const std::string& path : {file(small), dir_.file("missing.klm"), dir_.path()}) {
        const auto check = validateProfileFile(path);
        EXPECT_EQ(check.code, profile_file::kInvalid) << path;
        EXPECT_EQ(check.fault, ProfileFileFault::Unusable) << path;
        EXPECT_TRUE(check.message.empty()) << path;
    }
}

TEST_F(ProfileFileValidation, AFileThatCannotBeOpenedGivesMinusTwo) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    const std::string path = file(emptyProfile());
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_EQ(validateProfileFile(path).code, profile_file::kCannotOpen);
}

}  // namespace
}  // namespace keyloom
