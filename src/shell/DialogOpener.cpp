#include "shell/DialogOpener.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <filesystem>

#include "controls/FileDialogLook.h"
#include "platform/text/SafeFormat.h"
#include "platform/window/WindowThread.h"
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

AboutSetup aboutSetup(const DialogOpenerSetup& setup) {
    AboutSetup about;
    about.skinFolder = setup.paths.skinFolder;
    about.link = readAboutLink(setup.paths.mainSkinFile);
    about.openHelp = setup.openHelp;
    about.openUrl = setup.openLink;
    return about;
}

std::string restoredNote(const std::string& backupFile) {
    return text::formatString(lookupText("KEYLOOM_RESTORED"),
                              std::filesystem::path(backupFile).filename().string());
}

}  // namespace

DialogOpener::DialogOpener(DialogOpenerSetup setup)
    : setup_(std::move(setup)), about_(aboutSetup(setup_), setup_.window) {}

DialogOpener::~DialogOpener() = default;

std::string DialogOpener::chooseFile(FileDialogKind kind) {
    if (fileChooser_)
        return fileChooser_(kind);
    QFileDialog dialog(setup_.window);
    controls::prepareFileDialog(dialog);
    dialog.setNameFilters(
        {QStringLiteral("Keyloom profiles (*.klm)"), QStringLiteral("All files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("klm"));
    if (kind == FileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);  // asks before overwriting
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

qt::CKeyloom_DlgProfile& DialogOpener::profileManager() {
    if (profileDialog_)
        return *profileDialog_;
    KeyloomCore& core = *setup_.core;
    qt::ProfileDialogSetup setup;
    setup.skinFile = setup_.paths.profileSkinFile;
    setup.skinFolder = setup_.paths.skinFolder;
    setup.dataFolder = setup_.paths.dataFolder;
    setup.slotFile = core.slotFile();
    setup.registry = setup_.registry;
    setup.prompts = setup_.prompts;
    setup.activeProfile = [&core] { return core.state().connection.activeProfile.load(); };
    setup.chooseFile = [this](qt::ProfileFileDialog kind, const std::string& proposed) {
        if (fileChooser_)
            return fileChooser_(kind == qt::ProfileFileDialog::Add ? FileDialogKind::Save
                                                                   : FileDialogKind::Open);
        return askForProfileFile(profileDialog_.get(), kind, proposed);
    };
    setup.applyToKeyboard = [this, &core](const editors::ProfileApplyPlan& plan,
                                          std::function<void()> done) {
        // A file row's restore names its before-restore copy, as Restore does.
        auto backup = std::make_shared<std::string>();
        auto finished = [this, &core, done, backup] {
            setup_.view->setProfileButtons(core.state().connection.activeProfile.load());
            done();
            if (!backup->empty())
                setup_.confirm(restoredNote(*backup));
        };
        if (!setup_.runKeyboardWork([this, plan, backup] { applyProfilePlan(plan, *backup); },
                                    finished))
            done();
    };
    setup.editorStateChanged = [&core](bool open, bool unapplied) {
        core.state().editors.setProfileManager(open, unapplied);
    };
    profileDialog_ = std::make_unique<qt::CKeyloom_DlgProfile>(std::move(setup), setup_.window);
    return *profileDialog_;
}

void DialogOpener::selectProfileManagerRow(int profile) {
    window::expectWindowThread("DialogOpener::selectProfileManagerRow");
    if (profileDialog_)
        profileDialog_->selectProfileRow(profile);
}

void DialogOpener::applyProfilePlan(const editors::ProfileApplyPlan& plan,
                                    std::string& backupFile) {
    using Kind = editors::ProfileApplyPlan::Kind;
    KeyloomCore& core = *setup_.core;
    // Unapplied key changes are settled first (written or dropped, as the
    // user says), as at every profile switch; a negative number switches
    // nothing.
    core.switchActiveProfile(plan.kind == Kind::SetProfile ? plan.profile : -1);
    if (plan.kind == Kind::RestoreFile) {
        std::string saved;
        if (core.restoreFromFile(plan.file, &saved) == RestoreResult::Written)
            backupFile = saved;
    } else if (core.state().connection.state.load() == 1 && !core.modified().isModified()) {
        // Re-read what the keyboard now holds. Not without a keyboard (the
        // store would be emptied) and not while edits are still unapplied
        // (they could not be written and would be lost).
        core.refreshFromKeyboard();
    }
    setup_.view->profileMenuChanged();
}

qt::CKeyloom_DlgUpdate& DialogOpener::firmwareUpdate() {
    if (updateDialog_)
        return *updateDialog_;
    KeyloomCore& core = *setup_.core;
    qt::UpdateDialogSetup setup;
    setup.skinFile = setup_.paths.updateSkinFile;
    setup.skinFolder = setup_.paths.skinFolder;
    setup.packageFolder = setup_.paths.firmwarePackageFolder;
    setup.dataFolder = setup_.paths.dataFolder;
    setup.prompts = setup_.prompts;
    setup.chooseFile = [this](qt::UpdateFileDialog kind, const std::string& start) {
        if (fileChooser_)
            return fileChooser_(kind == qt::UpdateFileDialog::Open ? FileDialogKind::Open
                                                                   : FileDialogKind::Save);
        return qt::askForUpdateFile(updateDialog_.get(), kind, start);
    };
    setup.saveWorkingStore = [&core](const std::string& path) { return core.backupToFile(path); };
    setup.keyboardConnected = [&core] { return core.link().isConnected(); };
    setup.enterBootMode = [&core] { return core.link().EnterBootMode(); };
    updateDialog_ = std::make_unique<qt::CKeyloom_DlgUpdate>(std::move(setup), setup_.window);
    return *updateDialog_;
}

qt::Keyloom_DlgComposite& DialogOpener::keyDialog() {
    if (keyDialog_)
        return *keyDialog_;
    KeyloomCore& core = *setup_.core;
    qt::CompositeSetup dialog;
    dialog.skinFolder = setup_.paths.skinFolder;
    dialog.store = &core.workingStore();
    dialog.prompter = setup_.prompts;
    dialog.registry = setup_.registry;
    dialog.edits = &core.edits();
    dialog.parameters = [&core] { return core.parameterBlock(); };
    dialog.defaultMatrix = [&core] { return core.defaultMatrix(); };
    dialog.openHelp = setup_.openHelp;
    dialog.openChanged = [&core](bool open) {
        core.state().editors.setKeyAssignmentDialogOpen(open);
    };
    keyDialog_ = std::make_unique<qt::Keyloom_DlgComposite>(std::move(dialog), setup_.window);
    keyDialog_->setApplyHandler([this](const editors::ApplyResult&) {
        if (setup_.keysApplied)
            setup_.keysApplied();
    });
    return *keyDialog_;
}

void DialogOpener::closeOnShutdown() {
    about_.close();
    if (keyDialog_)
        keyDialog_->closeIfOpen();
}

void DialogOpener::keyboardGone() {
    about_.close();
    if (keyDialog_)
        keyDialog_->closeIfOpen();
    if (profileDialog_)
        profileDialog_->closeAsCancel();
    if (updateDialog_)
        updateDialog_->closeDialog();
}

}  // namespace keyloom::shell
