// Writing the working store to the keyboard: Apply, restore from a file,
// Restore default and the report rate, checked against the bytes the
// simulated keyboard received and holds.

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "CoreFixture.h"
#include "model/MacroArea.h"
#include "storage/Language.h"
#include "storage/ProfileFile.h"

namespace keyloom::testing {
namespace {

const KeyAssignment kLeftCtrl{AssignmentKind::Key, 0, 0x1D};
const std::vector<std::uint8_t> kLeftCtrlEntry{0x02, 0x01, 0x01};
constexpr std::uint8_t kUsageA = 0x04;

MacroRecord macro(std::uint16_t number, std::size_t actions, std::u16string name) {
    MacroRecord m;
    m.number = number;
    m.name = std::move(name);
    for (std::size_t i = 0; i < actions; ++i)
        m.actions.push_back({10, 0x1E, static_cast<std::uint16_t>(i % 2)});
    return m;
}

class Apply : public CoreFixture {
protected:
    // As the key assignment dialog's Apply: the entry changes in the working
    // store and Apply becomes enabled.
    void assign(int profile, std::size_t entry, KeyAssignment assignment) {
        {
            auto working = core->workingStore().lock();
            working->image->block(profile)[entry] = assignment;
        }
        core->modified().markEdited();
    }
};

TEST_F(Apply, AssignedLeftCtrlReachesTheActiveProfilesMatrixAsOneBracketedWrite) {
    plugIn();
    startAndConnect();
    const std::size_t aKey = positionOfKey(kUsageA);
    assign(0, 0x1E, kLeftCtrl);
    clearLog();

    EXPECT_TRUE(core->apply());
    EXPECT_EQ(matrixEntryOnKeyboard(0, aKey), kLeftCtrlEntry);
    EXPECT_NE(matrixEntryOnKeyboard(1, aKey), kLeftCtrlEntry);
    EXPECT_FALSE(window.isModified());
    const std::vector<int> sent = commands();
    ASSERT_GE(sent.size(), 4u);
    EXPECT_EQ(sent.front(), 1);
    EXPECT_EQ(sent[1], 10);
    EXPECT_EQ(sent.back(), 2);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 8), 7);
    EXPECT_EQ(matrixWrites(), std::vector<int>{0});

    // The slot file holds what was applied.
    StoreContents slot;
    ASSERT_EQ(loadProfileFile(core->slotFile(), slot), FileResult::Ok);
    EXPECT_EQ(slot.image->block(0)[0x1E], kLeftCtrl);
}

TEST_F(Apply, OnTheWideModelTheActiveProfilesMatrixLiesAtItsStride) {
    plugIn(sim::kModel5064);
    startAndConnect();
    ASSERT_EQ(core->switchActiveProfile(2), true);
    const std::size_t aKey = positionOfKey(kUsageA);
    assign(2, 0x1E, kLeftCtrl);
    EXPECT_TRUE(core->apply());
    EXPECT_EQ(matrixEntryOnKeyboard(2, aKey), kLeftCtrlEntry);
    EXPECT_NE(matrixEntryOnKeyboard(0, aKey), kLeftCtrlEntry);
}

TEST_F(Apply, NothingModifiedWritesNothing) {
    plugIn();
    startAndConnect();
    clearLog();
    window.clearRecords();
    EXPECT_TRUE(core->apply());
    EXPECT_TRUE(received().empty());
    const std::vector<std::string> calls = window.calls();
    EXPECT_EQ(calls, (std::vector<std::string>{"busyIndicatorOn", "busyIndicatorOff"}));
}

