#pragma once
// The key assignment dialog: the Key, Macro, Media and Function tabs, Clear,
// the on-screen keyboard, OK, Cancel and Apply, skinned from
// "Composite.ini". The widgets only show KeyAssignmentState and hand it the
// user's actions; the key events of its two hooks come from Qt key events
// while the keyboard is grabbed (in the Key tab and while recording).

#include <QPointer>
#include <QRect>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "controls/CBaseDialog.h"
#include "controls/CSkinButton.h"
#include "controls/ScreenOrderFocus.h"
#include "controls/SkinPictureSet.h"
#include "core/window/Prompter.h"
#include "editors/EditorPrompts.h"
#include "editors/KeyAssignmentState.h"
#include "editors/qt/KeyDialogEvents.h"
#include "model/ConfigurationStore.h"
#include "model/EditTransaction.h"
#include "model/ParameterBlock.h"
#include "platform/registry/Registry.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace keyloom::editors::qt {

class KeyDialogActionModel;
class KeyDialogActionDelegate;

// Control ids of the dialog.
namespace composite {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kApply = 1015;
inline constexpr int kMacroAdd = 1017;
inline constexpr int kMacroDelete = 1018;
inline constexpr int kActionList = 1019;
inline constexpr int kRecord = 1020;
inline constexpr int kActionDelete = 1021;
inline constexpr int kActionClear = 1022;
inline constexpr int kMoveToTop = 1023;
inline constexpr int kMoveUp = 1024;
inline constexpr int kMoveDown = 1025;
inline constexpr int kMoveToBottom = 1026;
inline constexpr int kRecordDelay = 1027;
inline constexpr int kKeyTab = 1028;
inline constexpr int kMacroTab = 1029;
inline constexpr int kMediaTab = 1030;
inline constexpr int kFunctionTab = 1031;
inline constexpr int kClear = 1032;
inline constexpr int kModePicture = 1033;
inline constexpr int kPlayCount = 1125;
inline constexpr int kMacroList = 1126;
inline constexpr int kCaptureBox = 1127;
inline constexpr int kMediaList = 1128;
inline constexpr int kFunctionList = 1129;
inline constexpr int kPlayCountCaption = 1130;
inline constexpr int kTitle = 1131;
inline constexpr int kOnScreenKeyboard = 1132;
inline constexpr int kRecordDelayCaption = 1133;
inline constexpr int kKeyboardCaption = 1134;
inline constexpr int kMouseCaption = 1135;
inline constexpr int kKeyboardOption = 1185;
inline constexpr int kMouseOption = 1186;
inline constexpr int kMouseList = 1187;
inline constexpr int kMacroCaption = 1200;
inline constexpr int kKeyCaption = 1201;
inline constexpr int kMediaCaption = 1202;
inline constexpr int kFunctionCaption = 1203;
// Our own: the macro memory line, the title text and the capture hint.
inline constexpr int kMacroMemory = 1300;
inline constexpr int kTitleText = 1301;
inline constexpr int kCaptureHint = 1302;
// The Key view's other choices, the desktop's keys under Wayland, and what
// the play count belongs to.
inline constexpr int kDisabledOption = 1303;
inline constexpr int kStopMacroOption = 1304;
inline constexpr int kDesktopKeysNotice = 1305;
inline constexpr int kPlayCountNote = 1306;
}  // namespace composite

struct CompositeSetup {
    std::string skinFolder;  // holds "Composite.ini" and its pictures; '/' at the end
    WorkingStore* store = nullptr;
    window::Prompter* prompter = nullptr;
    // The record-delay setting lives here; none: the setting reads as off.
    std::shared_ptr<registry::Registry> registry;
    // Where Apply's edits of the store are told (the core marks them
    // modified and works out which profiles the next write covers).
    EditListener* edits = nullptr;
    // The keyboard's parameter block, for its macro capacity.
    std::function<ParameterBlock()> parameters;
    // The keyboard's default matrix, which tells the keys it has. Empty: every
    // key counts as present.
    std::function<KeyMatrix()> defaultMatrix;
    std::function<void()> openHelp;
    // Starts the on-screen keyboard; false when there is none. Empty: the
    // first of the usual programs found on PATH.
    std::function<bool()> startOnScreenKeyboard;
    // Told on the window thread when the dialog opens and closes (the core
    // keeps it for profile switches).
    std::function<void(bool open)> openChanged;
    // Whether the desktop keeps some keys for itself (the Key view says so).
    // Empty: asked of the window system (desktopKeepsKeys()).
    std::function<bool()> desktopKeepsKeys;
};

// True under Wayland, whose compositor takes some keys (Super, media keys)
// before any window sees them.
bool desktopKeepsKeys();

