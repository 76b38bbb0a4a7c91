#pragma once
// The program's icon in the notification area: its status picture, its
// tooltip, its popup menu (open, about, start with the desktop, exit) and what a right click and a
// double click do. Commands chosen on the icon go to a command sink, which
// the main window runs like the clicks of its own controls.
//
// The icon id, tooltip and menu are kept whether or not a tray exists, so the
// mouse handling can be driven (and tested) without one; without a tray the
// program runs on and is reachable by a second start.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <string>

#include "shell/MainControls.h"

class QAction;
class QMenu;
class QWidget;

namespace keyloom::shell {

namespace tray {
inline constexpr int kTrayId = 140;  // the icon's id, also the popup menu's
inline constexpr int kOpen = command::kOpen;
inline constexpr int kAbout = command::kAbout;
inline constexpr int kExit = command::kExit;
// "Start with the desktop": a check item the icon handles itself.
inline constexpr int kStartWithDesktop = 32790;
// The notification area holds 127 characters of tooltip.
inline constexpr int kMaxTipLength = 127;
}  // namespace tray

// The mouse events on the icon that do something; everything else is Other.
enum class TrayMouseEvent { RightButtonUp, LeftDoubleClick, Other };

// File name (in the skin folder) of the tray picture of a status icon id
// (128, 141, 142); empty for any other id.
QString trayPictureName(int iconId);

// `tip` cut to 127 characters, never inside a surrogate pair.
QString trayTip(const QString& tip);

// Puts the language file's texts on the tray menu's items ("MENU_11" on
// open, "MENU_22" on about, "MENU_AUTOSTART" on start with the desktop,
// "MENU_33" on exit). Items of other ids are left as they are.
void localiseTrayMenu(QMenu& menu);

class CTrayIcon : public QObject {
    Q_OBJECT

public:
    using CommandSink = std::function<void(int command)>;
    using MenuLocaliser = std::function<void(QMenu&)>;
    using Availability = std::function<bool()>;

    // `pictureFolder` holds the tray pictures (the skin folder, '/' at the
    // end). `trayAvailable` replaces the check for a system tray (empty: ask
    // Qt).
    explicit CTrayIcon(std::string pictureFolder, Availability trayAvailable = {},
                       QObject* parent = nullptr);
    ~CTrayIcon() override;
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Shows the icon. False (and no icon) without a system tray or without
    // an owner; the owner, sink, tip and ids are kept either way.
    bool create(QWidget* owner, CommandSink commandSink, const QString& tip, int iconId,
                int trayId = tray::kTrayId);
    // create() in two steps: prepare keeps the owner, sink, tip and ids (the
    // icon works as without a tray), place shows the icon. Asking whether
    // there is a tray waits on the session bus, so a caller may place the
    // icon later than it prepares it.
    void prepare(QWidget* owner, CommandSink commandSink, const QString& tip, int iconId,
                 int trayId = tray::kTrayId);
    bool place();
    bool isPresent() const { return present_; }
    // Takes the icon out of the tray; create shows it again.
    void remove();

    // Shows the picture of status icon 128, 141 or 142; other ids are
    // ignored (false).
    bool setIcon(int iconId);
    void setTip(const QString& tip);
    int iconId() const { return iconId_; }
    const QString& tip() const { return tip_; }
    int trayId() const { return trayId_; }

    // A passing message at the icon (where the tray shows messages); the
    // last one is kept for tests.
    void notify(const QString& title, const QString& text);
    const QString& lastNotice() const { return lastNotice_; }

    // The command a double click sends; 0 = the menu's first item.
    void setDefaultCommand(int command) { defaultCommand_ = command; }
    int defaultCommand() const { return defaultCommand_; }
    // Called with the menu each time it is about to open; empty: none.
    // localiseTrayMenu is used until another is set.
    void setMenuLocaliser(MenuLocaliser localiser);
    // Where "Start with the desktop" keeps its autostart entry and the
    // program the entry starts; by default the user's autostart folder and
    // this program.
    void setAutostartEntry(std::string path, std::string program);

    // A mouse event on icon `id`: right button up opens the menu, a left
    // double click sends the default command. Returns 1 when handled, 0 when
    // ignored (another icon's id, or an event that does nothing).
    int onTrayNotification(int id, TrayMouseEvent event);

    QMenu* menu() const { return menu_.get(); }
    // The item carrying `command`, nullptr when none does.
    QAction* action(int command) const;
    // The menu's default item as made when it last opened.
    QAction* defaultAction() const;
    // Localises the menu and marks its default item, as before it opens.
    void prepareMenu();

private:
    void buildMenu();
    // The default command, or the first item's when it is 0.
    int effectiveDefaultCommand() const;
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void bringOwnerToFront();
    void switchAutostart(bool on);

    std::string pictureFolder_;
    Availability trayAvailable_;
    QPointer<QWidget> owner_;
    CommandSink commandSink_;
    MenuLocaliser localiser_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    QString tip_;
    QString lastNotice_;
    int iconId_ = 0;
    int trayId_ = tray::kTrayId;
    int defaultCommand_ = 0;
    bool present_ = false;
    std::string autostartPath_;
    std::string autostartProgram_;
};

}  // namespace keyloom::shell
