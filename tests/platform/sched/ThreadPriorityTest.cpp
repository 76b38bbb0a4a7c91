#include "platform/sched/ThreadPriority.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <thread>

namespace keyloom::platform {
namespace {

int threadNice() {
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
}

// The slice request names a nice value: a wrong one would put a background
// thread that lowered its priority back among the window's work.
TEST(ThreadPriority, PromptWakeupsKeepTheThreadsNiceValue) {
    std::thread([] {
        yieldToOtherThreads();
        ASSERT_EQ(threadNice(), 10);
        preferPromptWakeups();
        EXPECT_EQ(threadNice(), 10);
    }).join();
}

}  // namespace
}  // namespace keyloom::platform
