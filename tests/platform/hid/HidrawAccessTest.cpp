// Which hidraw nodes belong to the wanted devices, and what their device
// nodes let this process do.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/hid/DescriptorSamples.h"
#include "platform/hid/FakeHidrawTree.h"
#include "platform/hid/HidrawAccess.h"

namespace keyloom::hid {
namespace {

using testing::FakeHidrawTree;

bool onlyFirstKeyboard(std::uint16_t vendor, std::uint16_t product) {
    return vendor == 0x0C45 && product == 0x652F;
}

TEST(HidrawAccess, ListsTheWantedNodesWithTheirModeAndAccess) {
    FakeHidrawTree tree;
    tree.addNode({3, "0003:00000C45:0000652F", samples::vendorCollection(), "1-1:1.1"});
    tree.addNode({1, "0003:0000046D:0000C077", samples::bootKeyboard(), "1-2:1.0"});
    tree.addNode({5, "0003:00000C45:0000652F", samples::bootKeyboard(), "1-1:1.0"});
    tree.removeDevNode(5);
    ASSERT_EQ(::chmod((tree.devRoot() + "/hidraw3").c_str(), 0640), 0);

    const HidrawAccessScan scan =
        scanHidrawAccess(tree.sysfsRoot(), tree.devRoot(), onlyFirstKeyboard);
    EXPECT_EQ(scan.listing, NodeListing::Listed);
    ASSERT_EQ(scan.nodes.size(), 2u);
    EXPECT_EQ(scan.nodes[0].devPath, tree.devRoot() + "/hidraw3");
    EXPECT_TRUE(scan.nodes[0].present);
    EXPECT_EQ(scan.nodes[0].interfaceNumber, 1);
    EXPECT_EQ(scan.nodes[0].owner, ::geteuid());
    EXPECT_EQ(modeText(scan.nodes[0].mode), "-rw-r-----");
    EXPECT_TRUE(scan.nodes[0].usable());
    // A node sysfs lists but /dev lacks (udev has not made it yet).
    EXPECT_FALSE(scan.nodes[1].present);
    EXPECT_FALSE(scan.nodes[1].usable());
}

TEST(HidrawAccess, ANodeWithoutRightsIsNotUsable) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may open any node";
    FakeHidrawTree tree;
    tree.addNode({0, "0003:00000C45:0000652F", samples::vendorCollection(), "1-1:1.1"});
    ASSERT_EQ(::chmod((tree.devRoot() + "/hidraw0").c_str(), 0400), 0);
    const auto scan = scanHidrawAccess(tree.sysfsRoot(), tree.devRoot(), onlyFirstKeyboard);
    ASSERT_EQ(scan.nodes.size(), 1u);
    EXPECT_TRUE(scan.nodes[0].readable);
    EXPECT_FALSE(scan.nodes[0].writable);
    EXPECT_FALSE(scan.nodes[0].usable());
}

TEST(HidrawAccess, NoHidrawFolderIsReported) {
    FakeHidrawTree tree;
    tree.removeClassFolder();
    EXPECT_EQ(scanHidrawAccess(tree.sysfsRoot(), tree.devRoot(), onlyFirstKeyboard).listing,
              NodeListing::NoHidraw);
}

TEST(HidrawAccess, ModeTextReadsLikeLs) {
    EXPECT_EQ(modeText(S_IFCHR | 0660), "crw-rw----");
    EXPECT_EQ(modeText(S_IFCHR | 0600), "crw-------");
    EXPECT_EQ(modeText(S_IFREG | 0755), "-rwxr-xr-x");
}

}  // namespace
}  // namespace keyloom::hid
