#include "editors/qt/CKeyloom_DlgProfile.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTableWidget>

#include "controls/SkinReaders.h"
#include "core/Prompts.h"
#include "platform/text/SafeFormat.h"
#include "storage/Language.h"
#include "storage/ProfileFile.h"

namespace keyloom::editors::qt {

namespace id = profile_dialog;

namespace {

struct ButtonInfo {
    int id;
    const char* skinKey;
    const char* textKey;   // empty: no caption
    const char* fallback;  // the caption when the language file lacks the key
    bool primary;
};

constexpr ButtonInfo kButtons[] = {
    {id::kAdd, "FUNC_ADD", "KEYLOOM_PROFILES_ADD", "添加", false},
    {id::kLoad, "FUNC_LOAD", "KEYLOOM_PROFILES_LOAD", "载入", false},
    {id::kDelete, "FUNC_DELETE", "KEYLOOM_PROFILES_DELETE", "删除", false},
    {id::kOk, "CONTROL_OK", "KEYLOOM_PROFILES_OK", "确定", true},
    {id::kCancel, "CONTROL_CANCEL", "KEYLOOM_PROFILES_CANCEL", "取消", false},
    {id::kApply, "CONTROL2_APPLY", "KEYLOOM_PROFILES_APPLY", "应用", false},
    {id::kClose, "CONTROL_CLOSE", "", "", false},
};

// Normal, under the mouse, pressed; pressed again for a disabled button.
constexpr controls::SkinFaceFiles kFaces{"Profile_normal.jpg", "Profile_over.jpg",
                                         "Profile_down.jpg", "Profile_down.jpg",
                                         "Profile_normal.jpg"};

constexpr int kColumnWidths[] = {60, 120, 230};

constexpr std::string_view kReplaceQuestionKey = "KEYLOOM_PROFILES_REPLACE_ASK";
constexpr std::string_view kReplaceQuestionFallback =
    "Write the profile file %s to the keyboard? It replaces all three on-board profiles and "
    "every macro the keyboard holds now; those are saved first to a before-restore file in the "
    "data folder. Choose No to leave the keyboard as it is.";

// The list in the dark skin: the colours of the main window's panels, the
// accent for the selected row.
const char* const kListStyle =
    "QTableWidget { background: #17191d; color: #dfe3e8; gridline-color: #262a30;"
    " border: none; selection-background-color: #3a2712; selection-color: #ffa640;"
    " outline: none; }"
    "QTableWidget::item { padding-left: 6px; }"
    "QHeaderView::section { background: #1f2227; color: #8a9098; border: none;"
    " border-right: 1px solid #262a30; border-bottom: 1px solid #262a30; padding: 4px 6px;"
    " font-weight: bold; }"
    "QScrollBar:vertical { background: #17191d; width: 10px; }"
    "QScrollBar::handle:vertical { background: #31353d; border-radius: 4px; min-height: 20px; }"
    "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }";

// The tick box of a row, drawn as the skin's round choice: a ring, filled
// with the accent when ticked.
QIcon tickPicture(bool ticked) {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ticked ? QColor(255, 130, 0) : QColor(0x4a, 0x50, 0x59), 1.5));
    painter.setBrush(QColor(0x16, 0x18, 0x1b));
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    if (ticked) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 130, 0));
        painter.drawEllipse(QRectF(4.5, 4.5, 7, 7));
    }
    painter.end();
    QIcon icon;
    // The same picture when the row is selected.
    icon.addPixmap(picture, QIcon::Normal);
    icon.addPixmap(picture, QIcon::Selected);
    return icon;
}

constexpr int kTickedRole = Qt::UserRole;

QTableWidgetItem* textItem(const std::string& text) {
    auto* item = new QTableWidgetItem(QString::fromStdString(text));  // owned by the table
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

CKeyloom_DlgProfile::CKeyloom_DlgProfile(ProfileDialogSetup setup, QWidget* parent)
    : CBaseDialog(parent), setup_(std::move(setup)) {
    setModal(true);
    // The background is decoded when the dialog first shows.
    loadSkin(setup_.skinFile, SkinPictures::WhenNeeded);
    buildControls();
}

CKeyloom_DlgProfile::~CKeyloom_DlgProfile() = default;

void CKeyloom_DlgProfile::buildControls() {
    caption_ = makeCaption(*this, setup_.skinFile, setup_.skinFolder);
    for (const ButtonInfo& info : kButtons)
        styleButton(skinButtons().add(info.id, setup_.skinFile, info.skinKey), info.primary);
    skinButtons().setClickHandler([this](int command) { runCommand(command); });

    list_ = std::make_unique<QTableWidget>(0, 3, this);
    list_->setProperty("controlId", id::kList);
    controls::placeControl(*list_, setup_.skinFile, "BUTTONINFO", "PROGRAM_LIST");
    list_->setStyleSheet(kListStyle);
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setWordWrap(false);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(28);
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->horizontalHeader()->setSectionsClickable(false);
    for (int c = 0; c < 3; ++c)
        list_->setColumnWidth(c, kColumnWidths[c]);
    list_->setIconSize(QSize(16, 16));
    connect(list_.get(), &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column == 0)
            toggleTick(row);
    });
}

