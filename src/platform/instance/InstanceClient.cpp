#include "platform/instance/InstanceClient.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <thread>

#include "platform/instance/ProcessLookup.h"
#include "platform/instance/UnixSocket.h"

namespace keyloom::instance {

namespace {

constexpr std::chrono::milliseconds kConnectRetryLimit{1000};
constexpr std::chrono::milliseconds kConnectRetryPause{20};

// Nobody listens yet (or the backlog is full): worth another try.
bool mayListenLater(int error) {
    return error == ENOENT || error == ECONNREFUSED || error == EAGAIN;
}

fs::UniqueFd connectTo(pid_t pid, const std::string& socketPath,
                       SteadyClock::time_point retryUntil) {
    sockaddr_un address{};
    if (!unixAddressFor(socketPath, address))
        return {};
    for (;;) {
        fs::UniqueFd socket = makeUnixSocket();
        if (!socket.valid())
            return {};
        if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
            0)
            return socket;
        int error = errno;
        if (error == EINTR)
            continue;
        if (!mayListenLater(error) || SteadyClock::now() + kConnectRetryPause > retryUntil ||
            !isProcessAlive(pid))
            return {};
        std::this_thread::sleep_for(kConnectRetryPause);
    }
}

}  // namespace

bool sendToInstance(pid_t pid, InstanceRequest request, const std::string& socketPath,
                    std::chrono::milliseconds timeout) {
    if (pid <= 0)
        return false;
    const auto started = SteadyClock::now();
    const auto deadline = started + timeout;
    fs::UniqueFd socket =
        connectTo(pid, socketPath, std::min(deadline, started + kConnectRetryLimit));
    if (!socket.valid())
        return false;

    PeerIdentity peer;
    if (!peerIdentity(socket.get(), peer) || peer.pid != pid || peer.uid != ::geteuid())
        return false;

    const auto bytes = encodeRequest(wordsOf(request));
    if (!writeAll(socket.get(), bytes, deadline))
        return false;
    std::array<std::uint8_t, kAnswerBytes> answer{};
    return readExactly(socket.get(), answer, deadline);
}

}  // namespace keyloom::instance
