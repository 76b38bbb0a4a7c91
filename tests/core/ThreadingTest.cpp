// The discovery thread and the window thread working at once: connection
// changes (with their full reads) on one side, writes, switches and lighting
// refreshes on the other, while the keyboard is pulled and plugged again.
// Meant to run under ThreadSanitizer as well: no race, no lock-order inversion,
// no deadlock.

#include <atomic>
#include <thread>

#include "CoreFixture.h"

namespace keyloom::testing {
namespace {

class Threads : public CoreFixture {};

TEST_F(Threads, ConnectionChangesFullReadsAndWritesRunTogether) {
    plugIn();
    startAndConnect();

    std::atomic<bool> done{false};
    std::atomic<int> cycles{0};
    std::thread cable([&] {
        for (int i = 0; i < 6; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
            keyboard->unplug();
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
            keyboard->plug();
            ++cycles;
        }
        done = true;
    });

    // The window thread keeps editing, applying, switching and refreshing,
    // and handles the device thread's messages in between.
    int round = 0;
    while (!done.load()) {
        {
            auto working = core->workingStore().lock();
            working->image->block(0)[0x1E] = {AssignmentKind::Key, 0,
                                              static_cast<std::uint32_t>(0x1D + round % 2)};
        }
        core->modified().markEdited();
        core->apply();
        core->switchActiveProfile(round % 3);
        static_cast<void>(core->writeReportRate(round % 4));
        window.startTimer(window::timer::kLightingRefresh, std::chrono::milliseconds(0));
        window.pumpUntil([] { return false; }, std::chrono::milliseconds(2));
        ++round;
    }
    cable.join();
    EXPECT_EQ(cycles.load(), 6);

    // Once discovery has caught up with the last plug, Apply works again.
    // (Right after the join the link may still hold the unplugged handle.)
    // The edit and its Apply are one keyboard job, so a full read of the
    // last plug cannot come between them and drop the edit.
    auto applied = [&] {
        bool ok = false;
        core->queue().runAndWait([&] {
            if (!core->switchActiveProfile(0))
                return;
            {
                auto working = core->workingStore().lock();
                working->image->block(0)[0x1E] = {AssignmentKind::Key, 0, 0x1D};
            }
            core->modified().markEdited();
            ok = core->apply();
        });
        return ok;
    };
    ASSERT_TRUE(window.pumpUntil(applied, kHangGuard));
    ASSERT_TRUE(waitForState(1));
    EXPECT_EQ(matrixEntryOnKeyboard(0, positionOfKey(0x04)),
              (std::vector<std::uint8_t>{0x02, 0x01, 0x01}));
}

TEST_F(Threads, StopReleasesADiscoveryThreadWaitingForTheWindow) {
    plugIn();
    createCore();
    core->start();
    // The window thread never pumps: the connection change waits in its send
    // of the read-profile message until stop releases it.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    core->stop();
    EXPECT_FALSE(window.handledMessages().size() > 0);
}

}  // namespace
}  // namespace keyloom::testing
