// The 210 named events: created at start-up, removed at shutdown.

#include <fcntl.h>
#include <semaphore.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "platform/instance/NamedEvents.h"

namespace keyloom::instance {
namespace {

bool exists(const std::string& name) {
    sem_t* handle = ::sem_open(("/" + name).c_str(), 0);
    if (handle == SEM_FAILED)
        return false;
    ::sem_close(handle);
    return true;
}

TEST(NamedEvents, NamesRunFromMain01ToMain210) {
    EXPECT_EQ(namedEventName(kNamedEventPrefix, 1), "Keyloom_Event_Main_01");
    EXPECT_EQ(namedEventName(kNamedEventPrefix, 99), "Keyloom_Event_Main_99");
    EXPECT_EQ(namedEventName(kNamedEventPrefix, 210), "Keyloom_Event_Main_210");
}

TEST(NamedEvents, AllAreCreatedUnsignalledAndRemovedAtClose) {
    // A prefix of this test run keeps the program's own names untouched.
    const std::string prefix = "KeyloomTest" + std::to_string(::getpid()) + "_Event_";
    {
        NamedEvents events = NamedEvents::create(prefix);
        if (events.size() == 0)
            GTEST_SKIP() << "named semaphores are not available here";
        EXPECT_EQ(events.size(), static_cast<std::size_t>(kNamedEventCount));
        for (int number = 1; number <= kNamedEventCount; ++number)
            EXPECT_TRUE(exists(namedEventName(prefix, number))) << number;

        sem_t* first = ::sem_open(("/" + namedEventName(prefix, 1)).c_str(), 0);
        ASSERT_NE(first, SEM_FAILED);
        int value = -1;
        EXPECT_EQ(::sem_getvalue(first, &value), 0);
        EXPECT_EQ(value, 0);
        ::sem_close(first);

        NamedEvents moved = std::move(events);
        EXPECT_EQ(events.size(), 0u);
        EXPECT_EQ(moved.size(), static_cast<std::size_t>(kNamedEventCount));
    }
    EXPECT_FALSE(exists(namedEventName(prefix, 1)));
    EXPECT_FALSE(exists(namedEventName(prefix, 100)));
    EXPECT_FALSE(exists(namedEventName(prefix, 210)));
}

}  // namespace
}  // namespace keyloom::instance
