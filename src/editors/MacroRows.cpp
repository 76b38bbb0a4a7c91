// The selected macro's event rows: selection, deleting, clearing and moving
// rows, cell edits, the play count and events inserted by recording.

#include <algorithm>
#include <cstdint>

#include "editors/MacroEditor.h"

namespace keyloom::editors {

namespace {

struct ParsedNumber {
    bool hasDigits = false;
    long long value = 0;  // saturated far beyond every limit used here
};

// A decimal number as an edit field holds it: blanks, an optional sign,
// digits up to the first other character.
ParsedNumber parseDecimal(std::string_view text) {
    constexpr long long kSaturation = 1'000'000'000'000LL;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i++] == '-';
    }
    ParsedNumber parsed;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        parsed.hasDigits = true;
        parsed.value = std::min(parsed.value * 10 + (text[i] - '0'), kSaturation);
    }
    if (negative) {
        parsed.value = -parsed.value;
    }
    return parsed;
}

}  // namespace

std::span<const MacroAction> MacroEditor::rows() const {
    const MacroRecord* record = selectedRecord();
    return record ? std::span<const MacroAction>(record->actions) : std::span<const MacroAction>();
}

void MacroEditor::selectRow(long row) {
    const auto count = static_cast<long>(rows().size());
    selectedRow_ = row >= 0 && row < count ? row : kNoSelection;
}

bool MacroEditor::deleteSelectedRow() {
    auto* actions = selectedActions();
    if (actions == nullptr || selectedRow_ < 0 ||
        static_cast<std::size_t>(selectedRow_) >= actions->size()) {
        return false;
    }
    actions->erase(actions->begin() + selectedRow_);
    selectedRow_ = kNoSelection;
    touch();
    return true;
}

bool MacroEditor::clearRows(EditorPrompts& prompts) {
    auto* actions = selectedActions();
    if (actions == nullptr || actions->empty() || !prompts.askYesNo("MACRO_ACTION_CLEAR_CONFIRM")) {
        return false;
    }
    actions->clear();
    selectedRow_ = kNoSelection;
    touch();
    return true;
}

bool MacroEditor::moveSelectedRow(RowMove move) {
    auto* actions = selectedActions();
    if (actions == nullptr || selectedRow_ < 0 ||
        static_cast<std::size_t>(selectedRow_) >= actions->size()) {
        return false;
    }
    const auto from = static_cast<std::size_t>(selectedRow_);
    const std::size_t last = actions->size() - 1;
    std::size_t to = from;
    switch (move) {
        case RowMove::ToTop:
            to = 0;
            break;
        case RowMove::Up:
            to = from == 0 ? 0 : from - 1;
            break;
        case RowMove::Down:
            to = std::min(from + 1, last);
            break;
        case RowMove::ToBottom:
            to = last;
            break;
    }
    if (to == from) {
        return false;
    }
    auto first = actions->begin();
    if (to < from) {
        std::rotate(first + static_cast<long>(to), first + static_cast<long>(from),
                    first + static_cast<long>(from) + 1);
    } else {
        std::rotate(first + static_cast<long>(from), first + static_cast<long>(from) + 1,
                    first + static_cast<long>(to) + 1);
    }
    selectedRow_ = static_cast<long>(to);
    touch();
    return true;
}

int MacroEditor::setPlayCountText(std::string_view text) {
    const long long typed = parseDecimal(text).value;
    const int count = static_cast<int>(std::clamp<long long>(typed, kMinPlayCount, kMaxPlayCount));
    if (selectedRecord() != nullptr) {
        macros_[static_cast<std::size_t>(selected_)].playCount = static_cast<std::uint8_t>(count);
    }
    touch();
    return count;
}

int MacroEditor::playCount() const {
    const MacroRecord* record = selectedRecord();
    return record ? std::clamp<int>(record->playCount, kMinPlayCount, kMaxPlayCount)
                  : kMinPlayCount;
}

bool MacroEditor::setRowKeyFromList(std::size_t row, std::uint16_t listPosition) {
    auto* actions = selectedActions();
    if (actions == nullptr || row >= actions->size() || listPosition > kLastChoiceListPosition) {
        return false;
    }
    MacroAction& action = (*actions)[row];
    const KeyCode key = KeyCodeAtListPosition(listPosition);
    if (key == 0 || ListPositionOf(action.keyCode) == listPosition) {
        return false;
    }
    action.keyCode = key;
    touch();
    return true;
}

bool MacroEditor::setRowState(std::size_t row, std::uint16_t state) {
    auto* actions = selectedActions();
    if (actions == nullptr || row >= actions->size() || state > MacroAction::kReleased ||
        (*actions)[row].state == state) {
        return false;
    }
    (*actions)[row].state = state;
    touch();
    return true;
}

std::optional<std::uint32_t> MacroEditor::setRowDelayText(std::size_t row, std::string_view text,
                                                          EditorPrompts& prompts) {
    auto* actions = selectedActions();
    const ParsedNumber typed = parseDecimal(text);
    if (actions == nullptr || row >= actions->size() || !typed.hasDigits) {
        return std::nullopt;
    }
    long long delay = typed.value;
    if (delay < 0 || delay > kMaxDelayMs) {
        prompts.tell("MACRO_ACTION_ERR_DELAY_MAX", kMaxDelayMs);
        delay = kMaxDelayMs;
    }
    const auto stored = static_cast<std::uint32_t>(delay) / kDelayStepMs * kDelayStepMs;
    (*actions)[row].delayMs = stored;
    touch();
    return stored;
}

bool MacroEditor::insertEvent(KeyCode key, std::uint16_t state, std::uint32_t delayMs) {
    auto* actions = selectedActions();
    if (actions == nullptr || actions->size() >= MacroRecord::kMaxActions) {
        return false;
    }
    const std::size_t at =
        selectedRow_ >= 0 && static_cast<std::size_t>(selectedRow_) < actions->size()
            ? static_cast<std::size_t>(selectedRow_) + 1
            : actions->size();
    MacroAction action;
    action.keyCode = key;
    action.state = state > MacroAction::kReleased ? MacroAction::kPressed : state;
    // Each row's delay is the pause after it: the pause before this event
    // belongs to the row before, whose old pause now follows the new row.
    if (at > 0) {
        MacroAction& before = (*actions)[at - 1];
        action.delayMs = before.delayMs;
        before.delayMs = delayMs;
    }
    actions->insert(actions->begin() + static_cast<long>(at), action);
    selectedRow_ = static_cast<long>(at);
    touch();
    return true;
}

bool MacroEditor::removeInsertedEvent(std::size_t row) {
    auto* actions = selectedActions();
    if (actions == nullptr || row >= actions->size()) {
        return false;
    }
    // The inverse of insertEvent: the pause the row took over goes back to
    // the row before it.
    if (row > 0) {
        (*actions)[row - 1].delayMs = (*actions)[row].delayMs;
    }
    actions->erase(actions->begin() + static_cast<long>(row));
    selectedRow_ = row > 0 ? static_cast<long>(row) - 1 : kNoSelection;
    touch();
    return true;
}

}  // namespace keyloom::editors
