#pragma once
// One open top-level collection of a hidraw node.
//
// Reports are handed to callers in the Windows shape: byte 0 is the report
// id, 0 for collections without report ids (hidraw leaves that byte out on
// reads, so it is put back). Input reports of the node's other collections
// are dropped. hidraw has no share modes, so an "exclusive" open is not
// enforced against other processes.

#include <sys/stat.h>
#include <sys/types.h>

#include <string>

#include "platform/fs/UniqueFd.h"
#include "platform/hid/HidBackend.h"

namespace keyloom::hid {

// What the node was when it was opened, to tell later whether the same HID
// device still stands behind the node's name.
struct NodeIdentity {
    std::string nodePath;    // <dev>/hidrawN
    std::string nodeFolder;  // <sysfs>/class/hidraw/hidrawN
    std::string deviceLink;  // target of the node folder's "device" link, as written
    mode_t fileType = 0;
    dev_t rdev = 0;  // compared for character devices
    dev_t dev = 0;   // with ino, compared for anything else (test trees)
    ino_t ino = 0;
};

class HidrawHandle : public HidHandle {
public:
    HidrawHandle(fs::UniqueFd fd, bool readable, bool writable, CollectionDescriptor descriptor,
                 Attributes attributes, NodeIdentity identity);

    const CollectionDescriptor& descriptor() const override { return descriptor_; }
    Attributes attributes() const override { return attributes_; }

    // The caller's buffer must hold the collection's input report length; a
    // shorter report is zero-padded to that length.
    TransferResult read(std::span<std::uint8_t> buffer, std::size_t& transferred,
                        std::uint32_t timeoutMs, CancelEvent& cancel) override;
    // Writes the collection's output report length from `report`, which must
    // be at least that long and carry one of the collection's report ids. The
    // time limit and `cancel` cover only the wait for a node that cannot
    // accept data; a write the node takes at once is not cancelled, and the
    // kernel's own write cannot be cut short.
    TransferResult write(std::span<const std::uint8_t> report, std::size_t& transferred,
                         std::uint32_t timeoutMs, CancelEvent& cancel) override;
    void discardQueuedInput() override;
    bool stillPresent() const override;

private:
    fs::UniqueFd fd_;
    bool readable_;
    bool writable_;
    bool isSocket_;  // test devices: written with MSG_NOSIGNAL
    CollectionDescriptor descriptor_;
    Attributes attributes_;
    NodeIdentity identity_;
};

// Fills the file part of `identity` from the node's stat().
void setNodeIdentity(const struct stat& node, NodeIdentity& identity);
// True when the node on disk is still the file recorded in `identity`.
bool sameNode(const struct stat& now, const NodeIdentity& identity);

}  // namespace keyloom::hid
