#include "core/window/HeadlessWindow.h"

namespace keyloom::window {

void HeadlessWindow::answer(const std::string& key, MessageAnswer answer) {
    std::lock_guard lock(answersMutex_);
    answers_[key] = answer;
}

void HeadlessWindow::setDefaultYesNoAnswer(MessageAnswer answer) {
    std::lock_guard lock(answersMutex_);
    defaultYesNo_ = answer;
}

MessageAnswer HeadlessWindow::showMessage(const MessageRequest& request) {
    std::lock_guard lock(answersMutex_);
    if (const auto it = answers_.find(request.key); it != answers_.end())
        return it->second;
    if (request.buttons == MessageButtons::YesNoCancel)
        return MessageAnswer::Cancel;  // nobody to ask: change nothing
    return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : defaultYesNo_;
}

}  // namespace keyloom::window
