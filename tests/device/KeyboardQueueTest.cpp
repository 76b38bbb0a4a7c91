// The keyboard queue: jobs run in the order asked, a covered job is replaced
// only back to the last barrier, and a job asked for by a job runs inside it.

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "device/KeyboardQueue.h"

namespace keyloom::testing {
namespace {

struct Field final : KeyboardQueue::Coverage {
    explicit Field(int n) : field(n) {}
    bool covers(const Coverage& older) const override {
        const auto* other = dynamic_cast<const Field*>(&older);
        return other && other->field == field;
    }
    int field;
};

class KeyboardQueueTest : public ::testing::Test {
protected:
    void log(const std::string& what) {
        std::lock_guard lock(mutex);
        ran.push_back(what);
    }
    // Holds the queue's thread in a first job until released.
    void holdQueue() {
        queue.submit([this] {
            std::unique_lock lock(mutex);
            gate.wait(lock, [&] { return open; });
        });
    }
    void release() {
        {
            std::lock_guard lock(mutex);
            open = true;
        }
        gate.notify_all();
    }

    std::mutex mutex;
    std::condition_variable gate;
    bool open = false;
    std::vector<std::string> ran;
    KeyboardQueue queue;
};

TEST_F(KeyboardQueueTest, ACoveredJobIsReplacedOnlyBackToTheLastBarrier) {
    holdQueue();
    queue.submit([this] { log("a1"); }, std::make_shared<Field>(1));
    queue.submit([this] { log("apply"); });  // a barrier
    queue.submit([this] { log("a2"); }, std::make_shared<Field>(1));
    queue.submit([this] { log("b"); }, std::make_shared<Field>(2));
    queue.submit([this] { log("a3"); }, std::make_shared<Field>(1));
    release();
    ASSERT_TRUE(queue.flush());
    EXPECT_EQ(ran, (std::vector<std::string>{"a1", "apply", "b", "a3"}));
}

TEST_F(KeyboardQueueTest, AJobAskedForByAJobRunsInsideIt) {
    queue.runAndWait([this] {
        log("outer start");
        queue.submit([this] { log("inner"); });
        EXPECT_TRUE(queue.onQueueThread());
        log("outer end");
    });
    EXPECT_EQ(ran, (std::vector<std::string>{"outer start", "inner", "outer end"}));
    EXPECT_FALSE(queue.onQueueThread());
}

TEST_F(KeyboardQueueTest, StoppingRunsWhatIsQueuedAndRefusesLaterJobs) {
    holdQueue();
    queue.submit([this] { log("queued"); });
    release();
    queue.stop();
    EXPECT_FALSE(queue.runAndWait([this] { log("late"); }));
    EXPECT_EQ(ran, (std::vector<std::string>{"queued"}));
}

}  // namespace
}  // namespace keyloom::testing