TEST_F(Apply, BackupThenRestoreWritesAllThreeProfiles) {
    plugIn();
    startAndConnect();
    const std::size_t aKey = positionOfKey(kUsageA);
    assign(2, 0x1E, kLeftCtrl);
    const std::string file = dir.file("backup.klm");
    ASSERT_TRUE(core->backupToFile(file));
    EXPECT_TRUE(window.isModified());  // a backup leaves Apply as it was
    core->modified().clear();
    {
        auto working = core->workingStore().lock();
        working->reset();
    }
    clearLog();

    EXPECT_EQ(core->restoreFromFile(file), RestoreResult::Written);
    EXPECT_EQ(matrixWrites(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(matrixEntryOnKeyboard(2, aKey), kLeftCtrlEntry);
    EXPECT_FALSE(window.isModified());
    auto working = core->workingStore().lock();
    EXPECT_EQ(working->image->block(2)[0x1E], kLeftCtrl);
}

TEST_F(Apply, RestoreThatCannotWriteTheKeyboardKeepsApplyEnabledForAllThreeProfiles) {
    plugIn();
    startAndConnect();
    const std::size_t aKey = positionOfKey(kUsageA);
    assign(2, 0x1E, kLeftCtrl);
    const std::string file = dir.file("backup.klm");
    ASSERT_TRUE(core->backupToFile(file));
    core->modified().clear();
    keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().refuseCommand(8, 0xFF); });
    window.clearRecords();

    EXPECT_EQ(core->restoreFromFile(file), RestoreResult::NotWritten);
    EXPECT_TRUE(window.isModified()) << "the keyboard does not hold the file";
    EXPECT_TRUE(shown("KEYLOOM_WRITE_REFUSED"));
    StoreContents slot;
    ASSERT_EQ(loadProfileFile(core->slotFile(), slot), FileResult::Ok);
    EXPECT_EQ(slot.image->block(2)[0x1E], kLeftCtrl);

    // The retry writes every profile, not just the active one.
    keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().clear(); });
    clearLog();
    EXPECT_TRUE(core->apply());
    EXPECT_EQ(matrixWrites(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(matrixEntryOnKeyboard(2, aKey), kLeftCtrlEntry);
    EXPECT_FALSE(window.isModified());
}

TEST_F(Apply, RestoreSavesWhatItReplacesFirstAndKeepsTheNewestTen) {
    plugIn();
    startAndConnect();
    const std::string file = dir.file("restore.klm");
    ASSERT_TRUE(core->backupToFile(file));
    assign(0, 0x1E, kLeftCtrl);  // unapplied: the restore replaces it
    const std::string data = dir.file("data") + "/";
    for (int i = 0; i < 10; ++i)
        dir.write("data/before-restore-20200101-00000" + std::to_string(i) + ".klm", "old");
    dir.write("data/before-restore-notes.klm", "the user's own");

    std::string first;
    std::string second;
    EXPECT_EQ(core->restoreFromFile(file, &first), RestoreResult::Written);
    EXPECT_EQ(core->restoreFromFile(file, &second), RestoreResult::Written);
    EXPECT_NE(first, second) << "a restore within the same second overwrote the copy";
    EXPECT_TRUE(first.starts_with(data + "before-restore-")) << first;
    StoreContents saved;
    ASSERT_EQ(loadProfileFile(first, saved), FileResult::Ok);
    EXPECT_EQ(saved.image->block(0)[0x1E], kLeftCtrl);
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(data))
        kept += entry.path().filename().string().starts_with("before-restore-2");
    EXPECT_EQ(kept, 10);
    EXPECT_FALSE(std::filesystem::exists(data + "before-restore-20200101-000001.klm"));
    EXPECT_TRUE(std::filesystem::exists(data + "before-restore-20200101-000002.klm"));
    EXPECT_TRUE(std::filesystem::exists(data + "before-restore-notes.klm"));

    // Without a place for the copy nothing is replaced and nothing is sent.
    assign(0, 0x1E, kLeftCtrl);
    std::filesystem::remove_all(data);
    dir.write("data", "not a folder");
    clearLog();
    window.clearRecords();
    EXPECT_EQ(core->restoreFromFile(file), RestoreResult::BackupFailed);
    EXPECT_TRUE(received().empty());
    EXPECT_TRUE(shown("KEYLOOM_RESTORE_NOT_SAVED"));
    EXPECT_EQ(core->workingStore().lock()->image->block(0)[0x1E], kLeftCtrl);
}

