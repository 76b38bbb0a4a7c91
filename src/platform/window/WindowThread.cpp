#include "platform/window/WindowThread.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace keyloom::window {

namespace {

std::atomic<std::thread::id> windowThread{};
#ifdef NDEBUG
std::atomic<bool> checkEnabled{false};
#else
std::atomic<bool> checkEnabled{true};
#endif

}  // namespace

void markWindowThread() {
    windowThread = std::this_thread::get_id();
}

bool onWindowThread() {
    const std::thread::id marked = windowThread.load();
    return marked == std::thread::id{} || marked == std::this_thread::get_id();
}

void enableWindowThreadCheck() {
    checkEnabled = true;
}

bool windowThreadCheckEnabled() {
    return checkEnabled.load();
}

void expectWindowThread(const char* what) {
    if (!checkEnabled.load(std::memory_order_relaxed) || onWindowThread())
        return;
    std::fprintf(stderr, "keyloom: %s ran outside the window thread\n", what);
    std::abort();
}

}  // namespace keyloom::window
