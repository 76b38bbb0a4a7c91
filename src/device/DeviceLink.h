#pragma once
// The configuration protocol with the keyboard: 64-byte requests on its
// vendor interface, each answered by one 64-byte reply. Holds the connected
// flag, the configuration device and the device lock that keeps the
// request/reply pairs of concurrent callers apart.
//
// Every operation returns one of the codes of device/ProtocolResult.h. The
// connected flag and the configuration device are managed by the discovery
// thread; the command operations may be called from any thread.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "device/CHidDevice.h"
#include "device/ConfigReport.h"
#include "device/ModelValues.h"
#include "device/ProtocolResult.h"
#include "device/ReportTrace.h"
#include "platform/lock/CrossProcessLock.h"

namespace keyloom {

inline constexpr std::size_t kParameterBlockSize = 44;
inline constexpr std::size_t kKeyMatrixBufferSize = 512;
inline constexpr std::size_t kKeyColourProfileStride = 512;
inline constexpr int kProfileCount = 3;

class DeviceLink {
public:
    static constexpr std::uint32_t kWriteTimeoutMs = 1000;
    static constexpr std::uint32_t kReadTimeoutMs = 300;
    static constexpr int kWriteAttempts = 4;

    explicit DeviceLink(hid::HidPlatform& platform = hid::HidPlatform::system(),
                        ReportTrace& trace = ReportTrace::instance());
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    bool isConnected() const { return connected_.load(); }
    void setConnected(bool connected) { connected_.store(connected); }
    ModelValues& modelValues() { return model_; }
    const ModelValues& modelValues() const { return model_; }
    CHidDevice& configurationDevice() { return device_; }

    // Open (read, write, overlapped, shared) and close of the configuration
    // device, under the device lock so no exchange is in progress meanwhile.
    bool openConfigurationDevice(std::string_view path);
    bool closeConfigurationDevice();

    // Writes `request` (zero-padded or cut to 64 bytes) and reads one reply
    // into `reply`; up to four writes when no reply comes within 300 ms.
    DeviceResult Exchange(std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                          std::uint32_t& received);
    // Writes `request` without waiting for a reply: 1 written, 0 not.
    DeviceResult SendOnly(std::span<const std::uint8_t> request);

    DeviceResult BeginTransfer();
    DeviceResult EndTransfer();
    DeviceResult ReadParameterBlock(std::span<std::uint8_t, kParameterBlockSize> block);
    DeviceResult WriteParameterBlock(std::span<const std::uint8_t, kParameterBlockSize> block);
    // Reads `length` bytes at `offset` of the profile-settings area; the whole
    // 56-byte data part of the reply is returned.
    DeviceResult ReadProfileSettings(std::span<std::uint8_t, kMaxReportData> out,
                                     std::uint8_t length, std::uint16_t offset);
    DeviceResult WriteProfileSettings(std::span<const std::uint8_t> data, std::uint16_t offset);
    // The two-byte forms at offset 0.
    DeviceResult ReadProfileSettingsWord(std::uint16_t& value);
    DeviceResult WriteProfileSettingsWord(std::uint16_t value);
    // Key matrix of on-board profile 0-2: the model's key matrix length, at
    // offsets from profile x stride.
    DeviceResult ReadKeyMatrix(std::span<std::uint8_t, kKeyMatrixBufferSize> matrix, int profile);
    DeviceResult WriteKeyMatrix(std::span<const std::uint8_t, kKeyMatrixBufferSize> matrix,
                                int profile);
    DeviceResult ReadDefaultKeyMatrix(std::span<std::uint8_t, kKeyMatrixBufferSize> matrix);
    // The macro area from offset 0, as many bytes as the span holds.
    DeviceResult ReadMacroArea(std::span<std::uint8_t> area);
    DeviceResult WriteMacroArea(std::span<const std::uint8_t> area);
    DeviceResult SendCommand11();
    DeviceResult SendCommand12();
    DeviceResult SendTestCommand();
    DeviceResult SendCommand14();
    // Key colours at profile x 512 + key colour index x 3.
    DeviceResult ReadKeyColours(std::span<std::uint8_t, kMaxReportData> out, std::uint8_t length,
                                int profile, std::uint16_t keyColourIndex);
    DeviceResult WriteKeyColours(std::span<const std::uint8_t> data, std::uint16_t keyColourIndex,
                                 int lightingProfile);
    DeviceResult EnterBootMode();

private:
    DeviceResult simpleCommand(std::uint8_t command, std::size_t length, std::uint32_t offset,
                               std::span<const std::uint8_t> data,
                               std::span<std::uint8_t> returned);
    DeviceResult chunkedRead(std::uint8_t command, std::uint32_t base,
                             std::span<std::uint8_t> destination);
    DeviceResult chunkedWrite(std::uint8_t command, std::uint32_t base,
                              std::span<const std::uint8_t> source);
    DeviceResult chunked(std::uint8_t command, std::uint32_t base, std::size_t total,
                         std::span<const std::uint8_t> source, std::span<std::uint8_t> destination);
    DeviceResult exchangeLocked(const Report& request, std::span<std::uint8_t> reply,
                                std::uint32_t& received);
    void refreshProcessLock();
    std::size_t keyMatrixLength() const;

    std::atomic<bool> connected_{false};
    ModelValues model_;
    CHidDevice device_;
    ReportTrace& trace_;

    // Taken for the whole of one exchange: first the in-process device lock,
    // then the lock shared with other Keyloom processes on the same keyboard.
    std::mutex deviceMutex_;
    lock::CrossProcessLock processLock_;
    bool processLockStale_ = true;  // guarded by deviceMutex_
};

}  // namespace keyloom