TEST_F(Apply, BackupKeepsUnappliedEditsWhileADumpHoldsWhatTheKeyboardHas) {
    plugIn();
    startAndConnect();
    assign(0, 0x1E, kLeftCtrl);
    ASSERT_TRUE(core->backupToFile(dir.file("backup.klm")));
    ASSERT_TRUE(core->dumpKeyboard(dir.file("dump.klm")).ok());
    StoreContents backup;
    StoreContents dump;
    ASSERT_EQ(loadProfileFile(dir.file("backup.klm"), backup), FileResult::Ok);
    ASSERT_EQ(loadProfileFile(dir.file("dump.klm"), dump), FileResult::Ok);
    EXPECT_EQ(backup.image->block(0)[0x1E], kLeftCtrl);
    EXPECT_EQ(dump.image->block(0)[0x1E].kind, AssignmentKind::Default);
}

TEST_F(Apply, AFileThatIsNotTakenGetsOneMessageNamingItAndWhy) {
    installLanguageFiles(
        std::make_shared<LanguageFiles>(KEYLOOM_SOURCE_DIR "/skin/", nullptr, 0x0409));
    plugIn();
    startAndConnect();
    // A valid file whose profile 2 plays a macro it does not hold.
    {
        auto working = core->workingStore().lock();
        working->image->block(1)[0x1E] = {AssignmentKind::Macro, 1, 9};
    }
    const std::string unheld = dir.file("unheld.klm");
    ASSERT_TRUE(core->backupToFile(unheld));
    struct Case {
        std::string file;
        const char* reason;
    };
    const Case cases[] = {
        {dir.write("broken.klm", std::string(40000, 'x')), "header is wrong"},
        {dir.file("missing.klm"), "does not exist"},
        {dir.write("export.json",
                   "\xEF\xBB\xBF\n  {\"format\": \"keyloom-profile\", \"version\": 1}\n"),
         "keyloomctl import"},
        {unheld, "profile 2: A plays macro 9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        window.clearRecords();
        clearLog();
        EXPECT_EQ(core->restoreFromFile(c.file), RestoreResult::InvalidFile);
        EXPECT_TRUE(received().empty()) << "nothing sent";
        const auto messages = window.messagesShown();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].key, "MAIN_PROMPT_INPORT");
        EXPECT_EQ(messages[0].icon, window::MessageIcon::Warning);
        EXPECT_NE(messages[0].text.find("Nothing was changed"), std::string::npos);
        EXPECT_NE(messages[0].text.find(c.file), std::string::npos);
        EXPECT_NE(messages[0].text.find(c.reason), std::string::npos) << messages[0].text;
    }
    installLanguageFiles(nullptr);
}

TEST_F(Apply, DeletedMacroThatProfileThreeUsedMakesTheNextApplyWriteEveryProfile) {
    plugIn();
    startAndConnect();
    {
        auto working = core->workingStore().lock();
        working->macros.push_back(macro(1, 4, u"one"));
        working->image->block(2)[0x1E] = {AssignmentKind::Macro, 1, 1};
    }
    ASSERT_TRUE(core->writeAll(true));

    // The macro editor deletes the macro and asks for every profile.
    {
        auto working = core->workingStore().lock();
        working->macros.clear();
    }
    core->state().connection.writeAllProfiles = true;
    core->modified().markEdited();
    clearLog();
    EXPECT_TRUE(core->apply());
    EXPECT_EQ(matrixWrites(), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(core->state().connection.writeAllProfiles.load());

    // The flag is gone: the next Apply writes only the active profile.
    core->modified().markEdited();
    clearLog();
    EXPECT_TRUE(core->apply());
    EXPECT_EQ(matrixWrites(), std::vector<int>{0});
}

TEST_F(Apply, MacroCapacityZeroWritesNothingAndSaysTheMacrosAreTooLong) {
    plugIn(sim::kModel652F, 0);
    startAndConnect();
    assign(0, 0x1E, kLeftCtrl);
    clearLog();
    window.clearRecords();

    EXPECT_FALSE(core->apply());
    EXPECT_TRUE(received().empty());
    const auto messages = window.messagesShown();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].key, "EXTRA_MACRO_TOO_LONG");
    EXPECT_TRUE(messages[0].topmost);
    EXPECT_TRUE(window.isModified());
}

