#pragma once
// The main window: the skinned key view with its 105 key buttons, nine G
// buttons and Fn, the command buttons, the top-row switch and key-toggle
// mode. It owns the core and the port through which the core reaches it
// (MainWindowPort): messages, timers and message boxes from other threads
// arrive through the port and run on the window thread.

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "controls/AfterFirstPaint.h"
#include "controls/CBaseDialog.h"
#include "controls/CSkinButton.h"
#include "controls/ScreenOrderFocus.h"
#include "core/KeyloomCore.h"
#include "core/window/Prompter.h"
#include "editors/ProfileManagerState.h"
#include "editors/qt/CKeyloom_DlgProfile.h"
#include "editors/qt/CKeyloom_DlgUpdate.h"
#include "editors/qt/Keyloom_DlgComposite.h"
#include "lighting/qt/LightingPanel.h"
#include "platform/registry/Registry.h"
#include "shell/BusyIndicator.h"
#include "shell/CAboutDlg.h"
#include "shell/CTrayIcon.h"
#include "shell/DialogOpener.h"
#include "shell/MainMenus.h"
#include "shell/MainPictures.h"
#include "shell/MainWindowPort.h"
#include "shell/StatusNote.h"
#include "storage/AppPaths.h"

class QLabel;
class QUrl;
class QMenu;

namespace keyloom::shell {

class GBankSwitch;
class MainWindowTexts;

struct DialogSetup {
    AppPaths paths;
    std::shared_ptr<registry::Registry> registry;  // "PROFILES" / "Flip"
    CoreSetup core;
    // Whether there is a tray to place the icon in; empty: ask the desktop
    // (tests answer themselves).
    CTrayIcon::Availability trayAvailable;
    // How long a start that shows no window waits before it places the tray
    // icon: longer than a keyboard's full read usually takes, so that a
    // window that opens gets its first frame on screen first.
    std::chrono::milliseconds trayIconLatest{250};
};

// The key the key assignment dialog edits.
struct SelectedKey {
    std::uint16_t kind = 0;
    std::uint16_t code = 0;
    std::int32_t controlId = 0;
};

// The core, started before the window with its port (MainWindowPort): what
// the core sent meanwhile waits in the port for the window.
struct StartedCore {
    std::unique_ptr<MainWindowPort> port;
    std::unique_ptr<KeyloomCore> core;
};

struct InitResult {
    bool ok = false;
    std::string missingPicture;  // the picture that could not be loaded
};

class CKeyloomDlg : public controls::CBaseDialog {
    Q_OBJECT

public:
    explicit CKeyloomDlg(DialogSetup setup, QWidget* parent = nullptr);
    // Takes over a core made and started before the window (its setup is
    // the one in `setup`).
    CKeyloomDlg(DialogSetup setup, StartedCore started, QWidget* parent = nullptr);
    ~CKeyloomDlg() override;

    // Prepares the data folder, starts the device threads (unless they were
    // started before the window), skins the window and builds its controls.
    // On failure (a main picture missing) the program is to end; shutdown()
    // stops the threads again.
    InitResult initialise();

    // Shows the window when a keyboard is connected, else says that none is.
    void openPath();
    // Exit: hide, shut down, then ask the program to end (exitRequested).
    void exitProgram();
    // The shutdown sequence; safe to run twice.
    void shutdown();

    // A click on the control with this id, as the command tables dispatch it.
    void runCommand(int controlId);
    // Key selection of a key or G button: -1 for a control of neither kind.
    int selectKey(int controlId);

    KeyloomCore& core() { return *core_; }
    controls::CSkinButton* button(int controlId) const;
    // The key assignment dialog; nullptr before it first opened.
    editors::qt::Keyloom_DlgComposite* keyAssignmentDialog() const {
        return dialogs_ ? dialogs_->existingKeyDialog() : nullptr;
    }
    const SelectedKey& selectedKey() const { return selectedKey_; }
    bool topRowSwitch() const { return topRow_; }
    // The switch of the G keys' bank (shown only where the keyboard has two)
    // and whether G1-G9 edit the second bank now.
    GBankSwitch* gBankSwitch() const { return bankSwitch_.get(); }
    bool secondGBank() const { return secondBank_; }
    bool keyToggleMode() const;
    QTimer& timer(int id);

