// Every window in every language: each text fits its control (nothing is
// cut), and each control a screen reader reaches has a name. The German
// main window and key dialog are kept as screenshots.

#include <QLabel>
#include <QTimer>

#include "DialogTestSupport.h"
#include "editors/qt/Keyloom_DlgComposite.h"
#include "shell/MainControls.h"
#include "storage/LanguageTables.h"
#include "support/qt/WindowChecks.h"

namespace keyloom::testing {
namespace {

namespace dlg = editors::qt::composite;

constexpr int kAKey = 1058;
const char* const kLanguageNames[] = {"en", "de", "zh"};

class EveryWindowTest : public DialogFixture {
protected:
    void chooseLanguage(int index) {
        registry->writeDword(kSettingsKeyPath, kLanguageIdValue, languageIdOfIndex(index));
        dialog->handleMessage(window::languageMessage(index));
        QTest::qWait(5);
    }
    // Both checks on one window, the language and state in each message.
    void expectFitsAndNamed(QWidget& window, const std::string& what) {
        SCOPED_TRACE(what);
        const QStringList misfits = textsThatDoNotFit(window);
        EXPECT_TRUE(misfits.isEmpty()) << misfits.join('\n').toStdString();
        const QStringList unnamed = unnamedControls(window);
        EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join('\n').toStdString();
    }
    void shoot(QWidget& window, int language, const std::string& name) {
        saveScreenshot(window, name + "_" + kLanguageNames[language]);
    }
};

TEST_F(EveryWindowTest, MainWindowWithTheLightingViewOffAndOn) {
    openWindow();
    for (int language = 0; language < 3; ++language) {
        chooseLanguage(language);
        for (bool on : {false, true}) {
            dialog->lightingPanel()->clickLightingSwitch(on);
            ASSERT_TRUE(pumpUntil([&] { return dialog->lightingPanel()->lightingViewOn() == on; }));
            QTest::qWait(5);
            expectFitsAndNamed(*dialog, std::string(kLanguageNames[language]) +
                                            (on ? " lighting view" : " key view"));
            shoot(*dialog, language, on ? "main_window_lighting" : "main_window");
        }
    }
}

TEST_F(EveryWindowTest, KeyDialogOnItsKeyAndMacroTabs) {
    openWindow();
    for (int language = 0; language < 3; ++language) {
        chooseLanguage(language);
        QTimer::singleShot(0, dialog.get(), [&, language] {
            editors::qt::Keyloom_DlgComposite* keys = dialog->keyAssignmentDialog();
            ASSERT_NE(keys, nullptr);
            const std::string name = kLanguageNames[language];
            // The note shown under Wayland has to fit as well.
            keys->control(dlg::kDesktopKeysNotice)->show();
            expectFitsAndNamed(*keys, name + " key tab");
            shoot(*keys, language, "key_dialog");
            static_cast<QAbstractButton*>(keys->control(dlg::kMacroTab))->click();
            static_cast<QAbstractButton*>(keys->control(dlg::kMacroAdd))->click();
            QTest::qWait(5);
            expectFitsAndNamed(*keys, name + " macro tab");
            // The memory meter groups digits as the language writes them.
            const QString memory = qobject_cast<QLabel*>(keys->control(dlg::kMacroMemory))->text();
            EXPECT_TRUE(memory.contains(language == 1 ? "4.096" : "4,096")) << memory.toStdString();
            shoot(*keys, language, "key_dialog_macro");
            static_cast<QAbstractButton*>(keys->control(dlg::kMediaTab))->click();
            expectFitsAndNamed(*keys, name + " media tab");
            keys->closeIfOpen();
        });
        dialog->runCommand(kAKey);
    }
}

TEST_F(EveryWindowTest, ProfileManagerAndFirmwareUpdate) {
    openWindow();
    for (int language = 0; language < 3; ++language) {
        chooseLanguage(language);
        const std::string name = kLanguageNames[language];
        ASSERT_TRUE(dialog->profileManager().openWithoutWaiting());
        expectFitsAndNamed(dialog->profileManager(), name + " profile manager");
        dialog->profileManager().closeAsCancel();
        ASSERT_TRUE(dialog->firmwareUpdate().openWithoutWaiting());
        expectFitsAndNamed(dialog->firmwareUpdate(), name + " firmware update");
        dialog->firmwareUpdate().closeDialog();
    }
}

}  // namespace
}  // namespace keyloom::testing
