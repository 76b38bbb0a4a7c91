#pragma once
// Describes hidraw nodes from sysfs, remembering what was read per HID
// device. A HID device folder's attributes do not change while it exists and
// the kernel numbers each new device afresh ("0003:0C45:652F.0007"), so a
// description is reused while the node's link resolves to the same folder
// (same path, inode and modification time). Scans and presence tests then
// cost a link lookup per node instead of several file reads and a parse.
// Thread-safe: discovery and the notification listener scan concurrently.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/hid/ReportDescriptor.h"
#include "platform/hid/SysfsHidraw.h"

namespace keyloom::hid {

struct HidNodeDescription {
    std::string nodeFolder;  // <sysfs>/class/hidraw/hidrawN
    std::string hidDevice;   // resolved device link
    HidId id;
    std::uint16_t version = 0;
    std::uint8_t interfaceNumber = 0;
    std::optional<dev_t> nodeNumber;  // the node's "dev" attribute, when sysfs has one
    std::shared_ptr<const std::vector<CollectionDescriptor>> collections;  // never empty
};

class HidNodeCache {
public:
    // False when the node is gone, its attributes cannot be read, or its
    // descriptor is malformed or holds no application collection.
    bool describe(const std::string& sysfsRoot, unsigned node, HidNodeDescription& out);
    // Forgets the devices not described since the previous sweep; called
    // after each full scan so that unplugged devices do not pile up.
    void sweep();

private:
    struct Entry {
        ino_t ino = 0;
        std::int64_t mtimeNs = 0;
        bool usable = false;  // false: known to be malformed
        bool seen = true;
        HidNodeDescription description;
    };

    static constexpr std::size_t kMaxEntries = 1024;

    std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
};

}  // namespace keyloom::hid
