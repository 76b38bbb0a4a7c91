#pragma once
// The one object the Qt window and keyloomctl both drive. It owns the device
// link, the keyboard queue, the two stores, what the keyboard told us, its
// lighting (LightingService), the modified state, the discovery thread (it is
// that thread's ConnectionHandler), the notification listener thread and the
// tray status, and builds the sequences that read and write the keyboard
// (ConnectionSequence, SlotFileSync, KeyboardWriter, KeyCommands,
// ProfileCommands). The window reaches it by forwarding its messages and
// timers and by calling the commands below; the core reaches the window only
// through the role interfaces of CoreWindow.
//
// Threads: every transfer runs as a job of the keyboard queue, in the order
// asked (the sequences and commands below are called from such a job; the
// lighting writer and the connection change submit their own).
// connectionChanged runs on the discovery thread. Locks: working store, then
// device store, then the keyboard data's or the lighting's lock (held only
// to copy or change); device exchanges are serialised by the link. No lock
// is held while the window is called.

#include <atomic>
#include <memory>
#include <string>
#include <type_traits>

#include "core/AppState.h"
#include "core/ConnectionSequence.h"
#include "core/CoreParts.h"
#include "core/KeyCommands.h"
#include "core/KeyboardAreas.h"
#include "core/KeyboardData.h"
#include "core/KeyboardWriter.h"
#include "core/LightingService.h"
#include "core/ModifiedState.h"
#include "core/ProfileCommands.h"
#include "core/SlotFileSync.h"
#include "core/StoreEdits.h"
#include "core/window/CoreWindow.h"
#include "device/ConnectionHandler.h"
#include "device/DeviceLink.h"
#include "device/DiscoveryMonitor.h"
#include "device/KeyboardQueue.h"
#include "device/NotificationListener.h"
#include "model/ConfigurationStore.h"
#include "model/EditTransaction.h"
#include "model/KeyColourMap.h"
#include "platform/window/TrayStatus.h"
#include "storage/AppPaths.h"
#include "storage/ProfileMenu.h"

namespace keyloom {

struct CoreSetup {
    hid::HidPlatform* platform = nullptr;  // null: the system's
    ReportTrace* trace = nullptr;          // null: the process-wide trace
    DiscoveryTiming timing{};
    NotificationTiming notificationTiming{};
    // Whether start() also starts the notification listener.
    bool listenForNotifications = true;
    bool startHidden = false;  // "/Start": the window never opens by itself
    // Synchronous: every job runs on the thread that asks (keyloomctl).
    KeyboardQueue::Mode queueMode = KeyboardQueue::Mode::Background;
    // A lighting write the keyboard refused (queue's thread); unset: told
    // through the window's prompts.
    LightingWriter::FailureCallback lightingWriteFailed;
    // Whether the full read sends the lighting profile's key colours.
    bool sendUserModeAtRead = true;
};

class KeyloomCore : public ConnectionHandler {
public:
    KeyloomCore(window::CoreWindow window, AppPaths paths, CoreSetup setup = {});
    ~KeyloomCore() override;
    KeyloomCore(const KeyloomCore&) = delete;
    KeyloomCore& operator=(const KeyloomCore&) = delete;

    // Starts the notification listener (unless the setup said not to), then
    // the discovery thread; later calls do nothing.
    void start();
    // Stops the window's messages (releasing a discovery thread blocked in a
    // send), stops and joins both threads, then runs what the keyboard queue
    // still holds and stops it.
    void stop();

    // --- Forwarded by the window ------------------------------------------------
    // Nothing to do: PROF tells the window that the full read ended.
    void handleWindowMessage(const window::WindowMessage& msg);
    // For windows whose role interfaces answer on any thread (keyloomctl,
    // tests): waits for its keyboard job. The Qt window queues the same
    // work itself (timerWork) and is told when it ended.
    // 1051 lighting refresh, 1053 profile refresh; each kills its timer first.
    void handleTimer(int id);
    // The one queue every transfer goes through.
    KeyboardQueue& queue() { return queue_; }
    // The keyboard's lighting: read it and send intents through an Access.
    LightingService& lighting() { return lighting_; }

    // --- Discovery thread -------------------------------------------------------
    void connectionChanged(int connected) override { connection_.connectionChanged(connected); }

    // --- Sequences and commands ---------------------------------------------------
    // Each runs as a job of the keyboard queue and returns when it ended:
    // at once when called from a job (the window's keyboard work), else
    // after the work asked for before it.
    void fullRead() {
        onQueue([this] { connection_.fullRead(); });
    }
    void refreshFromKeyboard(bool keepModified = false) {
        onQueue([this, keepModified] { slot_.refreshFromKeyboard(keepModified); });
    }
    bool writeAll(bool allProfiles) {
        return onQueue([this, allProfiles] { return writer_.writeAll(allProfiles); });
    }
    bool readLightingRecords() {
        return onQueue([this] { return connection_.readLightingRecords(); });
    }
    void lightingRefresh() {
        onQueue([this] { connection_.lightingRefresh(); });
    }
    void profileRefreshFromKeyboard() {
        onQueue([this] { profiles_.profileRefreshFromKeyboard(); });
    }