// Each failed write tells the user why the keyboard was not written; Apply
// stays enabled so that the changes can be written later.
TEST_F(Apply, AFailedWriteSaysWhyAndKeepsApplyEnabled) {
    plugIn();
    startAndConnect();
    assign(0, 0x1E, kLeftCtrl);

    const auto failWith = [&](auto fault) {
        keyboard->withFirmware([&](sim::SimFirmware& f) { fault(f.faults()); });
        window.clearRecords();
        EXPECT_FALSE(core->apply());
        keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().clear(); });
        EXPECT_TRUE(window.isModified());
        const auto messages = window.messagesShown();
        return messages.empty() ? std::string() : messages.back().key;
    };
    EXPECT_EQ(failWith([](sim::SimFaults& f) { f.dropRequests(sim::SimFaults::kAlways); }),
              "KEYLOOM_WRITE_NO_ANSWER");
    EXPECT_EQ(failWith([](sim::SimFaults& f) { f.refuseCommand(8, 0xFF); }),
              "KEYLOOM_WRITE_REFUSED");

    // Once the keyboard answers again the same changes are written.
    window.clearRecords();
    EXPECT_TRUE(core->apply());
    EXPECT_TRUE(window.messagesShown().empty());
    EXPECT_FALSE(window.isModified());
}

TEST_F(Apply, NamesAreDroppedToFitAndTheUserIsToldAfterTheWrite) {
    plugIn(sim::kModel652F, 1);  // 128 bytes
    startAndConnect();
    {
        auto working = core->workingStore().lock();
        // 16 + 2 + 4 + 40 = 62 bytes without the name, 142 with it.
        working->macros.push_back(macro(1, 10, std::u16string(40, u'n')));
    }
    core->modified().markEdited();
    clearLog();
    window.clearRecords();

    EXPECT_TRUE(core->apply());
    const auto messages = window.messagesShown();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].key, "EXTRA_PROFILE_SPACE_TIGHT");
    EXPECT_TRUE(messages[0].topmost);
    const sim::SimMemory m = memory();
    const auto header = MacroAreaHeader::parse(m.macroArea);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->macroCount, 1);
    EXPECT_EQ(header->bytesInUse, 62);
    EXPECT_EQ(header->namesFlag, 0);
    EXPECT_EQ(matrixWrites(), std::vector<int>{0});
}

TEST_F(Apply, RestoreDefaultAskedYesRevertsTheActiveProfileOnTheKeyboard) {
    plugIn();
    startAndConnect();
    const std::size_t aKey = positionOfKey(kUsageA);
    assign(0, 0x1E, kLeftCtrl);
    assign(0, 0x100, {AssignmentKind::Key, 0, 0x1E});  // G1
    assign(1, 0x1E, kLeftCtrl);
    ASSERT_TRUE(core->apply());
    ASSERT_EQ(matrixEntryOnKeyboard(0, aKey), kLeftCtrlEntry);

    EXPECT_FALSE(core->restoreDefault());  // the default answer is No
    EXPECT_EQ(matrixEntryOnKeyboard(0, aKey), kLeftCtrlEntry);

    window.answer("MAIN_PROMPT_DEFAULT", window::MessageAnswer::Yes);
    EXPECT_TRUE(core->restoreDefault());
    EXPECT_EQ(matrixEntryOnKeyboard(0, aKey), (std::vector<std::uint8_t>{0x02, 0x02, kUsageA}));
    EXPECT_FALSE(window.isModified());
    auto working = core->workingStore().lock();
    EXPECT_EQ(working->image->block(0)[0x1E].kind, AssignmentKind::Default);
    EXPECT_EQ(working->image->block(0)[0x100].kind, AssignmentKind::Default);
    EXPECT_EQ(working->image->block(1)[0x1E], kLeftCtrl);  // other profiles untouched
}

