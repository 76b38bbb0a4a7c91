// The standard-library window: sends, posts and timers on the pumping thread,
// scripted message boxes; and the tray status icon logic on top of a port.

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "core/RecordingWindow.h"
#include "platform/window/TrayStatus.h"

namespace keyloom::testing {
namespace {

using namespace std::chrono_literals;
using QueuedWindow = RecordingWindow;
using window::WindowMessage;

constexpr auto kGuard = std::chrono::seconds(20);

TEST(QueuedWindow, SendFromAnotherThreadWaitsForThePumpingThreadsHandler) {
    QueuedWindow window;
    std::thread::id handledOn;
    window.setMessageHandler([&](const WindowMessage&) { handledOn = std::this_thread::get_id(); });

    std::atomic<bool> returned{false};
    std::thread sender([&] {
        window.sendMessage(window::kReadProfileMessage);
        returned = true;
    });
    // Nothing runs the handler until this thread pumps, so the sender waits.
    EXPECT_TRUE(window.pumpUntil([&] { return returned.load(); }, kGuard));
    sender.join();
    EXPECT_EQ(handledOn, std::this_thread::get_id());
    ASSERT_EQ(window.handledMessages().size(), 1u);
    EXPECT_EQ(window.handledMessages()[0], window::kReadProfileMessage);
}

TEST(QueuedWindow, SendOnTheWindowThreadRunsAtOnceAndPostsWaitForThePump) {
    QueuedWindow window;
    std::vector<std::uint32_t> seen;
    window.setMessageHandler([&](const WindowMessage& m) {
        seen.push_back(m.message);
        // A handler may send again on the window thread without deadlocking.
        if (m.message == window::message::kReadProfile)
            window.sendMessage(window::kDeviceGoneMessage);
    });
    window.postMessage(window::kOpenMessage);
    window.sendMessage(window::kReadProfileMessage);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{window::message::kReadProfile,
                                                window::message::kDeviceGone}));
    EXPECT_EQ(window.pumpPending(), 1u);
    EXPECT_EQ(seen.back(), window::message::kOpen);
}

TEST(QueuedWindow, TimerStartedTwiceBeforeThePumpFiresOnceAndKillCancels) {
    QueuedWindow window;
    std::vector<int> fired;
    window.setTimerHandler([&](int id) { fired.push_back(id); });
    window.startTimer(window::timer::kLightingRefresh, 0ms);
    window.startTimer(window::timer::kLightingRefresh, 0ms);
    window.startTimer(window::timer::kProfileRefresh, 0ms);
    window.killTimer(window::timer::kProfileRefresh);
    window.pumpUntil([] { return false; }, 20ms);
    EXPECT_EQ(fired, std::vector<int>{window::timer::kLightingRefresh});
    EXPECT_FALSE(window.timerPending(window::timer::kLightingRefresh));
}

TEST(QueuedWindow, TimersFireOnlyWhenDue) {
    QueuedWindow window;
    int fired = 0;
    window.setTimerHandler([&](int) { ++fired; });
    window.startTimer(window::timer::kStartup, std::chrono::hours(1));
    EXPECT_EQ(window.pumpPending(), 0u);
    EXPECT_EQ(fired, 0);
    EXPECT_TRUE(window.timerPending(window::timer::kStartup));
}

TEST(QueuedWindow, StopReleasesAWaitingSenderWithoutRunningItsMessage) {
    QueuedWindow window;
    int handled = 0;
    window.setMessageHandler([&](const WindowMessage&) { ++handled; });
    std::atomic<bool> returned{false};
    std::thread sender([&] {
        window.sendMessage(window::kReadProfileMessage);
        returned = true;
    });
    // Usually the send is waiting by now; either way it must return.
    std::this_thread::sleep_for(10ms);
    window.stopMessages();
    sender.join();
    EXPECT_TRUE(returned);
    window.sendMessage(window::kOpenMessage);
    window.postMessage(window::kOpenMessage);
    window.pumpPending();
    EXPECT_EQ(handled, 0);
}

TEST(QueuedWindow, MessageBoxesAreAnsweredFromTheScriptAndRecorded) {
    QueuedWindow window;
    window::MessageRequest ok{"A_KEY", "text", window::MessageButtons::Ok};
    window::MessageRequest question{"Q_KEY", "ask", window::MessageButtons::YesNo};
    EXPECT_EQ(window.showMessage(ok), window::MessageAnswer::Ok);
    EXPECT_EQ(window.showMessage(question), window::MessageAnswer::No);
    window.answer("Q_KEY", window::MessageAnswer::Yes);
    EXPECT_EQ(window.showMessage(question), window::MessageAnswer::Yes);
    EXPECT_EQ(window.messageKeysShown(), (std::vector<std::string>{"A_KEY", "Q_KEY", "Q_KEY"}));
}

TEST(TrayStatus, IndicatorKeepsTheConnectionIconAndUnchangedIconsAreNotShownAgain) {
    QueuedWindow window;
    window::TrayStatus tray(window);
    using Mode = window::TrayStatus::Mode;

    tray.set(Mode::Status, window::icon::kDisconnected);  // already showing 128
    tray.set(Mode::Status, window::icon::kConnected);
    tray.set(Mode::Indicator, 0);
    tray.set(Mode::Indicator, 0);
    tray.set(Mode::Status, 0);  // indicator off
    EXPECT_EQ(window.trayIcons(), (std::vector<int>{141, 142, 141}));
    EXPECT_EQ(tray.statusIcon(), 141);

    tray.set(Mode::Status, window::icon::kDisconnected);
    tray.set(Mode::Status, 0);  // indicator off while disconnected
    EXPECT_EQ(window.trayIcons().back(), 128);
    EXPECT_EQ(tray.shownIcon(), 128);

    tray.forgetShownIcon();  // the icon was removed and added again
    tray.set(Mode::Status, 0);
    EXPECT_EQ(window.trayIcons().back(), 128);
    EXPECT_EQ(window.trayIcons().size(), 5u);
}

TEST(TrayStatus, ConcurrentSettersLeaveTheLastShownIconRemembered) {
    QueuedWindow window;
    window::TrayStatus tray(window);
    using Mode = window::TrayStatus::Mode;
    std::thread a([&] {
        for (int i = 0; i < 500; ++i)
            tray.set(Mode::Indicator, 0);
    });
    std::thread b([&] {
        for (int i = 0; i < 500; ++i)
            tray.set(Mode::Status, i % 2 ? window::icon::kConnected : window::icon::kDisconnected);
    });
    a.join();
    b.join();
    tray.set(Mode::Status, 0);
    EXPECT_EQ(window.trayIcons().back(), tray.shownIcon());
    EXPECT_EQ(tray.shownIcon(), tray.statusIcon());
}

}  // namespace
}  // namespace keyloom::testing
