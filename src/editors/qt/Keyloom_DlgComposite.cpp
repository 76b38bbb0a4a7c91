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

#include "controls/SkinReaders.h"
#include "core/Prompts.h"
#include "editors/MacroMemory.h"
#include "editors/RecordDelaySetting.h"
#include "editors/qt/KeyDialogActionModel.h"
#include "editors/qt/KeyDialogOsk.h"
#include "editors/qt/KeyDialogPlacement.h"
#include "editors/qt/KeyDialogStyle.h"
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

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QString text(std::string_view key) {
    return qs(lookupText(key));
}

// A language text with one "%d" (or "%s") filled in; "%%" is a percent sign.
std::string formatted(const std::string& pattern, const std::string& value) {
    std::string out;
    bool filled = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            const char next = pattern[i + 1];
            if (next == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (!filled && (next == 'd' || next == 's')) {
                out += value;
                filled = true;
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

QString grouped(std::size_t number) {
    return QLocale(QLocale::English).toString(static_cast<qulonglong>(number));
}

QFont pixelFont(int pixels, bool bold = false) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The dialog's questions and messages as message boxes of the main window.
// `depth` counts the message boxes open now.
class PrompterPrompts final : public EditorPrompts {
public:
    PrompterPrompts(window::Prompter* prompter, int& depth) : prompter_(prompter), depth_(depth) {}

    bool askYesNo(std::string_view languageKey) override {
        if (!prompter_)
            return false;
        const Open open(depth_);
        return keyloom::askYesNo(*prompter_, languageKey);
    }
    void tell(std::string_view languageKey, std::int64_t value) override {
        if (!prompter_)
            return;
        const Open open(depth_);
        showFormattedPrompt(*prompter_, languageKey,
                            formatted(lookupText(languageKey), std::to_string(value)),
                            {window::MessageButtons::Ok, window::MessageIcon::Warning, false});
    }

private:
    struct Open {
        explicit Open(int& depth) : depth_(depth) { ++depth_; }
        ~Open() { --depth_; }
        Open(const Open&) = delete;
        Open& operator=(const Open&) = delete;
        int& depth_;
    };

    window::Prompter* prompter_;
    int& depth_;
};

SkinPictureSet loadSet(const std::string& folder, const char* stem, bool ownDisabled, bool& ok) {
    const auto load = [&](const std::string& name) {
        QPixmap picture(qs(folder + name));
        ok = ok && !picture.isNull();
        return picture;
    };
    const std::string s(stem);
    SkinPictureSet set;
    set.normal = load(s + "_normal.jpg");
    set.hover = load(s + "_over.jpg");
    set.pressed = load(s + "_down.jpg");
    set.disabled = ownDisabled ? load(s + "_disable.jpg") : set.normal;
    // The current tab shows its pressed face.
    set.selected = set.pressed;
    return set;
}

// Places that "Composite.ini" does not give: they belong to the window.
const QRect kApplyPlace(525, 425, 90, 32);
const QRect kTitleTextPlace(48, 0, 400, 46);
const QRect kHeadingPlace(37, 117, 568, 24);
const QRect kMacroHeadingPlace(33, 117, 200, 22);
const QRect kKeyboardCaptionPlace(140, 150, 360, 20);
const QRect kHintPlace(37, 356, 568, 22);
const QRect kMouseCaptionPlace(140, 262, 360, 20);
const QRect kMouseListPlace(140, 286, 360, 34);
const QRect kKeyboardOptionPlace(116, 166, 16, 16);
const QRect kMouseOptionPlace(116, 266, 16, 16);

}  // namespace

Keyloom_DlgComposite::Keyloom_DlgComposite(CompositeSetup setup, QWidget* parent)
    : CBaseDialog(parent),
      setup_(std::move(setup)),
      skinFile_(setup_.skinFolder + "Composite.ini"),
      state_(*setup_.store, [this] { return clock_.now(steadyMilliseconds()); }),
      prompts_(std::make_unique<PrompterPrompts>(setup_.prompter, promptDepth_)) {
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
    connectControls();
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
        std::atomic<bool> unused{false};
        state_.macros().deleteSelectedMacro(
            *setup_.store, setup_.writeAllProfiles ? *setup_.writeAllProfiles : unused, *prompts_);
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
    bool ok = true;
    const std::string& folder = setup_.skinFolder;
    auto sets = std::make_unique<ImageSets>();
    sets->key = loadSet(folder, "key", false, ok);
    sets->macro = loadSet(folder, "macro", true, ok);
    sets->macro2 = loadSet(folder, "macro2", true, ok);
    sets->media = loadSet(folder, "media", false, ok);
    sets->function = loadSet(folder, "function", false, ok);
    if (!ok)
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
    setText(id::kClear, macroOnly ? QString() : QStringLiteral("     ") + text("KEYLOOM_CLEAR"));
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
    setText(id::kRecordDelayCaption, text("RECORD_DELAY"));
    setText(id::kMacroAdd, QStringLiteral("    ") + text("KEYLOOM_MACRO_ADD"));
    setText(id::kMacroDelete, QStringLiteral("    ") + text("KEYLOOM_MACRO_DELETE"));
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
    model_->headerDataChanged(Qt::Horizontal, 0, KeyDialogActionModel::ColumnCount - 1);
}

// --- Opening and closing ---------------------------------------------------------

OpenResult Keyloom_DlgComposite::prepare(int buttonId, const KeyButtonContext& context,
                                         const QRect& keyOnScreen, const QString& keyLabel) {
    const OpenResult result = state_.openForKeyButton(buttonId, context);
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

bool Keyloom_DlgComposite::closeIfOpen() {
    if (!isOpen())
        return false;
    if (promptDepth_ > 0) {
        // The editor is inside one of its questions (with the macro list in
        // hand); it closes right after the answer, not under its feet.
        QTimer::singleShot(0, this, [this] { closeIfOpen(); });
        return true;
    }
    reject();
    return true;
}

void Keyloom_DlgComposite::done(int result) {
    releaseKeyboardGrab();
    if (filterInstalled_) {
        qApp->removeEventFilter(this);
        filterInstalled_ = false;
    }
    state_.close();
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
          id::kPlayCount, id::kPlayCountCaption, id::kMacroMemory})
        control(controlId)->setVisible(macroView);
    for (int controlId : {id::kCaptureBox, id::kKeyCaption, id::kKeyboardCaption, id::kCaptureHint})
        control(controlId)->setVisible(keyView);
    // The options themselves stay hidden; a key that sends a mouse button
    // shows which one, so that the user can see and change it.
    const bool mouse = keyView && !state_.keyboardOption();
    control(id::kMouseCaption)->setVisible(mouse);
    mouseList_->setVisible(mouse);
    control(id::kKeyboardOption)->setVisible(false);
    control(id::kMouseOption)->setVisible(false);
    mediaList_->setVisible(view == TabView::Media);
    control(id::kMediaCaption)->setVisible(view == TabView::Media);
    // The function tab needs its list: without it no function can be chosen.
    functionList_->setVisible(view == TabView::Function);
    control(id::kFunctionCaption)->setVisible(view == TabView::Function);

    const auto boxKey = state_.captureBoxKey();
    captureBox_->setText(boxKey ? qs(KeyName(*boxKey, kNameBufferSize)) : QString());
    captureBox_->setEnabled(state_.keyboardOption());
    mouseList_->setEnabled(!state_.keyboardOption());
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
    const bool wanted =
        isVisible() && (state_.captureHooksWanted() || state_.recorder().recording());
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
    if (!state_.captureHooksWanted() && !state_.recorder().recording())
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
    // Enter and Escape are keys to capture, never a way to close the dialog.
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
    if (!started && setup_.prompter)
        showPrompt(*setup_.prompter, "KEYLOOM_NO_OSK",
                   {window::MessageButtons::Ok, window::MessageIcon::Information, false});
}

}  // namespace keyloom::editors::qt
