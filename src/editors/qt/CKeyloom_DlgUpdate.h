#pragma once
// The firmware update dialog: Open chooses the updater program (from the
// "Package" folder beside the program), Update saves the settings to the
// data folder, switches the keyboard into its boot loader and starts the
// updater, Cancel update forgets the updater, Backup saves the settings to a
// file of the user's choice. Modal; one instance lives with the program, and
// the chosen updater outlives each opening.

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "controls/CBaseDialog.h"
#include "controls/CSkinButton.h"
#include "core/window/Prompter.h"
#include "editors/FirmwareUpdateState.h"
#include "editors/qt/CKeyloom_DlgSkin.h"

class QComboBox;
class QLabel;
class QWidget;

namespace keyloom::editors::qt {

namespace update_dialog {
inline constexpr int kUpdate = 1147;
inline constexpr int kCancelUpdate = 1180;
inline constexpr int kOpen = 1181;
inline constexpr int kBackup = 1182;
inline constexpr int kPathField = 1178;
inline constexpr int kStatus = 1179;
inline constexpr int kClose = 1124;  // the close box of the title bar
}  // namespace update_dialog

enum class UpdateFileDialog { Open, Backup };

// The desktop's file dialog for Open (any program) and Backup (a profile
// file, asking before overwriting), starting in `start`; empty when cancelled.
std::string askForUpdateFile(QWidget* parent, UpdateFileDialog kind, const std::string& start);

struct UpdateDialogSetup {
    std::string skinFile;       // "UpdateDlg.ini"
    std::string skinFolder;     // '/' at the end
    std::string packageFolder;  // where Open starts, '/' at the end
    std::string dataFolder;     // the before-update backup goes here; no '/' at the end
    window::Prompter* prompts = nullptr;
    // The file chooser: `start` is the folder it starts in; empty when
    // cancelled. Empty: askForUpdateFile.
    std::function<std::string(UpdateFileDialog kind, const std::string& start)> chooseFile;
    // Saves the working store to a profile file; true when written.
    std::function<bool(const std::string& path)> saveWorkingStore;
    std::function<bool()> keyboardConnected;
    // The boot-mode report; the protocol result (1 = sent).
    std::function<DeviceResult()> enterBootMode;
    // Starts the updater; empty: started detached as a program of its own.
    std::function<bool(const std::string& path)> startUpdater;
};

class CKeyloom_DlgUpdate : public controls::CBaseDialog {
    Q_OBJECT

public:
    explicit CKeyloom_DlgUpdate(UpdateDialogSetup setup, QWidget* parent = nullptr);
    ~CKeyloom_DlgUpdate() override;

    // run() and openWithoutWaiting() refuse, with a message, when the
    // dialog's pictures are missing.
    // Closes as the close box does (the keyboard went away).
    void closeDialog();

    // A click on the control with this id (update_dialog::...).
    void runCommand(int controlId);

    const std::string& updaterPath() const { return state_.updaterPath(); }
    controls::CSkinButton* button(int controlId) const;
    QComboBox& pathField() const { return *pathField_; }

protected:
    bool prepareToOpen() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void languageTexts();
    void showUpdater();
    std::string chooseFile(UpdateFileDialog kind, const std::string& start);
    void chooseUpdater();
    void startUpdate();
    void backup();
    void tellMessage(const FirmwareUpdateMessage& message, window::MessageIcon icon);

    UpdateDialogSetup setup_;
    FirmwareUpdateState state_;

    std::unique_ptr<QLabel> caption_;
    std::unique_ptr<QLabel> intro_;
    std::unique_ptr<QLabel> status_;
    std::unique_ptr<QComboBox> pathField_;
};

}  // namespace keyloom::editors::qt
