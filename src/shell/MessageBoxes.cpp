#include "shell/MessageBoxes.h"

#include "shell/DarkLook.h"
#include "storage/Language.h"

namespace keyloom::shell {

std::unique_ptr<QMessageBox> buildMessageBox(const window::MessageRequest& request,
                                             QWidget* owner) {
    auto box = std::make_unique<QMessageBox>(owner);
    box->setStyleSheet(darkMessageBoxStyle());
    box->setText(QString::fromStdString(request.text));
    // Every box carries the program's name, also those that ask for no
    // caption: a nameless box leaves the user guessing where it came from.
    box->setWindowTitle(QString::fromStdString(lookupText("MAIN_CAPTION")));
    switch (request.icon) {
        case window::MessageIcon::Information:
            box->setIcon(QMessageBox::Information);
            break;
        case window::MessageIcon::Warning:
            box->setIcon(QMessageBox::Warning);
            break;
        case window::MessageIcon::Question:
            box->setIcon(QMessageBox::Question);
            break;
        case window::MessageIcon::None:
            break;
    }
    if (request.topmost)
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
    if (request.buttons == window::MessageButtons::YesNo) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::No);
    } else if (request.buttons == window::MessageButtons::YesNoCancel) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Cancel);
        box->setEscapeButton(QMessageBox::Cancel);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    return box;
}

window::MessageAnswer runMessageBox(QMessageBox& box, const window::MessageRequest& request) {
    const int pressed = box.exec();
    if (request.buttons == window::MessageButtons::Ok)
        return window::MessageAnswer::Ok;
    if (pressed == QMessageBox::Yes)
        return window::MessageAnswer::Yes;
    if (pressed == QMessageBox::No)
        return window::MessageAnswer::No;
    return request.buttons == window::MessageButtons::YesNoCancel ? window::MessageAnswer::Cancel
                                                                  : window::MessageAnswer::No;
}

}  // namespace keyloom::shell
