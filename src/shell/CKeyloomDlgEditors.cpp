// The main window's editor dialogs: the profile manager (command 1005) and
// the firmware update (command 32780).

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <filesystem>

#include "controls/FileDialogLook.h"
#include "platform/text/SafeFormat.h"
#include "platform/window/WindowThread.h"
#include "shell/CKeyloomDlg.h"
#include "storage/Language.h"

namespace keyloom::shell {

namespace qt = editors::qt;

namespace {

// The profile file dialog, starting at `proposed`.
std::string askForProfileFile(QWidget* parent, qt::ProfileFileDialog kind,
                              const std::string& proposed) {
    QFileDialog dialog(parent);
    controls::prepareFileDialog(dialog);
    dialog.setNameFilters(
        {QStringLiteral("Keyloom profiles (*.klm)"), QStringLiteral("All files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("klm"));
    const QString start = QFile::decodeName(proposed.c_str());
    if (kind == qt::ProfileFileDialog::Add) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);  // asks before overwriting
        dialog.selectFile(start);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDirectory(QFileInfo(start).path());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

}  // namespace

qt::CKeyloom_DlgProfile& CKeyloomDlg::profileManager() {
    if (profileDialog_)
        return *profileDialog_;
    qt::ProfileDialogSetup setup;
    setup.skinFile = setup_.paths.profileSkinFile;
    setup.skinFolder = setup_.paths.skinFolder;
    setup.dataFolder = setup_.paths.dataFolder;
    setup.slotFile = core_->slotFile();
    setup.registry = setup_.registry;
    setup.prompts = port_.get();
    setup.activeProfile = [this] { return core_->state().connection.activeProfile.load(); };
    setup.chooseFile = [this](qt::ProfileFileDialog kind, const std::string& proposed) {
        if (fileChooser_)
            return fileChooser_(kind == qt::ProfileFileDialog::Add ? FileDialogKind::Save
                                                                   : FileDialogKind::Open);
        return askForProfileFile(profileDialog_.get(), kind, proposed);
    };
    setup.applyToKeyboard = [this](const editors::ProfileApplyPlan& plan,
                                   std::function<void()> done) {
        // A file row's restore names its before-restore copy, as Restore does.
        auto backup = std::make_shared<std::string>();
        auto finished = [this, done, backup] {
            port_->setProfileButtons(core_->state().connection.activeProfile.load());
            done();
            if (!backup->empty())
                confirm(text::formatString(lookupText("KEYLOOM_RESTORED"),
                                           std::filesystem::path(*backup).filename().string()));
        };
        if (!runKeyboardWork([this, plan, backup] { applyProfilePlan(plan, *backup); }, finished))
            done();
    };
    setup.editorStateChanged = [this](bool open, bool unapplied) {
        core_->state().editors.setProfileManager(open, unapplied);
    };
    profileDialog_ = std::make_unique<qt::CKeyloom_DlgProfile>(std::move(setup), this);
    return *profileDialog_;
}

void CKeyloomDlg::selectProfileManagerRow(int profile) {
    window::expectWindowThread("CKeyloomDlg::selectProfileManagerRow");
    if (profileDialog_)
        profileDialog_->selectProfileRow(profile);
}

void CKeyloomDlg::applyProfilePlan(const editors::ProfileApplyPlan& plan, std::string& backupFile) {
    using Kind = editors::ProfileApplyPlan::Kind;
    // Unapplied key changes are settled first (written or dropped, as the
    // user says), as at every profile switch; a negative number switches
    // nothing.
    core_->switchActiveProfile(plan.kind == Kind::SetProfile ? plan.profile : -1);
    if (plan.kind == Kind::RestoreFile) {
        std::string saved;
        if (core_->restoreFromFile(plan.file, &saved) == RestoreResult::Written)
            backupFile = saved;
    } else if (core_->state().connection.state.load() == 1 && !core_->modified().isModified()) {
        // Re-read what the keyboard now holds. Not without a keyboard (the
        // store would be emptied) and not while edits are still unapplied
        // (they could not be written and would be lost).
        core_->refreshFromKeyboard();
    }
    port_->profileMenuChanged();
}

void CKeyloomDlg::openProfileManager() {
    profileManager().run();
}

qt::CKeyloom_DlgUpdate& CKeyloomDlg::firmwareUpdate() {
    if (updateDialog_)
        return *updateDialog_;
    qt::UpdateDialogSetup setup;
    setup.skinFile = setup_.paths.updateSkinFile;
    setup.skinFolder = setup_.paths.skinFolder;
    setup.packageFolder = setup_.paths.firmwarePackageFolder;
    setup.dataFolder = setup_.paths.dataFolder;
    setup.prompts = port_.get();
    setup.chooseFile = [this](qt::UpdateFileDialog kind, const std::string& start) {
        if (fileChooser_)
            return fileChooser_(kind == qt::UpdateFileDialog::Open ? FileDialogKind::Open
                                                                   : FileDialogKind::Save);
        return qt::askForUpdateFile(updateDialog_.get(), kind, start);
    };
    setup.saveWorkingStore = [this](const std::string& path) { return core_->backupToFile(path); };
    setup.keyboardConnected = [this] { return core_->link().isConnected(); };
    setup.enterBootMode = [this] { return core_->link().EnterBootMode(); };
    updateDialog_ = std::make_unique<qt::CKeyloom_DlgUpdate>(std::move(setup), this);
    return *updateDialog_;
}

void CKeyloomDlg::openFirmwareUpdate() {
    firmwareUpdate().run();
}

}  // namespace keyloom::shell
