// The main window's key view: selecting a key (the key assignment dialog, the
// key-toggle mode, painting in the lighting view), the key faces and
// tooltips, the top-row switch and the controls' accessible names.

#include "shell/CKeyloomDlg.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QThread>
#include <QUrl>

#include "controls/QtText.h"
#include "controls/SkinReaders.h"
#include "model/KeyMatrixCodec.h"
#include "model/KeyTable.h"
#include "model/KeyViewKeys.h"
#include "platform/ini/Ini.h"
#include "platform/text/SafeFormat.h"
#include "shell/AccessibleNames.h"
#include "shell/DimmedFace.h"
#include "shell/GBankSwitch.h"
#include "shell/KeyTooltip.h"
#include "shell/MainControls.h"
#include "shell/MessageBoxes.h"
#include "shell/TopRowSwitch.h"
#include "storage/Language.h"
#include "storage/ProfileMenu.h"
#include "storage/SettingsKey.h"
#include "storage/SkinScreen.h"

namespace keyloom::shell {

using controls::CSkinButton;
using controls::SkinPictureSet;

namespace {

constexpr int kNameBufferSize = 260;

// Which key view row or G button a control is: row 0-104, G j as 105 + j.
std::optional<std::size_t> rowOf(int controlId) {
    for (std::size_t r = 0; r < kKeyViewKeys.size(); ++r)
        if (kKeyViewKeys[r].controlId == controlId)
            return r;
    return std::nullopt;
}
std::optional<std::size_t> gButtonOf(int controlId) {
    for (std::size_t j = 0; j < kGButtonControls.size(); ++j)
        if (kGButtonControls[j] == controlId)
            return j;
    return std::nullopt;
}

}  // namespace

std::size_t CKeyloomDlg::activeBlock() const {
    // Before the keyboard told its active profile, profile 1 is shown.
    const int profile = core_->state().connection.activeProfile.load();
    return profile >= 0 && profile <= 2 ? static_cast<std::size_t>(profile) : 0;
}

bool CKeyloomDlg::keyToggleMode() const {
    return core_->state().keyToggleMode.load();
}

int CKeyloomDlg::selectKey(int controlId) {
    const auto g = gButtonOf(controlId);
    // In the lighting view a key click paints the key (G buttons excepted).
    if (!g && core_->lighting()->lightingView()) {
        if (lighting::qt::LightingPanel* panel = lightingPanel())
            panel->keyClicked(controlId);
        return 0;
    }
    const auto row = g ? std::nullopt : rowOf(controlId);
    if (!g && !row)
        return -1;
    CSkinButton* b = button(controlId);
    selectedKey_.kind = 0;
    selectedKey_.code = g ? static_cast<std::uint16_t>(shownGEntry(*g))
                          : foldedScanCode(kKeyViewKeys[*row].scanCode);
    selectedKey_.controlId = controlId;

    if (keyToggleMode()) {
        const std::size_t entry = g ? *g : *row;
        bool flag = false;
        {
            EditTransaction working = core_->edit(static_cast<int>(activeBlock()));
            KeyAssignment& a = working->image->block(activeBlock())[entry];
            a.toggle = a.toggle ? 0 : 1;
            flag = a.toggle != 0;
        }
        if (b)
            b->setToggleDisplay(true, flag);
        return 0;
    }
    if (b) {
        const QPoint offset = b->pictureOffset();
        const QPoint origin = b->pictureOrigin();
        pictures_.complete(*b);
        const SkinPictureSet own = b->pictures();
        b->setPictures({own.hover, own.hover, own.pressed, own.normal, own.hover}, offset, origin);
        openKeyAssignmentDialog(*b);
        b->setPictures(own, offset, origin);
        pictures_.release(*b);
        b->update();
    }
    return 0;
}

void CKeyloomDlg::openKeyAssignmentDialog(CSkinButton& button) {
    const int id = selectedKey_.controlId;
    const auto g = gButtonOf(id);
    const std::string label = g ? shownGLabel(*g) : KeyName(selectedKey_.code, kNameBufferSize);
    editors::KeyButtonContext context;
    context.activeProfile = core_->state().connection.activeProfile.load();
    context.secondBank = secondBank_;
    const QRect onScreen(button.mapToGlobal(QPoint(0, 0)), button.size());
    dialogs_->keyDialog().openForKeyButton(id, context, onScreen, qs(label));
}

void CKeyloomDlg::switchKeyToggleMode() {
    core_->state().keyToggleMode = !keyToggleMode();
    setSwitchText();
    redrawKeyFaces();
}

void CKeyloomDlg::setSwitchText() {
    if (CSkinButton* b = button(control::kSwitch))
        b->setText(qs(
            lookupText(keyToggleMode() ? "MAIN_SWITCH_COLOR_TEXT" : "MAIN_SWITCH_FUNCTION_TEXT")));
}

void CKeyloomDlg::redrawKeyFaces() {
    const bool mode = keyToggleMode();
    std::vector<std::pair<CSkinButton*, bool>> faces;
    {
        WorkingStore::Access working = core_->workingStore().lock();
        const auto block = std::as_const(*working->image).block(activeBlock());
        for (std::size_t j = 0; j < kGButtonCount; ++j)
            faces.emplace_back(button(kGButtonControls[j]), block[j].toggle != 0);
        for (std::size_t r = 0; r < kKeyViewKeys.size(); ++r)
            faces.emplace_back(button(kKeyViewKeys[r].controlId), block[r].toggle != 0);
    }
    for (auto& [b, flag] : faces)
        if (b)
            b->setToggleDisplay(mode, flag);
}

void CKeyloomDlg::rebuildKeyTooltips() {
    struct Tip {
        CSkinButton* button;
        std::string text;
        bool assigned;
    };
    std::vector<Tip> tips;
    syncGBank();
    const TooltipLookup text = [](std::string_view key) { return lookupText(key); };
    const KeyNameLookup name = [](std::uint16_t code) { return KeyName(code, kNameBufferSize); };
    {
        WorkingStore::Access working = core_->workingStore().lock();
        const auto block = std::as_const(*working->image).block(activeBlock());
        for (const KeyViewKey& key : kKeyViewKeys) {
            const std::uint16_t code = foldedScanCode(key.scanCode);
            const KeyAssignment& a = block[code];
            tips.push_back({button(key.controlId),
                            keyTooltip(name(code), a, working->macros, text, name),
                            a.kind != AssignmentKind::Default});
        }
        for (std::size_t j = 0; j < kGButtonCount; ++j) {
            const KeyAssignment& a = block[shownGEntry(j)];
            tips.push_back({button(kGButtonControls[j]),
                            keyTooltip(shownGLabel(j), a, working->macros, text, name),
                            a.kind != AssignmentKind::Default});
        }
    }
    for (const Tip& t : tips) {
        if (!t.button)
            continue;
        t.button->setToolTip(qs(t.text));
        t.button->setSelected(t.assigned);
    }
    showGButtonsPresent();
}

void CKeyloomDlg::showGButtonsPresent() {
    // A G button whose key the connected keyboard lacks is disabled, and its
    // tooltip says so: an assignment to it would never reach the keyboard.
    // Before a keyboard told its default matrix every button stays usable.
    const KeyMatrix defaults = core_->defaultMatrix();
    const bool known = std::any_of(defaults.bytes.begin(), defaults.bytes.end(),
                                   [](std::uint8_t byte) { return byte != 0; });
    for (std::size_t j = 0; j < kGButtonCount; ++j) {
        CSkinButton* b = button(kGButtonControls[j]);
        if (!b)
            continue;
        const bool present = !known || matrixCarriesEntry(defaults, shownGEntry(j));
        b->setEnabled(present);
        if (!present && !hasDimmedFace(*b)) {
            pictures_.provideNormal(*b);
            dimDisabledFace(*b);
        }
        // What the button holds stays in its tooltip, the reason below it.
        if (!present)
            b->setToolTip(
                b->toolTip() + QLatin1Char('\n') +
                qs(text::formatString(lookupText("KEYLOOM_G_KEY_ABSENT"), gButtonLabel(j))));
    }
}

// --- The G keys' bank ------------------------------------------------------------

void CKeyloomDlg::buildGBankSwitch() {
    bankSwitch_ = std::make_unique<GBankSwitch>(this);
    controls::placeControl(*bankSwitch_, setup_.paths.mainSkinFile, "BUTTONINFO", "KEYLOOM_G_BANK");
    bankSwitch_->hide();
    connect(bankSwitch_.get(), &GBankSwitch::bankChosen, this, [this](int bank) {
        secondBank_ = bank == 1;
        rebuildKeyTooltips();
    });
}

void CKeyloomDlg::syncGBank() {
    // The switch is offered only where the keyboard's matrix holds the
    // second bank; elsewhere G1-G9 always edit the first.
    const KeyMatrix defaults = core_->defaultMatrix();
    const bool twoBanks =
        matrixCarriesEntry(defaults, gButtonEntry(0) + AssignmentImage::kExtraKeysPerBank);
    if (!twoBanks)
        secondBank_ = false;
    if (bankSwitch_) {
        bankSwitch_->setBank(secondBank_ ? 1 : 0);
        bankSwitch_->setVisible(twoBanks);
    }
    // The AB light shows the bank the G keys edit.
    if (CSkinButton* ab = button(control::kLockAb))
        ab->setSelected(secondBank_);
}

std::size_t CKeyloomDlg::shownGEntry(std::size_t j) const {
    return gButtonEntry(j) + (secondBank_ ? AssignmentImage::kExtraKeysPerBank : 0);
}

std::string CKeyloomDlg::shownGLabel(std::size_t j) const {
    if (!secondBank_)
        return gButtonLabel(j);
    return gButtonLabel(j) + " \u00b7 " + lookupText("KEYLOOM_G_BANK_2");
}

// --- Top-row switch -------------------------------------------------------------

void CKeyloomDlg::flipTopRowSwitch() {
    topRow_ = !topRow_;
    writeTopRowSwitch(setup_.registry.get(), topRow_);
    applyTopRowSwitch();
}

void CKeyloomDlg::applyTopRowSwitch() {
    for (int i = 0; i < 4; ++i)
        if (CSkinButton* b = button(control::kFirstTopRowKey + i))
            b->setEnabled(!topRow_);
    // D1-D6 have no command: shown or not, they stay unavailable (their
    // tooltip says why).
    for (int i = 0; i < control::kAltTopRowCount; ++i)
        if (CSkinButton* b = button(control::kFirstAltTopRowKey + i))
            b->setEnabled(false);
    // The flip indicator shows the second picture set when the switch is on;
    // both sets come from the same files, so its pictures stay as they are.
    if (CSkinButton* flip0 = button(control::kFlip0))
        flip0->update();
    placeArrows();
}

void CKeyloomDlg::placeArrows() {
    const std::string& skin = setup_.paths.mainSkinFile;
    const char* left = topRow_ ? "UP_ARROW_LEFT1" : "DOWN_ARROW_LEFT1";
    const char* right = topRow_ ? "UP_ARROW_RIGHT1" : "DOWN_ARROW_RIGHT1";
    controls::placeControlWithSource(*leftArrow_, skin, "BUTTONINFO", "LEFT_ARROW", "BUTTONINFO2",
                                     left, pictures_.arrows());
    controls::placeControlWithSource(*rightArrow_, skin, "BUTTONINFO", "RIGHT_ARROW", "BUTTONINFO2",
                                     right, pictures_.arrows());
    leftArrow_->update();
    rightArrow_->update();
}

void CKeyloomDlg::nameControls(int languageIndex) {
    const NameLookup text = [languageIndex](std::string_view key) {
        return lookupText(key, languageIndex);
    };
    for (const auto& [id, b] : skinButtons().all()) {
        const std::string name = shell::accessibleName(id, text);
        if (!name.empty())
            b->setAccessibleName(qs(name));
    }
    // The keys are named after their key, the G buttons by their label.
    for (const KeyViewKey& key : kKeyViewKeys)
        if (CSkinButton* b = button(key.controlId))
            b->setAccessibleName(qs(KeyName(foldedScanCode(key.scanCode), kNameBufferSize)));
    for (std::size_t j = 0; j < kGButtonCount; ++j)
        if (CSkinButton* b = button(kGButtonControls[j]))
            b->setAccessibleName(qs(gButtonLabel(j)));
    if (bankSwitch_)
        bankSwitch_->setTexts(qs(text("KEYLOOM_G_BANK_TIP")), qs(text("KEYLOOM_G_BANK_1")),
                              qs(text("KEYLOOM_G_BANK_2")));
    if (CSkinButton* ab = button(control::kLockAb))
        ab->setToolTip(qs(text("KEYLOOM_AB_TIP")));
    leftArrow_->setAccessibleName(qs(text("KEYLOOM_NAME_TOP_ROW")));
    rightArrow_->setAccessibleName(qs(text("KEYLOOM_NAME_TOP_ROW")));
    busy_->label().setAccessibleName(qs(text("KEYLOOM_NAME_BUSY")));
}

void CKeyloomDlg::redrawKeyView() {
    whenIdle([this] {
        redrawKeyFaces();
        rebuildKeyTooltips();
    });
}

void CKeyloomDlg::showKeyToggleModeOff() {
    core_->state().keyToggleMode = false;
    setSwitchText();
    whenIdle([this] { redrawKeyFaces(); });
}

}  // namespace keyloom::shell