TEST_F(Apply, RestoreDefaultInTheLightingViewSendsTheLightingResetBeforeApplysGroup) {
    plugIn();
    startAndConnect();
    assign(0, 0x1E, kLeftCtrl);
    static_cast<void>(core->lighting()->setLightingView(true));
    window.answer("MAIN_PROMPT_DEFAULT", window::MessageAnswer::Yes);
    clearLog();
    ASSERT_TRUE(core->restoreDefault());
    ASSERT_TRUE(core->queue().flush());
    // Whole groups one after the other: lighting writes (6, 17) first, then
    // Apply's macro area (10) and key matrix (8); never a begin inside one.
    std::vector<std::vector<int>> groups;
    bool open = false;
    for (const Request& r : received()) {
        if (r.command == 1) {
            if (!open || !groups.back().empty())
                groups.emplace_back();
            open = true;
        } else if (r.command == 2) {
            open = false;
        } else if (r.command == 6 || r.command == 17 || r.command == 10 || r.command == 8) {
            ASSERT_TRUE(open) << "write " << r.command << " outside a group";
            groups.back().push_back(r.command);
        }
    }
    ASSERT_GE(groups.size(), 2u);
    const auto writesOf = [](const std::vector<int>& g, int command) {
        return std::count(g.begin(), g.end(), command) > 0;
    };
    EXPECT_TRUE(writesOf(groups.front(), 6));
    EXPECT_TRUE(writesOf(groups.back(), 10));
    EXPECT_TRUE(writesOf(groups.back(), 8));
    for (std::size_t i = 0; i + 1 < groups.size(); ++i)
        EXPECT_FALSE(writesOf(groups[i], 10) || writesOf(groups[i], 8));
    EXPECT_EQ(core->lightingState().reportRate, 0);
    EXPECT_EQ(window.selectedReportRateButton(), 0);
}

TEST_F(Apply, ReportRateIsOneByteAtOffsetFifteenOfTheLightingProfilesRecord) {
    plugIn();
    startAndConnect();
    clearLog();
    EXPECT_EQ(core->writeReportRate(3), result::Success);
    core->lighting()->setLightingProfile(1);
    EXPECT_EQ(core->writeReportRate(2), result::Success);
    EXPECT_NE(core->writeReportRate(4), result::Success);
    const std::vector<Request> requests = received();
    ASSERT_EQ(requests.size(), 6u);
    EXPECT_EQ(requests[1].command, 6);
    EXPECT_EQ(requests[1].offset, 15);
    EXPECT_EQ(requests[1].data, std::vector<std::uint8_t>{3});
    EXPECT_EQ(requests[4].offset, 42 + 15);
    EXPECT_EQ(requests[4].data, std::vector<std::uint8_t>{2});
    EXPECT_EQ(memory().profileSettings[57], 2);
    EXPECT_EQ(core->lightingState().reportRate, 2);
}

// Pulls the keyboard's cable when the n-th key matrix chunk is about to be written.
class UnplugOnMatrixWrite : public hid::HidBackend {
public:
    UnplugOnMatrixWrite(std::shared_ptr<sim::SimBackend> inner) : inner_(std::move(inner)) {}

