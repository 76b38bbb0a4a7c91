// A long run of the core against the simulated keyboard: a seeded random mix
// of edits, writes, file backups and restores, profile switches, cable pulls
// and device faults, with the invariants checked after every step. A failure
// prints the seed and the step so that the run can be replayed.
//
//   keyloom_soak SECONDS SEED [MAX_RSS_GROWTH_MB]

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/HeadlessBinding.h"
#include "core/KeyloomCore.h"
#include "core/window/HeadlessWindow.h"
#include "model/KeyMatrixCodec.h"
#include "model/MacroArea.h"
#include "sim/SimBackend.h"
#include "storage/ProfileFile.h"
#include "support/TempDir.h"

namespace keyloom::soak {
namespace {

using Clock = std::chrono::steady_clock;

// Longest a step may take: a handful of lost requests at the full timeout
// and retries of a three-profile write stay well inside it.
constexpr auto kStepLimit = std::chrono::seconds(90);
constexpr auto kConnectLimit = std::chrono::seconds(30);

long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Ends the process when a step hangs; a stuck core cannot be unwound.
class Watchdog {
public:
    Watchdog(unsigned seed) : seed_(seed), thread_([this] { watch(); }) {}
    ~Watchdog() {
        done_ = true;
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void stepStarts(long step, const char* name) {
        name_ = name;
        started_ = Clock::now().time_since_epoch().count();
        step_ = step;
    }

private:
    void watch() {
        while (!done_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const auto started = Clock::time_point(Clock::duration(started_.load()));
            if (step_.load() >= 0 && Clock::now() - started > kStepLimit) {
                std::fprintf(stderr, "soak: FAILED (seed %u, step %ld): %s hangs\n", seed_,
                             step_.load(), name_.load());
                std::_Exit(2);
            }
        }
    }

    unsigned seed_;
    std::atomic<bool> done_{false};
    std::atomic<long> step_{-1};
    std::atomic<Clock::rep> started_{0};
    std::atomic<const char*> name_{""};
    std::thread thread_;
};

class Soak {
public:
    Soak(unsigned seed) : seed_(seed), random_(seed), watchdog_(seed) {
        ::setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
        keyboard_ = backend_->addKeyboard(sim::kModel652F, 8);
        platform_.addBackend(backend_);
        window_.setDefaultYesNoAnswer(window::MessageAnswer::Yes);
        AppPaths paths;
        paths.dataFolder = dir_.file("data");
        paths.settingsFile = paths.dataFolder + "/tzkb.ini";
        paths.userModeFilePrefix = paths.dataFolder + "/UserDengColor_";
        paths.userModeTemplatePrefix = dir_.file("Skins/UserDengColor_");
        CoreSetup setup;
        setup.platform = &platform_;
        setup.timing = {std::chrono::milliseconds(1), std::chrono::milliseconds(1),
                        std::chrono::milliseconds(1)};
        setup.listenForNotifications = false;
        core_ = std::make_unique<KeyloomCore>(window_.coreWindow(), paths, setup);
        bindHeadlessWindow(window_, *core_);
        core_->start();
    }
    ~Soak() { core_->stop(); }
    Soak(const Soak&) = delete;
    Soak& operator=(const Soak&) = delete;

    int run(std::chrono::seconds duration, long maxGrowthKb) {
        if (!waitConnected()) {
            fail("the keyboard was not found at the start");
            return 1;
        }
        const auto end = Clock::now() + duration;
        const auto warmUp = Clock::now() + duration / 5;
        long baseline = -1;
        long peak = 0;
        for (step_ = 0; Clock::now() < end; ++step_) {
            if (!step())
                return 1;
            if (baseline < 0 && Clock::now() > warmUp)
                baseline = residentKilobytes();
            if (baseline >= 0)
                peak = std::max(peak, residentKilobytes());
        }
        watchdog_.stepStarts(-1, "");
        std::printf(
            "soak: seed %u, %ld steps, %ld faults, %ld verified writes, rss %ld -> %ld kB\n", seed_,
            step_, faults_, verifiedWrites_, baseline, peak);
        if (baseline >= 0 && peak - baseline > maxGrowthKb) {
            fail("resident memory grew by " + std::to_string(peak - baseline) + " kB");
            return 1;
        }
        return 0;
    }

private:
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

    bool fail(const std::string& why) {
        std::fprintf(stderr, "soak: FAILED (seed %u, step %ld): %s\n", seed_, step_, why.c_str());
        return false;
    }

