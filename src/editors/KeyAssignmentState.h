#pragma once
// The key assignment dialog without its window: which entry it edits, the
// tab (mode) being edited, the captured key, the media, function and mouse
// choices, the macro tab (editor and recorder), Apply and Close. The dialog
// shows what this state says and hands it the user's actions and the key
// events of its hooks.
//
// The dialog edits one entry of one profile block of the working store; the
// store is read at opening and written by Apply under its lock.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "editors/KeyCapture.h"
#include "editors/MacroEditor.h"
#include "editors/MacroRecorder.h"
#include "model/ConfigurationStore.h"
#include "model/EditTransaction.h"
#include "model/KeyAssignment.h"
#include "model/KeyMatrix.h"

namespace keyloom::editors {

// What the main window knows when a key button is clicked.
struct KeyButtonContext {
    int activeProfile = -1;      // 0-2; anything else and the dialog does not open
    bool keyToggleMode = false;  // flip the key's toggle flag instead of editing
    bool secondBank = false;     // the G buttons show the extra keys' second bank
    // The keyboard's default matrix (nullptr: not known). A key it does not
    // carry (the G keys of a keyboard without them) opens the dialog for
    // macros only, and Apply assigns nothing to it.
    const KeyMatrix* defaults = nullptr;
};

// Whether the keyboard whose default matrix is `defaults` has the key of
// entry `entry`. Before the keyboard told its matrix (all zero) every key
// counts as present.
bool keyboardHasEntry(const KeyMatrix& defaults, std::size_t entry);

enum class OpenOutcome {
    NotAKeyButton,    // the id names no key: nothing happens
    NoActiveProfile,  // the active profile is not known: nothing to edit
    Toggled,          // the toggle flag was flipped; the dialog is not shown
    ShowDialog,       // run the dialog (which calls initialise())
};

struct OpenResult {
    OpenOutcome outcome = OpenOutcome::NotAKeyButton;
    bool toggleOn = false;  // Toggled: the entry's new toggle state
};

// What the Key view assigns: the captured key, a mouse button or wheel step
// from the mouse list, nothing at all (the key is disabled), or stopping the
// macro that is playing.
enum class KeyChoice { Keyboard, Mouse, Disabled, StopMacro };

// The four tab views. Every mode other than Macro, Media and Function shows
// the Key view (Default, Disabled, Key and kinds the dialog cannot edit).
enum class TabView { Key, Macro, Media, Function };

struct ApplyResult {
    MacroCommit macros;
    KeyAssignment written;
    // The key button shows the assigned look (anything but Default).
    bool assignedLook = false;
};

class KeyAssignmentState {
public:
    static constexpr int kMacroOnlyButton = 1143;  // G9

    // Apply's edit of the store is told to `edits` (none: nobody is told).
    KeyAssignmentState(WorkingStore& store, MacroRecorder::Clock clock,
                       EditListener* edits = nullptr);
    // The recorder refers to the editor inside this object.
    KeyAssignmentState(const KeyAssignmentState&) = delete;
    KeyAssignmentState& operator=(const KeyAssignmentState&) = delete;

    // Chooses the entry for a key button; in key-toggle mode flips its toggle
    // flag instead (the main window then shows it and marks itself changed).
    OpenResult openForKeyButton(int buttonId, const KeyButtonContext& context);

    // The dialog's initialisation: loads the macro list, reads the entry and
    // shows its tab with its values. `recordDelaySetting` is the stored
    // setting (RecordDelaySetting.h), `macroNamePrefix` the language's
    // "MACRO_NEW_PREFIX".
    void initialise(std::u16string macroNamePrefix, bool recordDelaySetting);

    // Tab buttons and Clear.
    void pressKeyTab();
    void pressMacroTab();
    void pressMediaTab();
    void pressFunctionTab();
    void pressClear();

