// keyloomctl watch: print every notification the keyboard sends and what the
// program would do about it, until interrupted.

#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <mutex>

#include "cli/Commands.h"
#include "core/KeyloomCore.h"
#include "device/NotificationListener.h"
#include "platform/hid/HidPlatform.h"
#include "platform/window/QueuedWindow.h"
#include "platform/window/TrayStatus.h"

namespace keyloom::cli {

namespace {

std::atomic<bool> interrupted{false};

void onSignal(int) {
    interrupted.store(true);
}

}  // namespace

int runWatch(CliContext& context) {
    // "--for SECONDS" ends the watch by itself (for scripts); default: forever.
    long seconds = -1;
    const auto& args = context.options.args;
    if (!args.empty()) {
        if (args.size() != 2 || args[0] != "--for")
            return usageError(context, "watch [--for SECONDS]");
        auto [end, ec] = std::from_chars(args[1].data(), args[1].data() + args[1].size(), seconds);
        if (ec != std::errc() || end != args[1].data() + args[1].size() || seconds < 0)
            return usageError(context, "--for needs a number of seconds");
    }

    // A running program hands the output back when the call ends, and its
    // signals are its own.
    if (context.host != nullptr && seconds < 0)
        return usageError(context, "watch in the running Keyloom needs --for SECONDS");

    window::QueuedWindow window;
    window.adoptCurrentThread();
    window::TrayStatus tray(window);
    std::mutex printing;
    std::atomic<bool> stopping{false};
    window.setTimerHandler([&](int id) {
        std::lock_guard lock(printing);
        std::fprintf(context.out, "  timer %d fired: the program re-reads the keyboard\n", id);
        std::fflush(context.out);
    });

    NotificationListener listener(
        context.host != nullptr ? context.host->core().platform() : hid::HidPlatform::system(),
        window, tray);
    listener.setObservers({[&](std::uint16_t code, std::string_view triggered) {
                               if (code == 0)
                                   return;  // the release after each code
                               std::lock_guard lock(printing);
                               std::fprintf(context.out, "0x%04x  %.*s\n", code,
                                            static_cast<int>(triggered.size()), triggered.data());
                               std::fflush(context.out);
                           },
                           [&](NotificationListenerState state, std::string_view path) {
                               std::lock_guard lock(printing);
                               if (state == NotificationListenerState::Listening)
                                   std::fprintf(context.out, "Listening on %.*s\n",
                                                static_cast<int>(path.size()), path.data());
                               else
                                   std::fprintf(
                                       context.out, "%s\n",
                                       std::string(notificationListenerStateText(state)).c_str());
                               std::fflush(context.out);
                           }});

    if (context.host == nullptr) {
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
    }
    listener.start();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    window.pumpUntil(
        [&] {
            return interrupted.load() || listener.state() == NotificationListenerState::Ended ||
                   (context.host != nullptr && context.host->ending()) ||
                   (seconds >= 0 && std::chrono::steady_clock::now() >= deadline);
        },
        std::chrono::hours(24 * 365));
    const bool ended = listener.state() == NotificationListenerState::Ended;
    stopping.store(true);
    listener.stop();
    window.stopMessages();
    return ended && !interrupted.load() ? fail(context, "cannot list the HID interfaces") : kExitOk;
}

}  // namespace keyloom::cli
