// Building the key assignment dialog: its controls from the skin, their
// connections, pictures, places and texts.

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

#include "controls/SkinButtonSet.h"
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

QFont pixelFont(int pixels, bool bold = false) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The dialog's questions and messages as message boxes of the main window.
// `shown` hears when a box opens (true) and when it has been answered (false).
class PrompterPrompts final : public EditorPrompts {
public:
    PrompterPrompts(window::Prompter* prompter, std::function<void(bool)> shown)
        : prompter_(prompter), shown_(std::move(shown)) {}

    bool askYesNo(std::string_view languageKey) override {
        if (!prompter_)
            return false;
        const Open open(shown_);
        return keyloom::askYesNo(*prompter_, languageKey);
    }
    void tell(std::string_view languageKey, std::int64_t value) override {
        if (!prompter_)
            return;
        const Open open(shown_);
        showFormattedPrompt(*prompter_, languageKey,
                            formatted(lookupText(languageKey), std::to_string(value)),
                            {window::MessageButtons::Ok, window::MessageIcon::Warning, false});
    }

private:
    struct Open {
        explicit Open(const std::function<void(bool)>& shown) : shown_(shown) { shown_(true); }
        ~Open() { shown_(false); }
        Open(const Open&) = delete;
        Open& operator=(const Open&) = delete;
        const std::function<void(bool)>& shown_;
    };

    window::Prompter* prompter_;
    std::function<void(bool)> shown_;
};

// The faces of picture set `stem`: "_normal", "_over", "_down" and, where
// the set has its own, "_disable"; the current tab shows its pressed face.
bool loadSet(const std::string& folder, const std::string& stem, bool ownDisabled,
             SkinPictureSet& set) {
    const std::string normal = stem + "_normal.jpg";
    const std::string hover = stem + "_over.jpg";
    const std::string pressed = stem + "_down.jpg";
    const std::string disabled = ownDisabled ? stem + "_disable.jpg" : normal;
    std::string missing;
    return controls::loadPictureSet(folder, {normal, hover, pressed, disabled, pressed}, set,
                                    missing);
}

// Places that "Composite.ini" does not give: they belong to the window.
const QRect kApplyPlace(525, 425, 90, 32);
const QRect kTitleTextPlace(48, 0, 400, 46);
const QRect kHeadingPlace(37, 117, 568, 24);
const QRect kMacroHeadingPlace(33, 117, 200, 22);
const QRect kKeyboardCaptionPlace(140, 150, 360, 20);
const QRect kHintPlace(37, 344, 568, 20);
const QRect kMouseCaptionPlace(140, 252, 360, 20);
const QRect kMouseListPlace(140, 276, 360, 34);
const QRect kKeyboardOptionPlace(116, 152, 18, 18);
const QRect kMouseOptionPlace(116, 254, 18, 18);

}  // namespace

Keyloom_DlgComposite::Keyloom_DlgComposite(CompositeSetup setup, QWidget* parent)
    : CBaseDialog(parent),
      setup_(std::move(setup)),
      skinFile_(setup_.skinFolder + "Composite.ini"),
      state_(
          *setup_.store, [this] { return clock_.now(steadyMilliseconds()); }, setup_.edits),
      prompts_(std::make_unique<PrompterPrompts>(setup_.prompter, [this](bool shown) {
          if (shown)
              promptOpened();
          else
              promptAnswered();
      })) {
    setModal(true);
    setObjectName(QStringLiteral("Keyloom_DlgComposite"));
    setStyleSheet(
        QString::fromLatin1(kKeyDialogStyle)
            .replace(QStringLiteral("LIST_ARROW"), qs(setup_.skinFolder + "composite_arrow.png")));
    model_ = std::make_unique<KeyDialogActionModel>(state_.macros(), *prompts_);
    delegate_ = std::make_unique<KeyDialogActionDelegate>([this] {
        state_.beginDelayEdit();
        showState();
    });
    buildControls();
    buildKeyChoices();
    connectControls();
    connectKeyChoices();
    prepareKeyboardUse();
}