    void selectMediaRow(std::uint32_t row);
    void selectFunctionRow(std::uint32_t row);
    void selectMouseRow(std::uint32_t row);
    void selectKeyboardOption() { chooseKeyAction(KeyChoice::Keyboard); }
    void selectMouseOption() { chooseKeyAction(KeyChoice::Mouse); }
    // One of the Key view's choices (only in the Key view, not for a
    // macro-only key); keys are captured only with the keyboard choice.
    void chooseKeyAction(KeyChoice choice);

    // Key events of the dialog's two hooks: captured in the Key view,
    // recorded while recording, otherwise passed on.
    HookVerdict onThreadKeyEvent(const KeyEvent& event);
    HookVerdict onLowLevelKeyEvent(const LowLevelKeyEvent& event);
    // Whether the capture hooks should be installed now.
    bool captureHooksWanted() const { return open_ && view() == TabView::Key; }

    // A delay cell is about to be edited: recording stops first.
    void beginDelayEdit() { recorder_.stop(); }
    // The record-delay check box was clicked (the dialog stores the setting).
    void setRecordDelaySetting(bool on) { recorder_.setMeasuredDelays(on); }

    // Commits the macros and writes the assignment built from the tab.
    ApplyResult apply();
    // OK after Apply, Cancel, or the main window closing the dialog.
    void close();
    // The main window's close-if-open: true when the dialog was open and
    // has now been closed as by Cancel.
    bool closeIfOpen();

    MacroEditor& macros() { return macros_; }
    const MacroEditor& macros() const { return macros_; }
    MacroRecorder& recorder() { return recorder_; }

    // Opening values.
    std::uint16_t layer() const { return layer_; }
    std::size_t entryIndex() const { return entryIndex_; }
    int buttonId() const { return buttonId_; }
    std::size_t block() const { return block_; }
    bool macroOnly() const { return macroOnly_; }
    // Apply writes the key's entry (not for a key the keyboard lacks).
    bool assignsKey() const { return keyPresent_; }
    std::uint32_t initialValue() const { return initialValue_; }
    std::uint16_t initialParameter() const { return initialParameter_; }
    int openCounter() const { return openCounter_; }

    // What the dialog shows.
    AssignmentKind mode() const { return mode_; }
    TabView view() const;
    // The tab button shown pressed (none in the Key view unless the mode is Key).
    std::optional<TabView> pressedTab() const;
    KeyCode capturedKey() const { return capturedKey_; }
    // The key named in the capture box; nothing when the box is empty.
    std::optional<KeyCode> captureBoxKey() const { return captureBox_; }
    bool keyboardOption() const { return choice_ == KeyChoice::Keyboard; }
    KeyChoice keyChoice() const { return choice_; }
    std::uint32_t mediaRow() const { return mediaRow_; }
    std::uint32_t functionRow() const { return functionRow_; }
    std::uint32_t mouseRow() const { return mouseRow_; }
    bool changed() const { return changed_ || macros_.changed(); }

private:
    void showTab(bool onOpening);
    void switchTo(AssignmentKind mode);
    void capture(KeyCode key);
    void markUnchanged();
    KeyAssignment buildAssignment(const KeyAssignment& current) const;
    AssignmentKind modeOfChoice() const;

    WorkingStore& store_;
    EditListener* edits_;
    MacroEditor macros_;
    MacroRecorder recorder_;

    std::uint16_t layer_ = 0;
    std::size_t entryIndex_ = 0;
    int buttonId_ = 0;
    std::size_t block_ = 0;
    bool macroOnly_ = false;
    bool keyPresent_ = true;
    AssignmentKind mode_ = AssignmentKind::Default;
    KeyCode capturedKey_ = 0;
    std::optional<KeyCode> captureBox_;
    std::uint32_t initialValue_ = 0;
    std::uint16_t initialParameter_ = 0;
    AssignmentKind initialKind_ = AssignmentKind::Default;
    KeyChoice choice_ = KeyChoice::Keyboard;
    std::uint32_t mediaRow_ = 0;
    std::uint32_t functionRow_ = 0;
    std::uint32_t mouseRow_ = 0;
    bool firstMacroVisit_ = true;
    bool changed_ = false;
    bool open_ = false;
    int openCounter_ = 0;
};

}  // namespace keyloom::editors
