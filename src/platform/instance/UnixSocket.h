#pragma once
// Small helpers shared by the two ends of the instance socket.

#include <sys/types.h>
#include <sys/un.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/fs/UniqueFd.h"

namespace keyloom::instance {

using SteadyClock = std::chrono::steady_clock;

// A Unix stream socket, close-on-exec and non-blocking.
fs::UniqueFd makeUnixSocket();

// Fills `address` for `path`; false when the path does not fit.
bool unixAddressFor(const std::string& path, sockaddr_un& address);

// Waits until `fd` is ready for `events` (poll flags) or `deadline` passes;
// when `stopFd` is valid, also returns (false) as soon as it becomes readable.
bool waitReady(int fd, short events, SteadyClock::time_point deadline, int stopFd = -1);

// Reads exactly `out.size()` bytes before `deadline`. False on end of stream,
// error, timeout or stop.
bool readExactly(int fd, std::span<std::uint8_t> out, SteadyClock::time_point deadline,
                 int stopFd = -1);
// Writes all of `bytes` before `deadline`.
bool writeAll(int fd, std::span<const std::uint8_t> bytes, SteadyClock::time_point deadline);

struct PeerIdentity {
    pid_t pid = 0;
    uid_t uid = 0;
};
// The process at the other end of a connected socket (for a client: the
// process that listens).
bool peerIdentity(int fd, PeerIdentity& peer);

}  // namespace keyloom::instance
