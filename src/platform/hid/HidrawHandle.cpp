#include "platform/hid/HidrawHandle.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "platform/hid/CollectionModel.h"
#include "platform/hid/FdWait.h"
#include "platform/hid/SysfsHidraw.h"

namespace keyloom::hid {

namespace {

// Room for the longest report the parser accepts plus the report id byte.
using ReportBuffer = std::array<std::uint8_t, kMaxReportDataBytes + 1>;

// Reports queued before a discard are finite; the bound only guards against a
// device that keeps the queue full for ever.
constexpr int kMaxDiscardedReports = 4096;

bool isSocket(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISSOCK(st.st_mode);
}

TransferResult fromWait(WaitResult wait) {
    switch (wait) {
        case WaitResult::TimedOut:
            return TransferResult::TimedOut;
        case WaitResult::Cancelled:
            return TransferResult::Cancelled;
        default:
            return TransferResult::Failed;
    }
}

}  // namespace

void setNodeIdentity(const struct stat& node, NodeIdentity& identity) {
    identity.fileType = node.st_mode & S_IFMT;
    identity.rdev = node.st_rdev;
    identity.dev = node.st_dev;
    identity.ino = node.st_ino;
}

bool sameNode(const struct stat& now, const NodeIdentity& identity) {
    if ((now.st_mode & S_IFMT) != identity.fileType)
        return false;
    // Device nodes are recreated on replug, possibly with a new inode but the
    // same number; the number is what names the kernel's device.
    if (S_ISCHR(now.st_mode))
        return now.st_rdev == identity.rdev;
    return now.st_dev == identity.dev && now.st_ino == identity.ino;
}

HidrawHandle::HidrawHandle(fs::UniqueFd fd, bool readable, bool writable,
                           CollectionDescriptor descriptor, Attributes attributes,
                           NodeIdentity identity)
    : fd_(std::move(fd)),
      readable_(readable),
      writable_(writable),
      isSocket_(isSocket(fd_.get())),
      descriptor_(std::move(descriptor)),
      attributes_(attributes),
      identity_(std::move(identity)) {}

TransferResult HidrawHandle::read(std::span<std::uint8_t> buffer, std::size_t& transferred,
                                  std::uint32_t timeoutMs, CancelEvent& cancel) {
    transferred = 0;
    const std::size_t reportLength = descriptor_.caps().inputReportByteLength;
    if (!readable_ || reportLength == 0 || buffer.size() < reportLength)
        return TransferResult::Failed;
    const bool ids = descriptor_.usesReportIds();
    Deadline deadline(timeoutMs);
    ReportBuffer report;
    // Without report ids hidraw gives only the data; it goes after a 0 byte.
    const std::size_t skip = ids ? 0 : 1;
    report[0] = 0;
    for (;;) {
        WaitResult wait = waitForDescriptor(fd_.get(), POLLIN, cancel, deadline);
        if (wait != WaitResult::Ready)
            return fromWait(wait);
        ssize_t n = ::read(fd_.get(), report.data() + skip, report.size() - skip);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR)
                continue;
            return TransferResult::Failed;
        }
        if (n == 0)
            return TransferResult::Failed;  // the other end is gone
        std::size_t received = static_cast<std::size_t>(n) + skip;
        if (ids && !descriptor_.ownsReportId(ReportType::Input, report[0]))
            continue;

        std::size_t length = std::min(std::max(received, reportLength), buffer.size());
        std::size_t copied = std::min(received, length);
        std::memcpy(buffer.data(), report.data(), copied);
        std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(copied),
                  buffer.begin() + static_cast<std::ptrdiff_t>(length), std::uint8_t{0});
        transferred = length;
        return TransferResult::Done;
    }
}

TransferResult HidrawHandle::write(std::span<const std::uint8_t> report, std::size_t& transferred,
                                   std::uint32_t timeoutMs, CancelEvent& cancel) {
    transferred = 0;
    const std::size_t reportLength = descriptor_.caps().outputReportByteLength;
    if (!writable_ || reportLength == 0 || report.size() < reportLength)
        return TransferResult::Failed;
    // hidraw takes the report id as the first byte in every case, 0 for
    // devices without numbered reports, exactly the shape callers use.
    if (descriptor_.usesReportIds() ? !descriptor_.ownsReportId(ReportType::Output, report[0])
                                    : report[0] != 0)
        return TransferResult::Failed;
    Deadline deadline(timeoutMs);
    // The write is tried first and the wait comes only when the node cannot
    // take the report: a hidraw node always polls writable, so waiting first
    // would cost one system call per report for nothing.
    for (;;) {
        ssize_t n = isSocket_ ? ::send(fd_.get(), report.data(), reportLength, MSG_NOSIGNAL)
                              : ::write(fd_.get(), report.data(), reportLength);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN)
                return TransferResult::Failed;
            WaitResult wait = waitForDescriptor(fd_.get(), POLLOUT, cancel, deadline);
            if (wait != WaitResult::Ready)
                return fromWait(wait);
            continue;
        }
        if (static_cast<std::size_t>(n) != reportLength)
            return TransferResult::Failed;
        transferred = reportLength;
        return TransferResult::Done;
    }
}

void HidrawHandle::discardQueuedInput() {
    if (!readable_)
        return;
    ReportBuffer scratch;
    for (int i = 0; i < kMaxDiscardedReports; ++i) {
        ssize_t n = ::read(fd_.get(), scratch.data(), scratch.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
    }
}

bool HidrawHandle::stillPresent() const {
    struct stat st {};
    if (::stat(identity_.nodePath.c_str(), &st) != 0 || !sameNode(st, identity_))
        return false;
    // The link names the HID device folder, whose name the kernel makes
    // unique for every device it adds.
    return readDeviceLinkText(identity_.nodeFolder) == identity_.deviceLink;
}

}  // namespace keyloom::hid
