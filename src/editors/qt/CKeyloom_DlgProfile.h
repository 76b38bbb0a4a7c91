#pragma once
// The profile manager: the list of profile files with the three on-board
// profiles first, Add (a new empty profile file), Load (an existing file),
// Delete, and Apply, which stores the list and makes the ticked profile the
// keyboard's active one, or, for a ticked file, writes the file to the
// keyboard once the user agreed. A modal dialog, created once with the main
// window and reused; each opening starts from the three on-board profiles'
// rows and the files the last Apply stored. Whether it is open and holds
// unapplied changes it tells its owner, which keeps them in the core.

#include <QPixmap>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "controls/CBaseDialog.h"
#include "controls/CSkinButton.h"
#include "core/window/Prompter.h"
#include "editors/ProfileManagerState.h"
#include "editors/qt/CKeyloom_DlgSkin.h"
#include "platform/registry/Registry.h"

class QLabel;
class QTableWidget;

namespace keyloom::editors::qt {

namespace profile_dialog {
inline constexpr int kList = 1007;
inline constexpr int kAdd = 1010;
inline constexpr int kLoad = 1008;
inline constexpr int kDelete = 1011;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kApply = 1012;
inline constexpr int kClose = 1124;  // the close box of the title bar
}  // namespace profile_dialog

enum class ProfileFileDialog { Add, Load };

struct ProfileDialogSetup {
    std::string skinFile;    // "Profile.ini"
    std::string skinFolder;  // '/' at the end
    std::string dataFolder;  // no '/' at the end
    std::string slotFile;
    std::shared_ptr<registry::Registry> registry;
    window::Prompter* prompts = nullptr;
    // The keyboard's active profile (-1 when not known).
    std::function<int()> activeProfile;
    // The file chooser: `proposed` is where it starts; empty when cancelled.
    std::function<std::string(ProfileFileDialog kind, const std::string& proposed)> chooseFile;
    // Runs Apply's keyboard part; `done` follows on the window thread.
    // Empty: nothing is asked of the keyboard.
    std::function<void(const ProfileApplyPlan& plan, std::function<void()> done)> applyToKeyboard;
    // Told on the window thread whenever the manager opens, closes or its
    // unapplied changes come or go (the core keeps them for profile switches).
    std::function<void(bool open, bool unapplied)> editorStateChanged;
};

class CKeyloom_DlgProfile : public controls::CBaseDialog {
    Q_OBJECT

public:
    explicit CKeyloom_DlgProfile(ProfileDialogSetup setup, QWidget* parent = nullptr);
    ~CKeyloom_DlgProfile() override;

    // run() and openWithoutWaiting() refuse, with a message, when the
    // dialog's pictures are missing.
    // Closes as Cancel does (the keyboard went away).
    void closeAsCancel();

    // A click on the control with this id (profile_dialog::...).
    void runCommand(int controlId);
    // Selects a row of the list as the user would (-1: none).
    void selectRow(int row);
    // Ticks row `row` as a click on its box would.
    void tickRow(int row);
    // Whether the list shows row `row` ticked.
    bool isTicked(int row) const;

    const ProfileManagerState& state() const { return state_; }
    controls::CSkinButton* button(int controlId) const;
    QTableWidget& list() const { return *list_; }
    // True while Apply waits for the keyboard.
    bool applying() const { return applying_; }

    // Window thread: a profile switch made elsewhere ticks row `profile` of
    // the open manager, which then shows no unapplied changes.
    void selectProfileRow(int profile);

protected:
    bool prepareToOpen() override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void languageTexts();
    void fillList();
    void refreshTicks();
    void stateChanged();
    void add();
    void load();
    void remove();
    void apply(bool closeAfter);
    // Asks whether the file may replace the keyboard's profiles and macros.
    bool confirmReplacingKeyboard(const std::string& file);
    void toggleTick(int row);

    ProfileDialogSetup setup_;
    ProfileManagerState state_;
    bool applying_ = false;

    std::unique_ptr<QLabel> caption_;
    std::unique_ptr<QTableWidget> list_;
};

}  // namespace keyloom::editors::qt
