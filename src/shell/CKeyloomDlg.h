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
#include "shell/MainPictures.h"
#include "storage/AppPaths.h"

class QLabel;
class QSystemTrayIcon;
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
    std::unique_ptr<QMenu> trayMenu_;
    std::unique_ptr<QSystemTrayIcon> tray_;

    SelectedKey selectedKey_;
    bool topRow_ = false;
    MessageResponder responder_;
    mutable std::mutex shownMutex_;
    std::vector<std::string> shownKeys_;
};

}  // namespace keyloom::shell

Q_DECLARE_METATYPE(keyloom::window::WindowMessage)
