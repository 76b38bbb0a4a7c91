#include "platform/instance/UnixSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <cstring>

namespace keyloom::instance {

fs::UniqueFd makeUnixSocket() {
    return fs::UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}

bool unixAddressFor(const std::string& path, sockaddr_un& address) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

bool waitReady(int fd, short events, SteadyClock::time_point deadline, int stopFd) {
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now());
        if (left.count() < 0)
            left = std::chrono::milliseconds(0);
        pollfd fds[2] = {{fd, events, 0}, {stopFd, POLLIN, 0}};
        nfds_t count = stopFd >= 0 ? 2 : 1;
        int ready = ::poll(fds, count, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        if (count == 2 && fds[1].revents != 0)
            return false;
        return fds[0].revents != 0;
    }
}

bool readExactly(int fd, std::span<std::uint8_t> out, SteadyClock::time_point deadline,
                 int stopFd) {
    std::size_t done = 0;
    while (done < out.size()) {
        ssize_t got = ::recv(fd, out.data() + done, out.size() - done, MSG_DONTWAIT);
        if (got > 0) {
            done += static_cast<std::size_t>(got);
            continue;
        }
        if (got == 0)
            return false;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        if (!waitReady(fd, POLLIN, deadline, stopFd))
            return false;
    }
    return true;
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes, SteadyClock::time_point deadline) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t sent =
            ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            done += static_cast<std::size_t>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            return false;
        if (!waitReady(fd, POLLOUT, deadline))
            return false;
    }
    return true;
}

bool peerIdentity(int fd, PeerIdentity& peer) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
        size != sizeof credentials)
        return false;
    peer.pid = credentials.pid;
    peer.uid = credentials.uid;
    return true;
}

}  // namespace keyloom::instance
