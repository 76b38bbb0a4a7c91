#include "device/DeviceLink.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include "device/ProtocolResult.h"

namespace keyloom {

namespace {

// Commands the keyboard must not see straight after the previous report.
constexpr auto kPauseBeforeCommand = std::chrono::milliseconds(10);

bool profileInRange(int profile) {
    return profile >= 0 && profile < kProfileCount;
}

Report padded(std::span<const std::uint8_t> request) {
    Report report{};
    std::copy_n(request.begin(), std::min(request.size(), kReportSize), report.begin());
    return report;
}

// The part of an interface path that names the device node, which is what
// every process that talks to the same keyboard shares.
std::string_view deviceNodeOf(std::string_view path) {
    return path.substr(0, path.find('#'));
}

DeviceResult statusResult(const Report& reply) {
    if (reply[kStatusByte] == kStatusFF)
        return result::StatusFF;
    if (reply[kStatusByte] == kStatusFE)
        return result::StatusFE;
    return result::Success;
}

}  // namespace

DeviceLink::DeviceLink(hid::HidPlatform& platform, ReportTrace& trace)
    : device_(platform), trace_(trace) {}

bool DeviceLink::openConfigurationDevice(std::string_view path) {
    std::lock_guard device(deviceMutex_);
    processLockStale_ = true;
    return device_.Open(path, true, true, true, false);
}

bool DeviceLink::closeConfigurationDevice() {
    std::lock_guard device(deviceMutex_);
    processLockStale_ = true;
    return device_.Close();
}

void DeviceLink::refreshProcessLock() {
    if (!processLockStale_)
        return;
    processLockStale_ = false;
    // Opened on first use rather than on every trial open of a scan.
    processLock_ = device_.IsOpen() ? lock::CrossProcessLock::forKey(deviceNodeOf(device_.path()))
                                    : lock::CrossProcessLock();
}

DeviceResult DeviceLink::Exchange(std::span<const std::uint8_t> request,
                                  std::span<std::uint8_t> reply, std::uint32_t& received) {
    received = 0;
    if (!connected_)
        return result::NoReply;
    const Report report = padded(request);
    std::lock_guard device(deviceMutex_);
    refreshProcessLock();
    std::lock_guard process(processLock_);
    return exchangeLocked(report, reply, received);
}

DeviceResult DeviceLink::exchangeLocked(const Report& request, std::span<std::uint8_t> reply,
                                        std::uint32_t& received) {
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        // A reply that came after an earlier exchange gave up would otherwise
        // be taken for the answer to this request.
        device_.DiscardQueuedInput();
        std::uint32_t written = 0;
        if (!device_.Write(request, written, kWriteTimeoutMs))
            return result::NotWritten;
        trace_.sent(request);
        std::uint32_t bytes = 0;
        if (device_.Read(reply, bytes, kReadTimeoutMs) && bytes > 0) {
            received = bytes;
            trace_.received(reply.first(bytes));
            return result::Success;
        }
    }
    return result::NoReply;
}

DeviceResult DeviceLink::SendOnly(std::span<const std::uint8_t> request) {
    if (!connected_)
        return result::NoReply;
    const Report report = padded(request);
    std::lock_guard device(deviceMutex_);
    refreshProcessLock();
    std::lock_guard process(processLock_);
    std::uint32_t written = 0;
    if (!device_.Write(report, written, kWriteTimeoutMs))
        return result::NoReply;
    trace_.sent(report);
    return result::Success;
}

DeviceResult DeviceLink::simpleCommand(std::uint8_t command, std::size_t length,
                                       std::uint32_t offset, std::span<const std::uint8_t> data,
                                       std::span<std::uint8_t> returned) {
    // A length or offset the report cannot carry is refused, not cut: a cut
    // request would address other bytes of the keyboard.
    if (length > kMaxReportData || data.size() > kMaxReportData || offset > 0xFFFF)
        return result::NotWritten;
    const Report request = makeRequest(command, static_cast<std::uint8_t>(length),
                                       static_cast<std::uint16_t>(offset), data);
    if (command == command::EndTransfer || command == command::Command12)
        std::this_thread::sleep_for(kPauseBeforeCommand);
    Report reply{};
    std::uint32_t received = 0;
    DeviceResult code = Exchange(request, reply, received);
    if (code != result::Success)
        return code;
    code = statusResult(reply);
    if (code != result::Success)
        return code;
    std::size_t n = std::min(returned.size(), kMaxReportData);
    std::copy_n(reply.begin() + kReportDataOffset, n, returned.begin());
    return result::Success;
}

DeviceResult DeviceLink::chunked(std::uint8_t command, std::uint32_t base, std::size_t total,
                                 std::span<const std::uint8_t> source,
                                 std::span<std::uint8_t> destination) {
    if (total == 0)
        return result::Success;
    if (base + total > 0x10000)
        return result::NotWritten;  // offsets are 16-bit
    // Data bytes past a chunk's length keep what the previous chunk left
    // there; they are not significant to the keyboard.
    std::array<std::uint8_t, kMaxReportData> data{};
    for (std::size_t p = 0; p < total; p += kMaxReportData) {
        const std::size_t n = p + kMaxReportData < total ? kMaxReportData : total - p;
        if (!source.empty())
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(p), n, data.begin());
        const Report request = makeRequest(command, static_cast<std::uint8_t>(n),
                                           static_cast<std::uint16_t>(base + p), data);
        Report reply{};
        std::uint32_t received = 0;
        DeviceResult code = Exchange(request, reply, received);
        if (code != result::Success)
            return code;
        code = statusResult(reply);
        if (code != result::Success)
            return code;
        if (!destination.empty())
            std::copy_n(reply.begin() + kReportDataOffset, n,
                        destination.begin() + static_cast<std::ptrdiff_t>(p));
    }
    return result::Success;
}