class Keyloom_DlgComposite : public controls::CBaseDialog {
    Q_OBJECT

public:
    explicit Keyloom_DlgComposite(CompositeSetup setup, QWidget* parent = nullptr);
    ~Keyloom_DlgComposite() override;

    // A click on a key button: flips its toggle flag in key-toggle mode, or
    // runs the dialog modally for its entry. `keyOnScreen` is the button's
    // rectangle in screen coordinates, `keyLabel` its name for the title.
    OpenResult openForKeyButton(int buttonId, const KeyButtonContext& context,
                                const QRect& keyOnScreen, const QString& keyLabel);
    // The same without the modal loop: the dialog is initialised, placed
    // and shown (tests, and callers with their own loop).
    OpenResult prepare(int buttonId, const KeyButtonContext& context, const QRect& keyOnScreen,
                       const QString& keyLabel);

    bool isOpen() const { return state_.openCounter() > 0; }
    // Closes the dialog as Cancel does when it is open (once its message box
    // is answered, when one is open).
    bool closeIfOpen();

    // Runs after an Apply that wrote the entry (and the macros).
    void setApplyHandler(std::function<void(const ApplyResult&)> handler) {
        applyHandler_ = std::move(handler);
    }

    KeyAssignmentState& state() { return state_; }
    QWidget* control(int id) const;
    // Whether the dialog holds the keyboard now.
    bool keyboardGrabbed() const { return grabbed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

public slots:
    void done(int result) override;

private:
    void tellOpen();
    struct ImageSets {
        controls::SkinPictureSet key, macro, macro2, media, function;
    };

    bool loadImageSets();
    void buildControls();
    void placeControls();
    void connectControls();
    void languageTexts(const QString& keyLabel);
    // Keyboard and screen-reader use (KeyDialogAccess.cpp).
    void nameControls();
    void fitTexts();
    void prepareKeyboardUse();
    // The Key view's four choices (KeyDialogKeyChoices.cpp).
    void buildKeyChoices();
    void connectKeyChoices();
    void keyChoiceTexts();
    void showKeyChoices(bool keyView);
    controls::CSkinButton* skinButton(int id, const char* skinKey,
                                      const controls::SkinPictureSet& pictures);
    template <typename Widget>
    Widget* addControl(int id, std::unique_ptr<Widget> widget);

    // Shows what the state says.
    void showState();
    void showMacroList();
    void showRows();
    void showMemory();
    void syncKeyboardGrab();
    void releaseKeyboardGrab();
    void holdKeyboardGrab(int attemptsLeft);
    // Around each of the dialog's message boxes: the keys go to the box
    // while it is open, and a close asked for meanwhile happens after it.
    void promptOpened();
    void promptAnswered();

    // Key events as the hooks see them; true when they are swallowed.
    bool deliverToHooks(const QKeyEvent& event);

    void pressApply();
    void pressRecord();
    void moveRow(RowMove move);
    void macroNameEdited(const QString& text);
    void openOnScreenKeyboard();

    CompositeSetup setup_;
    std::string skinFile_;
    EventClock clock_;
    int promptDepth_ = 0;             // message boxes of the dialog open now
    bool closeAfterPrompts_ = false;  // closeIfOpen came while one was open
    KeyAssignmentState state_;
    std::unique_ptr<EditorPrompts> prompts_;
    std::unique_ptr<ImageSets> images_;
    std::function<void(const ApplyResult&)> applyHandler_;
    ParameterBlock parameters_;
    bool grabbed_ = false;
    bool updating_ = false;  // the program itself changes the macro list
    bool filterInstalled_ = false;

    std::unique_ptr<KeyDialogActionModel> model_;
    std::unique_ptr<KeyDialogActionDelegate> delegate_;
    // Widgets, by control id; children of the dialog, destroyed before it
    // and before the model they show.
    std::map<int, std::unique_ptr<QWidget>> controls_;
    controls::CSkinButton* modePicture_ = nullptr;
    std::array<controls::CSkinButton*, 4> tabs_{};
    controls::CSkinButton* clear_ = nullptr;
    controls::CSkinButton* title_ = nullptr;
    controls::CSkinButton* record_ = nullptr;
    QLabel* titleText_ = nullptr;
    QLineEdit* captureBox_ = nullptr;
    QComboBox* mediaList_ = nullptr;
    QComboBox* functionList_ = nullptr;
    QComboBox* mouseList_ = nullptr;
    QComboBox* macroList_ = nullptr;
    QTableView* actionList_ = nullptr;
    QLineEdit* playCount_ = nullptr;
    QCheckBox* recordDelay_ = nullptr;
    QLabel* memory_ = nullptr;
    QPushButton* apply_ = nullptr;
    std::unique_ptr<controls::ScreenOrderFocus> focusOrder_;
};

}  // namespace keyloom::editors::qt
