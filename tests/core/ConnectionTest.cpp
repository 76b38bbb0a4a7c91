// Connection changes and the full read against the simulated keyboard: what
// the keyboard is asked, in which order, and what the working store, the slot
// file and the window end up with.

#include <algorithm>

#include "CoreFixture.h"
#include "storage/ProfileFile.h"

namespace keyloom::testing {
namespace {

class Connection : public CoreFixture {};

constexpr std::uint8_t kLeftCtrlEntry[] = {0x02, 0x01, 0x01};

TEST_F(Connection, ArrivalReadsDefaultsThenRunsTheFullReadAsAKeyboardJob) {
    plugIn();
    startAndConnect();
    const std::vector<Request> requests = received();

    // Connection change: the default matrix in 7 chunks, then the parameter block.
    const auto first15 = std::find_if(requests.begin(), requests.end(),
                                      [](const Request& r) { return r.command == 15; });
    ASSERT_NE(first15, requests.end());
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(first15[i].command, 15);
    EXPECT_EQ(first15[7].command, 3);

    // The full read ends with the lighting sequence: parameter block, two
    // begins, the byte 1 at offset 19, end, the lighting profile's colour
    // block in a group of its own, the three records, end.
    ASSERT_GE(requests.size(), 19u);
    std::vector<int> tail;
    for (auto it = requests.end() - 19; it != requests.end(); ++it)
        tail.push_back(it->command);
    EXPECT_EQ(tail,
              (std::vector<int>{3, 1, 1, 6, 2, 1, 17, 17, 17, 17, 17, 17, 17, 17, 2, 5, 5, 5, 2}));
    const Request& wake = requests[requests.size() - 16];
    EXPECT_EQ(wake.offset, 19);
    EXPECT_EQ(wake.data, std::vector<std::uint8_t>{1});
    EXPECT_EQ(requests[requests.size() - 4].offset, 0);
    EXPECT_EQ(requests[requests.size() - 3].offset, 42);
    EXPECT_EQ(requests[requests.size() - 2].offset, 84);

    // Every profile's key matrix was read (7 chunks each) for the slot file.
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                            [](const Request& r) { return r.command == 7; }),
              21);

    EXPECT_EQ(core->lightingProfile(), 0);
    EXPECT_EQ(core->lightingState().effect, 1);
    EXPECT_EQ(core->state().connection.macroCapacity.load(), 32u * 128u);
    EXPECT_EQ(window.trayIcons(), std::vector<int>{window::icon::kConnected});
    EXPECT_EQ(window.selectedProfileButton(), 0);
    const std::vector<std::string> calls = window.calls();
    const std::vector<std::string> expected{"redrawKeyView", "setModified 0", "setProfileButtons 0",
                                            "lightingChanged"};
    EXPECT_EQ(calls, expected);
}

TEST_F(Connection, ReportRateButtonsFollowTheLightingProfilesStoredStep) {
    plugIn();
    changeMemory([](sim::SimMemory& m) {
        m.profileSettings[15] = 3;
        m.profileSettings[42 + 15] = 1;
    });
    startAndConnect();
    EXPECT_EQ(window.selectedReportRateButton(), 3);
    ASSERT_TRUE(core->profileButton(1));
    EXPECT_EQ(window.selectedReportRateButton(), 1);
}

TEST_F(Connection, FullReadFillsTheSlotFileAndTheWorkingStoreFromTheKeyboard) {
    plugIn();
    const std::size_t aKey = positionOfKey(0x04);
    changeMemory([&](sim::SimMemory& m) {
        std::copy(std::begin(kLeftCtrlEntry), std::end(kLeftCtrlEntry),
                  m.keyMatrices.begin() + 378 + 3 * aKey);  // profile 1
    });
    startAndConnect();

    ASSERT_TRUE(validateProfileFile(core->slotFile()).valid());
    auto working = core->workingStore().lock();
    const KeyAssignment& a = working->image->block(1)[0x1E];
    EXPECT_EQ(a.kind, AssignmentKind::Key);
    EXPECT_EQ(a.value, 0x1Du);
    EXPECT_EQ(working->image->block(0)[0x1E].kind, AssignmentKind::Default);
    EXPECT_EQ(working->image->block(2)[0x1E].kind, AssignmentKind::Default);
}

