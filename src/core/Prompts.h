#pragma once
// Message boxes of the core: the language text of a key, shown through the
// window port.

#include <string_view>

#include "core/window/Prompter.h"

namespace keyloom {

struct PromptStyle {
    window::MessageButtons buttons = window::MessageButtons::Ok;
    window::MessageIcon icon = window::MessageIcon::None;
    bool topmost = false;
};

// Shows the text of `key` (looked up now, "#Error" when missing).
window::MessageAnswer showPrompt(window::Prompter& prompts, std::string_view key,
                                 PromptStyle style = {});
// Shows a text already formatted from the text of `key`.
window::MessageAnswer showFormattedPrompt(window::Prompter& prompts, std::string_view key,
                                          std::string text, PromptStyle style = {});
// Yes/No with No preselected; true for Yes.
bool askYesNo(window::Prompter& prompts, std::string_view key);

}  // namespace keyloom
