#include "platform/hid/HidrawBackend.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/fs/UniqueFd.h"
#include "platform/hid/HidNodeCache.h"
#include "platform/hid/HidrawHandle.h"
#include "platform/hid/HotplugMonitor.h"
#include "platform/hid/InterfacePath.h"
#include "platform/hid/SysfsHidraw.h"

namespace keyloom::hid {

namespace {

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

int openFlags(const OpenOptions& options) {
    int access = O_PATH;  // no access rights: a presence-style open
    if (options.read && options.write)
        access = O_RDWR;
    else if (options.read)
        access = O_RDONLY;
    else if (options.write)
        access = O_WRONLY;
    return access | O_NONBLOCK | O_CLOEXEC;
}

bool makeNonBlocking(int fd) {
    int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ((flags & O_NONBLOCK) || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0);
}

// An interface path resolved against sysfs: the node still belongs to a HID
// device with the path's ids and holds the path's collection.
struct ResolvedInterface {
    InterfacePath path;
    HidNodeDescription node;
    CollectionDescriptor collection;
};

bool resolve(HidNodeCache& cache, const std::string& sysfsRoot, const std::string& devRoot,
             std::string_view text, ResolvedInterface& out) {
    auto parsed = parseInterfacePath(devRoot, text);
    if (!parsed)
        return false;
    out.path = *parsed;
    if (!cache.describe(sysfsRoot, out.path.node, out.node))
        return false;
    const auto& id = out.node.id;
    if (id.vendorId != out.path.vendorId || id.productId != out.path.productId ||
        out.node.interfaceNumber != out.path.interfaceNumber)
        return false;
    // "&colNN" appears exactly when the node holds several collections.
    const auto& collections = *out.node.collections;
    unsigned col = out.path.collection;
    if (collections.size() == 1 ? col != 0 : (col == 0 || col > collections.size()))
        return false;
    out.collection = collections[col == 0 ? 0 : col - 1];
    return true;
}

// For a real device node, the node must be the one sysfs describes: same
// device number, so a node recreated for another device is not mistaken.
bool nodeMatchesSysfs(const struct stat& st, const HidNodeDescription& node) {
    if (!S_ISCHR(st.st_mode))
        return true;
    return !node.nodeNumber || *node.nodeNumber == st.st_rdev;
}

}  // namespace

HidrawBackend::HidrawBackend(std::string sysfsRoot, std::string devRoot)
    : sysfsRoot_(withoutTrailingSlash(std::move(sysfsRoot))),
      devRoot_(withoutTrailingSlash(std::move(devRoot))),
      opener_(
          [](const std::string& nodePath, int flags) { return ::open(nodePath.c_str(), flags); }),
      cache_(std::make_shared<HidNodeCache>()) {}

HidrawBackend::~HidrawBackend() = default;

bool HidrawBackend::watchHotplug() {
    auto monitor = std::make_unique<HotplugMonitor>();
    if (!monitor->valid())
        return false;
    hotplug_ = std::move(monitor);
    return true;
}

int HidrawBackend::changeDescriptor() const {
    return hotplug_ ? hotplug_->fd() : -1;
}

void HidrawBackend::takeChanges() {
    if (hotplug_)
        hotplug_->drain();
}

void HidrawBackend::setNodeOpener(NodeOpener opener) {
    if (opener)
        opener_ = std::move(opener);
}

bool HidrawBackend::enumerate(std::vector<std::string>& paths) {
    std::vector<unsigned> nodes;
    switch (listHidrawNodes(sysfsRoot_, nodes)) {
        case NodeListing::NoHidraw:
            return true;  // hidraw not loaded: simply no interfaces
        case NodeListing::Unreadable:
            return false;
        case NodeListing::Listed:
            break;
    }
    HidNodeDescription node;
    for (unsigned number : nodes) {
        // A node that vanished or whose device cannot be described is passed
        // over; the others are still listed.
        if (!cache_->describe(sysfsRoot_, number, node))
            continue;
        const auto& collections = *node.collections;
        InterfacePath path{number, node.id.vendorId, node.id.productId, node.interfaceNumber, 0};
        for (std::size_t i = 0; i < collections.size(); ++i) {
            path.collection = collections.size() > 1 ? static_cast<unsigned>(i + 1) : 0;
            paths.push_back(path.format(devRoot_));
        }
    }
    cache_->sweep();
    return true;
}

bool HidrawBackend::ownsPath(std::string_view path) const {
    return parseInterfacePath(devRoot_, path).has_value();
}

std::unique_ptr<HidHandle> HidrawBackend::open(std::string_view path, const OpenOptions& options) {
    ResolvedInterface target;
    if (!resolve(*cache_, sysfsRoot_, devRoot_, path, target))
        return nullptr;

    NodeIdentity identity;
    identity.nodePath = target.path.nodePath(devRoot_);
    identity.nodeFolder = target.node.nodeFolder;
    // The link read now must still lead to the device that was described.
    identity.deviceLink = readDeviceLinkText(identity.nodeFolder);
    if (identity.deviceLink.empty() ||
        resolveHidDevice(identity.nodeFolder) != target.node.hidDevice)
        return nullptr;
    struct stat st {};
    if (::stat(identity.nodePath.c_str(), &st) != 0 || !nodeMatchesSysfs(st, target.node))
        return nullptr;
    setNodeIdentity(st, identity);

    fs::UniqueFd fd(opener_(identity.nodePath, openFlags(options)));
    if (!fd.valid())
        return nullptr;
    // Transfers wait in poll() and must never block in read() or write(),
    // whoever opened the descriptor.
    if ((options.read || options.write) && !makeNonBlocking(fd.get()))
        return nullptr;
    // The descriptor must be the node that was checked, not one that took its
    // name in between.
    struct stat opened {};
    if (::fstat(fd.get(), &opened) != 0)
        return nullptr;
    if (S_ISCHR(opened.st_mode) && !sameNode(opened, identity))
        return nullptr;

    Attributes attributes{target.node.id.vendorId, target.node.id.productId, target.node.version};
    return std::make_unique<HidrawHandle>(std::move(fd), options.read, options.write,
                                          std::move(target.collection), attributes,
                                          std::move(identity));
}

bool HidrawBackend::isPresent(std::string_view path) {
    ResolvedInterface target;
    if (!resolve(*cache_, sysfsRoot_, devRoot_, path, target))
        return false;
    struct stat st {};
    return ::stat(target.path.nodePath(devRoot_).c_str(), &st) == 0 &&
           nodeMatchesSysfs(st, target.node);
}

}  // namespace keyloom::hid
