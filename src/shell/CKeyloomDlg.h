#pragma once
// The main window: the skinned key view with its 105 key buttons, nine G
// buttons and Fn, the command buttons, the top-row switch and key-toggle
// mode. It owns the core and is the core's window: messages, timers and
// message boxes from other threads arrive here through the WindowPort and
// run on the window thread.

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "controls/CBaseDialog.h"
#include "controls/CSkinButton.h"
#include "core/KeyloomCore.h"
#include "platform/registry/Registry.h"
#include "platform/window/WindowPort.h"
#include "shell/BackgroundTask.h"
#include "shell/CAboutDlg.h"
#include "shell/CTrayIcon.h"
#include "shell/MainPictures.h"
#include "storage/AppPaths.h"

class QLabel;
class QUrl;
class QMenu;

namespace keyloom::shell {

struct DialogSetup {
    AppPaths paths;
    std::shared_ptr<registry::Registry> registry;  // "PROFILES" / "Flip"
    CoreSetup core;
    bool trayIcon = true;  // false: never create one (tests)
};

// The key the key assignment dialog edits.
struct SelectedKey {
    std::uint16_t kind = 0;
    std::uint16_t code = 0;
    std::int32_t controlId = 0;
};

struct InitResult {
    bool ok = false;
    std::string missingPicture;  // the picture that could not be loaded
};

class CKeyloomDlg : public controls::CBaseDialog, public window::WindowPort {
    Q_OBJECT

public:
    explicit CKeyloomDlg(DialogSetup setup, QWidget* parent = nullptr);
    ~CKeyloomDlg() override;

    // Skins the window, builds its controls, prepares the data folder and
    // starts the device threads. On failure (a main picture missing) nothing
    // was started and the program is to end.
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
    const SelectedKey& selectedKey() const { return selectedKey_; }
    bool topRowSwitch() const { return topRow_; }
    bool keyToggleMode() const;
    QTimer& timer(int id);

    // Keyboard work (Apply, Restore default, the file commands, the profile
    // and report-rate buttons) runs off the window thread; meanwhile the busy
    // indicator animates and no other command is taken.
    bool isBusy() const { return task_.running(); }
    QLabel* busyIndicator() const { return busyIndicator_.get(); }

    // The Button menu (restore, backup, firmware update, About, Exit) and the
    // profile menu, built and localised as they are about to open.
    CTrayIcon* trayIcon() const { return tray_.get(); }
    AboutBox* aboutBox() const { return about_.get(); }

    QMenu& buttonMenu();
    QMenu& profileMenu();
    void openButtonMenu(const QPoint& at);
    void openProfileMenu(const QPoint& at);

    // Where the file commands' dialogs and the links and help go; tests
    // replace both so that no dialog or browser opens.
    enum class FileDialogKind { Open, Save };
    using FileChooser = std::function<std::string(FileDialogKind)>;
    void setFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }
    using UrlOpener = std::function<void(const QUrl&)>;
    void setUrlOpener(UrlOpener opener) { urlOpener_ = std::move(opener); }

    // Answers message boxes instead of showing them (tests, offscreen runs).
    using MessageResponder = std::function<window::MessageAnswer(const window::MessageRequest&)>;
    void setMessageResponder(MessageResponder responder) { responder_ = std::move(responder); }
    // The keys of every message box shown, oldest first.
    std::vector<std::string> messageKeysShown() const;

