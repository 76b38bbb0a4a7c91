#pragma once
// A KeyloomCore on a simulated keyboard, with the test's thread as the window
// thread (a QueuedWindow) and a private data folder, runtime folder and
// report trace. Checks go against the simulated keyboard's memory and the
// reports it received.

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/HeadlessBinding.h"
#include "core/KeyloomCore.h"
#include "core/RecordingWindow.h"
#include "sim/SimBackend.h"
#include "support/RuntimeFolder.h"
#include "support/SimKeyboardLog.h"
#include "support/TempDir.h"

namespace keyloom::testing {

inline constexpr auto kHangGuard = std::chrono::seconds(20);
inline constexpr DiscoveryTiming kFastDiscovery{
    std::chrono::milliseconds(1), std::chrono::milliseconds(1), std::chrono::milliseconds(1)};

// The recording window, checking that the core never calls the window while
// it holds a store lock (a message box or a hook may run other window work
// that locks the stores itself).
class LockCheckingWindow : public RecordingWindow {
public:
    window::MessageAnswer showMessage(const window::MessageRequest& request) override {
        check();
        return RecordingWindow::showMessage(request);
    }
    void redrawKeyView() override {
        check();
        RecordingWindow::redrawKeyView();
    }
    void modifiedChanged(bool modified) override {
        check();
        RecordingWindow::modifiedChanged(modified);
    }
    void lightingChanged() override {
        check();
        RecordingWindow::lightingChanged();
    }
    bool calledUnderLock() const { return calledUnderLock_.load(); }

private:
    void check() {
        if (WorkingStore::heldByThisThread() || DeviceStore::heldByThisThread())
            calledUnderLock_ = true;
    }
    std::atomic<bool> calledUnderLock_{false};
};

class CoreFixture : public ::testing::Test {
protected:
    void SetUp() override { platform.addBackend(platformBackend()); }
    // The backend the core's platform sees; tests may put one in between.
    virtual std::shared_ptr<hid::HidBackend> platformBackend() { return backend; }
    void TearDown() override {
        if (core)
            core->stop();
        EXPECT_FALSE(window.calledUnderLock());
    }

    AppPaths paths() const {
        AppPaths p;
        p.dataFolder = dir.file("data");
        p.settingsFile = p.dataFolder + "/tzkb.ini";
        p.userModeFilePrefix = p.dataFolder + "/UserDengColor_";
        p.userModeTemplatePrefix = dir.file("Skins/UserDengColor_");
        return p;
    }

    void plugIn(const sim::SimModel& model = sim::kModel652F, std::uint8_t capacityUnits = 32) {
        keyboard = backend->addKeyboard(model, capacityUnits);
    }

    void createCore(bool startHidden = false) {
        CoreSetup setup;
        setup.platform = &platform;
        setup.trace = &trace;
        setup.timing = kFastDiscovery;
        setup.startHidden = startHidden;
        setup.listenForNotifications = withListener;
        setup.notificationTiming.scanInterval = std::chrono::milliseconds(1);
        core = std::make_unique<KeyloomCore>(window.coreWindow(), paths(), setup);
        bindHeadlessWindow(window, *core);
    }

    // Starts discovery and pumps until the connection change has finished.
    void startAndConnect(bool startHidden = false) {
        createCore(startHidden);
        core->start();
        ASSERT_TRUE(waitForState(1));
    }

    bool waitForState(int state) {
        const ConnectionValues& values = core->state().connection;
        return window.pumpUntil([&] { return values.state.load() == state && !values.busy.load(); },
                                kHangGuard);
    }

    // Requests the keyboard received since the last clearLog().
    std::vector<Request> received() { return requestsReceived(*keyboard); }
    std::vector<int> commands() {
        std::vector<int> out;
        for (const Request& r : received())
            out.push_back(r.command);
        return out;
    }
    std::vector<int> matrixWrites() { return matrixWritesReceived(*keyboard); }
    void clearLog() { clearReceived(*keyboard); }
    sim::SimMemory memory() { return memoryOf(*keyboard); }
    template <class F>
    void changeMemory(F&& f) {
        keyboard->withFirmware([&](sim::SimFirmware& firmware) { f(firmware.memory()); });
    }

    // The matrix position whose factory entry is the keyboard key `deviceCode`.
    std::size_t positionOfKey(std::uint8_t deviceCode) {
        const sim::SimMemory m = memory();
        for (std::size_t i = 0; i * 3 + 2 < m.defaultMatrix.size(); ++i)
            if (m.defaultMatrix[3 * i] == 2 && m.defaultMatrix[3 * i + 1] == 2 &&
                m.defaultMatrix[3 * i + 2] == deviceCode)
                return i;
        ADD_FAILURE() << "no matrix position for device code " << int(deviceCode);
        return 0;
    }
    std::vector<std::uint8_t> matrixEntryOnKeyboard(int profile, std::size_t position) {
        const sim::SimMemory m = memory();
        const std::size_t at = profile * keyboard->model().keyMatrixStride + 3 * position;
        return {m.keyMatrices[at], m.keyMatrices[at + 1], m.keyMatrices[at + 2]};
    }

    bool shown(const std::string& key) {
        for (const std::string& k : window.messageKeysShown())
            if (k == key)
                return true;
        return false;
    }
    bool called(const std::string& call) {
        for (const std::string& c : window.calls())
            if (c == call)
                return true;
        return false;
    }

    // Most tests drive the refresh timers themselves.
    bool withListener = false;

    RuntimeFolder runtime;
    TempDir dir;
    std::shared_ptr<sim::SimBackend> backend = std::make_shared<sim::SimBackend>();
    std::shared_ptr<sim::SimKeyboard> keyboard;
    hid::HidPlatform platform;
    ReportTrace trace;
    LockCheckingWindow window;
    std::unique_ptr<KeyloomCore> core;
};

}  // namespace keyloom::testing
