#include "platform/hid/FakeHidrawTree.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace keyloom::hid::testing {

namespace fsys = std::filesystem;

FakeHidrawTree::FakeHidrawTree() {
    fsys::create_directories(devRoot());
    fsys::create_directories(sysfsRoot() + "/class/hidraw");
}

FakeHidrawTree::~FakeHidrawTree() {
    for (auto& [path, pair] : pairs_) {
        if (pair.host >= 0)
            ::close(pair.host);
        if (pair.device >= 0)
            ::close(pair.device);
    }
}

std::string FakeHidrawTree::hidDeviceFolder(unsigned number) const {
    auto it = deviceFolders_.find(number);
    return it == deviceFolders_.end() ? std::string() : it->second;
}

void FakeHidrawTree::addNode(const FakeNode& node) {
    // sys/devices/usb1/1-1/<interface>/<bus>:<vid>:<pid>.<serial>
    char name[64];
    std::snprintf(name, sizeof name, "0003:0C45:652F.%04X", ++serial_);
    std::string usbDevice = sysfsRoot() + "/devices/usb1/1-1";
    std::string folder = usbDevice + "/" + node.usbInterface + "/" + name;
    fsys::create_directories(folder);
    dir_.write("sys/devices/usb1/1-1/" + node.usbInterface + "/" + name + "/uevent",
               "DRIVER=hid-generic\nHID_ID=" + node.hidId + "\nHID_NAME=Fake\n");
    if (node.writeDescriptor)
        dir_.write("sys/devices/usb1/1-1/" + node.usbInterface + "/" + name + "/report_descriptor",
                   std::string(node.descriptor.begin(), node.descriptor.end()));
    deviceFolders_[node.number] = folder;

    std::string classFolder = sysfsRoot() + "/class/hidraw/hidraw" + std::to_string(node.number);
    fsys::create_directories(classFolder);
    fsys::remove(classFolder + "/device");
    fsys::create_directory_symlink(folder, classFolder + "/device");
    dir_.write("dev/hidraw" + std::to_string(node.number), "");
}

void FakeHidrawTree::writeDeviceFile(unsigned number, const std::string& name,
                                     const std::string& content) {
    std::string relative = fsys::relative(hidDeviceFolder(number), dir_.path()).string();
    dir_.write(relative + "/" + name, content);
}

void FakeHidrawTree::writeUsbFile(unsigned number, int levelsUp, const std::string& name,
                                  const std::string& content) {
    fsys::path folder = hidDeviceFolder(number);
    for (int i = 0; i < levelsUp; ++i)
        folder = folder.parent_path();
    dir_.write(fsys::relative(folder, dir_.path()).string() + "/" + name, content);
}

void FakeHidrawTree::useCharacterDevice(unsigned number, const std::string& target,
                                        const std::string& majorMinor) {
    removeDevNode(number);
    fsys::create_symlink(target, devRoot() + "/hidraw" + std::to_string(number));
    dir_.write("sys/class/hidraw/hidraw" + std::to_string(number) + "/dev", majorMinor + "\n");
}

void FakeHidrawTree::removeDevNode(unsigned number) {
    fsys::remove(devRoot() + "/hidraw" + std::to_string(number));
}

void FakeHidrawTree::replaceDevNode(unsigned number) {
    // Create the new file before removing the old one so the inode differs.
    std::string node = devRoot() + "/hidraw" + std::to_string(number);
    dir_.write("dev/replacement", "");
    fsys::rename(devRoot() + "/replacement", node);
}

void FakeHidrawTree::relinkNode(const FakeNode& node) {
    addNode(node);
}

void FakeHidrawTree::removeClassFolder() {
    fsys::remove_all(sysfsRoot() + "/class/hidraw");
}

void FakeHidrawTree::recreateDeviceFolder(unsigned number,
                                          const std::vector<std::uint8_t>& descriptor) {
    // The new folder is filled while the old one still exists, so it is
    // surely another inode, then moved into place.
    fsys::path folder = hidDeviceFolder(number);
    std::string relative = fsys::relative(folder, dir_.path()).string();
    std::string uevent = dir_.read(relative + "/uevent");
    dir_.write(relative + ".new/uevent", uevent);
    dir_.write(relative + ".new/report_descriptor",
               std::string(descriptor.begin(), descriptor.end()));
    fsys::remove_all(folder);
    fsys::rename(folder.string() + ".new", folder);
}

FakeHidrawTree::Pair& FakeHidrawTree::pairFor(const std::string& nodePath) {
    Pair& pair = pairs_[nodePath];
    if (pair.host < 0) {
        int fds[2];
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0);
        pair.host = fds[0];
        pair.device = fds[1];
    }
    return pair;
}

std::shared_ptr<HidrawBackend> FakeHidrawTree::backend() {
    auto backend = std::make_shared<HidrawBackend>(sysfsRoot(), devRoot());
    backend->setNodeOpener([this](const std::string& nodePath, int flags) {
        lastFlags_ = flags;
        if (!fsys::exists(nodePath))
            return -1;
        return ::dup(pairFor(nodePath).host);
    });
    return backend;
}

int FakeHidrawTree::deviceEnd(unsigned number) {
    return pairFor(devRoot() + "/hidraw" + std::to_string(number)).device;
}

void FakeHidrawTree::closeDeviceEnd(unsigned number) {
    Pair& pair = pairFor(devRoot() + "/hidraw" + std::to_string(number));
    ::close(pair.device);
    pair.device = -1;
}

}  // namespace keyloom::hid::testing