TEST_F(Connection, FirstArrivalOpensTheWindowUnlessStartedHidden) {
    plugIn();
    startAndConnect();
    window.pumpPending();
    auto handled = window.handledMessages();
    ASSERT_EQ(handled.size(), 2u);
    EXPECT_EQ(handled[0], window::kReadProfileMessage);
    EXPECT_EQ(handled[1], window::kOpenMessage);
    EXPECT_TRUE(core->state().startup.startHidden);

    // A later arrival never opens it.
    window.clearRecords();
    keyboard->unplug();
    ASSERT_TRUE(waitForState(0));
    keyboard->plug();
    ASSERT_TRUE(waitForState(1));
    window.pumpPending();
    for (const auto& msg : window.handledMessages())
        EXPECT_NE(msg.message, window::message::kOpen);
}

TEST_F(Connection, HiddenStartNeverOpensTheWindow) {
    plugIn();
    startAndConnect(true);
    window.pumpPending();
    for (const auto& msg : window.handledMessages())
        EXPECT_NE(msg.message, window::message::kOpen);
}

TEST_F(Connection, LossClosesEditorsHidesTheWindowAndForgetsTheActiveProfile) {
    plugIn();
    startAndConnect();
    EXPECT_EQ(core->state().connection.activeProfile.load(), 0);
    window.pumpPending();  // the OPEN request
    window.clearRecords();

    keyboard->unplug();
    ASSERT_TRUE(waitForState(0));
    auto handled = window.handledMessages();
    ASSERT_FALSE(handled.empty());
    EXPECT_EQ(handled[0], window::kDeviceGoneMessage);
    EXPECT_TRUE(window.hidden());
    EXPECT_EQ(window.trayIcons(), std::vector<int>{window::icon::kDisconnected});
    EXPECT_EQ(core->state().connection.activeProfile.load(), -1);
}

TEST_F(Connection, FailedDefaultMatrixReadIsReportedAndTheConnectionGoesOn) {
    plugIn();
    keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().refuseCommand(15, 0xFF, 1); });
    startAndConnect();
    EXPECT_EQ(window.messageKeysShown(), std::vector<std::string>{"MAIN_DEFAULT_MATRIX_PROMPT"});
    EXPECT_EQ(window.trayIcons(), std::vector<int>{window::icon::kConnected});
}

TEST_F(Connection, UnreadableKeyboardLeavesAnEmptyWorkingStoreAndTheSlotFileAsItWas) {
    plugIn();
    startAndConnect();
    const std::string before = dir.read("data/$Profile0");
    {
        auto working = core->workingStore().lock();
        working->image->block(0)[0x1E] = {AssignmentKind::Key, 0, 0x1D};
    }
    // Every key matrix read is refused from now on.
    keyboard->withFirmware(
        [](sim::SimFirmware& f) { f.faults().refuseCommand(7, 0xFF, sim::SimFaults::kAlways); });
    core->refreshFromKeyboard();
    EXPECT_EQ(dir.read("data/$Profile0"), before);
    auto working = core->workingStore().lock();
    EXPECT_EQ(working->image->block(0)[0x1E].kind, AssignmentKind::Default);
}

TEST_F(Connection, LightingRefreshBurstRunsOnceAndFollowsTheKeyboard) {
    plugIn();
    startAndConnect();
    changeMemory([](sim::SimMemory& m) { m.profileSettings[0] = 9; });
    clearLog();
    window.startTimer(window::timer::kLightingRefresh, std::chrono::milliseconds(0));
    window.startTimer(window::timer::kLightingRefresh, std::chrono::milliseconds(0));
    window.pumpPending();
    EXPECT_EQ(commands(), (std::vector<int>{3, 1, 5, 5, 5, 2}));
    EXPECT_EQ(core->lightingState().effect, 9);
}

TEST_F(Connection, KeyboardNotificationsReachTheWindowThroughTimersAndTheTray) {
    withListener = true;
    plugIn();
    startAndConnect();
    ASSERT_TRUE(window.pumpUntil(
        [&] { return core->listener().state() == NotificationListenerState::Listening; },
        kHangGuard));
    changeMemory([](sim::SimMemory& m) { m.profileSettings[0] = 9; });
    window.clearRecords();

    ASSERT_TRUE(keyboard->sendNotification(0x0401));
    ASSERT_TRUE(window.pumpUntil([&] { return core->lightingState().effect == 9; }, kHangGuard));
    EXPECT_EQ(window.firedTimers(), std::vector<int>{window::timer::kLightingRefresh});

    ASSERT_TRUE(keyboard->sendNotification(0x1811));
    ASSERT_TRUE(window.pumpUntil(
        [&] { return core->tray().shownIcon() == window::icon::kIndicator; }, kHangGuard));
    ASSERT_TRUE(keyboard->sendNotification(0x1810));
    ASSERT_TRUE(window.pumpUntil(
        [&] { return core->tray().shownIcon() == window::icon::kConnected; }, kHangGuard));
}

}  // namespace
}  // namespace keyloom::testing
