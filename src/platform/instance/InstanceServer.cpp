#include "platform/instance/InstanceServer.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <utility>

#include "platform/instance/UnixSocket.h"

namespace keyloom::instance {

namespace {

// A sender has this long to deliver its request once connected, so a stuck
// or hostile client cannot hold up the others for long.
constexpr std::chrono::milliseconds kRequestReadLimit{1000};
// The answer is 4 bytes into an empty socket buffer; the limit only guards
// against a pathological peer.
constexpr std::chrono::milliseconds kAnswerWriteLimit{1000};
constexpr int kListenBacklog = 8;

void signal(int eventFd) {
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = ::write(eventFd, &one, sizeof one);
}

void drain(int eventFd) {
    std::uint64_t count = 0;
    [[maybe_unused]] ssize_t got = ::read(eventFd, &count, sizeof count);
}

}  // namespace

InstanceServer::~InstanceServer() {
    stop();
}

bool InstanceServer::start(const std::string& socketPath) {
    if (running())
        return false;
    sockaddr_un address{};
    if (!unixAddressFor(socketPath, address))
        return false;

    struct stat existing {};
    if (::lstat(socketPath.c_str(), &existing) == 0) {
        // Only a socket can be a leftover of ours; never remove anything else.
        if (!S_ISSOCK(existing.st_mode))
            return false;
        if (::unlink(socketPath.c_str()) != 0 && errno != ENOENT)
            return false;
    }

    fs::UniqueFd listener = makeUnixSocket();
    if (!listener.valid() ||
        ::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return false;
    path_ = socketPath;
    struct stat bound {};
    if (::stat(socketPath.c_str(), &bound) == 0) {
        socketDevice_ = bound.st_dev;
        socketInode_ = bound.st_ino;
    }

    fs::UniqueFd stopEvent(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    fs::UniqueFd pendingEvent(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (::listen(listener.get(), kListenBacklog) != 0 || !stopEvent.valid() ||
        !pendingEvent.valid()) {
        removeSocketFile();
        return false;
    }
    listenFd_ = std::move(listener);
    stopFd_ = std::move(stopEvent);
    pendingFd_ = std::move(pendingEvent);
    stopped_ = false;
    thread_ = std::thread(&InstanceServer::serve, this);
    return true;
}

void InstanceServer::serve() {
    for (;;) {
        pollfd fds[2] = {{listenFd_.get(), POLLIN, 0}, {stopFd_.get(), POLLIN, 0}};
        int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || fds[1].revents != 0)
            return;
        if (fds[0].revents & (POLLERR | POLLNVAL))
            return;
        if (fds[0].revents & POLLIN)
            takeConnection();
    }
}

void InstanceServer::takeConnection() {
    fs::UniqueFd client(::accept4(listenFd_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (!client.valid())
        return;
    PeerIdentity peer;
    if (!peerIdentity(client.get(), peer) || peer.uid != ::geteuid())
        return;
    std::array<std::uint8_t, kRequestBytes> bytes{};
    if (!readExactly(client.get(), bytes, SteadyClock::now() + kRequestReadLimit, stopFd_.get()))
        return;
    std::optional<RequestWords> words = decodeRequest(bytes);
    if (!words)
        return;
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(Pending{*words, std::move(client)});
    }
    signal(pendingFd_.get());
}

bool InstanceServer::waitForRequest(std::chrono::milliseconds timeout) const {
    if (!pendingFd_.valid())
        return false;
    pollfd fd{pendingFd_.get(), POLLIN, 0};
    auto deadline = SteadyClock::now() + timeout;
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now());
        int ready = ::poll(&fd, 1, static_cast<int>(std::max<long long>(0, left.count())));
        if (ready < 0 && errno == EINTR)
            continue;
        return ready > 0;
    }
}

std::size_t InstanceServer::handlePending(const Handler& handler) {
    if (pendingFd_.valid())
        drain(pendingFd_.get());
    std::deque<Pending> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(queue_);
    }
    std::size_t answered = 0;
    for (Pending& pending : batch) {
        if (stopped_)
            break;  // shut down by an earlier request: the rest see no answer
        std::optional<InstanceRequest> request = requestOf(pending.words);
        if (request && handler)
            handler(*request);
        const auto answer = encodeAnswer(0);
        if (writeAll(pending.client.get(), answer, SteadyClock::now() + kAnswerWriteLimit))
            ++answered;
        pending.client.reset();
    }
    return answered;
}

void InstanceServer::stop() {
    if (thread_.joinable()) {
        signal(stopFd_.get());
        thread_.join();
    }
    stopped_ = true;
    listenFd_.reset();
    removeSocketFile();
    std::lock_guard lock(mutex_);
    queue_.clear();
}

void InstanceServer::removeSocketFile() {
    if (path_.empty())
        return;
    // Remove the file only while it is still the socket this server bound.
    struct stat current {};
    if (::lstat(path_.c_str(), &current) == 0 && current.st_dev == socketDevice_ &&
        current.st_ino == socketInode_)
        ::unlink(path_.c_str());
    path_.clear();
}

}  // namespace keyloom::instance
