// An edit of the working store: whether it is told at all, and whether the
// next write must then cover every profile.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "model/EditTransaction.h"

namespace keyloom {
namespace {

struct Recorder : EditListener {
    std::optional<bool> allProfiles;  // unset: not told
    int told = 0;
    void storeEdited(bool all) override {
        ++told;
        allProfiles = all;
    }
};

MacroRecord macro(std::uint16_t number) {
    MacroRecord m;
    m.number = number;
    return m;
}

TEST(EditTransaction, TellsWhetherTheWriteMustCoverEveryProfile) {
    struct Case {
        std::string name;
        int profile;
        std::function<void(StoreContents&)> edit;
        std::optional<bool> allProfiles;
    };
    const KeyAssignment disabled{AssignmentKind::Disabled, 0, 0};
    const KeyAssignment playsTwo{AssignmentKind::Macro, 0, 2};
    const Case cases[] = {
        {"nothing changed", 1, [](StoreContents&) {}, std::nullopt},
        {"a key of the edited profile", 1,
         [&](StoreContents& s) { s.image->block(1)[30] = disabled; }, false},
        {"a key of another profile", 1, [&](StoreContents& s) { s.image->block(2)[30] = disabled; },
         true},
        {"a key while the profile is unknown", -1,
         [&](StoreContents& s) { s.image->block(0)[30] = disabled; }, true},
        {"a new macro", 0, [](StoreContents& s) { s.macros.push_back(macro(3)); }, false},
        {"a macro no key plays removed", 0,
         [](StoreContents& s) { s.macros.erase(s.macros.begin()); }, false},
        {"a macro a key plays removed", 0, [](StoreContents& s) { s.macros.pop_back(); }, true},
    };
    for (const Case& c : cases) {
        WorkingStore store;
        {
            auto contents = store.lock();
            contents->macros = {macro(1), macro(2)};
            contents->image->block(0)[31] = playsTwo;  // stored before the edit
        }
        Recorder recorder;
        {
            EditTransaction edit(store, &recorder, c.profile);
            c.edit(*edit);
            EXPECT_EQ(edit.commit(), c.allProfiles.has_value()) << c.name;
            EXPECT_FALSE(edit.commit()) << c.name << ": a second commit does nothing";
        }
        EXPECT_EQ(recorder.allProfiles, c.allProfiles) << c.name;
        EXPECT_EQ(recorder.told, c.allProfiles ? 1 : 0) << c.name;
    }
}

TEST(EditTransaction, TellsAfterLettingGoOfTheLock) {
    WorkingStore store;
    struct LocksAgain : EditListener {
        WorkingStore* store = nullptr;
        bool locked = false;
        void storeEdited(bool) override {
            auto contents = store->lock();  // would deadlock under the edit's lock
            locked = true;
        }
    } listener;
    listener.store = &store;
    {
        EditTransaction edit(store, &listener, 0);
        edit->macros.push_back(macro(1));
    }
    EXPECT_TRUE(listener.locked);
}

}  // namespace
}  // namespace keyloom
