#pragma once
// Pictures decoded on a worker thread while the window thread goes on: the
// window's start decodes what its first frame shows beside the keyboard's
// full read.

#include <QImage>
#include <future>
#include <string>
#include <utility>

namespace keyloom::controls {

// Lowers the calling thread's scheduling priority (nothing where it cannot).
void yieldToOtherThreads();

// Runs `work` on a thread of its own at a lower priority than the program's
// other threads, so that on a busy machine it yields to the keyboard's
// exchanges and the window rather than delaying them.
template <typename Work>
auto runInBackground(Work work) -> std::future<decltype(work())> {
    return std::async(std::launch::async, [work = std::move(work)]() mutable {
        yieldToOtherThreads();
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

// The picture in the file, decoded in the background (a null picture when
// it cannot be read); beside: at the program's own priority (runBeside).
std::future<QImage> decodeInBackground(const std::string& path);
std::future<QImage> decodeBeside(const std::string& path);

}  // namespace keyloom::controls
