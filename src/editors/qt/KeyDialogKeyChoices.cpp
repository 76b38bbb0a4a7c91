// The Key view's choices: send the captured key, send a mouse button or
// wheel step, do nothing (the key is disabled), or stop the macro that is
// playing; and, where the desktop keeps some keys for itself, a note that
// says so beside the capture box.

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <array>
#include <utility>

#include "editors/qt/KeyDialogText.h"
#include "editors/qt/Keyloom_DlgComposite.h"

namespace keyloom::editors::qt {

namespace id = composite;

namespace {

const QRect kDisabledPlace(116, 318, 230, 22);
const QRect kStopMacroPlace(356, 318, 250, 22);
const QRect kDesktopKeysPlace(37, 364, 568, 28);

constexpr std::array<std::pair<int, KeyChoice>, 4> kChoices{{
    {id::kKeyboardOption, KeyChoice::Keyboard},
    {id::kMouseOption, KeyChoice::Mouse},
    {id::kDisabledOption, KeyChoice::Disabled},
    {id::kStopMacroOption, KeyChoice::StopMacro},
}};

}  // namespace

bool desktopKeepsKeys() {
    // Under Wayland the compositor takes some shortcuts before any window
    // sees them, and a grab holds only while the window has the focus.
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void Keyloom_DlgComposite::buildKeyChoices() {
    for (const auto& [controlId, place] : {std::pair{id::kDisabledOption, kDisabledPlace},
                                           std::pair{id::kStopMacroOption, kStopMacroPlace}}) {
        auto* option = addControl(controlId, std::make_unique<QRadioButton>());
        option->setGeometry(place);
        QFont face = option->font();
        face.setPixelSize(13);
        option->setFont(face);
    }
    auto* notice = addControl(id::kDesktopKeysNotice, std::make_unique<QLabel>());
    notice->setProperty("role", "warning");
    notice->setTextFormat(Qt::PlainText);
    notice->setWordWrap(true);
    notice->setAlignment(Qt::AlignCenter);
    QFont small = notice->font();
    small.setPixelSize(11);
    notice->setFont(small);
    notice->setGeometry(kDesktopKeysPlace);
    notice->hide();
}

void Keyloom_DlgComposite::connectKeyChoices() {
    for (const auto& [controlId, choice] : kChoices) {
        auto* option = qobject_cast<QRadioButton*>(control(controlId));
        connect(option, &QRadioButton::clicked, this, [this, choice = choice] {
            state_.chooseKeyAction(choice);
            showState();
        });
    }
}

void Keyloom_DlgComposite::keyChoiceTexts() {
    static_cast<QRadioButton*>(control(id::kDisabledOption))
        ->setText(text("KEYLOOM_KEY_CHOICE_DISABLED"));
    static_cast<QRadioButton*>(control(id::kStopMacroOption))
        ->setText(text("KEYLOOM_KEY_CHOICE_STOP_MACRO"));
    static_cast<QLabel*>(control(id::kDesktopKeysNotice))->setText(text("KEYLOOM_DESKTOP_KEYS"));
}

void Keyloom_DlgComposite::showKeyChoices(bool keyView) {
    const KeyChoice choice = state_.keyChoice();
    for (const auto& [controlId, shownChoice] : kChoices) {
        auto* option = static_cast<QRadioButton*>(control(controlId));
        option->setVisible(keyView);
        option->setChecked(choice == shownChoice);
    }
    control(id::kMouseCaption)->setVisible(keyView);
    mouseList_->setVisible(keyView);
    mouseList_->setEnabled(choice == KeyChoice::Mouse);
    captureBox_->setEnabled(choice == KeyChoice::Keyboard);
    const bool desktopKeys =
        setup_.desktopKeepsKeys ? setup_.desktopKeepsKeys() : desktopKeepsKeys();
    control(id::kDesktopKeysNotice)->setVisible(keyView && desktopKeys);
}

}  // namespace keyloom::editors::qt
