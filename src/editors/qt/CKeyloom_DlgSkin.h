#pragma once
// What the profile manager and the firmware update dialog share: language
// texts with a fallback, dressing their buttons from the skin's pictures
// (loaded once per run), the caption with the program icon, and the look of
// their skinned buttons and texts in the dark skin.

#include <QColor>
#include <QString>
#include <memory>
#include <string>
#include <string_view>

#include "controls/CBaseDialog.h"
#include "controls/CSkinButton.h"
#include "core/window/Prompter.h"

class QLabel;
class QWidget;

namespace keyloom::editors::qt {

// The language text of `key`, or `fallback` when the language file lacks it.
QString textOr(std::string_view key, std::string_view fallback);

// Dresses the dialog's buttons from the full-window pictures `faces` of
// `skinFolder`; when one is missing, tells the user which (through `prompts`
// when given) and returns false: the dialog does not open.
bool dressButtons(controls::CBaseDialog& dialog, const std::string& skinFolder,
                  const controls::SkinFaceFiles& faces, window::Prompter* prompts);

// Shows a text in a plain message box through `prompts`; owned by the main
// window unless `owned` is false.
void tell(window::Prompter& prompts, std::string_view key, std::string text,
          window::MessageIcon icon, bool owned = true);

// The dialog's caption, placed from the skin; the dialog takes the program icon.
std::unique_ptr<QLabel> makeCaption(controls::CBaseDialog& dialog, const std::string& skinFile,
                                    const std::string& skinFolder);

// Font and text colours of a skinned button; the primary one sits on the
// accent colour.
void styleButton(controls::CSkinButton& button, bool primary);

QColor textColour();
QColor mutedTextColour();

}  // namespace keyloom::editors::qt
