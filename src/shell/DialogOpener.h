#pragma once
// The main window's dialogs: the key assignment dialog, the profile manager
// and the firmware update (each created at its first opening and reused),
// the About box, and the file dialogs of Restore and Backup. It hooks each
// dialog to the core and the keyboard queue, and closes them when the
// keyboard goes away.

#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "core/KeyloomCore.h"
#include "core/window/Prompter.h"
#include "editors/ProfileManagerState.h"
#include "editors/qt/CKeyloom_DlgProfile.h"
#include "editors/qt/CKeyloom_DlgUpdate.h"
#include "editors/qt/Keyloom_DlgComposite.h"
#include "platform/registry/Registry.h"
#include "shell/CAboutDlg.h"
#include "storage/AppPaths.h"

class QWidget;

namespace keyloom::shell {

enum class FileDialogKind { Open, Save };
// Answers the file dialogs instead of the desktop's (tests); empty: cancelled.
using FileChooser = std::function<std::string(FileDialogKind)>;

struct DialogOpenerSetup {
    QWidget* window = nullptr;  // the dialogs' parent and the About box's anchor
    AppPaths paths;
    std::shared_ptr<registry::Registry> registry;
    KeyloomCore* core = nullptr;
    window::Prompter* prompts = nullptr;
    window::MainView* view = nullptr;
    // Queues keyboard work with `done` to follow on the window thread; false
    // when refused (other work of the window's runs).
    std::function<bool(std::function<void()> work, std::function<void()> done)> runKeyboardWork;
    // Tells the user that keyboard or file work succeeded.
    std::function<void(const std::string& text)> confirm;
    std::function<void()> openHelp;
    std::function<void(const QString& address)> openLink;
    // The key dialog's Apply has ended: the key view shows the new keys.
    std::function<void()> keysApplied;
};

class DialogOpener {
public:
    explicit DialogOpener(DialogOpenerSetup setup);
    ~DialogOpener();
    DialogOpener(const DialogOpener&) = delete;
    DialogOpener& operator=(const DialogOpener&) = delete;

    // Created when first asked for.
    editors::qt::Keyloom_DlgComposite& keyDialog();
    editors::qt::CKeyloom_DlgProfile& profileManager();
    editors::qt::CKeyloom_DlgUpdate& firmwareUpdate();
    AboutBox& aboutBox() { return about_; }
    // nullptr until the key dialog was first opened.
    editors::qt::Keyloom_DlgComposite* existingKeyDialog() const { return keyDialog_.get(); }

    void setFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }
    // The profile file for Restore (Open) or Backup (Save); empty when cancelled.
    std::string chooseFile(FileDialogKind kind);

    // Window thread: a profile switch made elsewhere ticks the open manager's row.
    void selectProfileManagerRow(int profile);
    // The keyboard went away: the About box, the key dialog, the manager and
    // the update close.
    void keyboardGone();
    // The program ends: the windows that are not modal close.
    void closeOnShutdown();

private:
    // The profile manager's Apply: the keyboard part, off the window thread.
    // `backupFile`: the before-restore copy of a file row that was written.
    void applyProfilePlan(const editors::ProfileApplyPlan& plan, std::string& backupFile);

    DialogOpenerSetup setup_;
    FileChooser fileChooser_;
    AboutBox about_;
    std::unique_ptr<editors::qt::CKeyloom_DlgProfile> profileDialog_;
    std::unique_ptr<editors::qt::CKeyloom_DlgUpdate> updateDialog_;
    // Last, so it goes first: its Apply handler reaches the window.
    std::unique_ptr<editors::qt::Keyloom_DlgComposite> keyDialog_;
};

}  // namespace keyloom::shell