    // Keyboard work (Apply, Restore default, the file commands, the profile
    // and report-rate buttons, the full read) runs on the core's keyboard
    // queue; meanwhile the busy indicator animates and no other command is
    // taken.
    bool isBusy() const { return workPending_ > 0; }
    QLabel* busyIndicator() const { return busy_ ? &busy_->label() : nullptr; }
    // The confirmation after Apply, a backup or a restore.
    StatusNote* statusNote() const { return statusNote_.get(); }

    CTrayIcon* trayIcon() const { return tray_.get(); }
    AboutBox* aboutBox() const { return &dialogs_->aboutBox(); }

    // The ≡ menu and the profile menu (MainMenus).
    QMenu& buttonMenu() { return menus_->buttonMenu(); }
    LanguageMenu* languageMenu() const { return menus_->languageMenu(); }
    QMenu& profileMenu() { return menus_->profileMenu(); }

    // Where the file commands' dialogs and the links and help go; tests
    // replace both so that no dialog or browser opens.
    using FileDialogKind = shell::FileDialogKind;
    void setFileChooser(FileChooser chooser) { dialogs_->setFileChooser(std::move(chooser)); }
    // The opener says whether a program took the address.
    using UrlOpener = std::function<bool(const QUrl&)>;
    void setUrlOpener(UrlOpener opener) { urlOpener_ = std::move(opener); }

    // Answers message boxes instead of showing them (tests, offscreen runs).
    using MessageResponder = std::function<window::MessageAnswer(const window::MessageRequest&)>;
    void setMessageResponder(MessageResponder responder) { responder_ = std::move(responder); }
    // The keys of every message box shown, oldest first.
    std::vector<std::string> messageKeysShown() const;

    MainWindowPort& port() { return *port_; }
    // The lighting panel, built at its first use or right after the window's
    // first paint, whichever comes first; nullptr before initialise().
    lighting::qt::LightingPanel* lightingPanel();
    // The editor dialogs, created when first asked for (DialogOpener).
    editors::qt::CKeyloom_DlgProfile& profileManager() { return dialogs_->profileManager(); }
    editors::qt::CKeyloom_DlgUpdate& firmwareUpdate() { return dialogs_->firmwareUpdate(); }
    // Posts to this window's own message handler (any thread).
    void postMessage(const window::WindowMessage& msg) { port_->postMessage(msg); }
    // The core's modified state, as Apply shows it.
    bool isModified() const;
    // Redraws key faces and rebuilds key tooltips from the working store,
    // once the keyboard work has ended when it is running (window thread).
    void redrawKeyView();

signals:
    void exitRequested();

public slots:
    // The window's message handler (window thread).
    void handleMessage(const keyloom::window::WindowMessage& msg);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintBackground(QPainter& painter) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class MainWindowPort;

    // Called by the port on the window thread.
    void startWindowTimer(int id, std::chrono::milliseconds delay);
    void stopWindowTimer(int id);
    void showTrayPicture(int iconId);
    window::MessageAnswer showMessageBox(const window::MessageRequest& request);
    void showModified(bool modified);
    void showProfileButtons(int activeProfile);
    void showReportRateButtons(int step);
    void showKeyToggleModeOff();

