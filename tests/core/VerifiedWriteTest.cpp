// Reading back what a write sent: only a keyboard that holds the macro area
// and the key matrices as sent counts as written.

#include <algorithm>
#include <chrono>

#include "CoreFixture.h"
#include "sim/SimReport.h"

namespace keyloom::testing {
namespace {

const KeyAssignment kLeftCtrl{AssignmentKind::Key, 0, 0x1D};

class VerifiedWrite : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        plugIn();
        startAndConnect();
    }
    void assign(int profile, std::size_t entry, KeyAssignment assignment) {
        {
            auto working = core->workingStore().lock();
            working->image->block(profile)[entry] = assignment;
        }
        core->modified().markEdited();
    }
    void corrupt(std::uint8_t command) {
        keyboard->withFirmware([&](sim::SimFirmware& f) { f.faults().corruptStores(command); });
    }
};

TEST_F(VerifiedWrite, AWrongByteStoredInEitherAreaFailsApplyAndTheRetryWritesIt) {
    for (std::uint8_t command : {sim::command::kWriteKeyMatrix, sim::command::kWriteMacroArea}) {
        SCOPED_TRACE(int(command));
        assign(0, 0x1E, command == sim::command::kWriteKeyMatrix ? kLeftCtrl : KeyAssignment{});
        corrupt(command);
        window.clearRecords();

        EXPECT_FALSE(core->apply());
        EXPECT_TRUE(window.isModified());
        const auto keys = window.messageKeysShown();
        EXPECT_EQ(keys, std::vector<std::string>{"KEYLOOM_WRITE_MISMATCH"});

        window.clearRecords();
        EXPECT_TRUE(core->apply());
        EXPECT_TRUE(window.messageKeysShown().empty());
        EXPECT_FALSE(window.isModified());
    }
}

TEST_F(VerifiedWrite, RestoreThatTheKeyboardDoesNotHoldKeepsTheWriteOfAllProfilesPending) {
    assign(2, 0x1E, kLeftCtrl);
    const std::string file = dir.file("backup.klm");
    ASSERT_TRUE(core->backupToFile(file));
    core->modified().clear();
    corrupt(sim::command::kWriteKeyMatrix);

    EXPECT_EQ(core->restoreFromFile(file), RestoreResult::NotWritten);
    EXPECT_TRUE(window.isModified());
    EXPECT_TRUE(shown("KEYLOOM_WRITE_MISMATCH"));
    EXPECT_TRUE(core->state().connection.writeAllProfiles.load());

    clearLog();
    EXPECT_TRUE(core->apply());
    EXPECT_EQ(matrixWrites(), (std::vector<int>{0, 1, 2}));
}

// The read-back costs one exchange per chunk read; a one-profile Apply must
// stay well inside the 20 exchanges the user waits for.
TEST_F(VerifiedWrite, ReadingBackOneProfileAddsFewerThanTwentyExchanges) {
    assign(0, 0x1E, kLeftCtrl);
    clearLog();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(core->apply());
    const auto took = std::chrono::steady_clock::now() - start;
    const std::vector<int> sent = commands();
    const auto reads = std::count_if(sent.begin(), sent.end(), [](int c) {
        return c == sim::command::kReadKeyMatrix || c == sim::command::kReadMacroArea;
    });
    EXPECT_EQ(std::count(sent.begin(), sent.end(), int{sim::command::kReadKeyMatrix}), 7);
    EXPECT_LT(reads, 20);
    RecordProperty("readBackExchanges", static_cast<int>(reads));
    RecordProperty(
        "applyMicroseconds",
        static_cast<int>(std::chrono::duration_cast<std::chrono::microseconds>(took).count()));
}

}  // namespace
}  // namespace keyloom::testing
