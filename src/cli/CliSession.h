#pragma once
// Setting up what a keyloomctl command needs: the program's paths with the
// --data-dir override, the language texts, and the keyboard, either
//  - read-only (find the keyboard as discovery does and only read from it;
//    used by the commands that only look), or
//  - connected as the program connects (connection change and full read, so
//    the working store and the slot file are fresh; used by the commands that
//    change the configuration). The command's thread plays the window thread.

#include <memory>
#include <optional>
#include <string>

#include "cli/CliContext.h"
#include "core/KeyboardDump.h"
#include "core/KeyloomCore.h"
#include "core/window/HeadlessWindow.h"
#include "device/DeviceLink.h"
#include "device/DiscoveryMonitor.h"
#include "device/KeyboardQueue.h"
#include "model/KeyMatrix.h"
#include "model/ParameterBlock.h"
#include "model/ProfileRecord.h"
#include "storage/AppPaths.h"

namespace keyloom::cli {

// A window that prints each message box's text to stderr, as the program
// would show it, and answers as scripted.
class CliWindow : public window::HeadlessWindow {
public:
    explicit CliWindow(std::FILE* err) : err_(err) {}
    window::MessageAnswer showMessage(const window::MessageRequest& request) override;
    // How many messages have been printed so far.
    int told() const { return told_; }

private:
    std::FILE* err_;
    int told_ = 0;
};

// Paths and language texts; false (message printed) when the paths cannot be
// built.
bool setUpProgramFiles(CliContext& context, AppPaths& paths);

// The keyboard found and opened without writing anything to it (with a
// host: the host's link, which its discovery keeps open).
class ReadOnlyKeyboard {
public:
    // False, with the reason printed, when no keyboard is found or its
    // parameter block cannot be read.
    bool open(CliContext& context);

    DeviceLink& link() { return *link_; }
    const ParameterBlock& parameters() const { return parameters_; }
    // Reads the default key matrix (for decoding the key matrices).
    bool readDefaultMatrix(KeyMatrix& matrix);
    // What the keyboard holds, as a profile file's bytes; also written to
    // `path` unless it is empty.
    KeyboardDump dumpConfiguration(const std::string& path = {});

private:
    class QuietHandler : public ConnectionHandler {
    public:
        void connectionChanged(int) override {}
    };

    DeviceLink ownLink_;
    DeviceLink* link_ = &ownLink_;
    // The command's own thread runs the keyboard work.
    KeyboardQueue queue_{KeyboardQueue::Mode::Synchronous};
    QuietHandler handler_;
    StartupState startup_;
    DiscoveryMonitor discovery_{ownLink_, handler_, startup_};
    ParameterBlock parameters_;
};

// The keyboard connected through the core, exactly as the program connects
// (with a host: the host's core, whose prompts come here meanwhile).
class ConnectedKeyboard {
public:
    explicit ConnectedKeyboard(CliContext& context) : context_(context), window_(context.err) {}
    ~ConnectedKeyboard();

    // Sets up the program files and connects; false, with the reason
    // printed, when either fails.
    bool open();

    KeyloomCore& core() { return hostCore_ != nullptr ? *hostCore_ : *core_; }
    CliWindow& window() { return window_; }
    // Apply as the main window's Apply button does; prints why it failed.
    bool apply();
    // The first lighting write the keyboard refused since the connection.
    std::optional<DeviceResult> lightingFailure() const { return lightingFailure_; }

private:
    CliContext& context_;
    CliWindow window_;
    AppPaths paths_;
    std::optional<DeviceResult> lightingFailure_;
    std::unique_ptr<KeyloomCore> core_;
    KeyloomCore* hostCore_ = nullptr;
};

// True when an accepted keyboard's configuration interface can be opened now.
bool configurationInterfacePresent();
// The same for the command's keyboard: with a host, whether it is connected.
bool keyboardPresent(const CliContext& context);

// The lighting state of on-board profile 0-2 as the keyboard holds it (the
// report-rate step taken as at most 3); a protocol result code.
DeviceResult readLightingState(DeviceLink& link, int profile, LightingState& state);

// Prints the reason a keyboard was not found, with the udev hint when a
// supported keyboard is present but cannot be opened.
int reportNoKeyboard(const CliContext& context);

}  // namespace keyloom::cli
