// Saves killed with SIGKILL at many points: every kind of file Keyloom writes
// must afterwards hold its old or its new contents in full, and what a killed
// save leaves behind must not disturb the next save or the readers.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lighting/UserModeFile.h"
#include "platform/fs/FileIo.h"
#include "platform/registry/Registry.h"
#include "sim/SimFirmware.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileSlotFile.h"
#include "storage/UserSettings.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kKillsPerKind = 60;

struct FileKind {
    const char* name;
    const char* fileName;
    // Saves version 0 or 1 of the contents to `path`.
    std::function<bool(const std::string& path, int version)> save;
};

StoreContents storeOf(int version) {
    StoreContents store;
    store.image->block(0)[0x1E] = {AssignmentKind::Key, 0,
                                   static_cast<std::uint16_t>(0x1D + version)};
    MacroRecord macro;
    macro.number = 1;
    macro.name = version ? u"new macro" : u"old";
    for (int i = 0; i < 40 * (1 + version); ++i)
        macro.actions.push_back({10, 0x1E, static_cast<std::uint16_t>(i % 2)});
    store.macros.push_back(macro);
    return store;
}

const std::vector<FileKind>& fileKinds() {
    static const std::vector<FileKind> kinds = {
        {"slot file", "ProfileSlot0",
         [](const std::string& path, int version) {
             StoreContents store = storeOf(version);
             return saveToSlotFile(store, path) == FileResult::Ok;
         }},
        {"exported profile file", "backup.klm",
         [](const std::string& path, int version) {
             StoreContents store = storeOf(version);
             return saveProfileFile(store, path) == FileResult::Ok;
         }},
        {"user-mode file", "UserDengColor_0.ini",
         [](const std::string& path, int version) {
             Brush brush;
             brush.tool = version ? BrushTool::BaseColour : BrushTool::SingleColour;
             brush.baseColour = {static_cast<std::uint8_t>(version * 200), 1, 2};
             return saveBrush(path, 0, brush);
         }},
        {"registry file", "registry.ini",
         [](const std::string& path, int version) {
             registry::Registry reg(path);
             return reg.writeDword("Software\\ORVK_Keyboard", "dwLanguageId",
                                   version ? 0x0804u : 0x0409u);
         }},
        {"settings file", "tzkb.ini",
         [](const std::string& path, int version) {
             return writeLightingView(path, version == 1);
         }},
        {"simulated keyboard state", "sim-state",
         [](const std::string& path, int version) {
             sim::SimFirmware firmware(sim::kModel652F);
             firmware.memory().keyColours[0] = static_cast<std::uint8_t>(version + 1);
             // Attaching loads a file that exists; the change goes in after.
             firmware.attachStateFile(path);
             firmware.memory().keyColours[0] = static_cast<std::uint8_t>(version + 1);
             return firmware.saveState();
         }},
    };
    return kinds;
}

std::string contentsOf(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!fs::readFile(path, bytes))
        return "<unreadable>";
    return std::string(bytes.begin(), bytes.end());
}

// Files in the folder other than `keep`.
std::vector<std::string> othersIn(const std::string& folder, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename() != keep)
            names.push_back(entry.path().filename().string());
    return names;
}

// Runs save(path, 1) in a child killed `delay` after it starts the save.
// True when the kill landed before the save finished.
bool killedSave(const FileKind& kind, const std::string& path, Clock::duration delay) {
    int ready[2];
    if (::pipe(ready) != 0)
        return false;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        const char go = 1;
        static_cast<void>(::write(ready[1], &go, 1));
        const bool saved = kind.save(path, 1);
        ::_exit(saved ? 0 : 3);
    }
    ::close(ready[1]);
    char go = 0;
    static_cast<void>(::read(ready[0], &go, 1));
    ::close(ready[0]);
    const auto until = Clock::now() + delay;
    while (Clock::now() < until) {
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status);
}

TEST(KilledSave, EveryKindOfFileHoldsItsOldOrNewContentsInFull) {
    for (const FileKind& kind : fileKinds()) {
        SCOPED_TRACE(kind.name);
        TempDir dir;
        const std::string path = dir.file(kind.fileName);
        // The slot file is only ever saved over an existing one.
        if (std::string(kind.fileName) == "ProfileSlot0") {
            ASSERT_TRUE(fs::writeFileAtomically(path, std::string()));
        }
        ASSERT_TRUE(kind.save(path, 1));
        const std::string newContents = contentsOf(path);
        const auto start = Clock::now();
        ASSERT_TRUE(kind.save(path, 0));
        const auto oneSave = Clock::now() - start;
        const std::string oldContents = contentsOf(path);
        ASSERT_NE(oldContents, newContents);

        int kills = 0;
        for (int i = 0; i < kKillsPerKind; ++i) {
            // From before the save starts to after it ends.
            const auto delay = oneSave * 3 * i / (2 * kKillsPerKind);
            if (killedSave(kind, path, delay))
                ++kills;
            const std::string now = contentsOf(path);
            ASSERT_TRUE(now == oldContents || now == newContents) << "after a kill at " << i;
            if (now == newContents) {
                ASSERT_TRUE(kind.save(path, 0));
            }
        }
        std::printf("[ kills    ] %s: %d of %d saves killed before they ended\n", kind.name, kills,
                    kKillsPerKind);
        EXPECT_GT(kills, 0);

        // What the killed saves left behind is only their temporary files,
        // which the readers pass by. The next save removes those older than
        // a minute and keeps a younger one, which a save running in another
        // process may still be writing.
        const std::vector<std::string> left = othersIn(dir.path(), kind.fileName);
        for (const std::string& name : left) {
            EXPECT_EQ(name.rfind(std::string(kind.fileName) + ".tmp", 0), 0u) << name;
            std::filesystem::last_write_time(
                dir.file(name),
                std::filesystem::file_time_type::clock::now() - std::chrono::minutes(2));
        }
        const std::string young = std::string(kind.fileName) + ".tmpYoung1";
        ASSERT_TRUE(fs::writeFileAtomically(dir.file(young), std::string("partial")));
        ASSERT_TRUE(kind.save(path, 1));
        EXPECT_EQ(contentsOf(path), newContents);
        EXPECT_EQ(othersIn(dir.path(), kind.fileName), std::vector<std::string>{young});
        std::printf("[ leftover ] %s: %zu temporary files removed by the next save\n", kind.name,
                    left.size());
    }
}

}  // namespace
}  // namespace keyloom::testing