    bool connected() const { return core_->state().connection.state.load() == 1; }
    bool waitConnected() {
        const ConnectionValues& values = core_->state().connection;
        return window_.pumpUntil([&] { return values.state.load() == 1 && !values.busy.load(); },
                                 kConnectLimit);
    }

    bool step() {
        static constexpr const char* kNames[] = {
            "assign",          "add macro", "delete macro", "apply",
            "restore default", "backup",    "restore",      "switch profile",
            "report rate",     "replug",    "fault",        "unplug during apply"};
        const int op = pick(static_cast<int>(std::size(kNames)));
        watchdog_.stepStarts(step_, kNames[op]);
        // Only a write that had something to write is checked; the restores
        // and a pending write-all flag cover every profile.
        const bool pending = core_->modified().isModified();
        const bool allProfiles = op == 6 || core_->state().connection.writeAllProfiles.load();
        bool wrote = false;
        switch (op) {
            case 0:
                assign();
                break;
            case 1:
                addMacro();
                break;
            case 2:
                deleteMacro();
                break;
            case 3:
                wrote = pending && core_->apply();
                break;
            case 4:
                wrote = core_->restoreDefault();
                break;
            case 5:
                backup();
                break;
            case 6:
                wrote = restore();
                break;
            case 7:
                static_cast<void>(core_->switchActiveProfile(pick(3)));
                break;
            case 8:
                static_cast<void>(core_->writeReportRate(pick(5)));
                break;
            case 9:
                replug();
                break;
            case 10:
                injectFault();
                break;
            case 11:
                unplugDuringApply();
                break;
        }
        window_.pumpUntil([] { return false; }, std::chrono::milliseconds(0));
        if (!checkFiles())
            return false;
        if (wrote && !checkKeyboardHoldsStore(allProfiles))
            return false;
        if (wrote)
            ++verifiedWrites_;
        return true;
    }

    void assign() {
        const int active = core_->areas().values().activeProfile.load();
        const int profile = active >= 0 && active < 3 ? active : pick(3);
        {
            auto working = core_->workingStore().lock();
            const std::size_t entry = static_cast<std::size_t>(pick(0x108));
            KeyAssignment assignment;
            const int kind = pick(3);
            if (kind == 1)
                assignment = {AssignmentKind::Key, 0, static_cast<std::uint16_t>(1 + pick(0x58))};
            else if (kind == 2 && !working->macros.empty())
                assignment = {AssignmentKind::Macro, working->macros[0].number,
                              static_cast<std::uint16_t>(1 + pick(3))};
            working->image->block(static_cast<std::size_t>(profile))[entry] = assignment;
        }
        core_->modified().markEdited();
    }

    void addMacro() {
        auto working = core_->workingStore().lock();
        if (working->macros.size() >= 4)
            return;
        MacroRecord macro;
        std::uint16_t number = 1;
        while (std::any_of(working->macros.begin(), working->macros.end(),
                           [&](const MacroRecord& m) { return m.number == number; }))
            ++number;
        macro.number = number;
        macro.name = u"m" + std::u16string(1, static_cast<char16_t>(u'a' + pick(26)));
        const int actions = 2 + 2 * pick(8);
        for (int i = 0; i < actions; ++i)
            macro.actions.push_back({static_cast<std::uint16_t>(10 + pick(50)),
                                     static_cast<std::uint16_t>(0x1E + pick(10)),
                                     static_cast<std::uint16_t>(i % 2)});
        working->macros.push_back(std::move(macro));
        core_->modified().markEdited();
    }

    void deleteMacro() {
        {
            auto working = core_->workingStore().lock();
            if (working->macros.empty())
                return;
            working->macros.erase(working->macros.begin() +
                                  pick(static_cast<int>(working->macros.size())));
        }
        // As the macro editor: the other profiles may name the deleted macro.
        core_->state().connection.writeAllProfiles = true;
        core_->modified().markEdited();
    }

    void backup() {
        const std::string file = dir_.file("backup" + std::to_string(pick(3)) + ".klm");
        if (core_->backupToFile(file) &&
            std::find(backups_.begin(), backups_.end(), file) == backups_.end())
            backups_.push_back(file);
    }

    bool restore() {
        if (backups_.empty())
            return false;
        const std::string& file =
            backups_[static_cast<std::size_t>(pick(static_cast<int>(backups_.size())))];
        return core_->restoreFromFile(file) == RestoreResult::Written;
    }

