#pragma once
// A fake sysfs and /dev tree for the hidraw backend, with socketpair ends
// standing in for the device nodes so that poll, read and write run for real.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/hid/HidrawBackend.h"
#include "support/TempDir.h"

namespace keyloom::hid::testing {

struct FakeNode {
    unsigned number = 0;
    std::string hidId = "0003:00000C45:0000652F";
    std::vector<std::uint8_t> descriptor;
    std::string usbInterface = "1-1:1.1";  // folder the HID device hangs under
    bool writeDescriptor = true;
};

class FakeHidrawTree {
public:
    FakeHidrawTree();
    ~FakeHidrawTree();

    std::string sysfsRoot() const { return dir_.file("sys"); }
    std::string devRoot() const { return dir_.file("dev"); }
    // The resolved HID device folder of a node added last under that number.
    std::string hidDeviceFolder(unsigned number) const;

    // Adds the HID device folder, the class link and a placeholder /dev node.
    void addNode(const FakeNode& node);
    // Writes a file into the node's HID device folder (uevent, ...).
    void writeDeviceFile(unsigned number, const std::string& name, const std::string& content);
    // Writes a file into the USB interface or USB device folder above it.
    void writeUsbFile(unsigned number, int levelsUp, const std::string& name,
                      const std::string& content);
    // Makes <dev>/hidrawN a symbolic link to `target` (e.g. /dev/null, a
    // character device anyone may stat) and gives the node folder a "dev"
    // attribute with `majorMinor` ("1:3").
    void useCharacterDevice(unsigned number, const std::string& target,
                            const std::string& majorMinor);
    void removeDevNode(unsigned number);
    // Removes and recreates the placeholder: same name, another file.
    void replaceDevNode(unsigned number);
    // Points the node at a new HID device (as after an unplug and replug of
    // another device that got the same node number).
    void relinkNode(const FakeNode& node);
    void removeClassFolder();
    // Removes the node's HID device folder and creates it again under the
    // same name with another descriptor.
    void recreateDeviceFolder(unsigned number, const std::vector<std::uint8_t>& descriptor);

    // A backend on this tree whose device nodes are socketpairs. The test
    // keeps the device end (deviceEnd()).
    std::shared_ptr<HidrawBackend> backend();
    int deviceEnd(unsigned number);
    // Closes the device end, as when the device goes away.
    void closeDeviceEnd(unsigned number);
    // Flags of the last open of a node.
    int lastOpenFlags() const { return lastFlags_; }

private:
    struct Pair {
        int host = -1;
        int device = -1;
    };
    Pair& pairFor(const std::string& nodePath);

    keyloom::testing::TempDir dir_;
    std::map<unsigned, std::string> deviceFolders_;
    std::map<std::string, Pair> pairs_;
    int serial_ = 0;
    int lastFlags_ = -1;
};

}  // namespace keyloom::hid::testing
