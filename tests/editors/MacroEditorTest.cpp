// The macro editor's private copy: names, limits, delays, the insertion
// rule, deleting macros that keys use, and the commit that repairs keys.

#include <gtest/gtest.h>

#include "editors/EditorTestSupport.h"
#include "editors/MacroEditor.h"

namespace keyloom::editors {
namespace {

using namespace test;

class MacroEditorTest : public ::testing::Test {
protected:
    void store(std::vector<MacroRecord> macros) {
        store_.lock()->macros = std::move(macros);
        editor_.load(store_);
    }
    KeyAssignment& entry(std::size_t block, std::size_t index) {
        return store_.lock()->image->block(block)[index];
    }
    std::vector<std::u16string> names() const {
        std::vector<std::u16string> out;
        for (const auto& m : editor_.macros())
            out.push_back(m.name);
        return out;
    }

    WorkingStore store_;
    MacroEditor editor_{u"Macro"};
    ScriptedPrompts prompts_;
};

TEST_F(MacroEditorTest, AddTakesTheFirstNumberNoMacroUsesAsNumberOrName) {
    store({storedMacro(1, u"macro2")});
    ASSERT_TRUE(editor_.addMacro(prompts_));  // 1 is a number, 2 begins "macro2": Macro3
    ASSERT_TRUE(editor_.addMacro(prompts_));  // 3 names the one before: Macro4
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"macro2", u"Macro3", u"Macro4"}));
    EXPECT_EQ(editor_.selectedMacro(), 2);
    EXPECT_EQ(editor_.selectedRecord()->number, 3);
    EXPECT_EQ(editor_.selectedRecord()->newFlag, 1u);
    EXPECT_TRUE(editor_.changed());

    // Each Add starts again from 1: a gap left by a deleted macro is used.
    store({storedMacro(1, u"Macro10"), storedMacro(3, u"Macro3")});
    editor_.addMacro(prompts_);
    EXPECT_EQ(names().back(), u"Macro2");
}

TEST_F(MacroEditorTest, AddRefusesTheHundredAndFirstMacro) {
    std::vector<MacroRecord> full;
    for (std::uint16_t n = 1; n <= 100; ++n)
        full.push_back(storedMacro(n, u"x"));
    store(std::move(full));
    EXPECT_FALSE(editor_.addMacro(prompts_));
    EXPECT_EQ(editor_.macros().size(), 100u);
    ASSERT_EQ(prompts_.told.size(), 1u);
    EXPECT_EQ(prompts_.told[0], (std::pair<std::string, std::int64_t>{"MACRO_ERR_MAX", 100}));
}

TEST_F(MacroEditorTest, RenameRules) {
    store({storedMacro(1, u"Alpha"), storedMacro(2, u"Beta")});
    editor_.selectMacro(1);
    EXPECT_EQ(editor_.rename(u"Gamma"), u"Gamma");
    EXPECT_EQ(editor_.rename(u"al"), u"Macro2");  // begins "Alpha"; 1 is Alpha's number
    EXPECT_EQ(editor_.rename(u""), u"Macro2");
    EXPECT_EQ(editor_.rename(std::u16string(300, u'n')).value().size(), 249u);
    EXPECT_EQ(names()[0], u"Alpha");

    // In an empty list the typed text names a new macro.
    store({});
    EXPECT_EQ(editor_.rename(u"Fresh"), u"Fresh");
    ASSERT_EQ(editor_.macros().size(), 1u);
    EXPECT_EQ(editor_.selectedMacro(), 0);
    EXPECT_EQ(editor_.macros()[0].number, 1);
}

TEST_F(MacroEditorTest, PlayCountIsKeptWithinOneTo255) {
    store({storedMacro(1, u"m")});
    editor_.selectMacro(0);
    const std::pair<const char*, int> cases[] = {
        {"0", 1}, {"300", 255}, {"17", 17}, {"", 1}, {"abc", 1}, {"-4", 1}, {"99999999999", 255}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(editor_.setPlayCountText(text), expected) << text;
        EXPECT_EQ(editor_.playCount(), expected) << text;
    }
}

