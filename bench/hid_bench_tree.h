#pragma once
// A fake sysfs and /dev tree for the hidraw benchmarks: node N is a USB HID
// device with the given report descriptor, and its device node is one end of
// a socketpair (the other end is the "device").

#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/hid/HidrawBackend.h"

namespace keyloom::bench {

class HidBenchTree {
public:
    HidBenchTree() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "keyloom-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            root_ = pattern;
        std::filesystem::create_directories(root_ + "/dev");
        std::filesystem::create_directories(root_ + "/sys/class/hidraw");
    }
    ~HidBenchTree() {
        for (auto& [node, pair] : pairs_) {
            ::close(pair[0]);
            ::close(pair[1]);
        }
        std::error_code ec;
        if (!root_.empty())
            std::filesystem::remove_all(root_, ec);
    }
    HidBenchTree(const HidBenchTree&) = delete;
    HidBenchTree& operator=(const HidBenchTree&) = delete;

    void addNode(unsigned number, const std::vector<std::uint8_t>& descriptor) {
        char name[64];
        std::snprintf(name, sizeof name, "1-%u:1.%u/0003:0C45:652F.%04X", number / 4, number % 4,
                      number + 1);
        std::string folder = root_ + "/sys/devices/usb1/" + name;
        std::filesystem::create_directories(folder);
        write(folder + "/uevent", "DRIVER=hid-generic\nHID_ID=0003:00000C45:0000652F\n");
        write(folder + "/report_descriptor", std::string(descriptor.begin(), descriptor.end()));
        std::string link = root_ + "/sys/class/hidraw/hidraw" + std::to_string(number);
        std::filesystem::create_directories(link);
        std::filesystem::create_directory_symlink(folder, link + "/device");
        write(root_ + "/dev/hidraw" + std::to_string(number), "");
    }

    std::shared_ptr<hid::HidrawBackend> backend() {
        auto backend = std::make_shared<hid::HidrawBackend>(root_ + "/sys", root_ + "/dev");
        backend->setNodeOpener([this](const std::string& nodePath, int) {
            auto& pair = pairs_[nodePath];
            if (pair[0] == 0 && pair[1] == 0 &&
                ::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair.data()) != 0)
                return -1;
            return ::dup(pair[0]);
        });
        return backend;
    }

    int deviceEnd(unsigned number) {
        return pairs_[root_ + "/dev/hidraw" + std::to_string(number)][1];
    }
    // The host end of node N's socketpair, -1 before the node was first opened.
    int hostEnd(unsigned number) const {
        auto pair = pairs_.find(root_ + "/dev/hidraw" + std::to_string(number));
        return pair == pairs_.end() ? -1 : pair->second[0];
    }
    const std::string& root() const { return root_; }

private:
    static void write(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }

    std::string root_;
    std::map<std::string, std::array<int, 2>> pairs_;
};

// Keyboard (id 1), consumer control (id 3) and the 64-byte vendor collection
// (id 4) on one node, as a composite gaming keyboard reports them.
inline std::vector<std::uint8_t> compositeKeyboardDescriptor() {
    return {
        0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7,
        0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08,
        0x81, 0x01, 0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02,
        0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65,
        0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0,  // keyboard
        0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x00, 0x26, 0xFF, 0x03, 0x19,
        0x00, 0x2A, 0xFF, 0x03, 0x75, 0x10, 0x95, 0x02, 0x81, 0x00, 0xC0,  // consumer
        0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04, 0x09, 0x01, 0x15, 0x00, 0x26,
        0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F, 0x81, 0x02, 0x09, 0x02, 0x95, 0x3F, 0x91, 0x02,
        0xC0,  // vendor
    };
}

}  // namespace keyloom::bench