Keyloom_DlgComposite::~Keyloom_DlgComposite() {
    if (filterInstalled_)
        qApp->removeEventFilter(this);
    releaseKeyboardGrab();
}

// --- Building ---------------------------------------------------------------

template <typename Widget>
Widget* Keyloom_DlgComposite::addControl(int controlId, std::unique_ptr<Widget> widget) {
    Widget* raw = widget.get();
    raw->setParent(this);
    raw->setProperty("controlId", controlId);
    controls_[controlId] = std::move(widget);
    return raw;
}

CSkinButton* Keyloom_DlgComposite::skinButton(int controlId, const char* skinKey,
                                              const SkinPictureSet& pictures) {
    auto* button = addControl(controlId, std::make_unique<CSkinButton>());
    button->setObjectName(QString::fromLatin1(skinKey));
    controls::readSkinControl(*button, skinFile_, "BUTTONINFO", skinKey, pictures);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFont(pixelFont(13));
    return button;
}

QWidget* Keyloom_DlgComposite::control(int controlId) const {
    auto it = controls_.find(controlId);
    return it == controls_.end() ? nullptr : it->second.get();
}

void Keyloom_DlgComposite::buildControls() {
    const SkinPictureSet none;
    // The panel behind the tab's controls comes first: everything lies on it.
    modePicture_ = skinButton(id::kModePicture, "CONTROL_MASK", none);
    title_ = skinButton(id::kTitle, "CONTROL_TITLE", none);
    skinButton(id::kOnScreenKeyboard, "CONTROL_OSK", none);
    static const std::array<std::pair<int, const char*>, 4> kTabs{{
        {id::kKeyTab, "CONTROL_KEY"},
        {id::kMacroTab, "CONTROL_MACRO"},
        {id::kMediaTab, "CONTROL_MEDIA"},
        {id::kFunctionTab, "CONTROL_FUNCTION"},
    }};
    controls::SkinTextColours onAccent;
    onAccent.pressed = QColor(0x16, 0x18, 0x1b);
    onAccent.selected = QColor(0x16, 0x18, 0x1b);
    onAccent.hover = QColor(255, 255, 255);
    for (std::size_t i = 0; i < kTabs.size(); ++i) {
        tabs_[i] = skinButton(kTabs[i].first, kTabs[i].second, none);
        tabs_[i]->setTextColours(onAccent);
        tabs_[i]->setFont(pixelFont(13, true));
    }
    clear_ = skinButton(id::kClear, "CONTROL_CLEAR", none);
    auto* ok = skinButton(id::kOk, "CONTROL_OK", none);
    controls::SkinTextColours primary;
    primary.normal = QColor(0x16, 0x18, 0x1b);
    primary.hover = QColor(0x16, 0x18, 0x1b);
    ok->setTextColours(primary);
    ok->setFont(pixelFont(14, true));
    skinButton(id::kCancel, "CONTROL_CANCEL", none)->setFont(pixelFont(14));

    apply_ = addControl(id::kApply, std::make_unique<QPushButton>());
    apply_->setObjectName(QStringLiteral("apply"));
    apply_->setGeometry(kApplyPlace);
    apply_->setAutoDefault(false);
    apply_->setFocusPolicy(Qt::NoFocus);
    apply_->setFont(pixelFont(14));

    titleText_ = addControl(id::kTitleText, std::make_unique<QLabel>());
    titleText_->setProperty("role", "title");
    titleText_->setTextFormat(Qt::PlainText);
    titleText_->setFont(pixelFont(14, true));
    titleText_->setGeometry(kTitleTextPlace);

    const auto label = [this](int controlId, const QRect& place, const char* role, int pixels) {
        auto* caption = addControl(controlId, std::make_unique<QLabel>());
        caption->setTextFormat(Qt::PlainText);
        caption->setProperty("role", role);
        caption->setFont(pixelFont(pixels, std::string_view(role) == "heading"));
        caption->setGeometry(place);
        return caption;
    };
    label(id::kKeyCaption, kHeadingPlace, "heading", 14);
    label(id::kMediaCaption, kHeadingPlace, "heading", 14);
    label(id::kFunctionCaption, kHeadingPlace, "heading", 14);
    label(id::kMacroCaption, kMacroHeadingPlace, "heading", 14);
    label(id::kKeyboardCaption, kKeyboardCaptionPlace, "muted", 12);
    label(id::kCaptureHint, kHintPlace, "muted", 12)->setAlignment(Qt::AlignCenter);
    label(id::kMouseCaption, kMouseCaptionPlace, "muted", 12);

    captureBox_ = addControl(id::kCaptureBox, std::make_unique<QLineEdit>());
    captureBox_->setObjectName(QStringLiteral("captureBox"));
    captureBox_->setReadOnly(true);
    captureBox_->setAlignment(Qt::AlignCenter);
    captureBox_->setFont(pixelFont(24, true));
    captureBox_->setFocusPolicy(Qt::NoFocus);
    controls::placeControl(*captureBox_, skinFile_, "BUTTONINFO", "FUNC_KEY_INPUT");

    const auto list = [this](int controlId, const char* skinKey) {
        auto* box = addControl(controlId, std::make_unique<QComboBox>());
        box->setFont(pixelFont(14));
        box->setMaxVisibleItems(12);
        if (skinKey)
            controls::placeControl(*box, skinFile_, "BUTTONINFO", skinKey);
        return box;
    };
    mediaList_ = list(id::kMediaList, "FUNC_MEDIA_SELECT");
    functionList_ = list(id::kFunctionList, "FUNC_FUNCTION_SELECT");
    mouseList_ = list(id::kMouseList, nullptr);
    mouseList_->setGeometry(kMouseListPlace);
    auto* keyboardOption = addControl(id::kKeyboardOption, std::make_unique<QRadioButton>());
    keyboardOption->setGeometry(kKeyboardOptionPlace);
    auto* mouseOption = addControl(id::kMouseOption, std::make_unique<QRadioButton>());
    mouseOption->setGeometry(kMouseOptionPlace);

    // The macro tab.
    macroList_ = list(id::kMacroList, "FUNC_MACRO_LIST");
    macroList_->setEditable(true);
    macroList_->setInsertPolicy(QComboBox::NoInsert);
    macroList_->setFont(pixelFont(13));
    static const std::array<std::pair<int, const char*>, 9> kMacroButtons{{
        {id::kMacroAdd, "FUNC_MACRO_ADD"},
        {id::kMacroDelete, "FUNC_MACRO_DELETE"},
        {id::kRecord, "FUNC_MACRO_RECORD"},
        {id::kActionDelete, "FUNC_MACRO_DELETE2"},
        {id::kActionClear, "FUNC_MACRO_CLEAR"},
        {id::kMoveToTop, "FUNC_MACRO_UP_TOP"},
        {id::kMoveUp, "FUNC_MACRO_UP"},
        {id::kMoveDown, "FUNC_MACRO_DOWN"},
        {id::kMoveToBottom, "FUNC_MACRO_DOWN_BOTTOM"},
    }};
    for (const auto& [controlId, key] : kMacroButtons)
        skinButton(controlId, key, none);
    record_ = static_cast<CSkinButton*>(control(id::kRecord));
    record_->setFont(pixelFont(14, true));

    actionList_ = addControl(id::kActionList, std::make_unique<QTableView>());
    controls::placeControl(*actionList_, skinFile_, "BUTTONINFO", "FUNC_MACRO_LIST2");
    actionList_->setModel(model_.get());
    actionList_->setItemDelegate(delegate_.get());
    actionList_->setSelectionMode(QAbstractItemView::SingleSelection);
    actionList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    actionList_->setEditTriggers(QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::SelectedClicked);
    actionList_->setAlternatingRowColors(true);
    actionList_->setShowGrid(false);
    actionList_->setWordWrap(false);
    actionList_->setFont(pixelFont(12));
    actionList_->verticalHeader()->setDefaultSectionSize(22);
    actionList_->verticalHeader()->setMinimumSectionSize(22);
    actionList_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    actionList_->verticalHeader()->setFont(pixelFont(11));
    actionList_->verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    actionList_->horizontalHeader()->setFont(pixelFont(12, true));
    actionList_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    actionList_->horizontalHeader()->setHighlightSections(false);
    actionList_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    actionList_->horizontalHeader()->setStretchLastSection(true);
    actionList_->setColumnWidth(KeyDialogActionModel::KeyColumn, 150);
    actionList_->setColumnWidth(KeyDialogActionModel::StateColumn, 70);
    // Fixed row heights keep scrolling through thousands of rows cheap.
    actionList_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    actionList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    playCount_ = addControl(id::kPlayCount, std::make_unique<QLineEdit>());
    controls::placeControl(*playCount_, skinFile_, "BUTTONINFO", "FUNC_MACRO_CYCLES");
    playCount_->setFont(pixelFont(13));
    playCount_->setAlignment(Qt::AlignCenter);
    playCount_->setMaxLength(6);
    auto* cycles = label(id::kPlayCountCaption, {}, "muted", 12);
    controls::placeControl(*cycles, skinFile_, "BUTTONINFO", "FUNC_MACRO_CYCLES_PROMPT");
    // The count is the macro's, not the key's: every key playing it shares it.
    auto* countNote = label(id::kPlayCountNote, {}, "muted", 10);
    controls::placeControl(*countNote, skinFile_, "BUTTONINFO", "FUNC_MACRO_CYCLES_NOTE");
    recordDelay_ = addControl(id::kRecordDelay, std::make_unique<QCheckBox>());
    controls::placeControl(*recordDelay_, skinFile_, "BUTTONINFO", "FUNC_MACRO_RECORD_DELAY");
    recordDelay_->setFocusPolicy(Qt::NoFocus);
    auto* delayCaption = label(id::kRecordDelayCaption, {}, "muted", 12);
    controls::placeControl(*delayCaption, skinFile_, "BUTTONINFO", "FUNC_MACRO_RECORD_DELAY2");
    memory_ = label(id::kMacroMemory, {}, "muted", 11);
    controls::placeControl(*memory_, skinFile_, "BUTTONINFO", "FUNC_MACRO_MEMORY");
    memory_->setWordWrap(true);
    memory_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    modePicture_->setEnabled(false);
    modePicture_->lower();
    title_->setEnabled(false);
}

