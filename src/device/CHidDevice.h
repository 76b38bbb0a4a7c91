#pragma once
// One HID interface of the machine: enumeration of the interfaces present,
// open by path, the interface's capabilities and field tables, transfers with
// a time limit that Open, Close or destruction from another thread cut short,
// and decoding of received reports. Knows nothing of any keyboard protocol.
//
// Threads: Read and Write may run at the same time on two threads, and Open,
// Close, IsPresent and DiscardQueuedInput may be called from any thread while
// they wait. Everything else (enumeration, the accessors of the open state)
// belongs to the thread that owns the object.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "device/HidField.h"
#include "platform/hid/CancelEvent.h"
#include "platform/hid/HidBackend.h"
#include "platform/hid/HidPlatform.h"

namespace keyloom {

class CHidDevice {
public:
    // Called by the reader thread with each report, or with kReaderFailed as
    // the byte count when the read failed and the thread ends.
    using ReaderCallback = std::function<void(const std::uint8_t* buffer, std::uint32_t bytes)>;
    static constexpr std::uint32_t kReaderFailed = 0xFFFFFFFFu;
    // Longest path accepted by Open, in UTF-16 units (the path field holds 260
    // units including the terminator).
    static constexpr std::size_t kMaxPathUnits = 259;

    explicit CHidDevice(hid::HidPlatform& platform = hid::HidPlatform::system());
    ~CHidDevice();
    CHidDevice(const CHidDevice&) = delete;
    CHidDevice& operator=(const CHidDevice&) = delete;

    hid::HidPlatform& platform() const { return platform_; }

    // Rebuilds the path list and resets the cursor. True also when no
    // interface is present; false (empty list) when enumeration failed.
    bool EnumerateInterfaces();
    std::optional<std::string> NextPath();
    std::optional<std::string> FirstPath();
    void ReleasePaths();
    std::int32_t pathCount() const { return static_cast<std::int32_t>(paths_.size()); }
    std::size_t pathCapacity() const { return paths_.capacity(); }

    // Closes what was open (cancelling a waiting transfer), then opens `path`.
    // A failed open leaves the object closed.
    bool Open(std::string_view path, bool wantRead, bool wantWrite, bool overlapped,
              bool exclusive);
    bool IsOpen() const;
    // Cancels a waiting transfer and waits until it has returned, then frees
    // the open state. False when nothing was open.
    bool Close();

    // One transfer of at most buffer.size() bytes. False (0 bytes) when the
    // device is closed, the transfer failed, the limit passed or it was
    // cancelled. hid::kInfinite waits without limit.
    bool Read(std::span<std::uint8_t> buffer, std::uint32_t& transferred, std::uint32_t timeoutMs);
    bool Write(std::span<const std::uint8_t> buffer, std::uint32_t& transferred,
               std::uint32_t timeoutMs);

    // Replaces any running reader thread with one that reads input reports
    // without limit and hands each to `callback`. False when called from the
    // reader's own callback. The object must not be destroyed from there.
    bool StartReader(ReaderCallback callback);

    // Decodes `report` into the fields with its report id (see HidFieldTable).
    // Reports longer than 65535 bytes are cut to that length.
    static bool ParseReport(std::span<const std::uint8_t> report, hid::ReportType type,
                            std::span<HidField> fields,
                            const hid::CollectionDescriptor& descriptor);

    // Presence test of the last opened path: the open handle's own check while
    // it is open, else whether the path could be opened without access rights.
    bool IsPresent();
    // Drops input reports already queued on the open interface.
    void DiscardQueuedInput();

    // Open state; valid between a successful Open and the next Open or Close.
    const std::string& path() const { return path_; }
    hid::OpenOptions options() const { return options_; }
    const hid::Caps& capabilities() const { return caps_; }
    const hid::Attributes& attributes() const { return attributes_; }
    const hid::CollectionDescriptor& descriptor() const { return descriptor_; }
    std::uint32_t interfaceNumber() const { return interfaceNumber_; }
    std::uint32_t collectionNumber() const { return collectionNumber_; }
    std::span<std::uint8_t> reportBuffer(hid::ReportType type) { return state(type).buffer; }
    std::span<HidField> fields(hid::ReportType type) { return state(type).fields; }
    std::span<const hid::ButtonCaps> buttonCaps(hid::ReportType type) {
        return state(type).buttonCaps;
    }
    std::span<const hid::ValueCaps> valueCaps(hid::ReportType type) {
        return state(type).valueCaps;
    }

    bool readPending() const { return readsPending_.load() > 0; }
    bool writePending() const { return writesPending_.load() > 0; }

private:
    struct ReportTypeState {
        std::vector<std::uint8_t> buffer;
        std::vector<HidField> fields;
        std::vector<hid::ButtonCaps> buttonCaps;
        std::vector<hid::ValueCaps> valueCaps;
    };

    ReportTypeState& state(hid::ReportType type) { return types_[static_cast<int>(type)]; }
    template <class Transfer>
    bool transfer(std::atomic<int>& pendingCount, std::size_t bufferSize,
                  std::uint32_t& transferred, Transfer&& run);
    bool releaseOpenState();
    void cancelPendingTransfers(std::unique_lock<std::mutex>& lock);
    void stopReader();
    void readerLoop(ReaderCallback callback, std::size_t reportLength);

    hid::HidPlatform& platform_;

    std::vector<std::string> paths_;
    std::uint32_t cursor_ = 0;

    hid::OpenOptions options_;
    std::string path_;
    hid::CollectionDescriptor descriptor_;
    hid::Attributes attributes_;
    hid::Caps caps_;
    ReportTypeState types_[3];
    std::uint32_t interfaceNumber_ = 0;
    std::uint32_t collectionNumber_ = 0;

    // Serialises Open, Close and destruction with one another.
    std::mutex openCloseMutex_;
    // Guards the handle, the path and the pending counts; idle_ is notified
    // whenever a transfer returns.
    mutable std::mutex stateMutex_;
    std::condition_variable idle_;
    std::shared_ptr<hid::HidHandle> handle_;
    std::atomic<int> readsPending_{0};
    std::atomic<int> writesPending_{0};
    hid::CancelEvent cancel_;

    std::thread reader_;
    std::atomic<bool> readerStop_{false};
    bool readerDone_ = true;  // guarded by stateMutex_
};

}  // namespace keyloom
