// Dumping a keyboard over a profile file that already holds the same bytes
// leaves the file alone; any difference replaces it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "device/DiscoveryMonitor.h"
#include "device/ProtocolResult.h"
#include "platform/fs/FileIo.h"
#include "sim/SimBackend.h"
#include "storage/ProfileDump.h"
#include "support/TempDir.h"

namespace keyloom {
namespace {

using testing::TempDir;

class NoHandler : public ConnectionHandler {
public:
    void connectionChanged(int) override {}
};

class ProfileDumpRewriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            oldRuntimeDir_ = old;
        ::setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
        keyboard_ = backend_->addKeyboard(sim::kModel652F, 32);
        platform_.addBackend(backend_);
        DiscoveryMonitor monitor(link_, handler_, startup_);
        ASSERT_EQ(monitor.scanOnce(), DiscoveryMonitor::ScanResult::Found);
        ASSERT_EQ(link_.ReadDefaultKeyMatrix(defaults_.bytes), result::Success);
    }
    void TearDown() override {
        if (oldRuntimeDir_)
            ::setenv("XDG_RUNTIME_DIR", oldRuntimeDir_->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }

    int dump() { return dumpKeyboardToFile({link_, defaults_, 32 * 128}, 0, path_, u"Macro "); }

    // A file replaced by an atomic write is a new file.
    ino_t fileId() const {
        struct stat st {};
        return ::stat(path_.c_str(), &st) == 0 ? st.st_ino : 0;
    }
    std::vector<std::uint8_t> contents() const {
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(fs::readFile(path_, bytes));
        return bytes;
    }

    TempDir dir_;
    std::optional<std::string> oldRuntimeDir_;
    std::shared_ptr<sim::SimBackend> backend_ = std::make_shared<sim::SimBackend>();
    std::shared_ptr<sim::SimKeyboard> keyboard_;
    hid::HidPlatform platform_;
    ReportTrace trace_;
    DeviceLink link_{platform_, trace_};
    NoHandler handler_;
    StartupState startup_;
    KeyMatrix defaults_;
    std::string path_ = dir_.file("$Profile0");
};

TEST_F(ProfileDumpRewriteTest, TheSameBytesLeaveTheFileAlone) {
    ASSERT_EQ(dump(), 1);
    const ino_t first = fileId();
    const auto bytes = contents();
    ASSERT_EQ(dump(), 1);
    EXPECT_EQ(fileId(), first);
    EXPECT_EQ(contents(), bytes);
}

TEST_F(ProfileDumpRewriteTest, AChangedKeyboardReplacesTheFile) {
    ASSERT_EQ(dump(), 1);
    const auto before = contents();
    const ino_t first = fileId();
    keyboard_->withFirmware([](sim::SimFirmware& f) {
        // Profile 0's first key sends left Ctrl.
        f.memory().keyMatrices[0] = 2;
        f.memory().keyMatrices[1] = 1;
        f.memory().keyMatrices[2] = 0x01;
    });
    ASSERT_EQ(dump(), 1);
    EXPECT_NE(fileId(), first);
    EXPECT_NE(contents(), before);
}

TEST_F(ProfileDumpRewriteTest, AFileDifferentInContentOrLengthIsReplaced) {
    ASSERT_EQ(dump(), 1);
    const auto good = contents();
    for (bool longer : {false, true}) {
        auto spoiled = good;
        spoiled[spoiled.size() / 2] ^= 0xFF;
        if (longer)
            spoiled = good, spoiled.push_back(0);
        ASSERT_TRUE(fs::writeFileAtomically(path_, spoiled));
        ASSERT_EQ(dump(), 1);
        EXPECT_EQ(contents(), good) << (longer ? "longer" : "same length");
    }
}

}  // namespace
}  // namespace keyloom
