#pragma once
// The two process-wide stores of the key configuration. The working store is
// what the editors change; the device store is a snapshot of it taken just
// before writing to the keyboard, so encoding and transfer run on a copy
// while the user keeps editing.
//
// Each store has its own mutex and hands out its contents only through an
// Access object that holds the lock. Lock order: when both are needed, the
// working store is locked first, then the device store (lockBoth, or
// copyToDeviceStore which takes the working store's Access as proof). Locking
// the working store while this thread holds the device store is a bug; it is
// caught by an assertion in debug builds.

#include <memory>
#include <mutex>
#include <vector>

#include "model/AssignmentImage.h"
#include "model/MacroRecord.h"
#include "model/StringTable.h"

namespace keyloom {

// What a store holds: the image (on the heap, never null), the macro records
// in list order and the texts of the image's entries.
struct StoreContents {
    std::unique_ptr<AssignmentImage> image;
    std::vector<MacroRecord> macros;
    StringTable texts;

    // A fresh image (extra-key codes in block 0), no macros, no texts.
    StoreContents();
    StoreContents(const StoreContents& other);
    StoreContents& operator=(const StoreContents& other);
    StoreContents(StoreContents&&) noexcept;
    StoreContents& operator=(StoreContents&&) noexcept;
    ~StoreContents();

    // Back to a fresh empty image, no macros, no texts.
    void reset();

    // Sets the image header for a save: the macro count and the texts' total
    // size as pool size, constants, flag 0, checksum. False (header unchanged)
    // when there are more than 100 macros or the sizes overflow the header.
    bool rebuildHeaderForSave();
};

enum class StoreRole { Working, Device };

template <StoreRole Role>
class ConfigurationStore {
public:
    // The contents, locked for as long as this object lives.
    class Access {
    public:
        StoreContents& operator*() const { return *contents_; }
        StoreContents* operator->() const { return contents_; }

        Access(Access&& other) noexcept;
        Access& operator=(Access&&) = delete;
        Access(const Access&) = delete;
        Access& operator=(const Access&) = delete;
        ~Access();

    private:
        friend class ConfigurationStore;
        Access(std::mutex& mutex, StoreContents& contents);

        std::unique_lock<std::mutex> lock_;
        StoreContents* contents_;
    };

    ConfigurationStore() = default;
    ConfigurationStore(const ConfigurationStore&) = delete;
    ConfigurationStore& operator=(const ConfigurationStore&) = delete;

    Access lock();

    // Whether the calling thread holds a store of this role.
    static bool heldByThisThread();

private:
    std::mutex mutex_;
    StoreContents contents_;
};

using WorkingStore = ConfigurationStore<StoreRole::Working>;
using DeviceStore = ConfigurationStore<StoreRole::Device>;

// Both stores, locked in the one allowed order.
struct BothStores {
    WorkingStore::Access working;
    DeviceStore::Access device;
};
BothStores lockBoth(WorkingStore& working, DeviceStore& device);

// Step one of writing everything to the keyboard: copies the image and the
// macro records into the device store and packs the texts of every
// LaunchProgram and TextBlock entry one after another, setting each entry's
// offset to where its text landed; a text that would overflow the pool size
// recorded in the image header is skipped. The caller holds the working
// store (passed as proof of the lock order); the device store is locked here.
// False, with the device store unchanged, when memory runs out.
bool copyToDeviceStore(const WorkingStore::Access& working, DeviceStore& device);

// The same on contents the caller has locked.
bool snapshotContents(const StoreContents& working, StoreContents& device);

}  // namespace keyloom
