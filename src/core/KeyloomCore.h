#pragma once
// The one object the Qt window and keyloomctl both drive: it owns the device
// link, the two stores, the keyboard data read at connection, the lighting
// state, the discovery thread (it is that thread's ConnectionHandler), the
// notification listener thread, the tray status and the modified state, and
// runs every sequence that reads or writes the keyboard. The window reaches it
// by forwarding its messages and timers; the core reaches the window only
// through the role interfaces of CoreWindow.
//
// Threads: connectionChanged runs on the discovery thread; everything else
// belongs to the window thread unless it says otherwise. Locks: working
// store, then device store, then the core's data lock (held only to copy);
// device transfers are serialised by the link. No lock is held while the
// window is called.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "core/AppState.h"
#include "core/KeyboardAreas.h"
#include "core/ModifiedState.h"
#include "core/ProfileSwitch.h"
#include "core/window/CoreWindow.h"
#include "device/ConnectionHandler.h"
#include "device/DeviceLink.h"
#include "device/DiscoveryMonitor.h"
#include "device/NotificationListener.h"
#include "model/ConfigurationStore.h"
#include "model/KeyColourMap.h"
#include "model/KeyMatrix.h"
#include "model/ParameterBlock.h"
#include "model/ProfileRecord.h"
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

enum class RestoreResult {
    Written,      // loaded, saved to the slot file and written to the keyboard
    NotWritten,   // loaded and saved, but the keyboard write failed: Apply stays enabled
    InvalidFile,  // the file failed the check; nothing changed
    LoadFailed,   // the file could not be read; the working store was reloaded
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
    void connectionChanged(int connected) override;

    // --- Sequences --------------------------------------------------------------
    // Working store from the keyboard, profile buttons, lighting state.
    void fullRead();
    // Key matrices and macro area from the keyboard through the slot file
    // into the working store (an empty image when that fails); clears the
    // modified flag unless `keepModified`.
    void refreshFromKeyboard(bool keepModified = false);
    // Writes the working store's macros and key matrices: all three profiles
    // when `allProfiles` or the write-all flag is set, else the active one.
    // Tells the user when the macros do not fit or lost their names.
    bool writeAll(bool allProfiles);

    // Parameter block and the three lighting records (begun and ended), the
    // lighting profile's record decoded. False when the block could not be read.
    bool readLightingRecords();
    // Timer 1051.
    void lightingRefresh();
    // Timer 1053.
    void profileRefreshFromKeyboard();

    // --- Commands -------------------------------------------------------------
    // Saves the slot file and writes the active profile when modified; the
    // modified flag is cleared only when both succeed.
    bool apply();
    // Asks first; every key of the active profile back to Default, then Apply.
    bool restoreDefault();
    RestoreResult restoreFromFile(const std::string& path);
    // Saves the working store (with any unapplied edits) to `path`.
    bool backupToFile(const std::string& path);
    // Writes what the keyboard itself holds to `path` as a profile file.
    bool dumpKeyboard(const std::string& path);
    // Report-rate step 0-3 of the lighting profile, one byte at offset 15.
    int writeReportRate(int step);
    // Tells the user that the keyboard was not written and why, from the
    // result code of the failed step.
    void tellWriteFailure(int code);
    // Profile buttons 0-2.
    bool profileButton(int profile);
    // 1 switched, 0 refused or failed.
    bool switchActiveProfile(int profile);
    ProfileMenu profileMenu();
    // Commands 9000-9200 of the profile menu.
    bool chooseProfileMenuItem(int command);

    // --- State ------------------------------------------------------------------
    // Unapplied key changes; editors mark their commits here.
    ModifiedState& modified() { return modified_; }
    DeviceLink& link() { return link_; }
    KeyboardAreas& areas() { return areas_; }
    WorkingStore& workingStore() { return working_; }
    DeviceStore& deviceStore() { return device_; }
    AppState& state() { return state_; }
    window::TrayStatus& tray() { return tray_; }
    NotificationListener& listener() { return listener_; }
    const AppPaths& paths() const { return paths_; }
    std::string slotFile() const;
    // Window thread only: filled by the user-mode loader.
    KeyColourMap& keyColours() { return keyColours_; }

    KeyMatrix defaultMatrix() const;
    ParameterBlock parameterBlock() const;
    bool supportsPerKeyColours() const;
    ProfileRecords profileRecords() const;
    LightingState lightingState() const;
    int lightingProfile() const;
    void setLightingProfile(int profile);

private:
    struct WriteAllResult {
        bool written = false;
        bool macrosTooLong = false;  // nothing was written
        bool namesDropped = false;   // written without the macro names
        // Why nothing (or not everything) reached the keyboard: the result
        // code of the failed step; NotWritten when nothing could be sent.
        int failedCode = -1;
    };
    // The write itself, under the caller's working-store lock; the user is
    // told afterwards (tellWriteResult), once the lock is released, since a
    // message box lets the window thread handle other work meanwhile.
    WriteAllResult writeAllLocked(const WorkingStore::Access& working, bool allProfiles);
    void tellWriteResult(const WriteAllResult& result);
    bool saveToSlotFile(const WorkingStore::Access& working);
    bool reloadSlotFile(WorkingStore::Access& working);
    void decodeLightingProfile();

    window::CoreWindow window_;
    ModifiedState modified_;
    AppPaths paths_;
    AppState state_;
    DeviceLink link_;
    KeyboardAreas areas_;
    WorkingStore working_;
    DeviceStore device_;
    window::TrayStatus tray_;
    NotificationListener listener_;
    bool listenForNotifications_;
    ProfileSwitcher switcher_;
    KeyColourMap keyColours_;

    // What the keyboard told us; written by the discovery thread at
    // connection and by the window thread, copied out under the lock.
    mutable std::mutex dataMutex_;
    KeyMatrix defaultMatrix_;
    ParameterBlock parameters_;
    ProfileRecords records_{};
    LightingState lighting_;
    int lightingProfile_ = 0;

    DiscoveryMonitor discovery_;
};

}  // namespace keyloom
