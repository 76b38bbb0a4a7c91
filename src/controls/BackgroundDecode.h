#pragma once
// Pictures decoded on a worker thread while the window thread goes on: the
// window's start decodes what its first frame shows beside the keyboard's
// full read.

#include <QImage>
#include <QString>
#include <chrono>
#include <future>
#include <string>
#include <utility>

#include "platform/sched/ThreadPriority.h"

namespace keyloom::controls {

// How long a picture decoded ahead waits for its first use: a window that
// does not open soon (no keyboard yet) does not keep it.
inline constexpr std::chrono::milliseconds kHoldAhead{5000};

// Runs `work` on a thread of its own at a lower priority than the program's
// other threads, so that on a busy machine it yields to the keyboard's
// exchanges and the window rather than delaying them.
template <typename Work>
auto runInBackground(Work work) -> std::future<decltype(work())> {
    return std::async(std::launch::async, [work = std::move(work)]() mutable {
        platform::yieldToOtherThreads();
        return work();
    });
}

// Runs `work` on a thread of its own at the program's own priority: for
// work the window thread will soon wait for (the window's shape, its icon),
// which a lower priority would leave waiting behind everything else.
template <typename Work>
auto runBeside(Work work) -> std::future<decltype(work())> {
    return std::async(std::launch::async, std::move(work));
}

// The picture in the file, decoded on the calling thread; a null picture
// when it cannot be read.
QImage decodePicture(const QString& path);

// The picture in the file, decoded on a thread of its own (a null picture
// when it cannot be read): at a lower priority (runInBackground), or at the
// program's own when the window will soon wait for it (runBeside).
enum class DecodePriority { Lower, Own };
std::future<QImage> decodeInBackground(const std::string& path,
                                       DecodePriority priority = DecodePriority::Lower);

}  // namespace keyloom::controls
