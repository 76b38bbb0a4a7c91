// The macro list of the editor: loading, selection, names, deleting and the
// commit into the working store. The event rows are in MacroRows.cpp.

#include "editors/MacroEditor.h"

#include <algorithm>
#include <new>

#include "editors/EntryDefaults.h"
#include "editors/MacroNames.h"

namespace keyloom::editors {

MacroEditor::MacroEditor(std::u16string namePrefix) : namePrefix_(std::move(namePrefix)) {}

void MacroEditor::load(WorkingStore& store) {
    {
        auto working = store.lock();
        macros_ = working->macros;
    }
    for (auto& macro : macros_) {
        macro.newFlag = 0;
    }
    selected_ = kNoSelection;
    selectedRow_ = kNoSelection;
    changed_ = false;
}

void MacroEditor::close() {
    macros_.clear();
    selected_ = kNoSelection;
    selectedRow_ = kNoSelection;
    changed_ = false;
}

const MacroRecord* MacroEditor::selectedRecord() const {
    if (selected_ < 0 || static_cast<std::size_t>(selected_) >= macros_.size()) {
        return nullptr;
    }
    return &macros_[static_cast<std::size_t>(selected_)];
}

std::vector<MacroAction>* MacroEditor::selectedActions() {
    if (selectedRecord() == nullptr) {
        return nullptr;
    }
    return &macros_[static_cast<std::size_t>(selected_)].actions;
}

void MacroEditor::selectMacro(long position) {
    if (position < 0 || static_cast<std::size_t>(position) >= macros_.size()) {
        position = kNoSelection;
    }
    if (position != selected_) {
        selected_ = position;
        selectedRow_ = kNoSelection;
    }
}

void MacroEditor::selectMacroNumbered(std::uint32_t number) {
    long position = macros_.empty() ? kNoSelection : 0;
    if (number != 0 && number <= MacroRecord::kMaxNumber) {
        if (auto found = findMacroPosition(macros_, static_cast<std::uint16_t>(number))) {
            position = static_cast<long>(*found);
        }
    }
    selectMacro(position);
}

MacroRecord MacroEditor::makeRecord(std::u16string name) const {
    MacroRecord record;
    record.name = std::move(name);
    record.playCount = MacroRecord::kDefaultPlayCount;
    record.newFlag = 1;
    record.number = nextMacroNumber(macros_);
    return record;
}

bool MacroEditor::addMacro(EditorPrompts& prompts) {
    if (macros_.size() >= MacroRecord::kMaxMacros) {
        prompts.tell("MACRO_ERR_MAX", static_cast<std::int64_t>(MacroRecord::kMaxMacros));
        return false;
    }
    auto name = firstFreeGeneratedName(namePrefix_, macros_, std::nullopt);
    if (!name) {
        return false;
    }
    macros_.push_back(makeRecord(std::move(*name)));
    selectMacro(static_cast<long>(macros_.size() - 1));
    touch();
    return true;
}

std::optional<std::u16string> MacroEditor::rename(std::u16string_view typed) {
    std::u16string name = storableName(typed);
    if (macros_.empty()) {
        if (name.empty()) {
            auto generated = firstFreeGeneratedName(namePrefix_, macros_, std::nullopt);
            if (!generated) {
                return std::nullopt;
            }
            name = std::move(*generated);
        }
        macros_.push_back(makeRecord(name));
        selectMacro(0);
        touch();
        return name;
    }
    if (selectedRecord() == nullptr) {
        return std::nullopt;
    }
    const auto self = static_cast<std::size_t>(selected_);
    if (name.empty() || nameBeginsAnother(macros_, name, self)) {
        auto generated = firstFreeGeneratedName(namePrefix_, macros_, self);
        if (!generated) {
            return std::nullopt;
        }
        name = std::move(*generated);
    }
    macros_[self].name = name;
    touch();
    return name;
}

DeleteMacroResult MacroEditor::deleteSelectedMacro(WorkingStore& store, EditorPrompts& prompts) {
    const MacroRecord* record = selectedRecord();
    if (record == nullptr) {
        return DeleteMacroResult::NothingSelected;
    }
    if (record->newFlag == 0) {
        bool usedByKeys = false;
        {
            auto working = store.lock();
            for (const KeyAssignment& entry : working->image->entries()) {
                if (entry.kind == AssignmentKind::Macro && entry.value == record->number) {
                    usedByKeys = true;
                    break;
                }
            }
        }
        if (usedByKeys && !prompts.askYesNo("MACRO_DELETE_CONFIRM_OF_KEYS")) {
            return DeleteMacroResult::Kept;
        }
    }
    const auto at = static_cast<std::size_t>(selected_);
    macros_.erase(macros_.begin() + static_cast<std::ptrdiff_t>(at));
    selected_ = kNoSelection;
    selectMacro(macros_.empty() ? kNoSelection : static_cast<long>(at == 0 ? 0 : at - 1));
    touch();
    return DeleteMacroResult::Deleted;
}

MacroCommit MacroEditor::commit(StoreContents& working) {
    MacroCommit result;
    std::vector<MacroRecord> stored;
    try {
        stored = macros_;
    } catch (const std::bad_alloc&) {
        return result;
    }
    for (auto& macro : stored) {
        macro.newFlag = 0;
    }

    {
        auto entries = working.image->entries();
        for (std::size_t slot = 0; slot < entries.size(); ++slot) {
            KeyAssignment& entry = entries[slot];
            if (entry.kind != AssignmentKind::Macro) {
                continue;
            }
            if (entry.value == 0 && !macros_.empty()) {
                entry.value = macros_.front().number;
                result.keysRepaired = true;
                continue;
            }
            const auto it = std::find_if(macros_.begin(), macros_.end(),
                                         [&](const auto& m) { return m.number == entry.value; });
            // A key can only refer to a macro that was stored before; one
            // created since loading that took over the number is a stranger.
            if (entry.value == 0 || it == macros_.end() || it->newFlag != 0) {
                resetToDefault(entry, slot % AssignmentImage::kEntriesPerBlock);
                result.keysMadeDefault.push_back(slot);
                result.keysRepaired = true;
            }
        }
        result.macrosChanged = working.macros != stored;
        working.macros = std::move(stored);
    }
    // The macros are stored now; they are no longer the dialog's own.
    for (auto& macro : macros_) {
        macro.newFlag = 0;
    }
    result.committed = true;
    return result;
}

}  // namespace keyloom::editors