void CKeyloom_DlgProfile::languageTexts() {
    setWindowTitle(textOr("KEYLOOM_PROFILES_CAPTION", "Profiles"));
    caption_->setText(windowTitle());
    for (const ButtonInfo& info : kButtons)
        if (*info.textKey)
            button(info.id)->setText(textOr(info.textKey, info.fallback));
    // Names for screen readers where the control shows no text.
    button(id::kClose)->setAccessibleName(textOr("MAIN_CLOSE_PROMPT", "Close"));
    list_->setAccessibleName(textOr("KEYLOOM_NAME_PROFILE_LIST", "Profiles"));
    list_->setHorizontalHeaderLabels({textOr("KEYLOOM_PROFILES_ACTIVE", "激活"),
                                      textOr("KEYLOOM_PROFILES_NAME", "名称"),
                                      textOr("KEYLOOM_PROFILES_PATH", "路径")});
}

controls::CSkinButton* CKeyloom_DlgProfile::button(int controlId) const {
    return skinButtons().find(controlId);
}

// --- Opening and closing ------------------------------------------------------------

bool CKeyloom_DlgProfile::prepareToOpen() {
    if (!dressButtons(*this, setup_.skinFolder, kFaces, setup_.prompts))
        return false;

    const int active = setup_.activeProfile ? setup_.activeProfile() : -1;
    state_.open(setup_.slotFile, active, onBoardProfileName,
                setup_.registry ? readStoredFiles(*setup_.registry) : std::vector<std::string>{});
    languageTexts();
    fillList();
    stateChanged();
    return true;
}

void CKeyloom_DlgProfile::closeAsCancel() {
    if (state_.isOpen())
        done(QDialog::Rejected);
}

void CKeyloom_DlgProfile::done(int result) {
    state_.close();
    stateChanged();
    list_->setRowCount(0);
    CBaseDialog::done(result);
}

void CKeyloom_DlgProfile::keyPressEvent(QKeyEvent* event) {
    // Enter does not press OK (it would apply); Escape is Cancel, but not
    // while Apply waits for the keyboard.
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || (key == Qt::Key_Escape && applying_))
        return;
    CBaseDialog::keyPressEvent(event);
}

// --- The list ------------------------------------------------------------------------

void CKeyloom_DlgProfile::fillList() {
    const auto& rows = state_.rows();
    list_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int r = static_cast<int>(i);
        auto* box = new QTableWidgetItem();  // owned by the table
        box->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        list_->setItem(r, 0, box);
        list_->setItem(r, 1, textItem(rows[i].name));
        list_->setItem(r, 2, textItem(rows[i].folder));
        list_->item(r, 2)->setToolTip(QString::fromStdString(storedPathOf(rows[i])));
    }
    refreshTicks();
}

void CKeyloom_DlgProfile::toggleTick(int row) {
    if (row < 0 || row >= list_->rowCount())
        return;
    // A click on a ticked box clears it; on another box it moves the tick
    // there (the boxes behave as radio buttons).
    state_.tick(state_.tickedRow() == row ? -1 : row);
    refreshTicks();
    list_->selectRow(row);
    stateChanged();
}

void CKeyloom_DlgProfile::refreshTicks() {
    static const QIcon ticked = tickPicture(true);
    static const QIcon clear = tickPicture(false);
    const auto& rows = state_.rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (QTableWidgetItem* box = list_->item(static_cast<int>(i), 0)) {
            box->setIcon(rows[i].ticked ? ticked : clear);
            box->setData(kTickedRole, rows[i].ticked);
        }
    }
}

void CKeyloom_DlgProfile::selectRow(int row) {
    if (row < 0)
        list_->clearSelection();
    else
        list_->selectRow(row);
}

