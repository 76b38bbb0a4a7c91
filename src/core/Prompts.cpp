#include "core/Prompts.h"

#include <string>
#include <utility>

#include "storage/Language.h"

namespace keyloom {

window::MessageAnswer showPrompt(window::Prompter& prompts, std::string_view key,
                                 PromptStyle style) {
    return showFormattedPrompt(prompts, key, lookupText(key), style);
}

window::MessageAnswer showFormattedPrompt(window::Prompter& prompts, std::string_view key,
                                          std::string text, PromptStyle style) {
    window::MessageRequest request;
    request.key = std::string(key);
    request.text = std::move(text);
    request.buttons = style.buttons;
    request.icon = style.icon;
    request.topmost = style.topmost;
    return prompts.showMessage(request);
}

bool askYesNo(window::Prompter& prompts, std::string_view key) {
    const PromptStyle style{window::MessageButtons::YesNo, window::MessageIcon::Question, false};
    return showPrompt(prompts, key, style) == window::MessageAnswer::Yes;
}

}  // namespace keyloom
