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

// The picture in the file, decoded in the background (a null picture when
// it cannot be read).
std::future<QImage> decodeInBackground(const std::string& path);

}  // namespace keyloom::controls
