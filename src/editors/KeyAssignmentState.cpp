#include "editors/KeyAssignmentState.h"

#include <algorithm>

#include "editors/EntryDefaults.h"
#include "model/KeyMatrixCodec.h"
#include "model/KeyViewKeys.h"
#include "model/MediaTable.h"
#include "model/MouseTable.h"

namespace keyloom::editors {

namespace {

std::optional<std::size_t> entryOfButton(int buttonId, bool secondBank) {
    const auto g = std::find(kGButtonControls.begin(), kGButtonControls.end(), buttonId);
    if (g != kGButtonControls.end()) {
        const auto j = static_cast<std::size_t>(g - kGButtonControls.begin());
        return AssignmentImage::kFirstExtraKeyEntry + j +
               (secondBank ? AssignmentImage::kExtraKeysPerBank : 0);
    }
    for (const KeyViewKey& key : kKeyViewKeys) {
        if (key.controlId == buttonId) {
            return static_cast<std::size_t>(KeyIndexOf(key.scanCode));
        }
    }
    return std::nullopt;
}

std::optional<std::uint32_t> mouseRowOf(std::uint32_t keyCode) {
    for (std::size_t row = 0; row < MouseTable.size(); ++row) {
        if (MouseTable[row].keyCode == keyCode) {
            return static_cast<std::uint32_t>(row);
        }
    }
    return std::nullopt;
}

}  // namespace

bool keyboardHasEntry(const KeyMatrix& defaults, std::size_t entry) {
    const bool known = std::any_of(defaults.bytes.begin(), defaults.bytes.end(),
                                   [](std::uint8_t byte) { return byte != 0; });
    return !known || matrixCarriesEntry(defaults, entry);
}

KeyAssignmentState::KeyAssignmentState(WorkingStore& store, MacroRecorder::Clock clock,
                                       EditListener* edits)
    : store_(store), edits_(edits), recorder_(macros_, std::move(clock)) {}

OpenResult KeyAssignmentState::openForKeyButton(int buttonId, const KeyButtonContext& context) {
    const auto entry = entryOfButton(buttonId, context.secondBank);
    if (!entry) {
        return {OpenOutcome::NotAKeyButton, false};
    }
    // An unknown active profile would aim the edit at no block at all.
    if (context.activeProfile < 0 ||
        static_cast<std::size_t>(context.activeProfile) >= AssignmentImage::kProfileBlockCount) {
        return {OpenOutcome::NoActiveProfile, false};
    }
    // A key the keyboard lacks can only open the macro editor (the Macros
    // button does so through G9 on every keyboard).
    keyPresent_ = context.defaults == nullptr || keyboardHasEntry(*context.defaults, *entry);
    macroOnly_ = buttonId == kMacroOnlyButton || !keyPresent_;
    layer_ = 0;
    entryIndex_ = *entry;
    buttonId_ = buttonId;
    block_ = static_cast<std::size_t>(context.activeProfile) + layer_;

    if (context.keyToggleMode) {
        auto working = store_.lock();
        KeyAssignment& assignment = working->image->block(block_)[entryIndex_];
        assignment.toggle = assignment.toggle == 0 ? 1 : 0;
        return {OpenOutcome::Toggled, assignment.toggle != 0};
    }
    return {OpenOutcome::ShowDialog, false};
}

void KeyAssignmentState::initialise(std::u16string macroNamePrefix, bool recordDelaySetting) {
    ++openCounter_;
    open_ = true;
    recorder_.stop();
    recorder_.setMeasuredDelays(recordDelaySetting);
    macros_.setNamePrefix(std::move(macroNamePrefix));
    macros_.load(store_);
    mediaRow_ = 0;
    functionRow_ = 0;
    mouseRow_ = 0;
    choice_ = KeyChoice::Keyboard;
    captureBox_.reset();
    firstMacroVisit_ = true;

    KeyAssignment entry;
    {
        auto working = store_.lock();
        entry = working->image->block(block_)[entryIndex_];
    }
    initialKind_ = entry.kind;
    mode_ = entry.kind;
    initialValue_ = entry.value;
    initialParameter_ = entry.parameter;
    if (macroOnly_) {
        mode_ = AssignmentKind::Macro;
    }
    capturedKey_ = 0;
    showTab(true);
    markUnchanged();
}

TabView KeyAssignmentState::view() const {
    switch (mode_) {
        case AssignmentKind::Macro:
            return TabView::Macro;
        case AssignmentKind::Media:
            return TabView::Media;
        case AssignmentKind::Function:
            return TabView::Function;
        default:
            return TabView::Key;
    }
}

std::optional<TabView> KeyAssignmentState::pressedTab() const {
    // The Key view shows its tab pressed whatever the key holds (also a key
    // left at its default), so the dialog never opens with no tab lit; only
    // a program or text, which no tab edits, leaves every tab unlit.
    const TabView shown = view();
    if (shown == TabView::Key && carriesText(mode_)) {
        return std::nullopt;
    }
    return shown;
}

void KeyAssignmentState::showTab(bool onOpening) {
    switch (view()) {
        case TabView::Macro:
            if (onOpening) {
                macros_.selectMacroNumbered(initialValue_);
            } else if (firstMacroVisit_) {
                firstMacroVisit_ = false;
                // Apply needs a macro to name; the first one stands in when
                // the key had none or nothing is selected yet.
                if (initialValue_ == 0 || macros_.selectedMacro() == kNoSelection) {
                    macros_.selectMacro(0);
                }
            }
            break;
        case TabView::Media:
            if (onOpening) {
                mediaRow_ = initialValue_ < MediaTable.size() ? initialValue_ : 0;
            }
            break;
        case TabView::Function:
            if (onOpening) {
                functionRow_ = initialValue_ < kFunctionCount ? initialValue_ : 0;
            }
            break;
        case TabView::Key:
            if (!onOpening) {
                break;
            }
            choice_ = KeyChoice::Keyboard;
            if (mode_ == AssignmentKind::Disabled) {
                choice_ = KeyChoice::Disabled;
            } else if (mode_ == AssignmentKind::StopMacro) {
                choice_ = KeyChoice::StopMacro;
            }
            // Only a Key entry's value is a key; other kinds may carry
            // leftovers there, which must not become the captured key.
            if (mode_ != AssignmentKind::Key || initialValue_ == 0 || initialValue_ > 0xFFFF) {
                break;
            }
            capturedKey_ = static_cast<KeyCode>(initialValue_);
            if (auto row = mouseRowOf(initialValue_)) {
                mouseRow_ = *row;
                choice_ = KeyChoice::Mouse;
            } else {
                captureBox_ = capturedKey_;
            }
            break;
    }
}

void KeyAssignmentState::switchTo(AssignmentKind mode) {
    if (mode_ == AssignmentKind::Macro && mode != AssignmentKind::Macro) {
        // The recording controls go out of sight with the Macro tab.
        recorder_.stop();
    }
    mode_ = mode;
    showTab(false);
    changed_ = true;
}

AssignmentKind KeyAssignmentState::modeOfChoice() const {
    switch (choice_) {
        case KeyChoice::Disabled:
            return AssignmentKind::Disabled;
        case KeyChoice::StopMacro:
            return AssignmentKind::StopMacro;
        case KeyChoice::Mouse:
            return AssignmentKind::Key;
        case KeyChoice::Keyboard:
            break;
    }
    return captureBox_ ? AssignmentKind::Key : AssignmentKind::Default;
}

void KeyAssignmentState::pressKeyTab() {
    if (macroOnly_ || (view() == TabView::Key && !carriesText(mode_))) {
        return;
    }
    // Coming back to the Key view finds the choice made there before; a
    // program or text, which no tab edits, gives way to a key.
    switchTo(view() == TabView::Key ? AssignmentKind::Key : modeOfChoice());
}

void KeyAssignmentState::pressMacroTab() {
    if (mode_ != AssignmentKind::Macro) {
        switchTo(AssignmentKind::Macro);
    }
}

void KeyAssignmentState::pressMediaTab() {
    if (!macroOnly_ && mode_ != AssignmentKind::Media) {
        switchTo(AssignmentKind::Media);
    }
}

void KeyAssignmentState::pressFunctionTab() {
    if (!macroOnly_ && mode_ != AssignmentKind::Function) {
        switchTo(AssignmentKind::Function);
    }
}

void KeyAssignmentState::pressClear() {
    if (macroOnly_) {
        return;
    }
    pressKeyTab();
    if (mode_ == AssignmentKind::Key || mode_ == AssignmentKind::Disabled ||
        mode_ == AssignmentKind::StopMacro) {
        captureBox_.reset();
        capturedKey_ = 0;
        mode_ = AssignmentKind::Default;
        choice_ = KeyChoice::Keyboard;
        // A cleared key is a change Apply has to be able to write.
        changed_ = true;
    }
}

void KeyAssignmentState::selectMediaRow(std::uint32_t row) {
    if (row < MediaTable.size() && row != mediaRow_) {
        mediaRow_ = row;
        changed_ = true;
    }
}

void KeyAssignmentState::selectFunctionRow(std::uint32_t row) {
    if (row < kFunctionCount && row != functionRow_) {
        functionRow_ = row;
        changed_ = true;
    }
}

void KeyAssignmentState::selectMouseRow(std::uint32_t row) {
    if (row < MouseTable.size() && row != mouseRow_) {
        mouseRow_ = row;
        changed_ = true;
    }
}

void KeyAssignmentState::chooseKeyAction(KeyChoice choice) {
    if (macroOnly_ || view() != TabView::Key || choice == choice_) {
        return;
    }
    choice_ = choice;
    mode_ = modeOfChoice();
    changed_ = true;
}

void KeyAssignmentState::capture(KeyCode key) {
    captureBox_ = key;
    capturedKey_ = key;
    mode_ = AssignmentKind::Key;
    choice_ = KeyChoice::Keyboard;
    changed_ = true;
}

HookVerdict KeyAssignmentState::onThreadKeyEvent(const KeyEvent& event) {
    if (recorder_.recording()) {
        return recorder_.onThreadKeyEvent(event);
    }
    if (!captureHooksWanted()) {
        return HookVerdict::PassOn;
    }
    const CaptureDecision decision = captureFromThreadHook(event, keyboardOption());
    if (decision.captured != 0) {
        capture(decision.captured);
    }
    return decision.verdict;
}

HookVerdict KeyAssignmentState::onLowLevelKeyEvent(const LowLevelKeyEvent& event) {
    if (recorder_.recording()) {
        return recorder_.onLowLevelKeyEvent(event);
    }
    if (!captureHooksWanted()) {
        return HookVerdict::PassOn;
    }
    const CaptureDecision decision = captureFromLowLevelHook(event);
    // The Windows keys are kept from the desktop whatever is chosen, but
    // they become the key only with the keyboard choice: with another choice
    // shown, Apply would write something else than the box said.
    if (decision.captured != 0 && keyboardOption()) {
        capture(decision.captured);
    }
    return decision.verdict;
}

KeyAssignment KeyAssignmentState::buildAssignment(const KeyAssignment& current) const {
    KeyAssignment built = current;  // the toggle flag and reserved word stay
    built.kind = mode_;
    built.parameter = defaultParameterOf(entryIndex_);
    built.value = 0;
    switch (mode_) {
        case AssignmentKind::Key:
            if (choice_ == KeyChoice::Mouse) {
                built.value = MouseTable[mouseRow_].keyCode;
            } else if (const KeyCode key = captureBox_.value_or(0);
                       key == 0 || static_cast<std::size_t>(KeyIndexOf(key)) == entryIndex_) {
                // Only the key the box names is written: a mouse button the
                // key had before is not a key to keep.
                built.kind = AssignmentKind::Default;
            } else {
                built.value = key;
            }
            break;
        case AssignmentKind::Macro: {
            const auto list = macros_.macros();
            if (list.empty()) {
                built.kind = AssignmentKind::Default;
                break;
            }
            const MacroRecord* chosen = macros_.selectedRecord();
            built.value = (chosen ? *chosen : list.front()).number;
            built.parameter = static_cast<std::uint16_t>(macros_.playCount());
            break;
        }
        case AssignmentKind::Media:
            built.value = mediaRow_;
            break;
        case AssignmentKind::Function:
            built.value = functionRow_;
            break;
        default:
            // A program or text the dialog cannot edit stays as it was.
            if (carriesText(mode_) && mode_ == initialKind_) {
                return current;
            }
            break;
    }
    return built;
}

ApplyResult KeyAssignmentState::apply() {
    recorder_.stop();
    ApplyResult result;
    // The macros and the entry change in one edit, so that no other edit
    // lands between them and the write's scope is worked out once.
    EditTransaction working(store_, edits_, static_cast<int>(block_));
    result.macros = macros_.commit(*working);
    if (!keyPresent_) {
        // The macros are all there is to apply: an assignment to a key the
        // keyboard does not have would be stored but never reach it.
        result.written = working->image->block(block_)[entryIndex_];
        result.assignedLook = result.written.kind != AssignmentKind::Default;
        working.commit();
        markUnchanged();
        return result;
    }
    {
        KeyAssignment& entry = working->image->block(block_)[entryIndex_];
        const KeyAssignment built = buildAssignment(entry);
        if (!(carriesText(built.kind) && built == entry)) {
            working->texts.clearText(block_ * AssignmentImage::kEntriesPerBlock + entryIndex_);
        }
        entry = built;
        result.written = built;
    }
    working.commit();
    result.assignedLook = result.written.kind != AssignmentKind::Default;
    markUnchanged();
    return result;
}

void KeyAssignmentState::markUnchanged() {
    changed_ = false;
    macros_.markUnchanged();
}

void KeyAssignmentState::close() {
    recorder_.stop();
    macros_.close();
    markUnchanged();
    if (open_) {
        open_ = false;
        openCounter_ = std::max(0, openCounter_ - 1);
    }
}

bool KeyAssignmentState::closeIfOpen() {
    if (openCounter_ <= 0) {
        return false;
    }
    close();
    return true;
}

}  // namespace keyloom::editors