    // --- WindowPort ------------------------------------------------------------
    void sendMessage(const window::WindowMessage& msg) override;
    void postMessage(const window::WindowMessage& msg) override;
    void startTimer(int id, std::chrono::milliseconds delay) override;
    void killTimer(int id) override;
    window::MessageAnswer showMessage(const window::MessageRequest& request) override;
    void showTrayIcon(int iconId) override;
    void hideWindow() override;
    void stopMessages() override;
    bool isModified() const override;
    void setModified(bool modified) override;
    void redrawKeyView() override;
    void setProfileButtons(int activeProfile) override;
    void keyToggleModeOff() override;
    void runApply() override;
    void busyIndicatorOn() override;
    void busyIndicatorOff() override;

signals:
    void exitRequested();

public slots:
    // The window's message handler (window thread).
    void handleMessage(const keyloom::window::WindowMessage& msg);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool loadPictures(std::string& missing);
    void buildControls();
    void buildCommandTable();
    // Starts `work` off the window thread (false while other work runs);
    // `done` runs on the window thread afterwards.
    bool runKeyboardWork(std::function<void()> work, std::function<void()> done = {});
    // Runs `work` now, or once the keyboard work has ended when it would
    // wait for the stores that work holds.
    void whenIdle(std::function<void()> work);
    void keyboardWorkEnded();
    void showBusyIndicator();
    void hideBusyIndicator();
    void restoreFromFile();
    void backupToFile();
    void pressReportRate(int step);
    // Items 9000-9200 of the profile menu.
    void chooseProfileMenuItem(int command);
    void refreshProfileLabel();
    void openUrl(const QUrl& url);
    // A web address from the skin: only http and https are opened.
    void openLink(const QString& address);
    void openHelp();
    // The profile manager and the firmware update come with their editors.
    void openProfileManager() {}
    void openFirmwareUpdate() {}
    std::string chooseFile(FileDialogKind kind);
    void buildTrayIcon();
    void applyTopRowSwitch();
    void placeArrows();
    void flipTopRowSwitch();
    void switchKeyToggleMode();
    void setSwitchText();
    void redrawKeyFaces();
    void rebuildKeyTooltips();
    void languageTexts(int languageIndex);
    void openKeyAssignmentDialog(controls::CSkinButton& button);
    void onTimer(int id);
    void advanceBusyIndicator();
    bool isWindowThread() const;
    void runOnWindowThread(std::function<void()> work);
    bool blockingCall(std::function<void()> work);
    // Active profile's block number for the toggle flags and tooltips.
    std::size_t activeBlock() const;

    DialogSetup setup_;
    std::unique_ptr<KeyloomCore> core_;
    std::atomic<bool> stopped_{false};
    // Senders from other threads wait here until their call ran or messages stop.
    std::mutex callMutex_;
    std::condition_variable callDone_;
    bool shutDown_ = false;
    bool initialised_ = false;

    // The buttons' pictures are cut to their rectangles; the arrows stay whole.
    MainPictures pictures_;
    std::vector<QPixmap> busyFrames_;
    int busyFrame_ = 0;
    std::string links_[3];

    std::map<int, std::unique_ptr<controls::CSkinButton>> buttons_;
    std::unique_ptr<controls::CSkinButton> leftArrow_;
    std::unique_ptr<controls::CSkinButton> rightArrow_;
    std::unique_ptr<QLabel> busyIndicator_;
    std::map<int, std::function<void()>> commands_;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    std::unique_ptr<QMenu> buttonMenu_;
    std::unique_ptr<QMenu> profileMenu_;
    FileChooser fileChooser_;
    UrlOpener urlOpener_;
    // Mirrors Apply's enabled state for the keyboard work's thread.
    std::atomic<bool> modified_{false};
    int busyDepth_ = 0;
    std::vector<std::function<void()>> deferred_;
    bool exitPending_ = false;
    // Last member: its thread is joined before the rest goes.
    BackgroundTask task_;
    std::unique_ptr<CTrayIcon> tray_;
    std::unique_ptr<AboutBox> about_;

    SelectedKey selectedKey_;
    bool topRow_ = false;
    MessageResponder responder_;
    mutable std::mutex shownMutex_;
    std::vector<std::string> shownKeys_;
};

}  // namespace keyloom::shell

Q_DECLARE_METATYPE(keyloom::window::WindowMessage)