    bool apply() {
        return onQueue([this] { return keys_.apply(); });
    }
    bool restoreDefault() {
        return onQueue([this] { return keys_.restoreDefault(); });
    }
    // Saves what it replaces to a before-restore file first (its path goes
    // to `backupFile`); nothing is replaced when that copy cannot be written.
    RestoreResult restoreFromFile(const std::string& path, std::string* backupFile = nullptr) {
        RestoreResult result = RestoreResult::NotWritten;
        queue_.runAndWait([&] { result = keys_.restoreFromFile(path, backupFile); });
        return result;
    }
    bool backupToFile(const std::string& path) { return keys_.backupToFile(path); }
    KeyboardDump dumpKeyboard(const std::string& path) {
        return onQueue([this, &path] { return slot_.dumpKeyboard(path); });
    }
    DeviceResult writeReportRate(int step) {
        return onQueue([this, step] { return keys_.writeReportRate(step); });
    }
    void tellWriteFailure(DeviceResult code) { writer_.tellFailure(code); }
    // A timer's work (1051, 1053).
    void timerWork(int id);
    bool profileButton(int profile) {
        return onQueue([this, profile] { return profiles_.profileButton(profile); });
    }
    bool switchActiveProfile(int profile) {
        return onQueue([this, profile] { return profiles_.switchActiveProfile(profile); });
    }
    ProfileMenu profileMenu() { return profiles_.profileMenu(); }
    bool chooseProfileMenuItem(int command) {
        return onQueue([this, command] { return profiles_.chooseProfileMenuItem(command); });
    }

    // --- Edits ------------------------------------------------------------------
    // One edit of the working store's keys and macros, of on-board profile
    // `profile` (by default the active one): it marks the configuration
    // modified and works out whether the next write covers every profile.
    EditTransaction edit(int profile) { return EditTransaction(working_, &edits_, profile); }
    EditTransaction edit() { return edit(state_.connection.activeProfile.load()); }
    // Where editors that open their own transactions tell their edits.
    EditListener& edits() { return edits_; }

    // --- State ------------------------------------------------------------------
    // Unapplied key changes.
    ModifiedState& modified() { return modified_; }
    // The store the editors read and commit to (lock it briefly).
    WorkingStore& workingStore() { return working_; }
    AppState& state() { return state_; }
    const AppPaths& paths() const { return paths_; }
    std::string slotFile() const { return slot_.slotFile(); }
    // For keyloomctl, which acts on the keyboard as a command-line tool.
    DeviceLink& link() { return link_; }
    KeyboardAreas& areas() { return areas_; }
    window::TrayStatus& tray() { return tray_; }
    NotificationListener& listener() { return listener_; }
    // Where the keyboard's interfaces are found (a command's own listener).
    hid::HidPlatform& platform() { return platform_; }
    // Window thread only: filled by the user-mode loader.
    KeyColourMap& keyColours() { return keyColours_; }

    KeyMatrix defaultMatrix() const { return data_.defaultMatrix(); }
    ParameterBlock parameterBlock() const { return data_.parameterBlock(); }
    bool supportsPerKeyColours() const { return data_.supportsPerKeyColours(); }
    LightingState lightingState() { return lighting_.state(); }
    int lightingProfile() { return lighting_.profile(); }

private:
    CoreParts parts();
    // Runs `work` as a keyboard job and waits for it; a default result when
    // the queue had stopped.
    template <class Work>
    std::invoke_result_t<Work&> onQueue(Work work) {
        using Result = std::invoke_result_t<Work&>;
        if constexpr (std::is_void_v<Result>) {
            queue_.runAndWait(work);
        } else {
            Result result{};
            queue_.runAndWait([&] { result = work(); });
            return result;
        }
    }

    window::CoreWindow window_;
    ModifiedState modified_;
    AppPaths paths_;
    AppState state_;
    DeviceLink link_;
    // Before everything that submits to it: it goes last, after running
    // what they left.
    KeyboardQueue queue_;
    KeyboardAreas areas_;
    WorkingStore working_;
    StoreEdits edits_{modified_, state_.connection};
    DeviceStore device_;
    KeyboardData data_;
    DeviceLinkTransport lightingTransport_;
    LightingService lighting_;
    bool sendUserModeAtRead_;
    window::TrayStatus tray_;
    NotificationListener listener_;
    bool listenForNotifications_;
    std::atomic<bool> started_{false};
    KeyColourMap keyColours_;

    SlotFileSync slot_;
    KeyboardWriter writer_;
    ConnectionSequence connection_;
    KeyCommands keys_;
    ProfileCommands profiles_;

    DiscoveryMonitor discovery_;
    hid::HidPlatform& platform_;
};

}  // namespace keyloom