void Keyloom_DlgComposite::connectControls() {
    const auto onClick = [this](int controlId, auto handler) {
        auto* button = qobject_cast<QAbstractButton*>(control(controlId));
        connect(button, &QAbstractButton::clicked, this, [this, handler] {
            handler();
            showState();
        });
    };
    onClick(id::kKeyTab, [this] { state_.pressKeyTab(); });
    onClick(id::kMacroTab, [this] {
        state_.pressMacroTab();
        showMacroList();
    });
    onClick(id::kMediaTab, [this] { state_.pressMediaTab(); });
    onClick(id::kFunctionTab, [this] { state_.pressFunctionTab(); });
    onClick(id::kClear, [this] { state_.pressClear(); });
    onClick(id::kOnScreenKeyboard, [this] { openOnScreenKeyboard(); });
    onClick(id::kOk, [this] {
        pressApply();
        accept();
    });
    onClick(id::kCancel, [this] { reject(); });
    onClick(id::kApply, [this] { pressApply(); });
    onClick(id::kMacroAdd, [this] {
        state_.macros().addMacro(*prompts_);
        showMacroList();
    });
    onClick(id::kMacroDelete, [this] {
        state_.macros().deleteSelectedMacro(*setup_.store, *prompts_);
        showMacroList();
    });
    onClick(id::kRecord, [this] { pressRecord(); });
    onClick(id::kActionDelete, [this] {
        state_.macros().deleteSelectedRow();
        showRows();
    });
    onClick(id::kActionClear, [this] {
        state_.macros().clearRows(*prompts_);
        showRows();
    });
    onClick(id::kMoveToTop, [this] { moveRow(RowMove::ToTop); });
    onClick(id::kMoveUp, [this] { moveRow(RowMove::Up); });
    onClick(id::kMoveDown, [this] { moveRow(RowMove::Down); });
    onClick(id::kMoveToBottom, [this] { moveRow(RowMove::ToBottom); });
    onClick(id::kRecordDelay, [this] {
        const bool on = recordDelay_->isChecked();
        state_.setRecordDelaySetting(on);
        if (setup_.registry)
            storeRecordDelaySetting(*setup_.registry, recordDelayEntryName(), on);
    });

    connect(mediaList_, &QComboBox::activated, this, [this](int row) {
        if (row >= 0)
            state_.selectMediaRow(static_cast<std::uint32_t>(row));
        showState();
    });
    connect(functionList_, &QComboBox::activated, this, [this](int row) {
        if (row >= 0)
            state_.selectFunctionRow(static_cast<std::uint32_t>(row));
        showState();
    });
    connect(mouseList_, &QComboBox::activated, this, [this](int row) {
        if (row >= 0)
            state_.selectMouseRow(static_cast<std::uint32_t>(row));
        showState();
    });
    connect(macroList_, &QComboBox::activated, this, [this](int position) {
        if (updating_)
            return;
        state_.macros().selectMacro(position);
        showMacroList();
    });
    connect(macroList_->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& typed) { macroNameEdited(typed); });
    connect(playCount_, &QLineEdit::textEdited, this, [this](const QString& typed) {
        const int count = state_.macros().setPlayCountText(typed.toStdString());
        if (typed != QString::number(count))
            playCount_->setText(QString::number(count));
        showState();
    });
    connect(actionList_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!updating_)
                    state_.macros().selectRow(current.isValid() ? current.row() : kNoSelection);
            });
    connect(model_.get(), &KeyDialogActionModel::edited, this, [this] { showState(); });
}

