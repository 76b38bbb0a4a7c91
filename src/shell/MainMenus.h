#pragma once
// The main window's menus: the ≡ menu (restore, backup, firmware update, the
// language submenu, About, Exit) and the profile menu of the profile label.
// Each is built when first asked for and fills in its texts and items each
// time it opens, so that a new language, the slot file's names and the
// keyboard's active profile show. A choice runs as the window's command.

#include <QMenu>
#include <functional>
#include <memory>

#include "platform/registry/Registry.h"
#include "storage/ProfileMenu.h"

class QWidget;

namespace keyloom::shell {

class LanguageMenu;

struct MainMenusSetup {
    QWidget* window = nullptr;                     // the menus' parent
    std::shared_ptr<registry::Registry> registry;  // where the language choice is kept
    std::function<void(int command)> runCommand;
    std::function<void()> languageChosen;
    // The profile menu's items as it opens.
    std::function<ProfileMenu()> profileItems;
};

class MainMenus {
public:
    explicit MainMenus(MainMenusSetup setup);
    ~MainMenus();
    MainMenus(const MainMenus&) = delete;
    MainMenus& operator=(const MainMenus&) = delete;

    QMenu& buttonMenu();
    // The ≡ menu's language choice; nullptr before that menu exists.
    LanguageMenu* languageMenu() const { return languageMenu_.get(); }
    QMenu& profileMenu();

    // Opens `menu` below the control it belongs to (above it when there is
    // no room below), as the ≡ button and the profile label do.
    static void drop(QMenu& menu, QWidget& anchor);

private:
    void addCommand(QMenu& menu, int command);

    MainMenusSetup setup_;
    std::unique_ptr<QMenu> buttonMenu_;
    std::unique_ptr<LanguageMenu> languageMenu_;  // a submenu of the ≡ menu
    std::unique_ptr<QMenu> profileMenu_;
};

}  // namespace keyloom::shell
