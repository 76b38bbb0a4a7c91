#include "device/ReportTrace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/text/Hex.h"

namespace keyloom {

ReportTrace& ReportTrace::instance() {
    static ReportTrace trace;
    static const bool fromEnvironment = [] {
        const char* path = std::getenv("KEYLOOM_TRACE");
        return path && path[0] != '\0' && trace.open(path);
    }();
    (void)fromEnvironment;
    return trace;
}

ReportTrace::~ReportTrace() {
    close();
}

bool ReportTrace::open(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    std::lock_guard lock(mutex_);
    int old = fd_.exchange(fd);
    if (old >= 0)
        ::close(old);
    return true;
}

void ReportTrace::close() {
    std::lock_guard lock(mutex_);
    int old = fd_.exchange(-1);
    if (old >= 0)
        ::close(old);
}

void ReportTrace::sent(std::span<const std::uint8_t> report) {
    writeLine('>', report);
}

void ReportTrace::received(std::span<const std::uint8_t> report) {
    writeLine('<', report);
}

void ReportTrace::writeLine(char direction, std::span<const std::uint8_t> report) {
    if (fd_.load(std::memory_order_relaxed) < 0)
        return;  // the common case: tracing off
    std::string line;
    line.reserve(report.size() * 2 + 3);
    line += direction;
    line += ' ';
    line += text::toHex(report);
    line += '\n';
    std::lock_guard lock(mutex_);
    int fd = fd_.load();
    if (fd < 0)
        return;
    // One write per line: with O_APPEND the line lands whole at the end.
    const char* data = line.data();
    std::size_t left = line.size();
    while (left > 0) {
        ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return;  // a full disk must not disturb the keyboard traffic
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
}

}  // namespace keyloom
