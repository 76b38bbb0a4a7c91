#pragma once
// What the profile manager and the firmware update dialog share: language
// texts with a fallback, their skin pictures (loaded once per run), the
// caption with the program icon, and the look of their skinned buttons and
// texts in the dark skin.

#include <QColor>
#include <QPixmap>
#include <QString>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/CSkinButton.h"
#include "core/window/Prompter.h"

class QLabel;
class QWidget;

namespace keyloom::editors::qt {

// The language text of `key`, or `fallback` when the language file lacks it.
QString textOr(std::string_view key, std::string_view fallback);

// Full-window pictures of a dialog, decoded on first use and kept.
class DialogPictures {
public:
    explicit DialogPictures(std::vector<std::string> fileNames) : names_(std::move(fileNames)) {}
    // Loads the pictures from `skinFolder` unless they are loaded; false
    // with `missing` set to the first that cannot be read.
    bool load(const std::string& skinFolder, std::string& missing);
    const QPixmap& operator[](std::size_t i) const { return pictures_.at(i); }

private:
    std::vector<std::string> names_;
    std::vector<QPixmap> pictures_;
};

// Tells the user that a skin picture is missing (the dialog does not open).
void tellPictureMissing(window::Prompter& prompts, const std::string& picture);

// Shows a text in a plain message box through `prompts`; owned by the main
// window unless `owned` is false.
void tell(window::Prompter& prompts, std::string_view key, std::string text,
          window::MessageIcon icon, bool owned = true);

// The dialog's caption: the program icon and `text`, placed from the skin.
std::unique_ptr<QLabel> makeCaption(QWidget& dialog, const std::string& skinFile,
                                    const std::string& skinFolder);

// Font and text colours of a skinned button; the primary one sits on the
// accent colour.
void styleButton(controls::CSkinButton& button, bool primary);

QColor textColour();
QColor mutedTextColour();

}  // namespace keyloom::editors::qt
