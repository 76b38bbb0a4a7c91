#pragma once
// The words of the main window that its pictures leave out, so that they
// follow the language: the texts of OK, Cancel, Apply, Macros, Reset keys and
// the top-row label, and the captions PROFILE, RATE Hz and MACRO laid over
// the places the skin keeps for them (section "ARTWORK").

#include <QLabel>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/CSkinButton.h"

namespace keyloom::shell {

class MainWindowTexts {
public:
    using ButtonOf = std::function<controls::CSkinButton*(int controlId)>;

    // Gives the buttons their fonts and colours and creates the captions on
    // `window`.
    MainWindowTexts(QWidget& window, const std::string& skinFile, ButtonOf button);

    // Every text again, in the language of that index.
    void show(int languageIndex);

    const std::vector<std::unique_ptr<QLabel>>& captions() const { return captions_; }

private:
    ButtonOf button_;
    std::vector<std::unique_ptr<QLabel>> captions_;
};

}  // namespace keyloom::shell
