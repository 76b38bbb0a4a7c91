#include "platform/sched/ThreadPriority.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace keyloom::platform {

namespace {

// The kernel's struct sched_attr (glibc has no wrapper for sched_setattr).
struct SchedAttr {
    std::uint32_t size;
    std::uint32_t policy;
    std::uint64_t flags;
    std::int32_t nice;
    std::uint32_t priority;
    std::uint64_t runtime;  // for the normal policy: the slice asked for, in ns
    std::uint64_t deadline;
    std::uint64_t period;
};

// The shortest slice the kernel grants is 0.1 ms; this is a little above.
constexpr std::uint64_t kSliceNs = 200'000;

}  // namespace

void preferPromptWakeups() {
    // The nice value goes along with the request: keep the thread's own.
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
    if (errno != 0)
        return;
    SchedAttr attr{};
    attr.size = sizeof attr;
    attr.policy = SCHED_OTHER;
    attr.nice = nice;
    attr.runtime = kSliceNs;
    static_cast<void>(::syscall(SYS_sched_setattr, 0, &attr, 0U));
}

void yieldToOtherThreads() {
    // On Linux the nice value belongs to each thread, named by its id.
    static_cast<void>(::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10));
}

}  // namespace keyloom::platform
