#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <string>
#include <vector>

#include "platform/hid/DescriptorSamples.h"
#include "platform/hid/FakeHidrawTree.h"

namespace keyloom::hid {
namespace {

using testing::FakeHidrawTree;
using testing::FakeNode;

std::vector<std::string> enumerate(HidBackend& backend) {
    std::vector<std::string> paths;
    EXPECT_TRUE(backend.enumerate(paths));
    return paths;
}

TEST(HidrawEnumeration, OneInterfacePerCollectionInNodeOrder) {
    FakeHidrawTree tree;
    tree.addNode({10, "0003:0000320F:00005064", samples::vendorCollection(), "3-2:1.0"});
    tree.addNode({2, "0003:00000C45:0000652F", samples::composite(), "1-1:1.2"});
    tree.addNode({0, "0003:00000C45:0000652F", samples::bootKeyboard(), "1-1:1.0"});
    auto backend = tree.backend();
    const std::string dev = tree.devRoot();
    EXPECT_EQ(enumerate(*backend), (std::vector<std::string>{
                                       dev + "/hidraw0#vid_0c45&pid_652f&mi_00",
                                       dev + "/hidraw2#vid_0c45&pid_652f&mi_02&col01",
                                       dev + "/hidraw2#vid_0c45&pid_652f&mi_02&col02",
                                       dev + "/hidraw2#vid_0c45&pid_652f&mi_02&col03",
                                       dev + "/hidraw10#vid_320f&pid_5064&mi_00",
                                   }));
    // Paths are appended to what the caller already has.
    std::vector<std::string> paths = {"other"};
    EXPECT_TRUE(backend->enumerate(paths));
    EXPECT_EQ(paths.size(), 6u);
    EXPECT_EQ(paths[0], "other");
}

TEST(HidrawEnumeration, InterfaceNumberAndVersionFromUsbParents) {
    FakeHidrawTree tree;
    tree.addNode({0, "0003:00000C45:0000652F", samples::vendorCollection(), "1-1.4:1.3"});
    tree.addNode({1, "0003:00000C45:0000652F", samples::vendorCollection(), "1-1:1.1"});
    tree.writeUsbFile(1, 1, "bInterfaceNumber", "0a\n");  // wins over the folder name
    tree.writeUsbFile(1, 2, "bcdDevice", "0105\n");
    // Bluetooth (bus 5) has no USB interface: number 0 whatever the folder.
    tree.addNode({2, "0005:00000C45:0000652F", samples::vendorCollection(), "1-1:1.2"});
    auto backend = tree.backend();
    auto paths = enumerate(*backend);
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_NE(paths[0].find("&mi_03"), std::string::npos);
    EXPECT_NE(paths[1].find("&mi_0a"), std::string::npos);
    EXPECT_NE(paths[2].find("&mi_00"), std::string::npos);
    auto handle = backend->open(paths[1], {});
    ASSERT_TRUE(handle);
    EXPECT_EQ(handle->attributes().vendorId, 0x0C45);
    EXPECT_EQ(handle->attributes().productId, 0x652F);
    EXPECT_EQ(handle->attributes().versionNumber, 0x0105);
}

TEST(HidrawEnumeration, BrokenNodesAreSkipped) {
    FakeHidrawTree tree;
    tree.addNode({0, "0003:00000C45:0000652F", samples::vendorCollection()});
    tree.addNode({1, "garbage", samples::vendorCollection()});
    tree.addNode({2, "0003:00000C45", samples::vendorCollection()});
    tree.addNode({3, "0003:XYZ:0000652F", samples::vendorCollection()});
    FakeNode noDescriptor{4, "0003:00000C45:0000652F", {}};
    noDescriptor.writeDescriptor = false;
    tree.addNode(noDescriptor);
    auto cut = samples::vendorCollection();
    cut.resize(cut.size() - 3);
    tree.addNode({5, "0003:00000C45:0000652F", cut});
    tree.addNode({6, "0003:00000C45:0000652F", {}});  // no collections at all
    tree.addNode({7, "0003:1000C45:0000652F", samples::vendorCollection()});  // id too wide
    tree.addNode({8, "0003:00000C45:0000652F", samples::consumerControl()});
    auto backend = tree.backend();
    auto paths = enumerate(*backend);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_NE(paths[0].find("/hidraw0#"), std::string::npos);
    EXPECT_NE(paths[1].find("/hidraw8#"), std::string::npos);
}

TEST(HidrawEnumeration, RescansSeeADeviceFolderRecreated) {
    FakeHidrawTree tree;
    tree.addNode({0, "0003:00000C45:0000652F", samples::vendorCollection()});
    tree.addNode({1, "0003:00000C45:0000652F", samples::vendorCollection()});
    auto backend = tree.backend();
    EXPECT_EQ(enumerate(*backend).size(), 2u);
    // Same folder name, new folder: described afresh, not from memory.
    tree.recreateDeviceFolder(0, samples::composite());
    auto cut = samples::vendorCollection();
    cut.pop_back();
    tree.recreateDeviceFolder(1, cut);
    auto paths = enumerate(*backend);
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_NE(paths[2].find("/hidraw0#vid_0c45&pid_652f&mi_01&col03"), std::string::npos);
    tree.recreateDeviceFolder(1, samples::vendorCollection());
    EXPECT_EQ(enumerate(*backend).size(), 4u);
}

TEST(HidrawEnumeration, NoHidrawFolderMeansNoInterfaces) {
    FakeHidrawTree tree;
    tree.removeClassFolder();
    auto backend = tree.backend();
    EXPECT_TRUE(enumerate(*backend).empty());
}

TEST(HidrawEnumeration, PathsAreCheckedOnOpenAndPresence) {
    FakeHidrawTree tree;
    tree.addNode({2, "0003:00000C45:0000652F", samples::composite(), "1-1:1.2"});
    tree.addNode({3, "0003:00000C45:0000652F", samples::vendorCollection(), "1-1:1.3"});
    auto backend = tree.backend();
    const std::string dev = tree.devRoot();
    const std::string vendor = dev + "/hidraw2#vid_0c45&pid_652f&mi_02&col03";
    EXPECT_TRUE(backend->ownsPath(vendor));
    EXPECT_FALSE(backend->ownsPath("/elsewhere/hidraw2#vid_0c45&pid_652f&mi_02"));
    EXPECT_FALSE(backend->ownsPath(dev + "/hidraw2"));

    auto handle = backend->open(vendor, {true, true, true, false});
    ASSERT_TRUE(handle);
    EXPECT_EQ(handle->descriptor().caps().usagePage, 0xFF1C);
    EXPECT_EQ(handle->descriptor().caps().inputReportByteLength, 64);
    EXPECT_TRUE(backend->isPresent(vendor));
    // Upper-case hex, as a caller might write it, names the same interface.
    EXPECT_TRUE(backend->isPresent(dev + "/hidraw2#vid_0C45&pid_652F&mi_02&col03"));

    const std::string wrong[] = {
        dev + "/hidraw2#vid_0c45&pid_652f&mi_02&col04",   // no such collection
        dev + "/hidraw2#vid_0c45&pid_652f&mi_02",         // several: &col needed
        dev + "/hidraw3#vid_0c45&pid_652f&mi_03&col01",   // one: no &col
        dev + "/hidraw2#vid_0c45&pid_5064&mi_02&col03",   // other product
        dev + "/hidraw2#vid_0c45&pid_652f&mi_01&col03",   // other interface
        dev + "/hidraw9#vid_0c45&pid_652f&mi_02",         // no such node
        dev + "/hidraw2#vid_0c45&pid_652f&mi_02&col03x",  // trailing rubbish
    };
    for (const auto& path : wrong) {
        EXPECT_FALSE(backend->open(path, {true, true, true, false})) << path;
        EXPECT_FALSE(backend->isPresent(path)) << path;
    }
}

TEST(HidrawEnumeration, NodeVanishingAfterEnumeration) {
    FakeHidrawTree tree;
    tree.addNode({0, "0003:00000C45:0000652F", samples::vendorCollection()});
    tree.addNode({1, "0003:00000C45:0000652F", samples::vendorCollection()});
    auto backend = tree.backend();
    auto paths = enumerate(*backend);
    ASSERT_EQ(paths.size(), 2u);
    tree.removeDevNode(0);
    tree.removeClassFolder();
    EXPECT_FALSE(backend->open(paths[0], {true, true, true, false}));
    EXPECT_FALSE(backend->isPresent(paths[0]));
    EXPECT_FALSE(backend->open(paths[1], {true, true, true, false}));
    EXPECT_TRUE(enumerate(*backend).empty());
}

TEST(HidrawEnumeration, AccessRightsChooseTheOpenFlags) {
    FakeHidrawTree tree;
    tree.addNode({0, "0003:00000C45:0000652F", samples::vendorCollection()});
    auto backend = tree.backend();
    const std::string path = enumerate(*backend).at(0);
    struct Case {
        OpenOptions options;
        int access;
    };
    for (const Case& c :
         {Case{{true, true, true, false}, O_RDWR}, Case{{true, false, true, false}, O_RDONLY},
          Case{{false, true, false, true}, O_WRONLY}, Case{{}, O_PATH}}) {
        ASSERT_TRUE(backend->open(path, c.options));
        int flags = tree.lastOpenFlags();
        EXPECT_EQ(flags & (O_ACCMODE | O_PATH), c.access);
        EXPECT_TRUE(flags & O_CLOEXEC);
        if (c.access != O_PATH) {
            EXPECT_TRUE(flags & O_NONBLOCK);
        }
    }
}

TEST(HidrawEnumeration, CharacterDeviceNodeMustCarryTheSysfsNumber) {
    struct stat null {};
    ASSERT_EQ(::stat("/dev/null", &null), 0);
    const std::string number =
        std::to_string(major(null.st_rdev)) + ":" + std::to_string(minor(null.st_rdev));
    FakeHidrawTree tree;
    tree.addNode({0, "0003:00000C45:0000652F", samples::vendorCollection()});
    tree.addNode({1, "0003:00000C45:0000652F", samples::vendorCollection()});
    tree.useCharacterDevice(0, "/dev/null", number);
    tree.useCharacterDevice(1, "/dev/null", number + "7");  // another device's number
    auto backend = tree.backend();
    auto paths = enumerate(*backend);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_TRUE(backend->isPresent(paths[0]));
    auto handle = backend->open(paths[0], {});
    ASSERT_TRUE(handle);
    EXPECT_TRUE(handle->stillPresent());
    EXPECT_FALSE(backend->isPresent(paths[1]));
    EXPECT_FALSE(backend->open(paths[1], {}));
}

TEST(HidrawEnumeration, StillPresentFollowsTheDevice) {
    FakeHidrawTree tree;
    tree.addNode({0, "0003:00000C45:0000652F", samples::vendorCollection()});
    tree.addNode({1, "0003:00000C45:0000652F", samples::vendorCollection()});
    tree.addNode({2, "0003:00000C45:0000652F", samples::vendorCollection()});
    auto backend = tree.backend();
    auto paths = enumerate(*backend);
    ASSERT_EQ(paths.size(), 3u);
    auto swapped = backend->open(paths[0], {});
    auto removed = backend->open(paths[1], {});
    auto recreated = backend->open(paths[2], {});
    ASSERT_TRUE(swapped && removed && recreated);
    EXPECT_TRUE(swapped->stillPresent());
    EXPECT_TRUE(removed->stillPresent());

    // Same node name, another HID device behind it.
    tree.relinkNode({0, "0003:00000C45:0000652F", samples::vendorCollection()});
    EXPECT_FALSE(swapped->stillPresent());
    EXPECT_TRUE(backend->isPresent(paths[0]));  // the path itself names a present device
    tree.removeDevNode(1);
    EXPECT_FALSE(removed->stillPresent());
    tree.replaceDevNode(2);
    EXPECT_FALSE(recreated->stillPresent());
}

}  // namespace
}  // namespace keyloom::hid
