// The main window's commands: the command table, the keyboard work that runs
// on the core's keyboard queue behind the busy indicator, the profile label,
// the file commands, links and help.

#include <QDesktopServices>
#include <QLabel>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "controls/QtText.h"
#include "core/Prompts.h"
#include "model/KeyViewKeys.h"
#include "platform/text/SafeFormat.h"
#include "shell/CKeyloomDlg.h"
#include "shell/MainControls.h"
#include "storage/Language.h"
#include "storage/ProfileMenu.h"

namespace keyloom::shell {

using controls::CSkinButton;

void CKeyloomDlg::buildCommandTable() {
    for (const KeyViewKey& key : kKeyViewKeys)
        commands_[key.controlId] = [this, id = key.controlId] { selectKey(id); };
    for (int id : kGButtonControls)
        commands_[id] = [this, id] { selectKey(id); };
    // Macros opens the macro-only dialog of the last G button.
    commands_[control::kMacro] = [this] { selectKey(kGButtonControls.back()); };
    // Fn does something only in the lighting view: it is painted.
    commands_[control::kFn] = [this] { selectKey(control::kFn); };
    commands_[control::kSwitch] = [this] { switchKeyToggleMode(); };
    commands_[control::kFlip1] = [this] { flipTopRowSwitch(); };
    commands_[control::kFlip2] = [this] { flipTopRowSwitch(); };
    commands_[control::kOk] = [this] { apply([this] { hide(); }); };
    commands_[control::kCancel] = [this] { hide(); };
    commands_[control::kApply] = [this] { apply({}); };
    commands_[control::kDefault] = [this] { runKeyboardWork([this] { core_->restoreDefault(); }); };
    for (int p = 0; p < 3; ++p)
        commands_[control::kProfile1 + p] = [this, p] {
            runKeyboardWork([this, p] { core_->profileButton(p); });
        };
    for (int step = 0; step < 4; ++step)
        commands_[control::kReportButtons[step]] = [this, step] { pressReportRate(step); };
    commands_[control::kProfileName] = [this] { dialogs_->profileManager().run(); };
    commands_[control::kMenu] = [this] {
        MainMenus::drop(menus_->buttonMenu(), *button(control::kMenu));
    };
    commands_[command::kRestore] = [this] { restoreFromFile(); };
    commands_[command::kBackup] = [this] { backupToFile(); };
    commands_[command::kFirmwareUpdate] = [this] { dialogs_->firmwareUpdate().run(); };
    commands_[command::kOpen] = [this] { openPath(); };
    commands_[command::kAbout] = [this] { dialogs_->aboutBox().open(); };
    commands_[command::kExit] = [this] { exitAfterAsking(); };
    commands_[command::kExitFromMenu] = [this] { exitAfterAsking(); };
    commands_[control::kClose] = [this] { exitAfterAsking(); };
    commands_[control::kMinimize] = [this] { showMinimized(); };
    commands_[control::kHelp] = [this] { openHelp(); };
    for (int i = 0; i < 4; ++i)
        commands_[control::kLinkButtons[i]] = [this, link = linkAddressOf(i)] {
            if (!links_[link].empty())
                openLink(qs(links_[link]));
        };
    // The profile menu opens from the profile label by a right click.
    CSkinButton* label = button(control::kProfileName);
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(label, &QWidget::customContextMenuRequested, this, [this, label](const QPoint&) {
        if (!isBusy())
            MainMenus::drop(menus_->profileMenu(), *label);
    });
}

void CKeyloomDlg::apply(std::function<void()> afterwards) {
    // Only a write is confirmed: with nothing modified Apply writes nothing.
    const bool writes = isModified();
    auto applied = std::make_shared<bool>(false);
    runKeyboardWork([this, applied] { *applied = core_->apply(); },
                    [this, applied, writes, afterwards = std::move(afterwards)] {
                        if (afterwards)
                            afterwards();
                        if (writes && *applied)
                            confirm(lookupText("KEYLOOM_APPLIED"));
                    });
}

void CKeyloomDlg::exitAfterAsking() {
    // Unapplied key changes are settled as at a profile switch, with a way
    // back: written first, dropped, or the program stays.
    if (!isModified() || shutDown_) {
        exitProgram();
        return;
    }
    const window::MessageAnswer answer =
        showPrompt(*port_, "EXIT_UNAPPLIED_PROMPT",
                   {window::MessageButtons::YesNoCancel, window::MessageIcon::Question, false});
    if (answer == window::MessageAnswer::No) {
        exitProgram();
    } else if (answer == window::MessageAnswer::Yes) {
        // A failed write keeps the changes and the program, with the
        // failure told as at every Apply.
        apply([this] {
            if (!isModified())
                exitProgram();
        });
    }
}

void CKeyloomDlg::confirm(const std::string& text) {
    if (isVisible())
        statusNote_->showNote(qs(text));
    else if (tray_)
        tray_->notify(qs(lookupText("MAIN_CAPTION")), qs(text));
}

void CKeyloomDlg::chooseProfileMenuItem(int command) {
    runKeyboardWork([this, command] { core_->chooseProfileMenuItem(command); },
                    [this] { port_->setProfileButtons(core_->state().connection.activeProfile); });
}

// --- Keyboard work on the keyboard queue ---------------------------------------------

bool CKeyloomDlg::runKeyboardWork(std::function<void()> work, std::function<void()> done) {
    if (isBusy() || shutDown_)
        return false;
    queueKeyboardWork(std::move(work), std::move(done));
    return true;
}

void CKeyloomDlg::queueKeyboardWork(std::function<void()> work, std::function<void()> done) {
    if (shutDown_)
        return;
    ++workPending_;
    if (busy_)
        busy_->want();
    // The work joins the core's one keyboard queue, behind whatever was
    // asked for before it (lighting changes included); `done` comes back
    // here. Once messages stop (shutdown), `done` is dropped.
    core_->queue().submit([this, work = std::move(work), done = std::move(done)]() mutable {
        work();
        port_->runOnWindowThread([this, done = std::move(done)] {
            --workPending_;
            keyboardWorkEnded();
            if (done)
                done();
            if (exitPending_ && !isBusy())
                exitProgram();
        });
    });
}

void CKeyloomDlg::keyboardWorkEnded() {
    if (busy_)
        busy_->releaseSoon();
    // What waited for the stores runs now, in the order it arrived.
    std::vector<std::function<void()>> deferred;
    deferred.swap(deferred_);
    for (auto& work : deferred)
        work();
}

void CKeyloomDlg::whenIdle(std::function<void()> work) {
    if (isBusy())
        deferred_.push_back(std::move(work));
    else
        work();
}

// --- Report rate ----------------------------------------------------------------------

void CKeyloomDlg::pressReportRate(int step) {
    showReportRateButtons(step);
    runKeyboardWork([this, step] {
        const DeviceResult code = core_->writeReportRate(step);
        if (code != DeviceResult::Success)
            core_->tellWriteFailure(code);
    });
}

// --- File commands -----------------------------------------------------------------------

void CKeyloomDlg::restoreFromFile() {
    const std::string path = dialogs_->chooseFile(FileDialogKind::Open);
    if (path.empty())
        return;
    // The path of the before-restore copy once the keyboard holds the file.
    auto backup = std::make_shared<std::string>();
    runKeyboardWork(
        [this, path, backup] {
            std::string saved;
            if (core_->restoreFromFile(path, &saved) == RestoreResult::Written)
                *backup = saved;
        },
        [this, backup] {
            if (!backup->empty())
                confirm(text::formatString(lookupText("KEYLOOM_RESTORED"),
                                           std::filesystem::path(*backup).filename().string()));
        });
}

void CKeyloomDlg::backupToFile() {
    const std::string path = dialogs_->chooseFile(FileDialogKind::Save);
    if (path.empty())
        return;
    auto saved = std::make_shared<bool>(false);
    runKeyboardWork(
        [this, path, saved] {
            // A backup that was not written must not pass for one that was.
            *saved = core_->backupToFile(path);
            if (!*saved)
                showPrompt(*port_, "KEYLOOM_BACKUP_FAILED",
                           {window::MessageButtons::Ok, window::MessageIcon::Warning, false});
        },
        [this, saved, path] {
            if (*saved)
                confirm(text::formatString(lookupText("KEYLOOM_BACKED_UP"),
                                           std::filesystem::path(path).filename().string()));
        });
}

// --- Profile label ----------------------------------------------------------------------

void CKeyloomDlg::refreshProfileLabel() {
    CSkinButton* label = button(control::kProfileName);
    if (!label)
        return;
    const ProfileMenu menu = core_->profileMenu();
    label->setText(qs(menu.label));
    label->setToolTip(qs(menu.tooltip));
}

// --- Links and help ---------------------------------------------------------------------

bool CKeyloomDlg::openUrl(const QUrl& url) {
    return urlOpener_ ? urlOpener_(url) : QDesktopServices::openUrl(url);
}

void CKeyloomDlg::tellNotOpened(const char* key, const std::string& where) {
    window::MessageRequest request;
    request.key = key;
    request.text = text::formatString(lookupText(key), where);
    request.icon = window::MessageIcon::Warning;
    request.caption = window::MessageCaption::ApplicationTitle;
    port_->showMessage(request);
}

void CKeyloomDlg::openLink(const QString& address) {
    // Only web pages are opened from the user-editable skin file; anything
    // else is not offered to the desktop at all.
    const std::optional<QUrl> page = webAddress(address);
    if (page && !openUrl(*page))
        tellNotOpened("KEYLOOM_LINK_NOT_OPENED", page->toString().toStdString());
}

void CKeyloomDlg::openHelp() {
    const std::string page = setup_.paths.helpFolder + "index.html";
    if (!openUrl(QUrl::fromLocalFile(qs(page))))
        tellNotOpened("KEYLOOM_HELP_NOT_OPENED", page);
}

}  // namespace keyloom::shell
