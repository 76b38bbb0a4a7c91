#include "shell/LanguageMenu.h"

#include <QActionGroup>

#include "controls/QtText.h"
#include "shell/DarkLook.h"
#include "storage/Language.h"
#include "storage/SettingsKey.h"

namespace keyloom::shell {

namespace {

struct Choice {
    std::uint32_t id;
    const char* name;  // empty: the desktop item, named in the present language
};

const Choice kChoices[] = {
    {0, ""},
    {0x0409, "English"},
    {0x0407, "Deutsch"},
    {0x0804, "中文"},
};

}  // namespace

LanguageMenu::LanguageMenu(QMenu& parent, std::shared_ptr<registry::Registry> registry,
                           std::function<void()> chosen)
    : menu_(std::make_unique<QMenu>(&parent)),
      registry_(std::move(registry)),
      chosen_(std::move(chosen)) {
    menu_->setStyleSheet(darkMenuStyle());
    group_ = std::make_unique<QActionGroup>(menu_.get());
    for (const Choice& c : kChoices) {
        QAction* action = menu_->addAction(QString::fromUtf8(c.name));
        action->setCheckable(true);
        action->setData(c.id);
        group_->addAction(action);
        const std::uint32_t id = c.id;
        QObject::connect(action, &QAction::triggered, menu_.get(), [this, id] { choose(id); });
    }
    parent.addMenu(menu_.get());
}

void LanguageMenu::refresh() {
    menu_->setTitle(qs(lookupText("KEYLOOM_MENU_LANGUAGE")));
    std::uint32_t stored = 0;
    if (registry_ && registry_->readDword(kSettingsKeyPath, kLanguageIdValue, stored) !=
                         registry::ValueState::Present)
        stored = 0;
    const QList<QAction*> actions = menu_->actions();
    for (int i = 0; i < actions.size(); ++i) {
        const std::uint32_t id = actions[i]->data().toUInt();
        if (i == 0)
            actions[i]->setText(qs(lookupText("KEYLOOM_MENU_LANGUAGE_DESKTOP")));
        actions[i]->setChecked(id == stored);
    }
}

void LanguageMenu::choose(std::uint32_t languageId) {
    if (registry_)
        registry_->writeDword(kSettingsKeyPath, kLanguageIdValue, languageId);
    if (chosen_)
        chosen_();
}

}  // namespace keyloom::shell
