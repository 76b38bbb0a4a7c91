#include "editors/qt/Keyloom_DlgComposite.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "controls/SkinReaders.h"
#include "core/Prompts.h"
#include "editors/MacroMemory.h"
#include "editors/RecordDelaySetting.h"
#include "editors/qt/KeyDialogActionModel.h"
#include "editors/qt/KeyDialogOsk.h"
#include "editors/qt/KeyDialogPlacement.h"
#include "editors/qt/KeyDialogStyle.h"
#include "editors/qt/KeyDialogText.h"
#include "model/KeyTable.h"
#include "model/MediaTable.h"
#include "model/MouseTable.h"
#include "storage/Language.h"

namespace keyloom::editors::qt {

using controls::CSkinButton;
using controls::SkinPictureSet;
namespace id = composite;

namespace {

constexpr std::size_t kNameBufferSize = 260;

// Digits grouped as the language writes numbers (4,096 or 4.096).
QString grouped(std::size_t number) {
    return QLocale(text("KEYLOOM_LOCALE")).toString(static_cast<qulonglong>(number));
}

}  // namespace

// --- Opening and closing ---------------------------------------------------------

OpenResult Keyloom_DlgComposite::prepare(int buttonId, const KeyButtonContext& context,
                                         const QRect& keyOnScreen, const QString& keyLabel) {
    KeyButtonContext known = context;
    KeyMatrix defaults;
    if (setup_.defaultMatrix && !known.defaults) {
        defaults = setup_.defaultMatrix();
        known.defaults = &defaults;
    }
    const OpenResult result = state_.openForKeyButton(buttonId, known);
    if (result.outcome != OpenOutcome::ShowDialog)
        return result;
    // Without its pictures the dialog cannot be shown; the key stays as it is.
    if (!loadImageSets())
        return {OpenOutcome::NotAKeyButton, false};

    mediaList_->clear();
    for (const MediaRow& row : MediaTable)
        mediaList_->addItem(qs(KeyName(row.keyCode, kNameBufferSize)));
    functionList_->clear();
    for (std::uint32_t i = 1; i <= kFunctionCount; ++i)
        functionList_->addItem(text("FUNC_KEY_DESC" + std::to_string(i)));
    mouseList_->clear();
    for (const char* key :
         {"IDS_KEYBOARD_MOU_LEFT", "IDS_KEYBOARD_MOU_RIGHT", "IDS_KEYBOARD_MOU_MIDDLE",
          "IDS_KEYBOARD_ROLL_UP", "IDS_KEYBOARD_ROLL_DOWN"})
        mouseList_->addItem(text(key));

    const bool recordDelay =
        setup_.registry && loadRecordDelaySetting(*setup_.registry, recordDelayEntryName());
    parameters_ = setup_.parameters ? setup_.parameters() : ParameterBlock{};
    state_.initialise(qs(lookupText("MACRO_NEW_PREFIX")).toStdU16String(), recordDelay);
    tellOpen();
    recordDelay_->setChecked(recordDelay);

    placeControls();
    languageTexts(keyLabel);
    showMacroList();

    QScreen* screen = QGuiApplication::screenAt(keyOnScreen.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        move(keyDialogPosition(screen->availableGeometry(), keyOnScreen, size(),
                               state_.macroOnly()));
    if (!filterInstalled_) {
        qApp->installEventFilter(this);
        filterInstalled_ = true;
    }
    return result;
}

OpenResult Keyloom_DlgComposite::openForKeyButton(int buttonId, const KeyButtonContext& context,
                                                  const QRect& keyOnScreen,
                                                  const QString& keyLabel) {
    const OpenResult result = prepare(buttonId, context, keyOnScreen, keyLabel);
    if (result.outcome == OpenOutcome::ShowDialog)
        exec();
    return result;
}

void Keyloom_DlgComposite::tellOpen() {
    if (setup_.openChanged)
        setup_.openChanged(isOpen());
}

bool Keyloom_DlgComposite::closeIfOpen() {
    if (!isOpen())
        return false;
    if (promptDepth_ > 0) {
        // The editor is inside one of its questions (with the macro list in
        // hand); it closes right after the answer, not under its feet.
        closeAfterPrompts_ = true;
        return true;
    }
    reject();
    return true;
}

void Keyloom_DlgComposite::promptOpened() {
    ++promptDepth_;
    releaseKeyboardGrab();
}

void Keyloom_DlgComposite::promptAnswered() {
    if (--promptDepth_ > 0)
        return;
    syncKeyboardGrab();
    if (std::exchange(closeAfterPrompts_, false))
        // Once the code that asked has seen the answer.
        QTimer::singleShot(0, this, [this] { closeIfOpen(); });
}

void Keyloom_DlgComposite::done(int result) {
    releaseKeyboardGrab();
    if (filterInstalled_) {
        qApp->removeEventFilter(this);
        filterInstalled_ = false;
    }
    state_.close();
    tellOpen();
    updating_ = true;
    macroList_->clear();
    model_->reload();
    updating_ = false;
    CBaseDialog::done(result);
}

void Keyloom_DlgComposite::closeEvent(QCloseEvent* event) {
    // The close box is Cancel.
    event->accept();
    if (isOpen())
        reject();
}

void Keyloom_DlgComposite::showEvent(QShowEvent* event) {
    CBaseDialog::showEvent(event);
    syncKeyboardGrab();
    // Once more when the window is up, in case it was not visible yet.
    QTimer::singleShot(0, this, [this] { syncKeyboardGrab(); });
}

void Keyloom_DlgComposite::hideEvent(QHideEvent* event) {
    releaseKeyboardGrab();
    CBaseDialog::hideEvent(event);
}

// --- Showing the state -----------------------------------------------------------

void Keyloom_DlgComposite::showState() {
    if (!images_)
        return;
    const TabView view = state_.view();
    const bool recording = state_.recorder().recording();
    const bool macroView = view == TabView::Macro;
    const bool keyView = view == TabView::Key;

    const ImageSets& images = *images_;
    const SkinPictureSet* modeSet = &images.key;
    if (view == TabView::Macro)
        modeSet = &images.macro;
    else if (view == TabView::Media)
        modeSet = &images.media;
    else if (view == TabView::Function)
        modeSet = &images.function;
    controls::readSkinControl(*modePicture_, skinFile_, "BUTTONINFO", "CONTROL_MASK", *modeSet);
    modePicture_->setEnabled(false);
    modePicture_->update();

    for (int controlId :
         {id::kMacroCaption, id::kMacroList, id::kMacroAdd, id::kMacroDelete, id::kActionList,
          id::kRecord, id::kActionDelete, id::kActionClear, id::kMoveToTop, id::kMoveUp,
          id::kMoveDown, id::kMoveToBottom, id::kRecordDelay, id::kRecordDelayCaption,
          id::kPlayCount, id::kPlayCountCaption, id::kPlayCountNote, id::kMacroMemory})
        control(controlId)->setVisible(macroView);
    for (int controlId : {id::kCaptureBox, id::kKeyCaption, id::kKeyboardCaption, id::kCaptureHint})
        control(controlId)->setVisible(keyView);
    showKeyChoices(keyView);
    mediaList_->setVisible(view == TabView::Media);
    control(id::kMediaCaption)->setVisible(view == TabView::Media);
    // The function tab needs its list: without it no function can be chosen.
    functionList_->setVisible(view == TabView::Function);
    control(id::kFunctionCaption)->setVisible(view == TabView::Function);

    const auto boxKey = state_.captureBoxKey();
    captureBox_->setText(boxKey ? qs(KeyName(*boxKey, kNameBufferSize)) : QString());
    mediaList_->setCurrentIndex(static_cast<int>(state_.mediaRow()));
    functionList_->setCurrentIndex(static_cast<int>(state_.functionRow()));
    mouseList_->setCurrentIndex(static_cast<int>(state_.mouseRow()));

    const std::optional<TabView> pressed = state_.pressedTab();
    static constexpr std::array<TabView, 4> kTabViews{TabView::Key, TabView::Macro, TabView::Media,
                                                      TabView::Function};
    for (std::size_t i = 0; i < tabs_.size(); ++i)
        tabs_[i]->setSelected(pressed == kTabViews[i]);

    const bool macroSelected = state_.macros().selectedRecord() != nullptr;
    for (int controlId = id::kRecord; controlId <= id::kMoveToBottom; ++controlId)
        control(controlId)->setEnabled(macroSelected);
    for (int controlId : {id::kMacroAdd, id::kMacroDelete, id::kMacroList})
        control(controlId)->setEnabled(!recording);
    record_->setText(text(recording ? "MACRO_ACTION_STOP_RECORD" : "MACRO_ACTION_RECORD"));
    record_->setSelected(recording);
    playCount_->setEnabled(macroSelected);
    apply_->setEnabled(state_.changed());
    if (macroView)
        showMemory();
    syncKeyboardGrab();
}

void Keyloom_DlgComposite::showMacroList() {
    updating_ = true;
    const auto macros = state_.macros().macros();
    macroList_->clear();
    for (const MacroRecord& macro : macros)
        macroList_->addItem(QString::fromStdU16String(macro.name));
    macroList_->setCurrentIndex(static_cast<int>(state_.macros().selectedMacro()));
    updating_ = false;
    showRows();
}

void Keyloom_DlgComposite::showRows() {
    updating_ = true;
    model_->reload();
    const long row = state_.macros().selectedRow();
    if (row != kNoSelection && row < model_->rowCount()) {
        const QModelIndex index = model_->index(static_cast<int>(row), 0);
        actionList_->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        actionList_->scrollTo(index);
    }
    updating_ = false;
    if (state_.macros().selectedRecord())
        playCount_->setText(QString::number(state_.macros().playCount()));
    else
        playCount_->clear();
    showState();
}

void Keyloom_DlgComposite::showMemory() {
    const MacroMemory memory = macroMemoryOf(state_.macros().macros(), parameters_);
    const std::string used =
        (grouped(memory.sizes.withNames) + QStringLiteral(" / ") + grouped(memory.capacity))
            .toStdString();
    QString shown = qs(formatted(lookupText("KEYLOOM_MACRO_MEMORY"), used));
    const std::string_view warning = memory.messageKey();
    if (warning.empty()) {
        shown +=
            QLatin1Char('\n') + qs(formatted(lookupText("KEYLOOM_MACRO_MEMORY_NO_NAMES"),
                                             grouped(memory.sizes.withoutNames).toStdString()));
        memory_->setProperty("role", "muted");
    } else {
        shown += QLatin1Char('\n') + text("KEYLOOM_BEFORE_" + std::string(warning));
        memory_->setProperty("role", memory.fit == MacroAreaFit::TooLong ? "danger" : "warning");
    }
    memory_->setText(shown);
    memory_->setToolTip(shown);
    memory_->style()->unpolish(memory_);
    memory_->style()->polish(memory_);
}

// --- The keyboard grab -------------------------------------------------------------

void Keyloom_DlgComposite::syncKeyboardGrab() {
    const bool wanted = isVisible() && promptDepth_ == 0 &&
                        (state_.captureHooksWanted() || state_.recorder().recording());
    if (wanted && !grabbed_) {
        grabKeyboard();
        grabbed_ = true;
        holdKeyboardGrab(50);
    } else if (!wanted && grabbed_) {
        releaseKeyboardGrab();
    }
}

void Keyloom_DlgComposite::holdKeyboardGrab(int attemptsLeft) {
    // The window system grants the grab only once the window is viewable,
    // which may be a little after it was shown: ask again for a second (another
    // program may hold the keyboard; then the dialog's own keys still arrive).
    QWindow* window = windowHandle();
    if (!grabbed_ || !window || attemptsLeft <= 0 ||
        QGuiApplication::platformName() == QLatin1String("offscreen") ||
        window->setKeyboardGrabEnabled(true))
        return;
    QTimer::singleShot(20, this, [this, attemptsLeft] { holdKeyboardGrab(attemptsLeft - 1); });
}

void Keyloom_DlgComposite::releaseKeyboardGrab() {
    if (grabbed_) {
        releaseKeyboard();
        grabbed_ = false;
    }
}

// --- Key events --------------------------------------------------------------------

bool Keyloom_DlgComposite::deliverToHooks(const QKeyEvent& event) {
    const std::optional<HookEvents> events = hookEventsOf(event);
    if (!events)
        return false;
    // A key that answers a message box is the box's.
    if (promptDepth_ > 0 || (!state_.captureHooksWanted() && !state_.recorder().recording()))
        return false;
    const KeyCode code = events->thread.keyCode();
    if (events->hidden)
        return code != 0 && !IsMediaKey(code);
    if (events->lowLevel && state_.onLowLevelKeyEvent(*events->lowLevel) == HookVerdict::Swallow)
        return true;
    return state_.onThreadKeyEvent(events->thread) == HookVerdict::Swallow;
}

bool Keyloom_DlgComposite::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool key = type == QEvent::KeyPress || type == QEvent::KeyRelease;
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease;
    if (!key && !mouse)
        return CBaseDialog::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return CBaseDialog::eventFilter(watched, event);
    const auto* input = static_cast<QInputEvent*>(event);
    clock_.observe(input->timestamp(), steadyMilliseconds());
    if (!key)
        return CBaseDialog::eventFilter(watched, event);
    const bool wasRecording = state_.recorder().recording();
    if (deliverToHooks(*static_cast<QKeyEvent*>(event))) {
        if (wasRecording)
            showRows();
        else
            showState();
        return true;
    }
    return CBaseDialog::eventFilter(watched, event);
}

void Keyloom_DlgComposite::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    // Enter is a key to capture, never a way to close the dialog. Escape
    // arrives here only where it is not being captured or recorded: there it
    // cancels, as in any dialog.
    if (key == Qt::Key_Escape && !state_.captureHooksWanted() && !state_.recorder().recording()) {
        reject();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
        return;
    if (key == Qt::Key_F1 && !state_.recorder().recording()) {
        if (setup_.openHelp)
            setup_.openHelp();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

// --- Actions -----------------------------------------------------------------------

void Keyloom_DlgComposite::pressApply() {
    // An open cell editor hands its value over first.
    QWidget* editor = QApplication::focusWidget();
    if (editor && editor != actionList_ && actionList_->isAncestorOf(editor)) {
        QMetaObject::invokeMethod(actionList_, "commitData", Q_ARG(QWidget*, editor));
        QMetaObject::invokeMethod(
            actionList_, "closeEditor", Q_ARG(QWidget*, editor),
            Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
    const ApplyResult result = state_.apply();
    if (applyHandler_)
        applyHandler_(result);
    showMacroList();
}

void Keyloom_DlgComposite::pressRecord() {
    MacroRecorder& recorder = state_.recorder();
    if (recorder.recording())
        recorder.stop();
    else
        recorder.start();
}

void Keyloom_DlgComposite::moveRow(RowMove move) {
    if (state_.macros().moveSelectedRow(move)) {
        showRows();
        actionList_->setFocus();
    }
}

void Keyloom_DlgComposite::macroNameEdited(const QString& typed) {
    const bool wasEmpty = state_.macros().macros().empty();
    const auto name = state_.macros().rename(typed.toStdU16String());
    if (!name)
        return;
    const QString shown = QString::fromStdU16String(*name);
    if (wasEmpty) {
        showMacroList();
        macroList_->setEditText(shown);
        return;
    }
    updating_ = true;
    const int position = static_cast<int>(state_.macros().selectedMacro());
    const int cursor = macroList_->lineEdit()->cursorPosition();
    macroList_->setItemText(position, shown);
    if (macroList_->currentText() != shown || macroList_->lineEdit()->text() != shown)
        macroList_->setEditText(shown);
    macroList_->lineEdit()->setCursorPosition(std::min(cursor, static_cast<int>(shown.size())));
    updating_ = false;
    showState();
}

void Keyloom_DlgComposite::openOnScreenKeyboard() {
    const bool started =
        setup_.startOnScreenKeyboard ? setup_.startOnScreenKeyboard() : startOnScreenKeyboard();
    if (started || !setup_.prompter)
        return;
    promptOpened();
    showPrompt(*setup_.prompter, "KEYLOOM_NO_OSK",
               {window::MessageButtons::Ok, window::MessageIcon::Information, false});
    promptAnswered();
}

}  // namespace keyloom::editors::qt
