// The About box and its holder: one window however often it is opened, OK,
// Escape and shutdown destroy it, its texts come from the language file, F1
// and the link go through the callbacks the window passes. Saves a
// screenshot of the box drawn with the build's skin and language file.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLayout>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <vector>

#include "ShellFixture.h"
#include "controls/CHyperlink.h"
#include "shell/CAboutDlg.h"

namespace keyloom::testing {
namespace {

using shell::AboutBox;
using shell::AboutSetup;
using shell::CAboutDlg;
namespace about = shell::about;

int aboutWindows() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += qobject_cast<CAboutDlg*>(window) != nullptr && window->isVisible();
    return count;
}

class AboutDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("program/Lang0409.ini",
                  "[TEXT]\nLANG_ABOUT_TITLE=About it\nGUANYU_JIESHAO=What it does.\n"
                  "GUANYU_BANQUAN=Who made it.\nLANG_ABOUT_OK=Fine\n");
        useLanguageFolder(dir.file("program/"));
    }
    void TearDown() override { installLanguageFiles(nullptr); }

    void useLanguageFolder(const std::string& folder) {
        auto registry = std::make_shared<registry::Registry>(dir.file("registry.ini"));
        installLanguageFiles(std::make_shared<LanguageFiles>(folder, registry, 0x0409));
    }

    AboutSetup setup() {
        AboutSetup result;
        result.skinFolder = builtFile("bin/Skins/");
        result.link = "https://keyloom.app/";
        result.openHelp = [this] { ++helpOpened; };
        result.openUrl = [this](const QString& url) { urlsOpened.push_back(url); };
        return result;
    }

    TempDir dir;
    int helpOpened = 0;
    std::vector<QString> urlsOpened;
};

TEST_F(AboutDlgTest, OpeningTwiceGivesOneWindow) {
    AboutBox box(setup());
    EXPECT_EQ(box.dialog(), nullptr);
    box.open();
    CAboutDlg* first = box.dialog();
    ASSERT_NE(first, nullptr);
    box.open();
    EXPECT_EQ(box.dialog(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(aboutWindows(), 1);
}

TEST_F(AboutDlgTest, OkOrEscapeDestroysItAndTheNextOpenCreatesItAnew) {
    AboutBox box(setup());
    box.open();
    QPointer<CAboutDlg> first = box.dialog();
    QTest::mouseClick(first->control(about::kOk), Qt::LeftButton);
    EXPECT_EQ(box.dialog(), nullptr);
    ASSERT_TRUE(pumpUntil([&] { return first.isNull(); }));
    EXPECT_EQ(aboutWindows(), 0);

    box.open();
    QPointer<CAboutDlg> second = box.dialog();
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->isVisible());
    QTest::keyClick(second, Qt::Key_Escape);
    EXPECT_EQ(box.dialog(), nullptr);
    ASSERT_TRUE(pumpUntil([&] { return second.isNull(); }));

    // Shutdown and a lost keyboard close it at once.
    box.open();
    QPointer<CAboutDlg> third = box.dialog();
    box.close();
    EXPECT_TRUE(third.isNull());
    EXPECT_EQ(box.dialog(), nullptr);
    box.close();  // nothing open: nothing happens
}

TEST_F(AboutDlgTest, TextsComeFromTheLanguageFile) {
    AboutBox box(setup());
    box.open();
    CAboutDlg& dialog = *box.dialog();
    EXPECT_EQ(dialog.windowTitle(), "About it");
    EXPECT_EQ(dialog.text(about::kDescription), "What it does.");
    EXPECT_EQ(dialog.text(about::kCopyright), "Who made it.");
    EXPECT_EQ(dialog.text(about::kOk), "Fine");

    // Read again on request; a missing key shows "#Error", and markup in the
    // file is shown as it stands.
    dir.write("program/Lang0409.ini",
              "[TEXT]\nLANG_ABOUT_TITLE=Info\nGUANYU_JIESHAO=<b>bold</b>\nLANG_ABOUT_OK=OK\n");
    dialog.languageTexts(0);
    EXPECT_EQ(dialog.windowTitle(), "Info");
    EXPECT_EQ(dialog.text(about::kDescription), "<b>bold</b>");
    EXPECT_EQ(static_cast<QLabel*>(dialog.control(about::kDescription))->textFormat(),
              Qt::PlainText);
    EXPECT_EQ(dialog.text(about::kCopyright), "#Error");
    EXPECT_EQ(dialog.control(4242), nullptr);
}

TEST_F(AboutDlgTest, HelpAndLinkGoThroughTheWindowsCallbacks) {
    AboutBox box(setup());
    box.open();
    CAboutDlg& dialog = *box.dialog();
    QTest::keyClick(&dialog, Qt::Key_F1);
    EXPECT_EQ(helpOpened, 1);
    EXPECT_TRUE(dialog.isVisible());

    auto* link = qobject_cast<controls::CHyperlink*>(dialog.control(about::kLink));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(), "https://keyloom.app/");
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(urlsOpened, std::vector<QString>{"https://keyloom.app/"});

    // Without an address there is no link to click.
    AboutSetup bare = setup();
    bare.link.clear();
    CAboutDlg withoutLink(bare);
    EXPECT_TRUE(withoutLink.control(about::kLink)->isHidden());
}

TEST_F(AboutDlgTest, OnlyWebAddressesFromTheSkinAreOpened) {
    dir.write("Skins/Main.ini", "[screen]\nLINK = https://example.org/about \n");
    EXPECT_EQ(shell::readAboutLink(dir.file("Skins/Main.ini")), "https://example.org/about");
    EXPECT_TRUE(shell::readAboutLink(dir.file("Skins/Missing.ini")).isEmpty());
    // The skin file is user-editable: no files, programs or other schemes.
    for (const char* refused : {"file:///etc/passwd", "javascript:alert(1)", "ftp://host/x",
                                "/usr/bin/xterm", "", "https://"})
        EXPECT_FALSE(shell::openWebAddress(refused)) << refused;
}

TEST_F(AboutDlgTest, Screenshot) {
    useLanguageFolder(builtFile("bin/"));
    AboutBox box(setup());
    box.open();
    CAboutDlg& dialog = *box.dialog();
    EXPECT_EQ(dialog.windowTitle().toStdString(), lookupText("LANG_ABOUT_TITLE"));
    // The wrapped text fits: the box is as tall as its contents need.
    EXPECT_GE(dialog.height(), dialog.layout()->totalHeightForWidth(dialog.width()));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(builtFile("screenshots"))));
    EXPECT_TRUE(dialog.grab().save(QString::fromStdString(builtFile("screenshots/about_box.png"))));
}

}  // namespace
}  // namespace keyloom::testing
