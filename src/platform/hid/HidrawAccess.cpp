#include "platform/hid/HidrawAccess.h"

#include <sys/stat.h>
#include <unistd.h>

namespace keyloom::hid {

HidrawAccessScan scanHidrawAccess(const std::string& sysfsRoot, const std::string& devRoot,
                                  const HidIdFilter& wanted) {
    HidrawAccessScan scan;
    std::vector<unsigned> numbers;
    scan.listing = listHidrawNodes(sysfsRoot, numbers);
    for (unsigned number : numbers) {
        const std::string device = resolveHidDevice(hidrawNodeFolder(sysfsRoot, number));
        HidDeviceInfo info;
        if (device.empty() || !readHidDevice(device, info) ||
            !wanted(info.id.vendorId, info.id.productId))
            continue;
        HidrawNodeAccess node;
        node.node = number;
        node.devPath = devRoot + "/hidraw" + std::to_string(number);
        node.id = info.id;
        node.interfaceNumber = info.interfaceNumber;
        struct stat st {};
        if (::stat(node.devPath.c_str(), &st) == 0) {
            node.present = true;
            node.owner = st.st_uid;
            node.group = st.st_gid;
            node.mode = st.st_mode;
            node.readable = ::access(node.devPath.c_str(), R_OK) == 0;
            node.writable = ::access(node.devPath.c_str(), W_OK) == 0;
        }
        scan.nodes.push_back(std::move(node));
    }
    return scan;
}

std::string modeText(mode_t mode) {
    std::string text = S_ISCHR(mode) ? "c" : S_ISDIR(mode) ? "d" : S_ISLNK(mode) ? "l" : "-";
    constexpr const char* kLetters = "rwx";
    for (int shift = 8; shift >= 0; --shift)
        text.push_back((mode >> shift) & 1 ? kLetters[(8 - shift) % 3] : '-');
    return text;
}

}  // namespace keyloom::hid
