// The tray icon without a desktop tray: its popup menu (texts from the
// language file, the bold default item, commands), the mouse handling, the
// tooltip limit and what is kept when no tray exists.

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTest>
#include <QWidget>
#include <memory>
#include <vector>

#include "ShellFixture.h"
#include "platform/registry/Registry.h"
#include "platform/window/WindowMessages.h"
#include "shell/CTrayIcon.h"
#include "storage/Language.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

using shell::CTrayIcon;
using shell::TrayMouseEvent;
namespace tray = shell::tray;

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A language file of our own, so the texts provably come from it.
        dir.write("program/Lang0409.ini",
                  "[TEXT]\nMENU_11=Open the keyboard\nMENU_22=About this program\n"
                  "MENU_33=Quit now\nMENU_AUTOSTART=Start with the session\n");
        auto registry = std::make_shared<registry::Registry>(dir.file("registry.ini"));
        installLanguageFiles(
            std::make_shared<LanguageFiles>(dir.file("program/"), registry, 0x0409));
        // The offscreen platform has no tray: create() fails but keeps
        // everything the handlers need.
        icon.create(
            &owner, [this](int command) { commands.push_back(command); }, "tip",
            window::icon::kDisconnected);
    }
    void TearDown() override {
        icon.menu()->hide();
        installLanguageFiles(nullptr);
    }

    std::vector<QString> menuTexts() const {
        std::vector<QString> texts;
        for (QAction* action : icon.menu()->actions())
            texts.push_back(action->text());
        return texts;
    }

    TempDir dir;
    QWidget owner;
    CTrayIcon icon{dir.file("program/Skins/"), [] { return false; }};
    std::vector<int> commands;
};

TEST_F(TrayIconTest, RightClickOpensTheLocalisedMenuWithOpenInBold) {
    EXPECT_EQ(icon.onTrayNotification(tray::kTrayId, TrayMouseEvent::RightButtonUp), 1);
    ASSERT_TRUE(icon.menu()->isVisible());
    EXPECT_EQ(menuTexts(), (std::vector<QString>{"Open the keyboard", "About this program",
                                                 "Start with the session", "Quit now"}));
    ASSERT_EQ(icon.defaultAction(), icon.action(tray::kOpen));
    for (QAction* action : icon.menu()->actions())
        EXPECT_EQ(action->font().bold(), action == icon.action(tray::kOpen))
            << action->text().toStdString();
    // The items carry their commands.
    EXPECT_NE(icon.action(tray::kAbout), nullptr);
    EXPECT_NE(icon.action(tray::kExit), nullptr);
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(builtFile("screenshots"))));
    EXPECT_TRUE(
        icon.menu()->grab().save(QString::fromStdString(builtFile("screenshots/tray_menu.png"))));
}

TEST_F(TrayIconTest, TextsAreReadAgainEachTimeTheMenuOpens) {
    icon.onTrayNotification(tray::kTrayId, TrayMouseEvent::RightButtonUp);
    icon.menu()->hide();
    // The file changes while the program runs; a missing key shows "#Error".
    dir.write("program/Lang0409.ini", "[TEXT]\nMENU_11=Show\nMENU_22=Info\n");
    icon.onTrayNotification(tray::kTrayId, TrayMouseEvent::RightButtonUp);
    EXPECT_EQ(menuTexts(), (std::vector<QString>{"Show", "Info", "#Error", "#Error"}));

    // Another localiser replaces the language file's, and runs on every opening.
    int calls = 0;
    icon.setMenuLocaliser([&](QMenu& menu) {
        ++calls;
        menu.actions().front()->setText("Mine");
    });
    const int before = calls;
    icon.menu()->hide();
    icon.onTrayNotification(tray::kTrayId, TrayMouseEvent::RightButtonUp);
    EXPECT_EQ(calls, before + 1);
    EXPECT_EQ(menuTexts().front(), "Mine");
}

TEST_F(TrayIconTest, ChoosingAnItemSendsItsCommand) {
    icon.action(tray::kAbout)->trigger();
    icon.action(tray::kExit)->trigger();
    EXPECT_EQ(commands, (std::vector<int>{tray::kAbout, tray::kExit}));
}

TEST_F(TrayIconTest, StartWithTheDesktopWritesAndRemovesTheAutostartEntry) {
    const std::string entry = dir.file("config/autostart/keyloom.desktop");
    icon.setAutostartEntry(entry, "/usr/bin/keyloom");
    QAction* item = icon.action(tray::kStartWithDesktop);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_NE(dir.read("config/autostart/keyloom.desktop").find("Exec=/usr/bin/keyloom --start\n"),
              std::string::npos);
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(entry)));
    // The mark follows the file, whoever made it (keyloomctl autostart on).
    dir.write("config/autostart/keyloom.desktop", "[Desktop Entry]\n");
    icon.prepareMenu();
    EXPECT_TRUE(item->isChecked());
    // The item is the icon's own business: no command goes to the window.
    EXPECT_TRUE(commands.empty());
}

