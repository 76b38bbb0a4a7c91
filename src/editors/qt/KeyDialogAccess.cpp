// The key assignment dialog for keyboard and screen-reader users: names for
// the controls that show no text, texts that always fit, and every control
// reachable by Tab in screen order (the Key tab's capture keeps Tab for
// itself, as any other key).

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include "controls/TextFit.h"
#include "editors/qt/KeyDialogText.h"
#include "editors/qt/Keyloom_DlgComposite.h"

namespace keyloom::editors::qt {

namespace id = composite;

void Keyloom_DlgComposite::nameControls() {
    const auto name = [this](int controlId, std::string_view key) {
        if (QWidget* w = control(controlId))
            w->setAccessibleName(text(key));
    };
    // The tabs and Clear keep their names when a macro-only key hides their
    // texts.
    name(id::kKeyTab, "KEYLOOM_TAB_KEY");
    name(id::kMacroTab, "KEYLOOM_TAB_MACRO");
    name(id::kMediaTab, "KEYLOOM_TAB_MEDIA");
    name(id::kFunctionTab, "KEYLOOM_TAB_FUNCTION");
    name(id::kClear, "KEYLOOM_CLEAR");
    name(id::kModePicture, "KEYLOOM_NAME_DIALOG_PANEL");
    name(id::kTitle, "KEYLOOM_COMPOSITE_TITLE");
    name(id::kOnScreenKeyboard, "COMPOSITE_PROMPT_OSK");
    name(id::kCaptureBox, "KEYLOOM_NAME_CAPTURED_KEY");
    name(id::kMediaList, "KEYLOOM_TAB_MEDIA");
    name(id::kFunctionList, "KEYLOOM_TAB_FUNCTION");
    name(id::kMouseList, "IDS_MACRO_MOU_KEY");
    name(id::kKeyboardOption, "IDS_MACRO_KB_KEY");
    name(id::kMouseOption, "IDS_MACRO_MOU_KEY");
    name(id::kMacroList, "KEYLOOM_NAME_MACRO_LIST");
    name(id::kActionList, "KEYLOOM_NAME_MACRO_ACTIONS");
    name(id::kActionDelete, "KEYLOOM_MACRO_DELETE_ACTION");
    name(id::kActionClear, "KEYLOOM_MACRO_CLEAR_ACTIONS");
    name(id::kMoveToTop, "KEYLOOM_MACRO_TO_TOP");
    name(id::kMoveUp, "KEYLOOM_MACRO_UP");
    name(id::kMoveDown, "KEYLOOM_MACRO_DOWN");
    name(id::kMoveToBottom, "KEYLOOM_MACRO_TO_BOTTOM");
    name(id::kPlayCount, "MACRO_CYCLES");
    name(id::kRecordDelay, "RECORD_DELAY");
    if (QLineEdit* edit = macroList_->lineEdit())
        edit->setAccessibleName(text("KEYLOOM_NAME_MACRO_LIST"));
}

void Keyloom_DlgComposite::fitTexts() {
    // One-line captions and the Apply button shrink rather than lose letters.
    for (const auto& [controlId, widget] : controls_) {
        if (auto* label = qobject_cast<QLabel*>(widget.get())) {
            if (!label->wordWrap() && !label->text().contains(QLatin1Char('\n')))
                controls::fitFont(*label, label->text(), label->contentsRect().width());
        } else if (auto* button = qobject_cast<QPushButton*>(widget.get())) {
            // What the style adds around the text.
            const int frame = button->sizeHint().width() -
                              button->fontMetrics().horizontalAdvance(button->text());
            controls::fitFont(*button, button->text(), button->width() - frame);
        }
    }
}

void Keyloom_DlgComposite::prepareKeyboardUse() {
    // Every button, list and box is reached by Tab; the read-only capture
    // box and the pictures behind the controls are not.
    for (const auto& [controlId, widget] : controls_) {
        const bool picture = controlId == id::kModePicture || controlId == id::kTitle ||
                             controlId == id::kCaptureBox;
        if (picture)
            widget->setFocusPolicy(Qt::NoFocus);
        else if (qobject_cast<QAbstractButton*>(widget.get()))
            widget->setFocusPolicy(Qt::StrongFocus);
    }
    // Clear, Add and Delete draw their icon at the left: the text goes beside it.
    for (int controlId : {id::kClear, id::kMacroAdd, id::kMacroDelete})
        control(controlId)->setContentsMargins(18, 0, 0, 0);
    focusOrder_ = std::make_unique<controls::ScreenOrderFocus>(*this);
}

}  // namespace keyloom::editors::qt
