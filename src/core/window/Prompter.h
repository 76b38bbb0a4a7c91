#pragma once
// Message boxes: how the core asks the user. Any thread may ask; the box is
// shown on the window thread and the caller waits for the answer.

#include <string>

namespace keyloom::window {

// Yes/No always preselects No; Yes/No/Cancel preselects Cancel.
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Warning, Question };
enum class MessageCaption { ApplicationTitle, Empty };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// A message box. `text` is already looked up and formatted; `key` is the
// language key it came from, kept for logs and tests.
struct MessageRequest {
    std::string key;
    std::string text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    MessageCaption caption = MessageCaption::ApplicationTitle;
    bool topmost = false;
    bool ownedByWindow = true;  // false: no owner (the OPEN path's prompt)
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows a message box and waits for the answer (Ok for an OK box).
    virtual MessageAnswer showMessage(const MessageRequest& request) = 0;
};

}  // namespace keyloom::window