TEST_F(TrayIconTest, DoubleClickSendsTheDefaultCommand) {
    EXPECT_EQ(icon.onTrayNotification(tray::kTrayId, TrayMouseEvent::LeftDoubleClick), 1);
    EXPECT_EQ(commands, std::vector<int>{tray::kOpen});

    // A set default command is sent instead, and is the bold item.
    icon.setDefaultCommand(tray::kAbout);
    icon.onTrayNotification(tray::kTrayId, TrayMouseEvent::LeftDoubleClick);
    EXPECT_EQ(commands.back(), tray::kAbout);
    icon.prepareMenu();
    EXPECT_EQ(icon.defaultAction(), icon.action(tray::kAbout));
    EXPECT_TRUE(icon.action(tray::kAbout)->font().bold());
    EXPECT_FALSE(icon.action(tray::kOpen)->font().bold());
}

TEST_F(TrayIconTest, SingleClicksAndOtherIconsDoNothing) {
    EXPECT_EQ(icon.onTrayNotification(tray::kTrayId, TrayMouseEvent::Other), 0);
    EXPECT_EQ(icon.onTrayNotification(tray::kTrayId + 1, TrayMouseEvent::LeftDoubleClick), 0);
    EXPECT_EQ(icon.onTrayNotification(tray::kTrayId + 1, TrayMouseEvent::RightButtonUp), 0);
    EXPECT_TRUE(commands.empty());
    EXPECT_FALSE(icon.menu()->isVisible());
}

TEST_F(TrayIconTest, TipIsCutTo127Characters) {
    icon.setTip(QString(200, 'x'));
    EXPECT_EQ(icon.tip(), QString(127, 'x'));
    icon.setTip(QString(127, 'y'));
    EXPECT_EQ(icon.tip(), QString(127, 'y'));
    // A character outside the BMP straddling the limit is dropped whole
    // rather than cut in half.
    const QString tip = QString(126, 'z') + QString::fromUtf8("\xF0\x9F\x8E\xB9") + "tail";
    icon.setTip(tip);
    EXPECT_EQ(icon.tip(), QString(126, 'z'));
}

TEST_F(TrayIconTest, WithoutATrayTheIconStillKeepsItsState) {
    EXPECT_FALSE(icon.isPresent());
    EXPECT_EQ(icon.tip(), "tip");
    EXPECT_EQ(icon.iconId(), window::icon::kDisconnected);
    EXPECT_TRUE(icon.setIcon(window::icon::kConnected));
    EXPECT_EQ(icon.iconId(), window::icon::kConnected);
    // An id that has no picture changes nothing.
    EXPECT_FALSE(icon.setIcon(7));
    EXPECT_EQ(icon.iconId(), window::icon::kConnected);
    icon.remove();
    EXPECT_FALSE(icon.isPresent());

    // Without an owner there is no icon even where a tray exists.
    CTrayIcon withTray(dir.file("program/Skins/"), [] { return true; });
    EXPECT_FALSE(withTray.create(nullptr, {}, "tip", window::icon::kConnected));
    EXPECT_FALSE(withTray.isPresent());
}

TEST_F(TrayIconTest, PicturesOfTheThreeStatusIcons) {
    EXPECT_EQ(shell::trayPictureName(window::icon::kDisconnected), "tray_disconnected.png");
    EXPECT_EQ(shell::trayPictureName(window::icon::kConnected), "tray_connected.png");
    EXPECT_EQ(shell::trayPictureName(window::icon::kIndicator), "tray_indicator.png");
    EXPECT_TRUE(shell::trayPictureName(0).isEmpty());
}

TEST_F(TrayIconTest, WhereATrayExistsTheIconComesAndGoes) {
    CTrayIcon shown(dir.file("program/Skins/"), [] { return true; });
    ASSERT_TRUE(shown.create(
        &owner, [this](int command) { commands.push_back(command); }, "tip",
        window::icon::kConnected));
    EXPECT_TRUE(shown.isPresent());
    // The tray shows its context menu itself: a right click must not pop up
    // a second copy.
    EXPECT_EQ(shown.onTrayNotification(tray::kTrayId, TrayMouseEvent::RightButtonUp), 1);
    EXPECT_FALSE(shown.menu()->isVisible());
    EXPECT_EQ(shown.defaultAction(), shown.action(tray::kOpen));
    shown.remove();
    EXPECT_FALSE(shown.isPresent());
    EXPECT_TRUE(shown.create(&owner, {}, "again", window::icon::kIndicator));
    EXPECT_EQ(shown.tip(), "again");
    EXPECT_EQ(shown.iconId(), window::icon::kIndicator);
}

}  // namespace
}  // namespace keyloom::testing
