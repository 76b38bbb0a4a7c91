#include "shell/MessageBoxes.h"

#include <QClipboard>
#include <QGuiApplication>

#include "controls/PathWrap.h"
#include "shell/DarkLook.h"
#include "storage/Language.h"

namespace keyloom::shell {

namespace {

// The box's text can be selected and copied; while the box is open, copies
// from it lose the path break hints, so that a pasted path is the path.
// Only text taken from this box is rewritten: what another program copies
// meanwhile is left as it is.
void copyWithoutBreakHints(QMessageBox& box) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto clean = [clipboard, &box](QClipboard::Mode mode) {
        const QString copied = clipboard->text(mode);
        const QString plain = controls::withoutPathBreaks(copied);
        if (plain != copied && !plain.isEmpty() &&
            controls::withoutPathBreaks(box.text()).contains(plain))
            clipboard->setText(plain, mode);
    };
    QObject::connect(clipboard, &QClipboard::dataChanged, &box,
                     [clean] { clean(QClipboard::Clipboard); });
    QObject::connect(clipboard, &QClipboard::selectionChanged, &box,
                     [clean] { clean(QClipboard::Selection); });
}

}  // namespace

std::unique_ptr<QMessageBox> buildMessageBox(const window::MessageRequest& request,
                                             QWidget* owner) {
    auto box = std::make_unique<QMessageBox>(owner);
    box->setStyleSheet(darkMessageBoxStyle());
    // Long paths wrap between folder names, never right after their first slash.
    box->setText(controls::withPathBreaks(QString::fromStdString(request.text)));
    copyWithoutBreakHints(*box);
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
