#include "platform/sched/ThreadPriority.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <thread>

namespace keyloom::platform {
namespace {

int threadNice() {
    errno = 0;
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
}

// The slice the scheduler reports for the calling thread, in ns; -1 where it
// reports none (kernels built without scheduler statistics).
long long reportedSlice() {
    std::ifstream sched("/proc/thread-self/sched");
    for (std::string line; std::getline(sched, line);)
        if (line.rfind("se.slice", 0) == 0)
            return std::stoll(line.substr(line.find(':') + 1));
    return -1;
}

// A background thread that lowered its priority keeps it: the request names
// a nice value, and a wrong one would put it back among the window's work.
TEST(PromptWakeups, KeepsTheThreadsNiceValueAndShortensItsSliceWhereReported) {
    std::thread([] {
        ASSERT_EQ(::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 7), 0);
        const long long before = reportedSlice();
        preferPromptWakeups();
        EXPECT_EQ(threadNice(), 7);
        const long long after = reportedSlice();
        // Kernels that ignore the request report the slice they had.
        if (before >= 0) {
            EXPECT_TRUE(after == before || after == 200'000) << before << " -> " << after;
        }
    }).join();
}

}  // namespace
}  // namespace keyloom::platform
