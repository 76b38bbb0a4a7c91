#include "device/CHidDevice.h"

#include <algorithm>
#include <chrono>

#include "device/HidFieldTable.h"
#include "device/PathNumbers.h"
#include "platform/text/Utf16.h"

namespace keyloom {

namespace {

constexpr hid::ReportType kReportTypes[] = {hid::ReportType::Input, hid::ReportType::Output,
                                            hid::ReportType::Feature};

std::uint16_t reportLength(const hid::Caps& caps, hid::ReportType type) {
    switch (type) {
        case hid::ReportType::Input:
            return caps.inputReportByteLength;
        case hid::ReportType::Output:
            return caps.outputReportByteLength;
        case hid::ReportType::Feature:
            return caps.featureReportByteLength;
    }
    return 0;
}

// Keeps a pending count raised for the length of one transfer.
class PendingScope {
public:
    PendingScope(std::atomic<int>& count, std::mutex& mutex, std::condition_variable& idle)
        : count_(count), mutex_(mutex), idle_(idle) {}
    ~PendingScope() {
        {
            std::lock_guard lock(mutex_);
            --count_;
        }
        idle_.notify_all();
    }
    PendingScope(const PendingScope&) = delete;
    PendingScope& operator=(const PendingScope&) = delete;

private:
    std::atomic<int>& count_;
    std::mutex& mutex_;
    std::condition_variable& idle_;
};

}  // namespace

CHidDevice::CHidDevice(hid::HidPlatform& platform) : platform_(platform) {}

CHidDevice::~CHidDevice() {
    stopReader();
    Close();
    ReleasePaths();
}

bool CHidDevice::EnumerateInterfaces() {
    cursor_ = 0;
    ReleasePaths();
    std::vector<std::string> found;
    if (!platform_.enumerate(found))
        return false;
    // The list starts with room for 8 paths and doubles when full.
    paths_.reserve(8);
    for (auto& path : found) {
        if (paths_.size() == paths_.capacity())
            paths_.reserve(paths_.capacity() * 2);
        paths_.push_back(std::move(path));
    }
    return true;
}

std::optional<std::string> CHidDevice::NextPath() {
    if (cursor_ >= paths_.size())
        return std::nullopt;
    return paths_[cursor_++];
}

std::optional<std::string> CHidDevice::FirstPath() {
    if (paths_.empty())
        return std::nullopt;
    cursor_ = 1;
    return paths_.front();
}

void CHidDevice::ReleasePaths() {
    paths_.clear();
    paths_.shrink_to_fit();
}

bool CHidDevice::Open(std::string_view path, bool wantRead, bool wantWrite, bool overlapped,
                      bool exclusive) {
    std::lock_guard serial(openCloseMutex_);
    options_ = {wantRead, wantWrite, overlapped, exclusive};
    releaseOpenState();
    // A path that does not fit the path field is refused rather than cut,
    // since a cut path could name another interface.
    if (text::utf16Length(path) > kMaxPathUnits)
        return false;
    {
        std::lock_guard lock(stateMutex_);
        path_.assign(path);
    }

    std::shared_ptr<hid::HidHandle> handle = platform_.open(path, options_);
    if (!handle)
        return false;

    descriptor_ = handle->descriptor();
    attributes_ = handle->attributes();
    caps_ = descriptor_.caps();
    for (hid::ReportType type : kReportTypes) {
        ReportTypeState& s = state(type);
        s.buffer.assign(reportLength(caps_, type), 0);
        auto buttons = descriptor_.buttonCaps(type);
        auto values = descriptor_.valueCaps(type);
        s.buttonCaps.assign(buttons.begin(), buttons.end());
        s.valueCaps.assign(values.begin(), values.end());
        s.fields = buildFieldTable(descriptor_, type);
    }
    interfaceNumber_ = hexNumberAfter(path, "&mi_");
    collectionNumber_ = hexNumberAfter(path, "&col");

    std::lock_guard lock(stateMutex_);
    handle_ = std::move(handle);
    return true;
}

bool CHidDevice::IsOpen() const {
    std::lock_guard lock(stateMutex_);
    return handle_ != nullptr;
}

bool CHidDevice::Close() {
    std::lock_guard serial(openCloseMutex_);
    return releaseOpenState();
}

void CHidDevice::cancelPendingTransfers(std::unique_lock<std::mutex>& lock) {
    if (readsPending_ == 0 && writesPending_ == 0)
        return;
    // The cancel event wakes one waiter per signal; signal again until every
    // transfer has returned, then drop a signal nobody consumed so it cannot
    // cut short the next transfer.
    while (readsPending_ > 0 || writesPending_ > 0) {
        cancel_.set();
        idle_.wait_for(lock, std::chrono::milliseconds(5));
    }
    cancel_.consume();
}

bool CHidDevice::releaseOpenState() {
    std::shared_ptr<hid::HidHandle> old;
    {
        std::unique_lock lock(stateMutex_);
        old = std::move(handle_);
        handle_.reset();
        cancelPendingTransfers(lock);
    }
    const bool wasOpen = old != nullptr;
    old.reset();
    descriptor_ = hid::CollectionDescriptor();
    attributes_ = {};
    caps_ = {};
    for (auto& s : types_)
        s = ReportTypeState();
    interfaceNumber_ = 0;
    collectionNumber_ = 0;
    return wasOpen;
}

// Runs one transfer on a copy of the handle, so a Close or Open from another
// thread can cancel it without freeing the handle under it; the pending count
// tells them when it has returned.
template <class Transfer>
bool CHidDevice::transfer(std::atomic<int>& pendingCount, std::size_t bufferSize,
                          std::uint32_t& transferred, Transfer&& run) {
    transferred = 0;
    std::shared_ptr<hid::HidHandle> handle;
    {
        std::lock_guard lock(stateMutex_);
        if (!handle_)
            return false;
        handle = handle_;
        ++pendingCount;
    }
    PendingScope pending(pendingCount, stateMutex_, idle_);
    std::size_t bytes = 0;
    if (run(*handle, bytes) != hid::TransferResult::Done)
        return false;
    transferred = static_cast<std::uint32_t>(std::min(bytes, bufferSize));
    return true;
}

bool CHidDevice::Read(std::span<std::uint8_t> buffer, std::uint32_t& transferred,
                      std::uint32_t timeoutMs) {
    return transfer(readsPending_, buffer.size(), transferred,
                    [&](hid::HidHandle& handle, std::size_t& bytes) {
                        return handle.read(buffer, bytes, timeoutMs, cancel_);
                    });
}

bool CHidDevice::Write(std::span<const std::uint8_t> buffer, std::uint32_t& transferred,
                       std::uint32_t timeoutMs) {
    return transfer(writesPending_, buffer.size(), transferred,
                    [&](hid::HidHandle& handle, std::size_t& bytes) {
                        return handle.write(buffer, bytes, timeoutMs, cancel_);
                    });
}

bool CHidDevice::StartReader(ReaderCallback callback) {
    if (reader_.joinable() && reader_.get_id() == std::this_thread::get_id())
        return false;
    stopReader();
    readerStop_ = false;
    readerDone_ = false;
    reader_ = std::thread(&CHidDevice::readerLoop, this, std::move(callback),
                          std::size_t{caps_.inputReportByteLength});
    return true;
}

void CHidDevice::stopReader() {
    if (!reader_.joinable())
        return;
    readerStop_ = true;
    if (reader_.get_id() == std::this_thread::get_id()) {
        reader_.detach();  // replaced from its own callback: it ends after the callback
        return;
    }
    {
        // The reader may be just about to start a read; keep cancelling until
        // it has noticed the stop request.
        std::unique_lock lock(stateMutex_);
        while (!readerDone_) {
            if (readsPending_ > 0)
                cancel_.set();
            idle_.wait_for(lock, std::chrono::milliseconds(5));
        }
        cancel_.consume();
    }
    reader_.join();
}

void CHidDevice::readerLoop(ReaderCallback callback, std::size_t reportLength) {
    // The thread reads into a buffer of its own, so a Close on another thread
    // never frees memory the callback is looking at.
    std::vector<std::uint8_t> buffer(reportLength);
    while (!readerStop_) {
        std::uint32_t bytes = 0;
        if (Read(buffer, bytes, hid::kInfinite)) {
            if (callback)
                callback(buffer.data(), bytes);
            continue;
        }
        if (!readerStop_ && callback)
            callback(buffer.data(), kReaderFailed);
        break;
    }
    {
        std::lock_guard lock(stateMutex_);
        readerDone_ = true;
    }
    idle_.notify_all();
}

bool CHidDevice::ParseReport(std::span<const std::uint8_t> report, hid::ReportType type,
                             std::span<HidField> fields,
                             const hid::CollectionDescriptor& descriptor) {
    if (report.size() > 0xFFFF)
        report = report.first(0xFFFF);
    return decodeReport(report, type, fields, descriptor);
}

bool CHidDevice::IsPresent() {
    std::shared_ptr<hid::HidHandle> handle;
    std::string path;
    {
        std::lock_guard lock(stateMutex_);
        handle = handle_;
        path = path_;
    }
    if (handle)
        return handle->stillPresent();
    return !path.empty() && platform_.isPresent(path);
}

void CHidDevice::DiscardQueuedInput() {
    std::shared_ptr<hid::HidHandle> handle;
    {
        std::lock_guard lock(stateMutex_);
        handle = handle_;
    }
    if (handle)
        handle->discardQueuedInput();
}

}  // namespace keyloom