DeviceResult DeviceLink::chunkedRead(std::uint8_t command, std::uint32_t base,
                                     std::span<std::uint8_t> destination) {
    return chunked(command, base, destination.size(), {}, destination);
}

DeviceResult DeviceLink::chunkedWrite(std::uint8_t command, std::uint32_t base,
                                      std::span<const std::uint8_t> source) {
    return chunked(command, base, source.size(), source, {});
}

std::size_t DeviceLink::keyMatrixLength() const {
    return std::min<std::size_t>(model_.keyMatrixLength.load(), kKeyMatrixBufferSize);
}

DeviceResult DeviceLink::BeginTransfer() {
    return simpleCommand(command::BeginTransfer, 0, 0, {}, {});
}

DeviceResult DeviceLink::EndTransfer() {
    return simpleCommand(command::EndTransfer, 0, 0, {}, {});
}

DeviceResult DeviceLink::ReadParameterBlock(std::span<std::uint8_t, kParameterBlockSize> block) {
    return simpleCommand(command::ReadParameterBlock, kParameterBlockSize, 0, {}, block);
}

DeviceResult DeviceLink::WriteParameterBlock(
    std::span<const std::uint8_t, kParameterBlockSize> block) {
    return simpleCommand(command::WriteParameterBlock, kParameterBlockSize, 0, block, {});
}

DeviceResult DeviceLink::ReadProfileSettings(std::span<std::uint8_t, kMaxReportData> out,
                                             std::uint8_t length, std::uint16_t offset) {
    return simpleCommand(command::ReadProfileSettings, length, offset, {}, out);
}

DeviceResult DeviceLink::WriteProfileSettings(std::span<const std::uint8_t> data,
                                              std::uint16_t offset) {
    return simpleCommand(command::WriteProfileSettings, data.size(), offset, data, {});
}

DeviceResult DeviceLink::ReadProfileSettingsWord(std::uint16_t& value) {
    std::uint8_t bytes[2] = {};
    DeviceResult code = simpleCommand(command::ReadProfileSettings, 2, 0, {}, bytes);
    if (code == result::Success)
        value = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
    return code;
}

DeviceResult DeviceLink::WriteProfileSettingsWord(std::uint16_t value) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value & 0xFF),
                                   static_cast<std::uint8_t>(value >> 8)};
    return simpleCommand(command::WriteProfileSettings, 2, 0, bytes, {});
}

DeviceResult DeviceLink::ReadKeyMatrix(std::span<std::uint8_t, kKeyMatrixBufferSize> matrix,
                                       int profile) {
    if (!profileInRange(profile))
        return result::BadProfile;
    const std::uint32_t base = static_cast<std::uint32_t>(profile) * model_.keyMatrixStride.load();
    return chunkedRead(command::ReadKeyMatrix, base, matrix.first(keyMatrixLength()));
}

DeviceResult DeviceLink::WriteKeyMatrix(std::span<const std::uint8_t, kKeyMatrixBufferSize> matrix,
                                        int profile) {
    if (!profileInRange(profile))
        return result::BadProfile;
    const std::uint32_t base = static_cast<std::uint32_t>(profile) * model_.keyMatrixStride.load();
    return chunkedWrite(command::WriteKeyMatrix, base, matrix.first(keyMatrixLength()));
}

DeviceResult DeviceLink::ReadDefaultKeyMatrix(
    std::span<std::uint8_t, kKeyMatrixBufferSize> matrix) {
    return chunkedRead(command::ReadDefaultKeyMatrix, 0, matrix.first(keyMatrixLength()));
}

DeviceResult DeviceLink::ReadMacroArea(std::span<std::uint8_t> area) {
    return chunkedRead(command::ReadMacroArea, 0, area);
}

DeviceResult DeviceLink::WriteMacroArea(std::span<const std::uint8_t> area) {
    return chunkedWrite(command::WriteMacroArea, 0, area);
}

DeviceResult DeviceLink::SendCommand11() {
    return simpleCommand(command::Command11, 0, 0, {}, {});
}

DeviceResult DeviceLink::SendCommand12() {
    return simpleCommand(command::Command12, 0, 0, {}, {});
}

DeviceResult DeviceLink::SendTestCommand() {
    return simpleCommand(command::TestCommand, 0, 0, {}, {});
}

DeviceResult DeviceLink::SendCommand14() {
    return simpleCommand(command::Command14, 0, 0, {}, {});
}

DeviceResult DeviceLink::ReadKeyColours(std::span<std::uint8_t, kMaxReportData> out,
                                        std::uint8_t length, int profile,
                                        std::uint16_t keyColourIndex) {
    if (profile < 0)
        return result::NotWritten;
    const std::uint32_t offset =
        static_cast<std::uint32_t>(profile) * kKeyColourProfileStride + keyColourIndex * 3u;
    return simpleCommand(command::ReadKeyColours, length, offset, {}, out);
}

DeviceResult DeviceLink::WriteKeyColours(std::span<const std::uint8_t> data,
                                         std::uint16_t keyColourIndex, int lightingProfile) {
    if (lightingProfile < 0)
        return result::NotWritten;
    const std::uint32_t offset =
        static_cast<std::uint32_t>(lightingProfile) * kKeyColourProfileStride + keyColourIndex * 3u;
    return simpleCommand(command::WriteKeyColours, data.size(), offset, data, {});
}

DeviceResult DeviceLink::EnterBootMode() {
    return SendOnly(makeBootModeRequest());
}

}  // namespace keyloom
