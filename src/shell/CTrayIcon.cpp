#include "shell/CTrayIcon.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QWidget>
#include <utility>

#include "platform/window/WindowMessages.h"
#include "shell/DarkLook.h"
#include "storage/Autostart.h"
#include "storage/Language.h"

namespace keyloom::shell {

namespace {

struct MenuItem {
    int command;
    const char* textKey;
};

constexpr MenuItem kMenuItems[] = {
    {tray::kOpen, "MENU_11"},
    {tray::kAbout, "MENU_22"},
    {tray::kStartWithDesktop, "MENU_AUTOSTART"},
    {tray::kExit, "MENU_33"},
};

int commandOf(const QAction* action) {
    bool ok = false;
    const int command = action->data().toInt(&ok);
    return ok ? command : 0;
}

}  // namespace

QString trayPictureName(int iconId) {
    switch (iconId) {
        case window::icon::kDisconnected:
            return QStringLiteral("tray_disconnected.png");
        case window::icon::kConnected:
            return QStringLiteral("tray_connected.png");
        case window::icon::kIndicator:
            return QStringLiteral("tray_indicator.png");
        default:
            return {};
    }
}

QString trayTip(const QString& tip) {
    if (tip.size() <= tray::kMaxTipLength) {
        return tip;
    }
    // Cutting between the halves of a surrogate pair would leave half a
    // character: drop the whole character instead.
    qsizetype length = tray::kMaxTipLength;
    if (tip.at(length - 1).isHighSurrogate()) {
        --length;
    }
    return tip.left(length);
}

void localiseTrayMenu(QMenu& menu) {
    for (QAction* action : menu.actions()) {
        const int command = commandOf(action);
        for (const MenuItem& item : kMenuItems) {
            if (item.command == command) {
                action->setText(QString::fromStdString(lookupText(item.textKey)));
            }
        }
    }
}

CTrayIcon::CTrayIcon(std::string pictureFolder, Availability trayAvailable, QObject* parent)
    : QObject(parent),
      pictureFolder_(std::move(pictureFolder)),
      trayAvailable_(std::move(trayAvailable)),
      localiser_(localiseTrayMenu),
      autostartPath_(autostartPath(paths::processEnvironment())) {
    buildMenu();
}

CTrayIcon::~CTrayIcon() = default;

void CTrayIcon::buildMenu() {
    menu_ = std::make_unique<QMenu>();
    // The dark skin's look where Qt draws the menu itself (a tray host that
    // draws its own menus ignores it).
    menu_->setStyleSheet(darkMenuStyle());
    for (const MenuItem& item : kMenuItems) {
        QAction* action = menu_->addAction(QString());
        action->setData(item.command);
        action->setCheckable(item.command == tray::kStartWithDesktop);
    }
    connect(menu_.get(), &QMenu::aboutToShow, this, &CTrayIcon::prepareMenu);
    connect(menu_.get(), &QMenu::triggered, this, [this](QAction* action) {
        const int command = commandOf(action);
        if (command == tray::kStartWithDesktop) {
            switchAutostart(action->isChecked());
        } else if (command != 0 && commandSink_) {
            commandSink_(command);
        }
    });
    prepareMenu();
}

bool CTrayIcon::create(QWidget* owner, CommandSink commandSink, const QString& tip, int iconId,
                       int trayId) {
    prepare(owner, std::move(commandSink), tip, iconId, trayId);
    return place();
}

void CTrayIcon::prepare(QWidget* owner, CommandSink commandSink, const QString& tip, int iconId,
                        int trayId) {
    remove();
    owner_ = owner;
    commandSink_ = std::move(commandSink);
    trayId_ = trayId;
    setTip(tip);
    setIcon(iconId);
}

bool CTrayIcon::place() {
    remove();
    const bool available =
        trayAvailable_ ? trayAvailable_() : QSystemTrayIcon::isSystemTrayAvailable();
    if (owner_ == nullptr || !available) {
        return false;
    }
    tray_ = std::make_unique<QSystemTrayIcon>();
    // Desktop trays usually show the context menu themselves; it is the same
    // menu, localised as it opens, so both ways show the same texts.
    prepareMenu();
    tray_->setContextMenu(menu_.get());
    tray_->setToolTip(tip_);
    const QString picture = trayPictureName(iconId_);
    if (!picture.isEmpty()) {
        tray_->setIcon(QIcon(QString::fromStdString(pictureFolder_) + picture));
    }
    connect(tray_.get(), &QSystemTrayIcon::activated, this, &CTrayIcon::onActivated);
    tray_->show();
    present_ = true;
    return true;
}

void CTrayIcon::remove() {
    if (tray_) {
        tray_->hide();
        tray_.reset();
    }
    present_ = false;
}

bool CTrayIcon::setIcon(int iconId) {
    const QString picture = trayPictureName(iconId);
    if (picture.isEmpty()) {
        return false;
    }
    iconId_ = iconId;
    if (tray_) {
        tray_->setIcon(QIcon(QString::fromStdString(pictureFolder_) + picture));
    }
    return true;
}

void CTrayIcon::setTip(const QString& tip) {
    tip_ = trayTip(tip);
    if (tray_) {
        tray_->setToolTip(tip_);
    }
}

void CTrayIcon::notify(const QString& title, const QString& text) {
    lastNotice_ = text;
    if (tray_ && QSystemTrayIcon::supportsMessages()) {
        tray_->showMessage(title, text, QSystemTrayIcon::Information, 4000);
    }
}

void CTrayIcon::setMenuLocaliser(MenuLocaliser localiser) {
    localiser_ = std::move(localiser);
    prepareMenu();
}

QAction* CTrayIcon::action(int command) const {
    for (QAction* item : menu_->actions()) {
        if (commandOf(item) == command) {
            return item;
        }
    }
    return nullptr;
}

QAction* CTrayIcon::defaultAction() const {
    return menu_->defaultAction();
}

int CTrayIcon::effectiveDefaultCommand() const {
    if (defaultCommand_ != 0) {
        return defaultCommand_;
    }
    const QList<QAction*> items = menu_->actions();
    return items.isEmpty() ? 0 : commandOf(items.front());
}

void CTrayIcon::setAutostartEntry(std::string path, std::string program) {
    autostartPath_ = std::move(path);
    autostartProgram_ = std::move(program);
    prepareMenu();
}

void CTrayIcon::switchAutostart(bool on) {
    const std::string program = autostartProgram_.empty()
                                    ? QCoreApplication::applicationFilePath().toStdString()
                                    : autostartProgram_;
    // A failed write or removal leaves the mark showing what is on disk.
    setAutostart(autostartPath_, on, program.empty() ? "keyloom" : program);
    action(tray::kStartWithDesktop)->setChecked(autostartEnabled(autostartPath_));
}

void CTrayIcon::prepareMenu() {
    if (localiser_) {
        localiser_(*menu_);
    }
    // The mark shows whether the entry exists, whoever made or removed it.
    action(tray::kStartWithDesktop)->setChecked(autostartEnabled(autostartPath_));
    QAction* chosen = action(effectiveDefaultCommand());
    for (QAction* item : menu_->actions()) {
        QFont look = item->font();
        look.setBold(item == chosen);
        item->setFont(look);
    }
    menu_->setDefaultAction(chosen);
}

void CTrayIcon::bringOwnerToFront() {
    // A hidden window stays hidden: only the OPEN path shows it.
    if (owner_ && owner_->isVisible()) {
        owner_->raise();
        owner_->activateWindow();
    }
}

int CTrayIcon::onTrayNotification(int id, TrayMouseEvent event) {
    if (id != trayId_) {
        return 0;
    }
    switch (event) {
        case TrayMouseEvent::RightButtonUp: {
            bringOwnerToFront();
            // A real tray has already shown its context menu (this menu);
            // popping it up here as well would show it twice.
            const bool trayShowsMenu = tray_ && tray_->contextMenu() == menu_.get();
            if (trayShowsMenu) {
                prepareMenu();
            } else {
                menu_->popup(QCursor::pos());  // prepared on aboutToShow
            }
            return 1;
        }
        case TrayMouseEvent::LeftDoubleClick: {
            bringOwnerToFront();
            const int command = effectiveDefaultCommand();
            if (command != 0 && commandSink_) {
                commandSink_(command);
            }
            return 1;
        }
        case TrayMouseEvent::Other:
            break;
    }
    return 0;
}

void CTrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Context:
            onTrayNotification(trayId_, TrayMouseEvent::RightButtonUp);
            break;
        case QSystemTrayIcon::DoubleClick:
            onTrayNotification(trayId_, TrayMouseEvent::LeftDoubleClick);
            break;
        default:
            // A single click does nothing: the window opens on a double
            // click or from the menu.
            onTrayNotification(trayId_, TrayMouseEvent::Other);
            break;
    }
}

}  // namespace keyloom::shell