    bool loadPictures(std::string& missing);
    void buildControls();
    void buildCommandTable();
    // Queues `work` on the keyboard queue (false while other work of the
    // window's runs); `done` runs on the window thread afterwards.
    bool runKeyboardWork(std::function<void()> work, std::function<void()> done = {});
    // The same, never refused: work the keyboard or the core asked for.
    void queueKeyboardWork(std::function<void()> work, std::function<void()> done = {});
    // Runs `work` now, or once the keyboard work has ended when it would
    // wait for the stores that work holds.
    void whenIdle(std::function<void()> work);
    void keyboardWorkEnded();
    void restoreFromFile();
    void backupToFile();
    void apply(std::function<void()> afterwards);
    // The ×, the menu's and the tray's Exit: asks about unapplied changes.
    void exitAfterAsking();
    // Tells the user that keyboard or file work succeeded: in the window
    // while it shows, else at the tray icon.
    void confirm(const std::string& text);
    void pressReportRate(int step);
    // Items 9000-9200 of the profile menu.
    void chooseProfileMenuItem(int command);
    void refreshProfileLabel();
    bool openUrl(const QUrl& url);
    // A web address from the skin: only http and https are opened.
    void openLink(const QString& address);
    // F1 and the ? button. Both tell the user when no program took the page,
    // and where it is, so that it can be opened by hand.
    void openHelp();
    void tellNotOpened(const char* key, const std::string& where);
    void buildTrayIcon();
    // Shows the tray icon built before, once.
    void placeTrayIcon();
    void buildLightingPanel();
    void applyTopRowSwitch();
    void placeArrows();
    void flipTopRowSwitch();
    void switchKeyToggleMode();
    void setSwitchText();
    void redrawKeyFaces();
    void rebuildKeyTooltips();
    void showGButtonsPresent();
    void buildGBankSwitch();
    void syncGBank();
    // The entry and the label of G button j in the bank shown.
    std::size_t shownGEntry(std::size_t j) const;
    std::string shownGLabel(std::size_t j) const;
    void languageTexts(int languageIndex);
    // Accessible names of every control, in the language of that index.
    void nameControls(int languageIndex);
    void openKeyAssignmentDialog(controls::CSkinButton& button);
    void onTimer(int id);
    // Active profile's block number for the toggle flags and tooltips.
    std::size_t activeBlock() const;

    DialogSetup setup_;
    std::unique_ptr<MainWindowPort> port_;
    std::unique_ptr<KeyloomCore> core_;
    bool shutDown_ = false;
    bool initialised_ = false;

    // The buttons' pictures are cut to their rectangles; the arrows stay whole.
    MainPictures pictures_;
    // Whether the background is the buttons' normal picture, painted from
    // pictures_.
    bool backgroundIsNormal_ = false;
    std::string links_[3];

    std::unique_ptr<controls::CSkinButton> leftArrow_;
    std::unique_ptr<controls::CSkinButton> rightArrow_;
    std::unique_ptr<BusyIndicator> busy_;
    std::unique_ptr<StatusNote> statusNote_;
    std::unique_ptr<MainWindowTexts> texts_;
    // Tab in screen order, F6 between the regions.
    std::unique_ptr<controls::ScreenOrderFocus> focusOrder_;
    std::map<int, std::function<void()>> commands_;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    std::unique_ptr<MainMenus> menus_;
    UrlOpener urlOpener_;
    std::vector<std::function<void()>> deferred_;
    bool exitPending_ = false;
    // Last member: its thread is joined before the rest goes.
    int workPending_ = 0;  // window thread: queued keyboard work not yet done
    std::unique_ptr<CTrayIcon> tray_;
    bool trayPlaced_ = false;
    std::unique_ptr<DialogOpener> dialogs_;
    std::unique_ptr<lighting::qt::LightingPanel> lighting_;
    std::unique_ptr<controls::AfterFirstPaint> afterFirstFrame_;

    SelectedKey selectedKey_;
    bool topRow_ = false;
    std::unique_ptr<GBankSwitch> bankSwitch_;
    bool secondBank_ = false;
    MessageResponder responder_;
    mutable std::mutex shownMutex_;
    std::vector<std::string> shownKeys_;
};

}  // namespace keyloom::shell

Q_DECLARE_METATYPE(keyloom::window::WindowMessage)
