#pragma once
// The running instance's end of the instance socket. A small thread accepts
// connections and reads the requests; the requests are then handled on the
// thread the caller chooses (the window thread), and each sender gets its
// answer only after its handler has returned, so a sender waits exactly as
// long as a synchronous window message would make it wait.
//
//   InstanceServer server;
//   server.start(socketPath);                 // only while holding the lock
//   // window thread, whenever pendingFd() is readable:
//   server.handlePending([&](InstanceRequest r) { ... });
//
// Well-formed words that are not one of the two requests are answered without
// calling the handler, as the window ignores them.

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "platform/fs/UniqueFd.h"
#include "platform/instance/InstanceRequest.h"

namespace keyloom::instance {

class InstanceServer {
public:
    using Handler = std::function<void(InstanceRequest)>;

    InstanceServer() = default;
    ~InstanceServer();
    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;

    // Listens at `socketPath`, first removing a socket file a crashed
    // instance left there (any other kind of file is left alone and makes
    // this fail). Call only while holding the instance lock.
    bool start(const std::string& socketPath);
    bool running() const { return thread_.joinable(); }
    const std::string& socketPath() const { return path_; }

    // Readable while requests wait for handlePending(); for poll() or a
    // QSocketNotifier on the window thread.
    int pendingFd() const { return pendingFd_.get(); }
    // Waits until a request waits or `timeout` passes.
    bool waitForRequest(std::chrono::milliseconds timeout) const;

    // Runs `handler` for every request waiting, in arrival order, answering
    // each sender after its handler returned; returns how many were
    // answered. The handler may call stop() (the requests after it are then
    // dropped) but must not destroy the server.
    std::size_t handlePending(const Handler& handler);

    // Stops listening, removes the socket file and drops the requests not
    // handled yet (their senders see no answer). Idempotent.
    void stop();

private:
    struct Pending {
        RequestWords words;
        fs::UniqueFd client;
    };

    void serve();
    void takeConnection();
    void removeSocketFile();

    fs::UniqueFd listenFd_;
    fs::UniqueFd stopFd_;
    fs::UniqueFd pendingFd_;
    std::string path_;
    dev_t socketDevice_ = 0;
    ino_t socketInode_ = 0;

    std::atomic<bool> stopped_{false};
    std::mutex mutex_;
    std::deque<Pending> queue_;
    std::thread thread_;
};

}  // namespace keyloom::instance