bool Keyloom_DlgComposite::loadImageSets() {
    if (images_)
        return true;
    const std::string& folder = setup_.skinFolder;
    auto sets = std::make_unique<ImageSets>();
    if (!loadSet(folder, "key", false, sets->key) || !loadSet(folder, "macro", true, sets->macro) ||
        !loadSet(folder, "macro2", true, sets->macro2) ||
        !loadSet(folder, "media", false, sets->media) ||
        !loadSet(folder, "function", false, sets->function))
        return false;
    images_ = std::move(sets);
    loadSkin(skinFile_, SkinPictures::Now);
    return true;
}

void Keyloom_DlgComposite::placeControls() {
    const bool macroOnly = state_.macroOnly();
    const auto dress = [this](int controlId, const char* key, const SkinPictureSet& set) {
        if (auto* button = qobject_cast<CSkinButton*>(control(controlId)))
            controls::readSkinControl(*button, skinFile_, "BUTTONINFO", key, set);
    };
    const ImageSets& images = *images_;
    // The tabs a macro-only key cannot use carry the second macro set.
    const SkinPictureSet& others = macroOnly ? images.macro2 : images.key;
    dress(id::kTitle, "CONTROL_TITLE", others);
    dress(id::kOnScreenKeyboard, "CONTROL_OSK", images.key);
    dress(id::kKeyTab, "CONTROL_KEY", others);
    dress(id::kMacroTab, "CONTROL_MACRO", images.key);
    dress(id::kMediaTab, "CONTROL_MEDIA", others);
    dress(id::kFunctionTab, "CONTROL_FUNCTION", others);
    dress(id::kClear, "CONTROL_CLEAR", others);
    dress(id::kOk, "CONTROL_OK", images.key);
    dress(id::kCancel, "CONTROL_CANCEL", images.key);
    for (const auto& [controlId, key] : std::initializer_list<std::pair<int, const char*>>{
             {id::kMacroAdd, "FUNC_MACRO_ADD"},
             {id::kMacroDelete, "FUNC_MACRO_DELETE"},
             {id::kRecord, "FUNC_MACRO_RECORD"},
             {id::kActionDelete, "FUNC_MACRO_DELETE2"},
             {id::kActionClear, "FUNC_MACRO_CLEAR"},
             {id::kMoveToTop, "FUNC_MACRO_UP_TOP"},
             {id::kMoveUp, "FUNC_MACRO_UP"},
             {id::kMoveDown, "FUNC_MACRO_DOWN"},
             {id::kMoveToBottom, "FUNC_MACRO_DOWN_BOTTOM"},
         })
        dress(controlId, key, images.macro);
    for (int controlId : {id::kKeyTab, id::kMediaTab, id::kFunctionTab, id::kClear})
        control(controlId)->setEnabled(!macroOnly);
    title_->setEnabled(false);
}

