#pragma once
// The language choice of the ≡ menu: the desktop's language, English,
// Deutsch and 中文. The languages are named in their own words, so that a
// user who cannot read the present language still finds theirs. The choice
// is stored as "dwLanguageId" in the settings key (0 for the desktop's
// language), where the language lookups read it.

#include <QActionGroup>
#include <QMenu>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/registry/Registry.h"

namespace keyloom::shell {

class LanguageMenu {
public:
    // Adds the submenu to `parent`; `chosen` runs after a choice is stored.
    LanguageMenu(QMenu& parent, std::shared_ptr<registry::Registry> registry,
                 std::function<void()> chosen);

    // The title and the desktop item in the present language, and the check
    // mark at the stored choice.
    void refresh();
    // Stores `languageId` (0: the desktop's) as the user's choice.
    void choose(std::uint32_t languageId);

    QMenu& menu() { return *menu_; }

private:
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QActionGroup> group_;  // goes before the menu
    std::shared_ptr<registry::Registry> registry_;
    std::function<void()> chosen_;
};

}  // namespace keyloom::shell
