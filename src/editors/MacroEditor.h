#pragma once
// The macro tab's private copy of the macro list: the macros with their
// names and numbers, the selected macro and its event rows, and the rules
// for names, play counts, delays and inserted events. Nothing reaches the
// working store before commit(); closing without it discards the copy.
//
// Every change marks the editor changed, which the dialog shows as an
// enabled Apply button.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editors/EditorPrompts.h"
#include "model/ConfigurationStore.h"
#include "model/KeyTable.h"
#include "model/MacroRecord.h"

namespace keyloom::editors {

inline constexpr long kNoSelection = -1;

enum class DeleteMacroResult { Deleted, Kept, NothingSelected };
enum class RowMove { ToTop, Up, Down, ToBottom };

struct MacroCommit {
    // False when the list could not be copied (out of memory); the store
    // then keeps its old macros and keys.
    bool committed = false;
    // Keys whose macro vanished were repaired: the main window is changed.
    bool keysRepaired = false;
    // Slots (block * 512 + entry) of keys turned Default, for their tooltips.
    std::vector<std::size_t> keysMadeDefault;
    // The stored macro list differs from what it was.
    bool macrosChanged = false;
};

class MacroEditor {
public:
    static constexpr std::uint32_t kMaxDelayMs = 40000;
    static constexpr std::uint32_t kDelayStepMs = 10;
    static constexpr int kMinPlayCount = 1;
    static constexpr int kMaxPlayCount = 255;

    explicit MacroEditor(std::u16string namePrefix = u"Macro");

    // The text of new macro names (the language's "MACRO_NEW_PREFIX").
    void setNamePrefix(std::u16string prefix) { namePrefix_ = std::move(prefix); }

    // Copies the stored macros (new flags cleared); nothing selected.
    void load(WorkingStore& store);
    // Drops the copy.
    void close();

    std::span<const MacroRecord> macros() const { return macros_; }
    long selectedMacro() const { return selected_; }
    const MacroRecord* selectedRecord() const;

    // Selects a macro by list position (kNoSelection or out of range: none).
    void selectMacro(long position);
    // Selects the macro with `number`; the first one when none has it or the
    // number is 0.
    void selectMacroNumbered(std::uint32_t number);

    // Appends a new empty macro and selects it. With 100 macros the user is
    // told "MACRO_ERR_MAX" and nothing is added.
    bool addMacro(EditorPrompts& prompts);
    // The user typed `typed` into the name field. Returns the name the
    // selected (or, in an empty list, newly created) macro now carries.
    std::optional<std::u16string> rename(std::u16string_view typed);
    // Deletes the selected macro. When keys of any profile use it the user
    // is asked first; the lock is not held while asking. (The commit that
    // stores the list then has the next write cover every profile.)
    DeleteMacroResult deleteSelectedMacro(WorkingStore& store, EditorPrompts& prompts);

    // The selected macro's events.
    std::span<const MacroAction> rows() const;
    long selectedRow() const { return selectedRow_; }
    void selectRow(long row);
    bool deleteSelectedRow();
    // Asks "MACRO_ACTION_CLEAR_CONFIRM" when there are rows; Yes clears them.
    bool clearRows(EditorPrompts& prompts);
    bool moveSelectedRow(RowMove move);

    // The play count box changed: the count read from it, limited to 1-255
    // (text that is no number counts as 0). The box shows the result.
    int setPlayCountText(std::string_view text);
    int playCount() const;

    // Cell edits of row `row`. Key: a key-choice list position (0-105).
    bool setRowKeyFromList(std::size_t row, std::uint16_t listPosition);
    bool setRowState(std::size_t row, std::uint16_t state);
    // Delay: an empty text changes nothing; above 40,000 (or negative) tells
    // "MACRO_ACTION_ERR_DELAY_MAX" and takes 40,000; then rounds down to a
    // multiple of 10. Returns the stored delay.
    std::optional<std::uint32_t> setRowDelayText(std::size_t row, std::string_view text,
                                                 EditorPrompts& prompts);

    // Inserts an event after the selected row (at the end when none is
    // selected) and selects it. `delayMs` is the pause before the event: it
    // goes on the row before, and the new row takes over that row's pause.
    // Dropped when no macro is selected or it holds 4000 events.
    bool insertEvent(KeyCode key, std::uint16_t state, std::uint32_t delayMs);
    // Takes back the event insertEvent put at `row`: the row before gets its
    // old pause back and is selected. False when there is no such row.
    bool removeInsertedEvent(std::size_t row);

    // Stores the list into the working store and repairs keys whose macro
    // vanished: value 0 -> the first macro; a number no macro has, or one a
    // macro created since loading took over -> Default. `working` is the
    // working store's contents, locked by the caller.
    MacroCommit commit(StoreContents& working);

    bool changed() const { return changed_; }
    void markUnchanged() { changed_ = false; }

private:
    MacroRecord makeRecord(std::u16string name) const;
    std::vector<MacroAction>* selectedActions();
    void touch() { changed_ = true; }

    std::u16string namePrefix_;
    std::vector<MacroRecord> macros_;
    long selected_ = kNoSelection;
    long selectedRow_ = kNoSelection;
    bool changed_ = false;
};

}  // namespace keyloom::editors