void Keyloom_DlgComposite::languageTexts(const QString& keyLabel) {
    const bool macroOnly = state_.macroOnly();
    const auto setText = [this](int controlId, const QString& value) {
        QWidget* widget = control(controlId);
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(value);
        else if (auto* caption = qobject_cast<QLabel*>(widget))
            caption->setText(value);
    };
    titleText_->setText(keyLabel.isEmpty() ? text("KEYLOOM_COMPOSITE_TITLE")
                                           : text("KEYLOOM_COMPOSITE_TITLE") +
                                                 QStringLiteral("  \u00b7  ") + keyLabel);
    setWindowTitle(titleText_->text());
    setText(id::kKeyTab, macroOnly ? QString() : text("KEYLOOM_TAB_KEY"));
    setText(id::kMacroTab, text("KEYLOOM_TAB_MACRO"));
    setText(id::kMediaTab, macroOnly ? QString() : text("KEYLOOM_TAB_MEDIA"));
    setText(id::kFunctionTab, macroOnly ? QString() : text("KEYLOOM_TAB_FUNCTION"));
    setText(id::kClear, macroOnly ? QString() : text("KEYLOOM_CLEAR"));
    setText(id::kOk, text("KEYLOOM_OK"));
    setText(id::kCancel, text("KEYLOOM_CANCEL"));
    setText(id::kApply, text("KEYLOOM_APPLY"));
    setText(id::kKeyCaption, text("KEYLOOM_CAPTION_KEY"));
    setText(id::kMacroCaption, text("KEYLOOM_CAPTION_MACRO"));
    setText(id::kMediaCaption, text("KEYLOOM_CAPTION_MEDIA"));
    setText(id::kFunctionCaption, text("KEYLOOM_CAPTION_FUNCTION"));
    setText(id::kKeyboardCaption, text("IDS_MACRO_KB_KEY"));
    setText(id::kCaptureHint, text("KEYLOOM_CAPTURE_HINT"));
    setText(id::kMouseCaption, text("IDS_MACRO_MOU_KEY"));
    setText(id::kPlayCountCaption, text("MACRO_CYCLES"));
    setText(id::kPlayCountNote, text("KEYLOOM_MACRO_CYCLES_SHARED"));
    setText(id::kRecordDelayCaption, text("RECORD_DELAY"));
    setText(id::kMacroAdd, text("KEYLOOM_MACRO_ADD"));
    setText(id::kMacroDelete, text("KEYLOOM_MACRO_DELETE"));
    const auto tip = [this](int controlId, std::string_view key) {
        control(controlId)->setToolTip(text(key));
    };
    tip(id::kClear, "COMPOSITE_PROMPT_CLEAR");
    tip(id::kOnScreenKeyboard, "COMPOSITE_PROMPT_OSK");
    tip(id::kActionDelete, "KEYLOOM_MACRO_DELETE_ACTION");
    tip(id::kActionClear, "KEYLOOM_MACRO_CLEAR_ACTIONS");
    tip(id::kMoveToTop, "KEYLOOM_MACRO_TO_TOP");
    tip(id::kMoveUp, "KEYLOOM_MACRO_UP");
    tip(id::kMoveDown, "KEYLOOM_MACRO_DOWN");
    tip(id::kMoveToBottom, "KEYLOOM_MACRO_TO_BOTTOM");
    for (int controlId : {id::kPlayCount, id::kPlayCountCaption, id::kPlayCountNote})
        tip(controlId, "KEYLOOM_MACRO_CYCLES_SHARED_TIP");
    keyChoiceTexts();
    model_->headerDataChanged(Qt::Horizontal, 0, KeyDialogActionModel::ColumnCount - 1);
    nameControls();
    fitTexts();
}

}  // namespace keyloom::editors::qt
