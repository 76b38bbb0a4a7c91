#pragma once
// Single-instance control at program start: the start-hidden switch, "/Kill",
// the instance lock and the hand-over to an instance that already runs.
//
//   InstanceControl control;                          // the user's lock folder
//   if (control.run(parseStartupArguments(argc, argv)) == StartDecision::Exit)
//       return control.exitCode();
//   appState.startHidden = control.startHidden();
//   // window thread: watch control.server()->pendingFd(), then
//   control.server()->handlePending(...);            // OPEN / KILL
//   ...
//   control.release();                               // at shutdown
//
// An instance runs exactly while some process holds the instance lock. The
// process to address is the one whose id the lock holder stored in the lock
// file; when that id is missing or names no live process, the first other
// process of this user running the same program file is taken instead. When
// no process is found although the lock is held, this start runs as primary
// anyway, without the lock and without listening.

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "platform/instance/InstanceClient.h"
#include "platform/instance/InstanceFolder.h"
#include "platform/instance/InstanceRequest.h"
#include "platform/instance/InstanceServer.h"
#include "platform/instance/NamedMutex.h"
#include "platform/instance/StartupArguments.h"

namespace keyloom::instance {

struct InstanceSettings {
    std::string folder;  // where lock and socket live; empty: instanceFolder()
    std::string mutexName = std::string(kInstanceMutexName);
    std::string programFileName;  // empty: this executable's file name
    std::string procRoot = "/proc";
    std::chrono::milliseconds answerTimeout = kDefaultAnswerTimeout;
};

enum class StartDecision {
    ContinueAsPrimary,  // go on building the main window
    Exit,               // a request went to the running instance: end now
};

// What a start that ends in favour of the running instance sent.
struct Handover {
    InstanceRequest request = InstanceRequest::Open;
    pid_t target = 0;
    bool reached = false;  // the instance answered
};

class InstanceControl {
public:
    explicit InstanceControl(InstanceSettings settings = {});
    ~InstanceControl();
    InstanceControl(const InstanceControl&) = delete;
    InstanceControl& operator=(const InstanceControl&) = delete;

    // Processes the switches left to right, then takes the instance lock or
    // hands over to the running instance. Run once.
    StartDecision run(const StartupArguments& arguments);

    // Exit code of a start that ends in favour of the running instance.
    int exitCode() const { return 0; }
    bool startHidden() const { return startHidden_; }
    const std::optional<Handover>& handover() const { return handover_; }

    // This process holds the instance lock.
    bool ownsLock() const { return mutex_.owned(); }
    // Where OPEN and KILL arrive; null when this process does not listen
    // (the lock is not ours, or the socket could not be set up).
    InstanceServer* server() { return server_ ? server_.get() : nullptr; }

    const std::string& folder() const { return folder_; }
    std::string lockPath() const;
    std::string socketPath() const;

    // Shutdown: stops listening and releases the instance lock. Idempotent.
    void release();

private:
    // The process of the running instance, 0 when none can be found.
    pid_t locateRunningInstance() const;
    void takeLock();
    StartDecision handOver(InstanceRequest request, pid_t target);

    InstanceSettings settings_;
    std::string folder_;
    bool startHidden_ = false;
    NamedMutex mutex_;
    std::unique_ptr<InstanceServer> server_;
    std::optional<Handover> handover_;
};

}  // namespace keyloom::instance
