// The firmware update sequence: which step stops it, that nothing reaches
// the keyboard before the backup is on disk, and when the updater is
// forgotten.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/FirmwareUpdateState.h"

namespace keyloom::editors {
namespace {

struct Steps {
    bool runnable = true;
    bool connected = true;
    bool backupWritten = true;
    DeviceResult bootMode = DeviceResult::Success;
    bool started = true;
    std::vector<std::string> done;

    FirmwareUpdateSteps steps() {
        return {[this](const std::string&) { return runnable; }, [this] { return connected; },
                [this](const std::string& path) {
                    done.push_back("backup " + path);
                    return backupWritten;
                },
                [this] {
                    done.push_back("boot mode");
                    return bootMode;
                },
                [this](const std::string& path) {
                    done.push_back("start " + path);
                    return started;
                }};
    }
};

TEST(FirmwareUpdateStateTest, EachFailingStepStopsTheUpdateWithItsOwnOutcome) {
    using O = FirmwareUpdateOutcome;
    struct Case {
        const char* what;
        void (*spoil)(Steps&);
        O outcome;
        std::vector<std::string> done;
        bool updaterKept;
    };
    const std::vector<Case> cases = {
        {"not runnable", [](Steps& s) { s.runnable = false; }, O::NoUpdater, {}, true},
        {"no keyboard", [](Steps& s) { s.connected = false; }, O::BootModeFailed, {}, true},
        {"backup failed",
         [](Steps& s) { s.backupWritten = false; },
         O::BackupFailed,
         {"backup b.klm"},
         true},
        {"report not sent",
         [](Steps& s) { s.bootMode = DeviceResult::NoReply; },
         O::BootModeFailed,
         {"backup b.klm", "boot mode"},
         true},
        {"updater did not start",
         [](Steps& s) { s.started = false; },
         O::StartFailed,
         {"backup b.klm", "boot mode", "start /pkg/flash"},
         false},
        {"all well",
         [](Steps&) {},
         O::Started,
         {"backup b.klm", "boot mode", "start /pkg/flash"},
         false},
    };
    for (const Case& c : cases) {
        Steps steps;
        c.spoil(steps);
        FirmwareUpdateState state;
        state.chooseUpdater("/pkg/flash");
        const FirmwareUpdateResult result = state.update(steps.steps(), "b.klm");
        EXPECT_EQ(result.outcome, c.outcome) << c.what;
        EXPECT_EQ(steps.done, c.done) << c.what;
        EXPECT_EQ(state.updaterPath().empty(), !c.updaterKept) << c.what;
        EXPECT_EQ(messageFor(result.outcome) == nullptr, c.outcome == O::Started) << c.what;
    }
}

TEST(FirmwareUpdateStateTest, UpdateWithoutAnUpdaterSendsNothingAndAStartNeedsANewOpen) {
    Steps steps;
    FirmwareUpdateState state;
    EXPECT_EQ(state.update(steps.steps(), "b.klm").outcome, FirmwareUpdateOutcome::NoUpdater);
    EXPECT_TRUE(steps.done.empty());

    state.chooseUpdater("/pkg/flash");
    EXPECT_EQ(state.update(steps.steps(), "b.klm").outcome, FirmwareUpdateOutcome::Started);
    steps.done.clear();
    EXPECT_EQ(state.update(steps.steps(), "b.klm").outcome, FirmwareUpdateOutcome::NoUpdater);
    EXPECT_TRUE(steps.done.empty());

    state.chooseUpdater("/pkg/flash");
    state.forgetUpdater();
    EXPECT_TRUE(state.updaterPath().empty());
}

TEST(FirmwareUpdateStateTest, BackupNameCarriesTheLocalDateAndTime) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 9;
    t.tm_hour = 7;
    t.tm_min = 5;
    t.tm_sec = 3;
    EXPECT_EQ(beforeUpdateBackupPath("/d/ORVK_Keyboard", t),
              "/d/ORVK_Keyboard/before-update-20260109-070503.klm");
}

}  // namespace
}  // namespace keyloom::editors