TEST_F(MacroEditorTest, DelayCellRules) {
    store({storedMacro(1, u"m")});
    editor_.selectMacro(0);
    editor_.insertEvent(0x01E, MacroAction::kPressed, 0);
    struct Case {
        const char* text;
        std::optional<std::uint32_t> stored;
        bool told;
    };
    const Case cases[] = {
        {"12345", 12340, false}, {"50000", 40000, true}, {"-5", 40000, true},
        {"40000", 40000, false}, {"7", 0, false},        {"", std::nullopt, false},
    };
    for (const auto& c : cases) {
        editor_.setRowDelayText(0, "30", prompts_);
        prompts_.told.clear();
        EXPECT_EQ(editor_.setRowDelayText(0, c.text, prompts_), c.stored) << c.text;
        EXPECT_EQ(editor_.rows()[0].delayMs, c.stored.value_or(30)) << c.text;
        ASSERT_EQ(prompts_.told.size(), c.told ? 1u : 0u) << c.text;
        if (c.told) {
            EXPECT_EQ(prompts_.told[0].first, "MACRO_ACTION_ERR_DELAY_MAX");
            EXPECT_EQ(prompts_.told[0].second, 40000);
        }
    }
}

TEST_F(MacroEditorTest, InsertionKeepsEachDelayAsThePauseAfterItsRow) {
    MacroRecord m = storedMacro(1, u"m");
    m.actions = {{100, 0x01E, 0}, {200, 0x01E, 1}, {300, 0x030, 0}};
    store({m});
    editor_.selectMacro(0);
    editor_.selectRow(1);
    ASSERT_TRUE(editor_.insertEvent(0x02E, 7, 55));  // a state above 1 is stored as pressed
    const std::vector<MacroAction> expected{
        {100, 0x01E, 0}, {55, 0x01E, 1}, {200, 0x02E, 0}, {300, 0x030, 0}};
    EXPECT_EQ(std::vector<MacroAction>(editor_.rows().begin(), editor_.rows().end()), expected);
    EXPECT_EQ(editor_.selectedRow(), 2);

    // Into an empty macro the first row has nothing before it.
    store({storedMacro(1, u"m")});
    editor_.selectMacro(0);
    editor_.insertEvent(0x01E, 0, 999);
    EXPECT_EQ(editor_.rows()[0].delayMs, 0u);
}

TEST_F(MacroEditorTest, TheFourThousandAndFirstEventIsDropped) {
    MacroRecord m = storedMacro(1, u"m");
    m.actions.assign(MacroRecord::kMaxActions, MacroAction{10, 0x01E, 0});
    store({m});
    editor_.selectMacro(0);
    EXPECT_FALSE(editor_.insertEvent(0x030, 0, 10));
    EXPECT_EQ(editor_.rows().size(), MacroRecord::kMaxActions);
}

TEST_F(MacroEditorTest, MovedRowsCarryTheirDelayAndStaySelected) {
    MacroRecord m = storedMacro(1, u"m");
    m.actions = {{1, 0x01, 0}, {2, 0x02, 0}, {3, 0x03, 0}};
    store({m});
    editor_.selectMacro(0);
    auto keys = [&] {
        std::vector<std::uint16_t> out;
        for (const auto& a : editor_.rows())
            out.push_back(a.keyCode);
        return out;
    };
    editor_.selectRow(2);
    EXPECT_TRUE(editor_.moveSelectedRow(RowMove::ToTop));
    EXPECT_EQ(keys(), (std::vector<std::uint16_t>{3, 1, 2}));
    EXPECT_EQ(editor_.rows()[0].delayMs, 3u);
    EXPECT_TRUE(editor_.moveSelectedRow(RowMove::Down));
    EXPECT_EQ(keys(), (std::vector<std::uint16_t>{1, 3, 2}));
    EXPECT_TRUE(editor_.moveSelectedRow(RowMove::ToBottom));
    EXPECT_EQ(keys(), (std::vector<std::uint16_t>{1, 2, 3}));
    EXPECT_FALSE(editor_.moveSelectedRow(RowMove::Down));
    EXPECT_TRUE(editor_.moveSelectedRow(RowMove::Up));
    EXPECT_EQ(editor_.selectedRow(), 1);
}