    void replug() {
        keyboard_->unplug();
        window_.pumpUntil([&] { return !connected(); }, std::chrono::seconds(5));
        keyboard_->plug();
        waitConnected();
    }

    void injectFault() {
        ++faults_;
        const int kind = pick(5);
        const int count = 1 + pick(2);
        keyboard_->withFirmware([&](sim::SimFirmware& f) {
            sim::SimFaults& faults = f.faults();
            faults.clear();
            switch (kind) {
                case 0:
                    faults.dropRequests(count);
                    break;
                case 1:
                    faults.delayReplies(static_cast<std::uint32_t>(50 + 400 * (count - 1)), count);
                    break;
                case 2:
                    faults.refuseNext(0xFF, count);
                    break;
                case 3:
                    faults.refuseNext(0xFE, count);
                    break;
                case 4:
                    faults.corruptStores(static_cast<std::uint8_t>(8 + 2 * (count - 1)));
                    break;
            }
        });
    }

    // Pulls the cable a few milliseconds into an Apply, then plugs it back.
    void unplugDuringApply() {
        ++faults_;
        core_->state().connection.writeAllProfiles = true;
        core_->modified().markEdited();
        const auto delay = std::chrono::microseconds(pick(4000));
        std::thread puller([&] {
            std::this_thread::sleep_for(delay);
            keyboard_->unplug();
        });
        static_cast<void>(core_->apply());
        puller.join();
        window_.pumpUntil([&] { return !connected(); }, std::chrono::seconds(5));
        keyboard_->plug();
        waitConnected();
    }

    bool checkFiles() {
        if (std::ifstream(core_->slotFile()).good() &&
            !validateProfileFile(core_->slotFile()).valid())
            return fail("the slot file is damaged");
        for (const std::string& file : backups_)
            if (!validateProfileFile(file).valid())
                return fail(file + " is damaged");
        return true;
    }

    // After a write reported as done the keyboard holds the working store's
    // macros and the matrices the store encodes to: of the active profile, or
    // of all three after a write of every profile.
    bool checkKeyboardHoldsStore(bool allProfiles) {
        const sim::SimMemory memory =
            keyboard_->withFirmware([](sim::SimFirmware& f) { return f.memory(); });
        const KeyMatrix defaults = core_->defaultMatrix();
        const std::size_t length = keyboard_->model().keyMatrixLength;
        const std::size_t stride = keyboard_->model().keyMatrixStride;
        auto working = core_->workingStore().lock();
        const int active = memory.parameters[sim::kParameterActiveProfile];
        for (int profile = 0; profile < 3; ++profile) {
            if (!allProfiles && profile != active)
                continue;
            const KeyMatrix matrix =
                encodeKeyMatrix(defaults, working->image->block(static_cast<std::size_t>(profile)),
                                working->macros);
            const auto held = memory.keyMatrices.begin() +
                              static_cast<long>(static_cast<std::size_t>(profile) * stride);
            if (!std::equal(matrix.bytes.begin(), matrix.bytes.begin() + static_cast<long>(length),
                            held))
                return fail("profile " + std::to_string(profile + 1) + "'s key matrix differs");
        }
        const auto withNames = encodeMacroArea(working->macros, true);
        const auto without = encodeMacroArea(working->macros, false);
        const auto holds = [&](const std::vector<std::uint8_t>& area) {
            return area.size() <= memory.macroArea.size() &&
                   std::equal(area.begin(), area.end(), memory.macroArea.begin());
        };
        if (!holds(withNames) && !holds(without))
            return fail("the macro area differs");
        return true;
    }

    unsigned seed_;
    std::mt19937 random_;
    Watchdog watchdog_;
    testing::TempDir dir_;
    std::shared_ptr<sim::SimBackend> backend_ = std::make_shared<sim::SimBackend>();
    std::shared_ptr<sim::SimKeyboard> keyboard_;
    hid::HidPlatform platform_;
    window::HeadlessWindow window_;
    std::unique_ptr<KeyloomCore> core_;
    std::vector<std::string> backups_;
    long step_ = 0;
    long faults_ = 0;
    long verifiedWrites_ = 0;
};

}  // namespace
}  // namespace keyloom::soak

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SECONDS SEED [MAX_RSS_GROWTH_MB]\n", argv[0]);
        return 2;
    }
    const long seconds = std::strtol(argv[1], nullptr, 10);
    const auto seed = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
    const long growthMb = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 16;
    keyloom::soak::Soak soak(seed);
    return soak.run(std::chrono::seconds(seconds), growthMb * 1024);
}
