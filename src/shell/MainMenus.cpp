#include "shell/MainMenus.h"

#include <QScreen>
#include <QWidget>

#include "controls/QtText.h"
#include "shell/DarkLook.h"
#include "shell/LanguageMenu.h"
#include "shell/MainControls.h"
#include "storage/Language.h"

namespace keyloom::shell {

MainMenus::MainMenus(MainMenusSetup setup) : setup_(std::move(setup)) {}

MainMenus::~MainMenus() = default;

void MainMenus::addCommand(QMenu& menu, int command) {
    QAction* action = menu.addAction(QString());
    action->setData(command);
    QObject::connect(action, &QAction::triggered, &menu, [this, command] {
        if (setup_.runCommand)
            setup_.runCommand(command);
    });
}

QMenu& MainMenus::buttonMenu() {
    if (buttonMenu_)
        return *buttonMenu_;
    buttonMenu_ = std::make_unique<QMenu>(setup_.window);
    buttonMenu_->setStyleSheet(darkMenuStyle());
    addCommand(*buttonMenu_, command::kRestore);
    addCommand(*buttonMenu_, command::kBackup);
    buttonMenu_->addSeparator();
    addCommand(*buttonMenu_, command::kFirmwareUpdate);
    languageMenu_ = std::make_unique<LanguageMenu>(*buttonMenu_, setup_.registry, [this] {
        if (setup_.languageChosen)
            setup_.languageChosen();
    });
    buttonMenu_->addSeparator();
    addCommand(*buttonMenu_, command::kAbout);
    addCommand(*buttonMenu_, command::kExitFromMenu);
    // The texts are put on each time the menu opens, so a new language shows.
    QObject::connect(buttonMenu_.get(), &QMenu::aboutToShow, buttonMenu_.get(), [this] {
        static const std::pair<int, const char*> kTexts[] = {
            {command::kRestore, "MENU_1"},
            {command::kBackup, "MENU_2"},
            {command::kAbout, "MENU_3"},
            {command::kExitFromMenu, "MENU_4"},
            {command::kFirmwareUpdate, "KEYLOOM_MENU_FIRMWARE"},
        };
        for (QAction* action : buttonMenu_->actions())
            for (const auto& [command, key] : kTexts)
                if (action->data().toInt() == command)
                    action->setText(qs(lookupText(key)));
        languageMenu_->refresh();
    });
    return *buttonMenu_;
}

QMenu& MainMenus::profileMenu() {
    if (profileMenu_)
        return *profileMenu_;
    profileMenu_ = std::make_unique<QMenu>(setup_.window);
    profileMenu_->setStyleSheet(darkMenuStyle());
    // Rebuilt from scratch each time it opens: names and check mark follow the
    // slot file and the keyboard's active profile.
    QObject::connect(profileMenu_.get(), &QMenu::aboutToShow, profileMenu_.get(), [this] {
        profileMenu_->clear();
        if (!setup_.profileItems)
            return;
        for (const ProfileMenuItem& item : setup_.profileItems().items) {
            if (item.separator()) {
                profileMenu_->addSeparator();
                continue;
            }
            QAction* action = profileMenu_->addAction(qs(item.text));
            action->setCheckable(true);
            action->setChecked(item.checked);
            action->setData(item.command);
            QObject::connect(action, &QAction::triggered, profileMenu_.get(),
                             [this, command = item.command] {
                                 if (setup_.runCommand)
                                     setup_.runCommand(command);
                             });
        }
    });
    return *profileMenu_;
}

void MainMenus::drop(QMenu& menu, QWidget& anchor) {
    // The menu fills itself as it opens; its size is known only after that.
    emit menu.aboutToShow();
    const QRect place(anchor.mapToGlobal(QPoint(0, 0)), anchor.size());
    const QScreen* screen = anchor.screen();
    const QRect room = screen ? screen->availableGeometry() : place;
    menu.popup(dropPosition(place, menu.sizeHint(), room));
}

}  // namespace keyloom::shell
