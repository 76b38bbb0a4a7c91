#pragma once
// What a running Keyloom offers on the session bus, decided without the bus:
// the properties a caller reads, the three settings it changes as the
// window's own controls do, and keyloomctl command lines run on the
// program's core. Each call runs as one job of the core's keyboard queue, in
// turn with the window's own keyboard work, and reports through `done` on
// the queue's thread. A call never changes anything while the window shows a
// dialog, and questions the core would ask in a message box become the
// call's error instead.

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cli/CliHost.h"
#include "cli/CommandLine.h"

namespace keyloom::cli {

enum class CallError { None, NoKeyboard, InvalidArgument, Busy, WriteFailed };

struct CallOutcome {
    CallError error = CallError::None;
    std::string message;  // a sentence for a person; empty on success
};

struct ServiceProperties {
    bool connected = false;
    std::string model;      // "0c45:652f", "320f:5064"; empty without a keyboard
    int activeProfile = 0;  // 1-3, 0 when not known
    int reportRate = 0;     // Hz, 0 without a keyboard
    int effect = 0;
    int brightness = 0;  // 0-4
    bool modified = false;
    bool operator==(const ServiceProperties&) const = default;
};

// The window's part: where the core's prompts go during a call (CliHost)
// and whether a dialog is open.
class ServiceWindow : public CliHost {
public:
    // Any dialog, message box or menu the user has open (asked from the
    // queue's thread).
    virtual bool dialogOpen() = 0;
    // Shows the core's state again after a call changed it (any thread).
    virtual void showCoreState() = 0;
};

class ServiceCalls {
public:
    using Done = std::function<void(CallOutcome)>;
    using RunDone = std::function<void(CallOutcome, CommandRun)>;

    explicit ServiceCalls(ServiceWindow& window) : window_(window) {}
    // Ends running watches and waits for their threads.
    ~ServiceCalls();
    ServiceCalls(const ServiceCalls&) = delete;
    ServiceCalls& operator=(const ServiceCalls&) = delete;

    // Any thread; never waits for the keyboard.
    ServiceProperties properties();

    void setActiveProfile(int profile, Done done);
    void setEffect(int effect, Done done);
    void setBrightness(int level, Done done);
    // A watch, which writes nothing, runs on a thread of its own so that
    // the keyboard queue goes on meanwhile.
    void run(std::vector<std::string> args, RunDone done);

    bool ending() const { return ending_.load(); }

private:
    // Runs `change` as a keyboard job once the keyboard and the window let
    // it; `change` returns its outcome, its prompts recorded.
    void change(std::function<CallOutcome()> change, Done done);

    ServiceWindow& window_;
    std::atomic<bool> ending_{false};
    struct Watch {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> finished;
    };
    std::mutex watchesMutex_;
    std::list<Watch> watches_;
};

}  // namespace keyloom::cli
