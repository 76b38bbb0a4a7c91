#include "core/UserFileNotice.h"

#include <string_view>

#include "core/Prompts.h"
#include "platform/text/SafeFormat.h"
#include "storage/Language.h"

namespace keyloom {

void tellUserFileFailure(window::Prompter& prompts, const UserFileFailure& failure) {
    const std::string_view key = failure.kind == UserFileFailure::Kind::TemplateUnreadable
                                     ? "KEYLOOM_LIGHT_NO_TEMPLATE"
                                     : "KEYLOOM_LIGHT_NOT_SAVED";
    showFormattedPrompt(prompts, key, text::formatString(lookupText(key), failure.path),
                        {window::MessageButtons::Ok, window::MessageIcon::Warning, false});
}

}  // namespace keyloom
