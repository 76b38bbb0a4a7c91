#pragma once
// The key assignment dialog on its own, against a working store, with the
// skin and language file the build drew and message boxes that answer Yes
// (or OK) and remember their keys. Key events are Qt key events carrying the
// native scan code the window system would give (Linux key code + 8).

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPainter>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editors/qt/Keyloom_DlgComposite.h"
#include "model/KeyTable.h"
#include "storage/AppPaths.h"
#include "storage/Language.h"
#include "storage/SystemLanguage.h"
#include "support/TempDir.h"

namespace keyloom::testing {

inline std::string builtPath(const std::string& name) {
    return std::string(KEYLOOM_BUILD_DIR) + "/" + name;
}

// Linux key codes of the keys the tests press.
namespace linux_key {
inline constexpr unsigned kEsc = 1;
inline constexpr unsigned kA = 30;
inline constexpr unsigned kLeftCtrl = 29;
inline constexpr unsigned kRightCtrl = 97;
inline constexpr unsigned kPrint = 99;
inline constexpr unsigned kLeftMeta = 125;
inline constexpr unsigned kKeypad7 = 71;
inline constexpr unsigned kVolumeUp = 115;
}  // namespace linux_key

inline constexpr quint32 kNumLockModifier = 0x10;
inline constexpr int kAKeyButton = 1058;
inline constexpr int kG9Button = 1143;

class RecordingPrompter : public window::Prompter {
public:
    window::MessageAnswer showMessage(const window::MessageRequest& request) override {
        keys.push_back(request.key);
        if (whileShown)
            whileShown();
        if (answer)
            return answer(request);
        return request.buttons == window::MessageButtons::YesNo ? window::MessageAnswer::Yes
                                                                : window::MessageAnswer::Ok;
    }
    std::vector<std::string> keys;
    std::function<void()> whileShown;  // runs while the box would be open
    // Set: shows the box and gives its answer instead of Yes/OK.
    std::function<window::MessageAnswer(const window::MessageRequest&)> answer;
};

class KeyDialogFixture : public ::testing::Test {
protected:
    void SetUp() override {
        AppPathsOptions options;
        options.programFolder = builtPath("bin/");
        options.dataFolder = dir.file("data");
        options.registryFile = dir.file("registry.ini");
        ASSERT_EQ(buildAppPaths(options, paths), AppPathsStatus::Ok);
        registry = std::make_shared<registry::Registry>(paths.registryFile);
        installLanguageFiles(
            std::make_shared<LanguageFiles>(paths.programFolder, registry, systemLanguageId()));
        SetKeyTextLookup([](std::string_view key) { return lookupText(key); });
        parameters.bytes[ParameterBlock::kMacroCapacityByte] = 32;  // 4096 bytes
    }
    void TearDown() override {
        if (dialog)
            dialog->closeIfOpen();
        dialog.reset();
    }

    void createDialog() {
        editors::qt::CompositeSetup setup;
        setup.skinFolder = paths.skinFolder;
        setup.store = &store;
        setup.prompter = &prompter;
        setup.registry = registry;
        setup.edits = &edits;
        setup.parameters = [this] { return parameters; };
        setup.startOnScreenKeyboard = [this] { return oskInstalled; };
        setup.desktopKeepsKeys = [this] { return desktopKeepsKeys; };
        dialog = std::make_unique<editors::qt::Keyloom_DlgComposite>(std::move(setup));
    }

    // Opens the dialog for a key button of profile 1 and shows it.
    void open(int button = kAKeyButton, QRect key = QRect(100, 100, 40, 40),
              QString label = QString("A")) {
        if (!dialog)
            createDialog();
        editors::KeyButtonContext context;
        context.activeProfile = 0;
        const editors::OpenResult result = dialog->prepare(button, context, key, label);
        ASSERT_EQ(result.outcome, editors::OpenOutcome::ShowDialog);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    void click(int id) {
        auto* button = qobject_cast<QAbstractButton*>(dialog->control(id));
        ASSERT_NE(button, nullptr) << id;
        button->click();
    }

    // A key event as the window system delivers it to the dialog.
    void key(QEvent::Type type, unsigned linuxKey, quint64 timestampMs = 0,
             quint32 nativeModifiers = 0, bool autoRepeat = false) {
        QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, linuxKey + 8, 0, nativeModifiers,
                        QString(), autoRepeat);
        event.setTimestamp(timestampMs);
        QWidget* target = QApplication::focusWidget();
        QApplication::sendEvent(target ? target : dialog.get(), &event);
    }
    void tap(unsigned linuxKey, quint64 atMs = 0) {
        key(QEvent::KeyPress, linuxKey, atMs);
        key(QEvent::KeyRelease, linuxKey, atMs + 1);
    }

    KeyAssignment entry(std::size_t block, std::size_t index) {
        auto working = store.lock();
        return working->image->block(block)[index];
    }

    // The dialog at its own size and at twice the pixel density.
    void saveScreenshot(const std::string& name) {
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(builtPath("screenshots"))));
        QApplication::processEvents();
        EXPECT_TRUE(dialog->grab().save(
            QString::fromStdString(builtPath("screenshots/key_dialog_" + name + ".png"))));
        QPixmap twice(dialog->size() * 2);
        twice.setDevicePixelRatio(2);
        twice.fill(Qt::black);
        dialog->render(&twice);
        EXPECT_TRUE(twice.save(
            QString::fromStdString(builtPath("screenshots/key_dialog_" + name + "@2x.png"))));
    }

    bool desktopKeepsKeys = false;  // as under Wayland
    TempDir dir;
    AppPaths paths;
    std::shared_ptr<registry::Registry> registry;
    WorkingStore store;
    RecordingPrompter prompter;
    struct RecordingEdits : EditListener {
        int told = 0;
        bool allProfiles = false;
        void storeEdited(bool all) override {
            ++told;
            allProfiles = allProfiles || all;
        }
    } edits;
    ParameterBlock parameters;
    bool oskInstalled = true;
    std::unique_ptr<editors::qt::Keyloom_DlgComposite> dialog;
};

}  // namespace keyloom::testing
