#include "model/ConfigurationStore.h"

#include <cassert>
#include <limits>
#include <new>

namespace keyloom {

namespace {

// Stores of each role the current thread holds, for the lock-order check.
thread_local int workingHeld = 0;
thread_local int deviceHeld = 0;

template <StoreRole Role>
int& heldCount() {
    return Role == StoreRole::Working ? workingHeld : deviceHeld;
}

}  // namespace

StoreContents::StoreContents()
    : image(std::make_unique<AssignmentImage>(AssignmentImage::fresh())) {}

StoreContents::StoreContents(const StoreContents& other)
    : image(std::make_unique<AssignmentImage>(*other.image)),
      macros(other.macros),
      texts(other.texts) {}

StoreContents& StoreContents::operator=(const StoreContents& other) {
    if (this != &other) {
        StoreContents copy(other);
        *this = std::move(copy);
    }
    return *this;
}

StoreContents::StoreContents(StoreContents&&) noexcept = default;
StoreContents& StoreContents::operator=(StoreContents&&) noexcept = default;
StoreContents::~StoreContents() = default;

void StoreContents::reset() {
    *image = AssignmentImage::fresh();
    macros.clear();
    texts.clear();
}

bool StoreContents::rebuildHeaderForSave() {
    if (macros.size() > ImageHeader::kMaxMacroCount ||
        texts.totalSize() > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    return image->header().rebuild(static_cast<std::uint16_t>(macros.size()),
                                   static_cast<std::uint32_t>(texts.totalSize()));
}

template <StoreRole Role>
ConfigurationStore<Role>::Access::Access(std::mutex& mutex, StoreContents& contents)
    : lock_(mutex), contents_(&contents) {
    ++heldCount<Role>();
}

template <StoreRole Role>
ConfigurationStore<Role>::Access::Access(Access&& other) noexcept
    : lock_(std::move(other.lock_)), contents_(other.contents_) {
    other.contents_ = nullptr;
}

template <StoreRole Role>
ConfigurationStore<Role>::Access::~Access() {
    if (lock_.owns_lock()) {
        --heldCount<Role>();
    }
}

template <StoreRole Role>
typename ConfigurationStore<Role>::Access ConfigurationStore<Role>::lock() {
    // Working store first, then device store: never the other way round. A
    // store is not re-entrant either (std::mutex).
    assert(Role != StoreRole::Working || deviceHeld == 0);
    assert(heldCount<Role>() == 0);
    return Access(mutex_, contents_);
}

template <StoreRole Role>
bool ConfigurationStore<Role>::heldByThisThread() {
    return heldCount<Role>() > 0;
}

template class ConfigurationStore<StoreRole::Working>;
template class ConfigurationStore<StoreRole::Device>;

BothStores lockBoth(WorkingStore& working, DeviceStore& device) {
    auto workingAccess = working.lock();
    auto deviceAccess = device.lock();
    return {std::move(workingAccess), std::move(deviceAccess)};
}

bool snapshotContents(const StoreContents& working, StoreContents& device) {
    try {
        auto image = std::make_unique<AssignmentImage>(*working.image);
        auto macros = working.macros;
        StringTable texts = packTexts(*image, working.texts, working.image->header().poolSize);
        device.image = std::move(image);
        device.macros = std::move(macros);
        device.texts = std::move(texts);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool copyToDeviceStore(const WorkingStore::Access& working, DeviceStore& device) {
    auto deviceAccess = device.lock();
    return snapshotContents(*working, *deviceAccess);
}

}  // namespace keyloom