    void arm(std::shared_ptr<sim::SimKeyboard> keyboard, int chunk) {
        keyboard_ = std::move(keyboard);
        remaining_ = chunk;
    }
    bool enumerate(std::vector<std::string>& paths) override { return inner_->enumerate(paths); }
    bool ownsPath(std::string_view path) const override { return inner_->ownsPath(path); }
    bool isPresent(std::string_view path) override { return inner_->isPresent(path); }
    std::unique_ptr<hid::HidHandle> open(std::string_view path,
                                         const hid::OpenOptions& options) override {
        auto handle = inner_->open(path, options);
        if (!handle)
            return nullptr;
        return std::make_unique<Handle>(*this, std::move(handle));
    }

private:
    class Handle : public hid::HidHandle {
    public:
        Handle(UnplugOnMatrixWrite& owner, std::unique_ptr<hid::HidHandle> inner)
            : owner_(owner), inner_(std::move(inner)) {}
        const hid::CollectionDescriptor& descriptor() const override {
            return inner_->descriptor();
        }
        hid::Attributes attributes() const override { return inner_->attributes(); }
        hid::TransferResult read(std::span<std::uint8_t> buffer, std::size_t& transferred,
                                 std::uint32_t timeoutMs, hid::CancelEvent& cancel) override {
            return inner_->read(buffer, transferred, timeoutMs, cancel);
        }
        hid::TransferResult write(std::span<const std::uint8_t> report, std::size_t& transferred,
                                  std::uint32_t timeoutMs, hid::CancelEvent& cancel) override {
            if (report.size() > 3 && report[3] == 8 && owner_.keyboard_ && --owner_.remaining_ == 0)
                owner_.keyboard_->unplug();
            return inner_->write(report, transferred, timeoutMs, cancel);
        }
        void discardQueuedInput() override { inner_->discardQueuedInput(); }
        bool stillPresent() const override { return inner_->stillPresent(); }

    private:
        UnplugOnMatrixWrite& owner_;
        std::unique_ptr<hid::HidHandle> inner_;
    };

    std::shared_ptr<sim::SimBackend> inner_;
    std::shared_ptr<sim::SimKeyboard> keyboard_;
    std::atomic<int> remaining_{0};
};

class UnplugDuringApply : public Apply {
protected:
    std::shared_ptr<hid::HidBackend> platformBackend() override { return unplugger; }
    std::shared_ptr<UnplugOnMatrixWrite> unplugger = std::make_shared<UnplugOnMatrixWrite>(backend);
};

TEST_F(UnplugDuringApply, LeavesApplyEnabledAndTheStoreAndSlotFileIntact) {
    plugIn();
    startAndConnect();
    {
        auto working = core->workingStore().lock();
        working->macros.push_back(macro(1, 6, u"kept"));
    }
    assign(0, 0x1E, kLeftCtrl);
    unplugger->arm(keyboard, 3);

    EXPECT_FALSE(core->apply());
    EXPECT_TRUE(window.isModified());
    ASSERT_TRUE(waitForState(0));
    EXPECT_TRUE(window.hidden());
    ASSERT_FALSE(window.messagesShown().empty());
    EXPECT_EQ(window.messagesShown().back().key.rfind("KEYLOOM_WRITE_", 0), 0u);

    {
        auto working = core->workingStore().lock();
        EXPECT_EQ(working->image->block(0)[0x1E], kLeftCtrl);
        ASSERT_EQ(working->macros.size(), 1u);
        EXPECT_EQ(working->macros[0].name, u"kept");
    }
    StoreContents slot;
    ASSERT_EQ(loadProfileFile(core->slotFile(), slot), FileResult::Ok);
    EXPECT_EQ(slot.image->block(0)[0x1E], kLeftCtrl);
    // The macro area went out whole before the cable was pulled.
    const auto header = MacroAreaHeader::parse(memory().macroArea);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->macroCount, 1);
    // Nothing is sent while the keyboard is gone, and a later Apply fails again.
    window.clearRecords();
    EXPECT_FALSE(core->apply());
    EXPECT_TRUE(window.isModified());
    ASSERT_FALSE(window.messagesShown().empty());
    EXPECT_EQ(window.messagesShown().back().key, "KEYLOOM_WRITE_NOT_CONNECTED");
}

}  // namespace
}  // namespace keyloom::testing
