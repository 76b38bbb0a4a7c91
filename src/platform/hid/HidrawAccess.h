#pragma once
// Who may open the hidraw nodes of some HID devices: for each node, its
// device node's owner, group and mode, and whether this process may read and
// write it (access(2), which honours the ACL entries udev's uaccess adds).
// Used to explain permission problems rather than to open anything.

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/hid/SysfsHidraw.h"

namespace keyloom::hid {

struct HidrawNodeAccess {
    unsigned node = 0;
    std::string devPath;  // <dev>/hidrawN
    HidId id;
    std::uint8_t interfaceNumber = 0;
    bool present = false;  // the device node exists
    uid_t owner = 0;
    gid_t group = 0;
    mode_t mode = 0;
    bool readable = false;
    bool writable = false;

    bool usable() const { return present && readable && writable; }
};

using HidIdFilter = std::function<bool(std::uint16_t vendorId, std::uint16_t productId)>;

struct HidrawAccessScan {
    NodeListing listing = NodeListing::Listed;
    std::vector<HidrawNodeAccess> nodes;  // in node order
};

// The nodes under `sysfsRoot` whose HID device `wanted` accepts, checked in
// `devRoot`.
HidrawAccessScan scanHidrawAccess(const std::string& sysfsRoot, const std::string& devRoot,
                                  const HidIdFilter& wanted);

// "crw-rw----": the type letter and permission bits of a mode, as ls shows.
std::string modeText(mode_t mode);

}  // namespace keyloom::hid