TEST_F(MacroEditorTest, DeletingAMacroThatAKeyUsesAsksAndCommitMakesTheKeyDefault) {
    store({storedMacro(1, u"one"), storedMacro(2, u"two")});
    entry(2, 30) = macroKey(2);  // profile 3's A key
    editor_.selectMacro(1);

    prompts_.answer = false;
    EXPECT_EQ(editor_.deleteSelectedMacro(store_, prompts_), DeleteMacroResult::Kept);
    EXPECT_EQ(prompts_.asked, (std::vector<std::string>{"MACRO_DELETE_CONFIRM_OF_KEYS"}));
    EXPECT_EQ(editor_.macros().size(), 2u);

    prompts_.answer = true;
    EXPECT_EQ(editor_.deleteSelectedMacro(store_, prompts_), DeleteMacroResult::Deleted);
    EXPECT_EQ(editor_.selectedMacro(), 0);
    const MacroCommit commit = editor_.commit(*store_.lock());
    EXPECT_TRUE(commit.committed);
    EXPECT_TRUE(commit.keysRepaired);
    EXPECT_EQ(commit.keysMadeDefault, (std::vector<std::size_t>{2 * 512 + 30}));
    EXPECT_EQ(entry(2, 30), KeyAssignment{});
    EXPECT_EQ(store_.lock()->macros.size(), 1u);
}

TEST_F(MacroEditorTest, AKeyOnAnExtraKeyCountsAsInUse) {
    store({storedMacro(1, u"one")});
    entry(0, 256) = macroKey(1);  // G1 of profile 1
    editor_.selectMacro(0);
    editor_.deleteSelectedMacro(store_, prompts_);
    EXPECT_EQ(prompts_.asked.size(), 1u);
}

TEST_F(MacroEditorTest, ANewMacroReusingTheNumberResetsTheOldMacrosKeys) {
    store({storedMacro(1, u"one")});
    entry(0, 30) = macroKey(1);
    editor_.selectMacro(0);
    prompts_.answer = true;
    editor_.deleteSelectedMacro(store_, prompts_);
    editor_.addMacro(prompts_);
    ASSERT_EQ(editor_.selectedRecord()->number, 1);

    editor_.commit(*store_.lock());
    EXPECT_EQ(entry(0, 30).kind, AssignmentKind::Default);
    EXPECT_EQ(store_.lock()->macros[0].newFlag, 0u);

    // Once stored the macro is an ordinary one: a key given it since is
    // kept by the next commit of the same opening.
    entry(1, 30) = macroKey(1);
    EXPECT_FALSE(editor_.commit(*store_.lock()).keysRepaired);
    EXPECT_EQ(entry(1, 30).kind, AssignmentKind::Macro);
}

TEST_F(MacroEditorTest, CommitRepairsKeysWithoutAMacro) {
    store({storedMacro(4, u"four"), storedMacro(5, u"five")});
    entry(1, 30) = macroKey(0);
    entry(1, 31) = macroKey(9);
    KeyAssignment onExtraKey = macroKey(9);
    onExtraKey.toggle = 1;
    entry(0, 257) = onExtraKey;
    const MacroCommit commit = editor_.commit(*store_.lock());
    EXPECT_EQ(entry(1, 30).value, 4u);  // value 0 -> the first macro
    EXPECT_EQ(entry(1, 31), KeyAssignment{});
    // An extra key gets back its fixed code; its toggle flag stays.
    EXPECT_EQ(entry(0, 257).kind, AssignmentKind::Default);
    EXPECT_EQ(entry(0, 257).parameter, 0x0302);
    EXPECT_EQ(entry(0, 257).toggle, 1u);
    EXPECT_EQ(commit.keysMadeDefault.size(), 2u);

    // Without any macro a key with value 0 has nothing to play either.
    store({});
    entry(1, 30) = macroKey(0);
    editor_.commit(*store_.lock());
    EXPECT_EQ(entry(1, 30).kind, AssignmentKind::Default);
}

}  // namespace
}  // namespace keyloom::editors
