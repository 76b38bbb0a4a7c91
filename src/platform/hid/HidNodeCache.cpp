#include "platform/hid/HidNodeCache.h"

namespace keyloom::hid {

bool HidNodeCache::describe(const std::string& sysfsRoot, unsigned node, HidNodeDescription& out) {
    std::string nodeFolder = hidrawNodeFolder(sysfsRoot, node);
    HidDeviceLink link;
    if (!resolveDeviceLink(nodeFolder, link))
        return false;
    {
        std::lock_guard lock(mutex_);
        auto it = entries_.find(link.path);
        if (it != entries_.end() && it->second.ino == link.ino &&
            it->second.mtimeNs == link.mtimeNs) {
            it->second.seen = true;
            if (!it->second.usable)
                return false;
            out = it->second.description;
            out.nodeFolder = std::move(nodeFolder);
            return true;
        }
    }

    // Read outside the lock; a missing attribute is not remembered, since
    // the kernel may still be creating the device's files.
    HidDeviceInfo info;
    if (!readHidDevice(link.path, info))
        return false;
    auto collections = std::make_shared<std::vector<CollectionDescriptor>>();
    bool usable = parseReportDescriptor(info.descriptor, *collections) && !collections->empty();

    Entry entry;
    entry.ino = link.ino;
    entry.mtimeNs = link.mtimeNs;
    entry.usable = usable;
    entry.description.hidDevice = link.path;
    entry.description.id = info.id;
    entry.description.version = info.version;
    entry.description.interfaceNumber = info.interfaceNumber;
    entry.description.nodeNumber = sysfsDeviceNumber(nodeFolder);
    entry.description.collections = std::move(collections);
    {
        std::lock_guard lock(mutex_);
        if (entries_.size() >= kMaxEntries)
            entries_.clear();
        entries_[link.path] = entry;
    }
    if (!usable)
        return false;
    out = std::move(entry.description);
    out.nodeFolder = std::move(nodeFolder);
    return true;
}

void HidNodeCache::sweep() {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [](const auto& item) { return !item.second.seen; });
    for (auto& [path, entry] : entries_)
        entry.seen = false;
}

}  // namespace keyloom::hid
