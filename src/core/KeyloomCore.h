#pragma once
// The one object the Qt window and keyloomctl both drive. It owns the device
// link, the two stores, what the keyboard told us, the modified state, the
// discovery thread (it is that thread's ConnectionHandler), the notification
// listener thread and the tray status, and builds the sequences that read and
// write the keyboard (ConnectionSequence, SlotFileSync, KeyboardWriter,
// KeyCommands, ProfileCommands). The window reaches it by forwarding its
// messages and timers and by calling the commands below; the core reaches the
// window only through the role interfaces of CoreWindow.
//
// Threads: connectionChanged runs on the discovery thread; everything else
// belongs to the window thread or the window's keyboard work unless it says
// otherwise. Locks: working store, then device store, then the keyboard
// data's lock (held only to copy); device transfers are serialised by the
// link. No lock is held while the window is called.

#include <memory>
#include <string>

#include "core/AppState.h"
#include "core/ConnectionSequence.h"
#include "core/CoreParts.h"
#include "core/KeyCommands.h"
#include "core/KeyboardAreas.h"
#include "core/KeyboardData.h"
#include "core/KeyboardWriter.h"
#include "core/ModifiedState.h"
#include "core/ProfileCommands.h"
#include "core/SlotFileSync.h"
#include "core/window/CoreWindow.h"
#include "device/ConnectionHandler.h"
#include "device/DeviceLink.h"
#include "device/DiscoveryMonitor.h"
#include "device/NotificationListener.h"
#include "model/ConfigurationStore.h"
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
};

class KeyloomCore : public ConnectionHandler {
public:
    KeyloomCore(window::CoreWindow window, AppPaths paths, CoreSetup setup = {});
    ~KeyloomCore() override;
    KeyloomCore(const KeyloomCore&) = delete;
    KeyloomCore& operator=(const KeyloomCore&) = delete;

    // Starts the notification listener (unless the setup said not to), then
    // the discovery thread; once.
    void start();
    // Stops the window's messages (releasing a discovery thread blocked in a
    // send), then stops and joins both threads.
    void stop();

    // --- Forwarded by the window ------------------------------------------------
    // PROF runs the full read; the core has nothing to do for other messages.
    void handleWindowMessage(const window::WindowMessage& msg);
    // 1051 lighting refresh, 1053 profile refresh; each kills its timer first.
    void handleTimer(int id);

    // --- Discovery thread -------------------------------------------------------
    void connectionChanged(int connected) override { connection_.connectionChanged(connected); }

    // --- Sequences --------------------------------------------------------------
    void fullRead() { connection_.fullRead(); }
    void refreshFromKeyboard(bool keepModified = false) { slot_.refreshFromKeyboard(keepModified); }
    bool writeAll(bool allProfiles) { return writer_.writeAll(allProfiles); }
    bool readLightingRecords() { return connection_.readLightingRecords(); }
    void lightingRefresh() { connection_.lightingRefresh(); }
    void profileRefreshFromKeyboard() { profiles_.profileRefreshFromKeyboard(); }

    // --- Commands -------------------------------------------------------------
    bool apply() { return keys_.apply(); }
    bool restoreDefault() { return keys_.restoreDefault(); }
    RestoreResult restoreFromFile(const std::string& path) { return keys_.restoreFromFile(path); }
    bool backupToFile(const std::string& path) { return keys_.backupToFile(path); }
    bool dumpKeyboard(const std::string& path) { return slot_.dumpKeyboard(path); }
    DeviceResult writeReportRate(int step) { return keys_.writeReportRate(step); }
    void tellWriteFailure(DeviceResult code) { writer_.tellFailure(code); }
    bool profileButton(int profile) { return profiles_.profileButton(profile); }
    bool switchActiveProfile(int profile) { return profiles_.switchActiveProfile(profile); }
    ProfileMenu profileMenu() { return profiles_.profileMenu(); }
    bool chooseProfileMenuItem(int command) { return profiles_.chooseProfileMenuItem(command); }

    // --- State ------------------------------------------------------------------
    // Unapplied key changes; editors mark their commits here.
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
    // Window thread only: filled by the user-mode loader.
    KeyColourMap& keyColours() { return keyColours_; }

    KeyMatrix defaultMatrix() const { return data_.defaultMatrix(); }
    ParameterBlock parameterBlock() const { return data_.parameterBlock(); }
    bool supportsPerKeyColours() const { return data_.supportsPerKeyColours(); }
    ProfileRecords profileRecords() const { return data_.profileRecords(); }
    LightingState lightingState() const { return data_.lightingState(); }
    int lightingProfile() const { return data_.lightingProfile(); }
    void setLightingProfile(int profile) { data_.setLightingProfile(profile); }

private:
    CoreParts parts();

    window::CoreWindow window_;
    ModifiedState modified_;
    AppPaths paths_;
    AppState state_;
    DeviceLink link_;
    KeyboardAreas areas_;
    WorkingStore working_;
    DeviceStore device_;
    KeyboardData data_;
    window::TrayStatus tray_;
    NotificationListener listener_;
    bool listenForNotifications_;
    KeyColourMap keyColours_;

    SlotFileSync slot_;
    KeyboardWriter writer_;
    ConnectionSequence connection_;
    KeyCommands keys_;
    ProfileCommands profiles_;

    DiscoveryMonitor discovery_;
};

}  // namespace keyloom