void CKeyloom_DlgProfile::tickRow(int row) {
    if (state_.tickedRow() != row)
        toggleTick(row);
}

bool CKeyloom_DlgProfile::isTicked(int row) const {
    const QTableWidgetItem* box = list_->item(row, 0);
    return box && box->data(kTickedRole).toBool();
}

void CKeyloom_DlgProfile::stateChanged() {
    if (setup_.editorStateChanged)
        setup_.editorStateChanged(state_.isOpen(), state_.hasUnappliedChanges());
    button(id::kApply)->setEnabled(state_.hasUnappliedChanges() && !applying_);
}

void CKeyloom_DlgProfile::selectProfileRow(int profile) {
    if (!state_.isOpen())
        return;
    state_.selectRow(profile);
    refreshTicks();
    stateChanged();
}

// --- Commands ------------------------------------------------------------------------

void CKeyloom_DlgProfile::runCommand(int controlId) {
    if (applying_)
        return;
    switch (controlId) {
        case id::kAdd:
            add();
            break;
        case id::kLoad:
            load();
            break;
        case id::kDelete:
            remove();
            break;
        case id::kApply:
            apply(false);
            break;
        case id::kOk:
            apply(true);
            break;
        case id::kCancel:
        case id::kClose:
            done(QDialog::Rejected);
            break;
        default:
            break;
    }
}

void CKeyloom_DlgProfile::add() {
    if (!setup_.chooseFile)
        return;
    const std::string proposed = setup_.dataFolder + "/" + lookupText("PROFILE_NEW") + "." +
                                 std::string(kProfileFileExtension);
    const std::string path = setup_.chooseFile(ProfileFileDialog::Add, proposed);
    // The dialog may have been closed meanwhile (the keyboard went away).
    if (path.empty() || !state_.isOpen())
        return;
    // The row is listed even when the file could not be created: Apply
    // then says so when it tries to use it.
    static_cast<void>(createEmptyProfileFile(path));
    const int row = state_.appendFile(path);
    fillList();
    list_->selectRow(row);
    stateChanged();
}

void CKeyloom_DlgProfile::load() {
    if (!setup_.chooseFile)
        return;
    const std::string path = setup_.chooseFile(
        ProfileFileDialog::Load, setup_.dataFolder + "/*." + std::string(kProfileFileExtension));
    if (path.empty() || !state_.isOpen())
        return;
    const int row = state_.appendFile(path);
    fillList();
    list_->selectRow(row);
    stateChanged();
}

void CKeyloom_DlgProfile::remove() {
    const QList<QTableWidgetSelectionRange> selected = list_->selectedRanges();
    if (selected.isEmpty())
        return;
    if (!state_.remove(selected.constFirst().topRow()))
        return;
    fillList();
    stateChanged();
}

bool CKeyloom_DlgProfile::confirmReplacingKeyboard(const std::string& file) {
    // Without a way to ask, the keyboard is not replaced.
    if (!setup_.prompts)
        return false;
    std::string format = lookupText(kReplaceQuestionKey);
    if (format == kMissingText)
        format = kReplaceQuestionFallback;
    const window::MessageAnswer answer =
        showFormattedPrompt(*setup_.prompts, kReplaceQuestionKey, text::formatString(format, file),
                            {window::MessageButtons::YesNo, window::MessageIcon::Question, false});
    return answer == window::MessageAnswer::Yes;
}

void CKeyloom_DlgProfile::apply(bool closeAfter) {
    // A file row replaces everything the keyboard holds: only when the user
    // says so. No leaves the list, the registry and the keyboard as they are.
    const ProfileApplyPlan planned = state_.plan();
    if (planned.kind == ProfileApplyPlan::Kind::RestoreFile &&
        !confirmReplacingKeyboard(planned.file))
        return;
    ProfileApplyPlan plan;
    if (setup_.registry)
        state_.apply(*setup_.registry, plan);
    else
        plan = state_.plan();
    stateChanged();
    const auto finished = [this, closeAfter] {
        applying_ = false;
        for (const auto& [command, b] : skinButtons().all())
            if (command != id::kApply)
                b->setEnabled(true);
        stateChanged();
        if (closeAfter && state_.isOpen())
            done(QDialog::Accepted);
    };
    if (!setup_.applyToKeyboard) {
        finished();
        return;
    }
    applying_ = true;
    for (const auto& [command, b] : skinButtons().all())
        b->setEnabled(false);
    setup_.applyToKeyboard(plan, finished);
}

}  // namespace keyloom::editors::qt
