#pragma once
// The main window on a simulated keyboard: the skin and language file the
// build drew, a private data folder, registry file and runtime folder, and a
// private HID platform holding only the simulated keyboard's backend. The
// test's thread is the window thread; tests pump Qt events until a condition
// holds (with a generous limit that only guards against hangs).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "core/CoreFixture.h"
#include "model/KeyTable.h"
#include "shell/CKeyloomDlg.h"
#include "sim/SimBackend.h"
#include "storage/AppProfile.h"
#include "storage/Language.h"
#include "storage/SettingsKey.h"
#include "storage/SystemLanguage.h"
#include "support/TempDir.h"

namespace keyloom::testing {

inline bool pumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count())
            return false;
        QTest::qWait(2);
    }
    return true;
}

inline std::string builtFile(const std::string& name) {
    return std::string(KEYLOOM_BUILD_DIR) + "/" + name;
}

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform.addBackend(backend);
        AppPathsOptions options;
        options.programFolder = builtFile("bin/");
        options.dataFolder = dir.file("data");
        options.registryFile = dir.file("registry.ini");
        ASSERT_EQ(buildAppPaths(options, paths), AppPathsStatus::Ok);
        registry = std::make_shared<registry::Registry>(paths.registryFile);
        installLanguageFiles(
            std::make_shared<LanguageFiles>(paths.programFolder, registry, systemLanguageId()));
        SetKeyTextLookup([](std::string_view key) { return lookupText(key); });
    }
    void TearDown() override {
        if (dialog)
            dialog->shutdown();
        dialog.reset();
    }

    void plugIn() { keyboard = backend->addKeyboard(sim::kModel652F, 32); }

    CoreSetup coreSetup(bool startHidden) {
        CoreSetup core;
        core.platform = &platform;
        core.trace = &trace;
        core.timing = kFastDiscovery;
        core.startHidden = startHidden;
        return core;
    }

    // The program's own order: the core made and started before the window.
    shell::StartedCore startCoreFirst() {
        shell::StartedCore started;
        started.port = std::make_unique<shell::MainWindowPort>();
        started.core =
            std::make_unique<KeyloomCore>(started.port->coreWindow(), paths, coreSetup(false));
        started.core->start();
        return started;
    }

    void createWindow(bool startHidden = false, shell::StartedCore started = {}) {
        shell::DialogSetup setup;
        setup.paths = paths;
        setup.registry = registry;
        setup.core = coreSetup(startHidden);
        setup.trayAvailable = [this] {
            ++trayAsks;
            trayAskedWhileShown = dialog && dialog->isVisible();
            return false;
        };
        setup.trayIconLatest = trayIconLatest;
        dialog = std::make_unique<shell::CKeyloomDlg>(std::move(setup), std::move(started));
        dialog->setMessageResponder([](const window::MessageRequest& r) {
            return r.buttons == window::MessageButtons::YesNo ? window::MessageAnswer::Yes
                                                              : window::MessageAnswer::Ok;
        });
        const shell::InitResult init = dialog->initialise();
        ASSERT_TRUE(init.ok) << init.missingPicture;
    }

    // Connected, the full read done and nothing left in flight.
    bool waitConnected() {
        const ConnectionValues& values = dialog->core().state().connection;
        return pumpUntil([&] {
            return values.state.load() == 1 && !values.busy.load() &&
                   values.activeProfile.load() >= 0;
        });
    }

    void openWindow() {
        plugIn();
        createWindow();
        ASSERT_TRUE(waitConnected());
        ASSERT_TRUE(pumpUntil([&] { return dialog->isVisible(); }));
        // The lighting panel, as the window builds it right after its first
        // paint, so that no test races that turn of the event loop.
        ASSERT_NE(dialog->lightingPanel(), nullptr);
    }

    controls::CSkinButton& button(int id) {
        controls::CSkinButton* b = dialog->button(id);
        EXPECT_NE(b, nullptr) << id;
        return *b;
    }

    void saveScreenshot(const std::string& name) {
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(builtFile("screenshots"))));
        const QImage screen = dialog->grab().toImage();
        EXPECT_TRUE(screen.save(
            QString::fromStdString(builtFile("screenshots/main_window_" + name + ".png"))));
    }

    // How often the window asked whether there is a tray (there is none),
    // whether its window was shown then, and how long a start without a
    // window waits before it asks.
    int trayAsks = 0;
    bool trayAskedWhileShown = false;
    std::chrono::milliseconds trayIconLatest{std::chrono::seconds(30)};
    RuntimeFolder runtime;
    TempDir dir;
    AppPaths paths;
    std::shared_ptr<registry::Registry> registry;
    std::shared_ptr<sim::SimBackend> backend = std::make_shared<sim::SimBackend>();
    std::shared_ptr<sim::SimKeyboard> keyboard;
    hid::HidPlatform platform;
    ReportTrace trace;
    std::unique_ptr<shell::CKeyloomDlg> dialog;
};

}  // namespace keyloom::testing
