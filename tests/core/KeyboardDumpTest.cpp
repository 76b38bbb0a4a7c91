// Dumping the simulated keyboard into a profile file: what is asked of the
// keyboard, how its key matrices and macro area land in the file, the
// refusals that keep an old file when the keyboard cannot be read (with the
// keyboard's own answer kept apart from the file's), and the file left alone
// when the keyboard holds what it already says.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <optional>

#include "core/KeyboardDump.h"
#include "device/DiscoveryMonitor.h"
#include "device/ProtocolResult.h"
#include "model/KeyTable.h"
#include "model/MacroArea.h"
#include "platform/fs/FileIo.h"
#include "sim/SimBackend.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileTestSupport.h"
#include "support/TempDir.h"

namespace keyloom {
namespace {

using testing::Bytes;
using testing::sampleMacro;
using testing::TempDir;

constexpr std::uint8_t kReadKeyMatrix = 7;
constexpr std::uint8_t kReadMacroArea = 9;

class NoHandler : public ConnectionHandler {
public:
    void connectionChanged(int) override {}
};

struct Request {
    std::uint8_t command;
    std::uint8_t length;
    unsigned offset;
};

class KeyboardDumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            oldRuntimeDir_ = old;
        ::setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
    }
    void TearDown() override {
        if (oldRuntimeDir_)
            ::setenv("XDG_RUNTIME_DIR", oldRuntimeDir_->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }

    template <typename F>
    decltype(auto) firmware(F&& f) {
        return keyboard_->withFirmware(std::forward<F>(f));
    }

    void connect(const sim::SimModel& model, std::uint8_t capacityUnits = 32) {
        keyboard_ = backend_->addKeyboard(model, capacityUnits);
        platform_.addBackend(backend_);
        DiscoveryMonitor monitor(link_, handler_, startup_);
        ASSERT_EQ(monitor.scanOnce(), DiscoveryMonitor::ScanResult::Found);
        ASSERT_EQ(link_.ReadDefaultKeyMatrix(defaults_.bytes), result::Success);
        capacity_ = std::size_t{capacityUnits} * 128;
        firmware([](sim::SimFirmware& f) { f.log().clear(); });
    }

    // Position of the default matrix entry `entry` (first match).
    std::size_t positionOf(MatrixEntry entry) const {
        for (std::size_t p = 0; p < KeyMatrix::kEntryCount; ++p) {
            if (defaults_.entry(p) == entry)
                return p;
        }
        ADD_FAILURE() << "no such default entry";
        return 0;
    }

    void setDeviceEntry(int profile, std::size_t position, MatrixEntry entry) {
        firmware([&](sim::SimFirmware& f) {
            const std::size_t at = profile * f.model().keyMatrixStride + 3 * position;
            f.memory().keyMatrices[at] = entry.cls;
            f.memory().keyMatrices[at + 1] = entry.sub;
            f.memory().keyMatrices[at + 2] = entry.value;
        });
    }

    void setMacroArea(const Bytes& area) {
        firmware([&](sim::SimFirmware& f) {
            std::copy(area.begin(), area.end(), f.memory().macroArea.begin());
        });
    }

    std::vector<Request> received() {
        return firmware([](sim::SimFirmware& f) {
            std::vector<Request> out;
            for (const auto& entry : f.log().entries()) {
                if (entry.direction != sim::Direction::Received)
                    continue;
                const auto& b = entry.bytes;
                out.push_back({b[3], b[4], static_cast<unsigned>(b[5] | b[6] << 8)});
            }
            return out;
        });
    }

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

    KeyboardDump dumpTo(const std::string& path, int activeProfile = 0) {
        return dumpKeyboardToFile(queue_, {link_, defaults_, capacity_}, activeProfile, path,
                                  u"Macro ");
    }
    FileResult dump(int activeProfile = 0) { return dumpTo(path_, activeProfile).file; }

    TempDir dir_;
    std::optional<std::string> oldRuntimeDir_;
    std::shared_ptr<sim::SimBackend> backend_ = std::make_shared<sim::SimBackend>();
    std::shared_ptr<sim::SimKeyboard> keyboard_;
    hid::HidPlatform platform_;
    ReportTrace trace_;
    DeviceLink link_{platform_, trace_};
    KeyboardQueue queue_{KeyboardQueue::Mode::Synchronous};
    NoHandler handler_;
    StartupState startup_;
    KeyMatrix defaults_;
    std::size_t capacity_ = 0;
    std::string path_ = dir_.file("$Profile0");
};

TEST_F(KeyboardDumpTest, KeyMatricesAndMacrosOfTheKeyboardBecomeAProfileFile) {
    connect(sim::kModel652F);
    const std::size_t aKey = positionOf({2, 2, 0x04});
    const std::size_t bKey = positionOf({2, 2, 0x05});
    setDeviceEntry(0, aKey, {2, 1, 0x01});  // A sends left Ctrl
    setDeviceEntry(1, aKey, {5, 1, 1});     // A plays the second macro
    setDeviceEntry(2, bKey, {0, 0, 0});     // B does nothing
    std::vector<MacroRecord> macros = {sampleMacro(1, u"one", 3), sampleMacro(2, u"", 2)};
    setMacroArea(encodeMacroArea(macros, false));

    ASSERT_EQ(dump(), FileResult::Ok);
    ASSERT_TRUE(validateProfileFile(path_).valid());
    StoreContents store;
    ASSERT_EQ(loadProfileFile(path_, store), FileResult::Ok);

    const auto& image = *store.image;
    const int a = KeyIndexOf(0x1E);
    const int b = KeyIndexOf(0x30);
    EXPECT_EQ(image.block(0)[a], (KeyAssignment{AssignmentKind::Key, 0, 0x1D}));
    EXPECT_EQ(image.block(1)[a].kind, AssignmentKind::Macro);
    EXPECT_EQ(image.block(1)[a].value, 2u);
    EXPECT_EQ(image.block(2)[b].kind, AssignmentKind::Disabled);
    EXPECT_EQ(image.block(2)[a].kind, AssignmentKind::Default);
    for (const auto& entry : image.block(3))
        EXPECT_EQ(entry, KeyAssignment{});
    EXPECT_EQ(image.header().poolSize, 0u);

    // The area carried no names: macros are named after their position.
    ASSERT_EQ(store.macros.size(), 2u);
    EXPECT_EQ(store.macros[0].name, u"Macro 1");
    EXPECT_EQ(store.macros[1].name, u"Macro 2");
    EXPECT_EQ(store.macros[1].number, 2);
    EXPECT_EQ(store.macros[0].actions.size(), 3u);
    EXPECT_EQ(store.macros[0].playCount, macros[0].playCount);

    // Three key matrices in 56-byte chunks at their profile's offset, then the
    // macro area's header and the bytes in use.
    const auto requests = received();
    std::vector<Request> matrixReads, areaReads;
    for (const auto& r : requests) {
        (r.command == kReadKeyMatrix ? matrixReads : areaReads).push_back(r);
    }
    ASSERT_EQ(matrixReads.size(), 3u * 7u);
    EXPECT_EQ(matrixReads[0].offset, 0u);
    EXPECT_EQ(matrixReads[7].offset, 378u);
    EXPECT_EQ(matrixReads[14].offset, 756u);
    EXPECT_EQ(matrixReads[20].length, 378 - 6 * 56);
    const std::size_t inUse = encodeMacroArea(macros, false).size();
    ASSERT_GE(areaReads.size(), 2u);
    EXPECT_EQ(areaReads[0].command, kReadMacroArea);
    EXPECT_EQ(areaReads[0].length, 16);
    unsigned areaBytes = 0;
    for (std::size_t i = 1; i < areaReads.size(); ++i) {
        EXPECT_EQ(areaReads[i].command, kReadMacroArea);
        EXPECT_EQ(areaReads[i].offset, areaBytes);
        areaBytes += areaReads[i].length;
    }
    EXPECT_EQ(areaBytes, inUse);
}

TEST_F(KeyboardDumpTest, TheStride512ModelIsReadAtItsOwnOffsets) {
    connect(sim::kModel5064);
    ASSERT_EQ(dump(2), FileResult::Ok);
    const auto requests = received();
    ASSERT_GE(requests.size(), 21u);
    EXPECT_EQ(requests[7].offset, 512u);
    EXPECT_EQ(requests[14].offset, 1024u);
    StoreContents store;
    ASSERT_EQ(loadProfileFile(path_, store), FileResult::Ok);
    EXPECT_TRUE(store.macros.empty());
    // An untouched keyboard holds its defaults: nothing but Default in the image.
    EXPECT_EQ(*store.image, AssignmentImage::fresh());
}

TEST_F(KeyboardDumpTest, AnAreaWithoutMarkerHoldsNoMacrosAndOnlyItsHeaderIsRead) {
    connect(sim::kModel652F);
    Bytes area = encodeMacroArea(std::vector<MacroRecord>{sampleMacro(1, u"x", 1)}, true);
    area[0] = 0;
    setMacroArea(area);
    ASSERT_EQ(dump(), FileResult::Ok);
    std::size_t areaReads = 0;
    for (const auto& r : received())
        areaReads += r.command == kReadMacroArea;
    EXPECT_EQ(areaReads, 1u);
    StoreContents store;
    ASSERT_EQ(loadProfileFile(path_, store), FileResult::Ok);
    EXPECT_TRUE(store.macros.empty());
}

TEST_F(KeyboardDumpTest, TheAreaSizeFieldIsBoundedByTheCapacity) {
    connect(sim::kModel652F, 2);  // 256 bytes
    std::vector<MacroRecord> macros = {sampleMacro(1, u"a", 4), sampleMacro(2, u"b", 80)};
    Bytes area = encodeMacroArea(macros, true);
    ASSERT_GT(area.size(), 256u);
    area.resize(256);
    area[2] = 0xFF;  // claims 65,535 bytes in use
    area[3] = 0xFF;
    setMacroArea(area);

    ASSERT_EQ(dump(), FileResult::Ok);
    unsigned end = 0;
    for (const auto& r : received()) {
        if (r.command == kReadMacroArea)
            end = std::max(end, r.offset + r.length);
    }
    EXPECT_EQ(end, 256u);
    StoreContents store;
    ASSERT_EQ(loadProfileFile(path_, store), FileResult::Ok);
    // The first macro lies inside the capacity; the second runs past it and
    // keeps only the actions that fit.
    ASSERT_EQ(store.macros.size(), 2u);
    EXPECT_EQ(store.macros[0].name, u"a");
    EXPECT_EQ(store.macros[0].actions.size(), 4u);
    EXPECT_LT(store.macros[1].actions.size(), 80u);
    EXPECT_EQ(store.image->header().macroCount, 2);
}

TEST_F(KeyboardDumpTest, NothingIsWrittenWhenTheKeyboardCannotBeReadAndTheReasonIsKept) {
    connect(sim::kModel652F);
    ASSERT_EQ(createEmptyProfileFile(path_), FileResult::Ok);
    const Bytes before = testing::readBytes(path_);

    struct Case {
        const char* what;
        int activeProfile;
        std::uint8_t refusedCommand;  // 0: none
        std::uint8_t status;
        DeviceResult device;
    };
    for (const Case& c : {
             Case{"unknown profile", -1, 0, 0, result::BadProfile},
             Case{"profile 4", 4, 0, 0, result::BadProfile},
             Case{"macro area refused", 0, kReadMacroArea, 0xFF, result::StatusFF},
             Case{"key matrix refused", 0, kReadKeyMatrix, 0xFE, result::StatusFE},
         }) {
        firmware([&](sim::SimFirmware& f) {
            f.faults().clear();
            f.log().clear();
            if (c.refusedCommand != 0)
                f.faults().refuseCommand(c.refusedCommand, c.status);
        });
        const KeyboardDump result = dumpTo(path_, c.activeProfile);
        EXPECT_EQ(result.device, c.device) << c.what;
        EXPECT_EQ(result.file, FileResult::Failed) << c.what;
        EXPECT_TRUE(result.bytes.empty()) << c.what;
        EXPECT_EQ(testing::readBytes(path_), before) << c.what;
        if (c.refusedCommand == 0) {
            EXPECT_TRUE(received().empty()) << c.what;
        }
    }
    firmware([](sim::SimFirmware& f) { f.faults().clear(); });
    EXPECT_EQ(dump(3), FileResult::Ok);  // profile 3 counts as known; the matrices read are 0-2

    // The keyboard answered but the file cannot be written: only the file failed.
    const KeyboardDump unwritable = dumpTo(dir_.file("missing/folder/dump.klm"));
    EXPECT_EQ(unwritable.device, result::Success);
    EXPECT_EQ(unwritable.file, FileResult::Failed);
    EXPECT_TRUE(unwritable.bytes.empty());
}

TEST_F(KeyboardDumpTest, TheSameBytesLeaveTheFileAloneAndAnyDifferenceReplacesIt) {
    connect(sim::kModel652F);
    ASSERT_EQ(dump(), FileResult::Ok);
    const ino_t first = fileId();
    const auto good = contents();
    ASSERT_EQ(dump(), FileResult::Ok);
    EXPECT_EQ(fileId(), first);
    EXPECT_EQ(contents(), good);

    // The bytes handed back are the file's, whether it was left alone or not.
    KeyboardDump again = dumpTo(path_);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(fileId(), first);
    EXPECT_EQ(again.bytes, good);

    // The file differs in content or length: the dump replaces it.
    struct Spoil {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    auto flipped = good;
    flipped[flipped.size() / 2] ^= 0xFF;
    auto longer = good;
    longer.push_back(0);
    auto shorter = good;
    shorter.pop_back();
    for (const auto& spoil : {Spoil{"same length", flipped}, Spoil{"longer", longer},
                              Spoil{"shorter", shorter}, Spoil{"empty", {}}}) {
        ASSERT_TRUE(fs::writeFileAtomically(path_, spoil.bytes));
        again = dumpTo(path_);
        ASSERT_TRUE(again.ok());
        EXPECT_EQ(contents(), good) << spoil.what;
        EXPECT_EQ(again.bytes, good) << spoil.what;
    }

    // The keyboard changed: the file is replaced.
    const ino_t before = fileId();
    setDeviceEntry(0, 0, MatrixEntry{2, 1, 0x01});
    ASSERT_EQ(dump(), FileResult::Ok);
    EXPECT_NE(fileId(), before);
    EXPECT_NE(contents(), good);
}

}  // namespace
}  // namespace keyloom
