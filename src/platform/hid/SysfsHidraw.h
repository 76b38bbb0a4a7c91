#pragma once
// What sysfs tells about hidraw nodes: which nodes exist, and for one node the
// HID device behind it (bus, ids, USB interface number, report descriptor).
// The sysfs root is a parameter so tests can build a fake tree:
//   <root>/class/hidraw/hidrawN/device -> .../<usb interface>/<hid device>
//   <hid device>/uevent              (a line "HID_ID=0003:00000C45:0000652F")
//   <hid device>/report_descriptor   (binary)
//   <usb interface>/bInterfaceNumber (optional; else the folder name "1-1:1.2")
//   <usb device>/bcdDevice           (optional version number)

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keyloom::hid {

enum class NodeListing { Listed, NoHidraw, Unreadable };

// Node numbers N of <root>/class/hidraw/hidrawN, ascending. NoHidraw when the
// folder does not exist (the hidraw module is not loaded).
NodeListing listHidrawNodes(const std::string& sysfsRoot, std::vector<unsigned>& nodes);

struct HidId {
    std::uint16_t bus = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// The HID_ID line of a HID device's uevent text.
std::optional<HidId> parseHidId(std::string_view uevent);

std::string hidrawNodeFolder(const std::string& sysfsRoot, unsigned node);

// The HID device folder that a node folder's "device" link leads to, with
// what tells one instance of that folder from a later one of the same name.
struct HidDeviceLink {
    std::string path;
    ino_t ino = 0;
    std::int64_t mtimeNs = 0;
};

// False when the link does not resolve (the node or its device is gone).
bool resolveDeviceLink(const std::string& nodeFolder, HidDeviceLink& out);
// Just the path; empty when the link does not resolve.
std::string resolveHidDevice(const std::string& nodeFolder);
// The "device" link's target as written (one system call); empty when the
// link is missing.
std::string readDeviceLinkText(const std::string& nodeFolder);

struct HidDeviceInfo {
    HidId id;
    std::uint16_t version = 0;
    std::uint8_t interfaceNumber = 0;
    std::vector<std::uint8_t> descriptor;
};

// Reads the attributes of a resolved HID device folder. False when its
// uevent or descriptor is missing or unreadable.
bool readHidDevice(const std::string& hidDevice, HidDeviceInfo& out);

// The device number from the node's "dev" attribute ("major:minor"), when
// sysfs has one (real trees do).
std::optional<dev_t> sysfsDeviceNumber(const std::string& nodeFolder);

}  // namespace keyloom::hid
