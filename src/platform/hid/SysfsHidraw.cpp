#include "platform/hid/SysfsHidraw.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/fs/FileIo.h"
#include "platform/fs/UniqueFd.h"

namespace keyloom::hid {

namespace {

constexpr std::uint16_t kBusUsb = 0x0003;
constexpr std::size_t kMaxAttributeBytes = 64 * 1024;

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool readText(const std::string& path, std::string& out) {
    std::vector<std::uint8_t> bytes;
    if (!fs::readFile(path, bytes, kMaxAttributeBytes))
        return false;
    out.assign(bytes.begin(), bytes.end());
    return true;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ' || s.back() == '\r'))
        s.remove_suffix(1);
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return s;
}

// Parses all of `s` as a number of at most `maxDigits` digits in `base`.
std::optional<std::uint32_t> parseNumber(std::string_view s, unsigned base, std::size_t maxDigits) {
    if (s.empty() || s.size() > maxDigits)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : s) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

std::string parentOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

std::optional<std::uint32_t> readHexAttribute(const std::string& path, std::size_t maxDigits) {
    std::string text;
    if (!readText(path, text))
        return std::nullopt;
    return parseNumber(trim(text), 16, maxDigits);
}

// A USB interface folder is named "<bus>-<port path>:<configuration>.<interface>".
std::optional<std::uint32_t> interfaceFromFolderName(const std::string& folder) {
    auto slash = folder.find_last_of('/');
    std::string_view name =
        std::string_view(folder).substr(slash == std::string::npos ? 0 : slash + 1);
    auto colon = name.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    auto dot = name.find('.', colon);
    if (dot == std::string_view::npos)
        return std::nullopt;
    return parseNumber(name.substr(dot + 1), 10, 3);
}

std::uint8_t usbInterfaceNumber(const std::string& interfaceFolder) {
    auto number = readHexAttribute(interfaceFolder + "/bInterfaceNumber", 2);
    if (!number)
        number = interfaceFromFolderName(interfaceFolder);
    return number && *number <= 0xFF ? static_cast<std::uint8_t>(*number) : 0;
}

}  // namespace

NodeListing listHidrawNodes(const std::string& sysfsRoot, std::vector<unsigned>& nodes) {
    nodes.clear();
    std::string folder = sysfsRoot + "/class/hidraw";
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir)
        return errno == ENOENT ? NodeListing::NoHidraw : NodeListing::Unreadable;
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string_view name = entry->d_name;
        if (name.substr(0, 6) != "hidraw")
            continue;
        if (auto number = parseNumber(name.substr(6), 10, 9))
            nodes.push_back(*number);
    }
    std::sort(nodes.begin(), nodes.end());
    return NodeListing::Listed;
}

std::optional<HidId> parseHidId(std::string_view uevent) {
    while (!uevent.empty()) {
        auto end = uevent.find('\n');
        std::string_view line = uevent.substr(0, end);
        uevent = end == std::string_view::npos ? std::string_view() : uevent.substr(end + 1);
        if (line.substr(0, 7) != "HID_ID=")
            continue;
        line = trim(line.substr(7));
        auto first = line.find(':');
        auto second = first == std::string_view::npos ? first : line.find(':', first + 1);
        if (second == std::string_view::npos)
            return std::nullopt;
        auto bus = parseNumber(line.substr(0, first), 16, 8);
        auto vendor = parseNumber(line.substr(first + 1, second - first - 1), 16, 8);
        auto product = parseNumber(line.substr(second + 1), 16, 8);
        if (!bus || !vendor || !product)
            return std::nullopt;
        if (*bus > 0xFFFF || *vendor > 0xFFFF || *product > 0xFFFF)
            return std::nullopt;
        return HidId{static_cast<std::uint16_t>(*bus), static_cast<std::uint16_t>(*vendor),
                     static_cast<std::uint16_t>(*product)};
    }
    return std::nullopt;
}

std::string hidrawNodeFolder(const std::string& sysfsRoot, unsigned node) {
    return sysfsRoot + "/class/hidraw/hidraw" + std::to_string(node);
}

bool resolveDeviceLink(const std::string& nodeFolder, HidDeviceLink& out) {
    std::string link = nodeFolder + "/device";
    // Opening the link and asking the kernel for the path of what it opened
    // takes three system calls; realpath() walks every component.
    fs::UniqueFd fd(::open(link.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid())
        return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return false;
    out.ino = st.st_ino;
    out.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    char resolved[PATH_MAX];
    std::string procLink = "/proc/self/fd/" + std::to_string(fd.get());
    ssize_t n = ::readlink(procLink.c_str(), resolved, sizeof resolved);
    if (n > 0 && static_cast<std::size_t>(n) < sizeof resolved && resolved[0] == '/') {
        out.path.assign(resolved, static_cast<std::size_t>(n));
        return true;
    }
    // Without /proc: the slow way.
    std::unique_ptr<char, decltype(&::free)> slow(::realpath(link.c_str(), nullptr), &::free);
    if (!slow)
        return false;
    out.path = slow.get();
    return true;
}

std::string resolveHidDevice(const std::string& nodeFolder) {
    HidDeviceLink link;
    return resolveDeviceLink(nodeFolder, link) ? link.path : std::string();
}

std::string readDeviceLinkText(const std::string& nodeFolder) {
    std::string link = nodeFolder + "/device";
    char target[PATH_MAX];
    ssize_t n = ::readlink(link.c_str(), target, sizeof target);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof target)
        return std::string();
    return std::string(target, static_cast<std::size_t>(n));
}

std::optional<dev_t> sysfsDeviceNumber(const std::string& nodeFolder) {
    std::string text;
    if (!readText(nodeFolder + "/dev", text))
        return std::nullopt;
    std::string_view s = trim(text);
    auto colon = s.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    auto major = parseNumber(s.substr(0, colon), 10, 9);
    auto minor = parseNumber(s.substr(colon + 1), 10, 9);
    if (!major || !minor)
        return std::nullopt;
    return makedev(*major, *minor);
}

bool readHidDevice(const std::string& hidDevice, HidDeviceInfo& out) {
    out = HidDeviceInfo{};
    std::string uevent;
    if (!readText(hidDevice + "/uevent", uevent))
        return false;
    auto id = parseHidId(uevent);
    if (!id)
        return false;
    out.id = *id;
    if (!fs::readFile(hidDevice + "/report_descriptor", out.descriptor, kMaxAttributeBytes))
        return false;

    // Only a HID device on USB hangs under a USB interface (and that under
    // the USB device, which knows the release number).
    if (out.id.bus == kBusUsb) {
        std::string interfaceFolder = parentOf(hidDevice);
        out.interfaceNumber = usbInterfaceNumber(interfaceFolder);
        if (auto version = readHexAttribute(parentOf(interfaceFolder) + "/bcdDevice", 4))
            out.version = static_cast<std::uint16_t>(*version);
    }
    return true;
}

}  // namespace keyloom::hid
