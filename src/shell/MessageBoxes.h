#pragma once
// The main window's message boxes: in the dark skin's look and titled with
// the program's name, whatever part of the program asks.

#include <QMessageBox>
#include <memory>

#include "core/window/Prompter.h"

namespace keyloom::shell {

// The box for `request`, owned by `owner` (null: a box of its own). Yes/No
// boxes preselect No.
std::unique_ptr<QMessageBox> buildMessageBox(const window::MessageRequest& request, QWidget* owner);

// Shows the box modally and gives the answer.
window::MessageAnswer runMessageBox(QMessageBox& box, const window::MessageRequest& request);

}  // namespace keyloom::shell
