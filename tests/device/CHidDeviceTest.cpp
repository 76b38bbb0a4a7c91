// Enumeration, open, transfers and report decoding of one HID interface.

#include <array>
#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "FakeHid.h"
#include "TestDescriptors.h"
#include "device/CHidDevice.h"
#include "device/PathNumbers.h"
#include "platform/text/Utf16.h"

namespace keyloom::testing {
namespace {

class HidDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { platform.addBackend(backend); }

    std::shared_ptr<FakeInterface> addVendor(const std::string& path) {
        return backend->add(path, kVendorDescriptor, 0x0C45, 0x652F);
    }

    std::shared_ptr<FakeBackend> backend = std::make_shared<FakeBackend>();
    hid::HidPlatform platform;
};

TEST_F(HidDeviceTest, EnumerationOfAnEmptyMachineSucceedsWithNoPaths) {
    CHidDevice device(platform);
    EXPECT_TRUE(device.EnumerateInterfaces());
    EXPECT_EQ(device.pathCount(), 0);
    EXPECT_FALSE(device.NextPath());
    EXPECT_FALSE(device.FirstPath());
}

TEST_F(HidDeviceTest, PathListGrowsByDoublingAndKeepsThePlatformsOrder) {
    for (int i = 0; i < 20; ++i)
        addVendor("fake:n" + std::to_string(i));
    CHidDevice device(platform);
    ASSERT_TRUE(device.EnumerateInterfaces());
    EXPECT_EQ(device.pathCount(), 20);
    EXPECT_EQ(device.pathCapacity(), 32u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(device.NextPath(), "fake:n" + std::to_string(i));
    EXPECT_FALSE(device.NextPath());
    EXPECT_EQ(device.FirstPath(), "fake:n0");
    EXPECT_EQ(device.NextPath(), "fake:n1");
    device.ReleasePaths();
    EXPECT_FALSE(device.NextPath());
}

TEST_F(HidDeviceTest, EnumerationFailureLeavesAnEmptyList) {
    addVendor("fake:a");
    CHidDevice device(platform);
    ASSERT_TRUE(device.EnumerateInterfaces());
    backend->failEnumeration = true;
    EXPECT_FALSE(device.EnumerateInterfaces());
    EXPECT_EQ(device.pathCount(), 0);
    EXPECT_FALSE(device.NextPath());
}

TEST(PathNumbers, InterfaceAndCollectionNumbersAreHexAfterTheirMarkers) {
    EXPECT_EQ(hexNumberAfter("/dev/hidraw3#vid_0c45&pid_652f&MI_01&Col02", "&mi_"), 1u);
    EXPECT_EQ(hexNumberAfter("/dev/hidraw3#vid_0c45&pid_652f&MI_01&Col02", "&col"), 2u);
    EXPECT_EQ(hexNumberAfter("/dev/hidraw3#vid_0c45&pid_652f&mi_0a&col1F", "&col"), 0x1Fu);
    EXPECT_EQ(hexNumberAfter("/dev/hidraw3", "&mi_"), 0u);
    EXPECT_EQ(hexNumberAfter("x&mi_", "&mi_"), 0u);
    EXPECT_EQ(hexNumberAfter("x&mi_zz", "&mi_"), 0u);
    EXPECT_EQ(hexNumberAfter("VID_0x320F", "vid_"), 0x320Fu);
    EXPECT_EQ(hexNumberAfter("vid_123456789", "vid_"), 0x23456789u);  // wraps like %x
    EXPECT_EQ(text::utf16Length("abc"), 3u);
    EXPECT_EQ(text::utf16Length("\xC3\xA9\xF0\x9F\x98\x80"), 3u);  // é and an emoji (pair)
}

TEST_F(HidDeviceTest, OpenLearnsCapabilitiesTablesAndPathNumbers) {
    addVendor("fake:n0#vid_0c45&pid_652f&mi_02&col0a");
    CHidDevice device(platform);
    ASSERT_TRUE(device.Open("fake:n0#vid_0c45&pid_652f&mi_02&col0a", true, true, true, false));
    EXPECT_TRUE(device.IsOpen());
    EXPECT_EQ(device.capabilities().usagePage, 0xFF1C);
    EXPECT_EQ(device.capabilities().usage, 0x92);
    EXPECT_EQ(device.attributes().vendorId, 0x0C45);
    EXPECT_EQ(device.attributes().productId, 0x652F);
    EXPECT_EQ(device.reportBuffer(hid::ReportType::Input).size(), 64u);
    EXPECT_EQ(device.reportBuffer(hid::ReportType::Output).size(), 64u);
    EXPECT_TRUE(device.reportBuffer(hid::ReportType::Feature).empty());
    EXPECT_EQ(device.interfaceNumber(), 2u);
    EXPECT_EQ(device.collectionNumber(), 10u);
    EXPECT_TRUE(device.options().write);
    EXPECT_FALSE(device.options().exclusive);

    EXPECT_TRUE(device.Close());
    EXPECT_FALSE(device.IsOpen());
    EXPECT_FALSE(device.Close());
    EXPECT_TRUE(device.reportBuffer(hid::ReportType::Input).empty());
    EXPECT_EQ(device.interfaceNumber(), 0u);
}

TEST_F(HidDeviceTest, FailedOpenLeavesTheDeviceClosed) {
    auto first = addVendor("fake:a");
    auto refused = addVendor("fake:b");
    refused->refuseOpen = true;
    CHidDevice device(platform);
    ASSERT_TRUE(device.Open("fake:a", true, true, true, false));
    EXPECT_FALSE(device.Open("fake:b", true, true, true, false));
    EXPECT_FALSE(device.IsOpen());
    EXPECT_FALSE(device.Open("fake:missing", true, false, true, false));
    EXPECT_FALSE(device.IsOpen());
}

TEST_F(HidDeviceTest, PathsLongerThan259UnitsAreRefused) {
    const std::string fits = "fake:" + std::string(254, 'x');
    const std::string tooLong = fits + "y";
    auto a = addVendor(fits);
    auto b = addVendor(tooLong);
    CHidDevice device(platform);
    EXPECT_TRUE(device.Open(fits, true, true, true, false));
    EXPECT_FALSE(device.Open(tooLong, true, true, true, false));
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(b->openCount(), 0);
}

TEST_F(HidDeviceTest, TransfersOnAClosedDeviceFailWithNoBytes) {
    CHidDevice device(platform);
    std::array<std::uint8_t, 64> buffer{};
    std::uint32_t bytes = 99;
    EXPECT_FALSE(device.Read(buffer, bytes, 10));
    EXPECT_EQ(bytes, 0u);
    bytes = 99;
    EXPECT_FALSE(device.Write(buffer, bytes, 10));
    EXPECT_EQ(bytes, 0u);
}

TEST_F(HidDeviceTest, ReadOfASilentInterfaceEndsAtTheLimitWithNoBytes) {
    auto iface = addVendor("fake:a");
    iface->instantTimeouts = false;
    CHidDevice device(platform);
    ASSERT_TRUE(device.Open("fake:a", true, false, true, false));
    std::array<std::uint8_t, 64> buffer{};
    std::uint32_t bytes = 99;
    EXPECT_FALSE(device.Read(buffer, bytes, 20));
    EXPECT_EQ(bytes, 0u);
    EXPECT_FALSE(device.readPending());
    iface->pushInput(Bytes{4, 1, 2});
    EXPECT_TRUE(device.Read(buffer, bytes, 20));
    EXPECT_EQ(bytes, 3u);
    EXPECT_TRUE(device.IsOpen());
}

// A transfer waiting without limit must return as soon as another thread
// closes or reopens the device, and must not touch the old handle afterwards.
TEST_F(HidDeviceTest, CloseOrOpenFromAnotherThreadEndsAWaitingTransfer) {
    auto iface = addVendor("fake:a");
    addVendor("fake:b");
    CHidDevice device(platform);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(device.Open("fake:a", true, true, true, false));
        std::atomic<int> outcome{-1};
        std::thread reader([&] {
            std::array<std::uint8_t, 64> buffer{};
            std::uint32_t bytes = 0;
            outcome = device.Read(buffer, bytes, hid::kInfinite) ? 1 : 0;
        });
        while (!device.readPending())
            std::this_thread::yield();
        if (round == 0)
            EXPECT_TRUE(device.Close());
        else
            EXPECT_TRUE(device.Open("fake:b", true, true, true, false));
        reader.join();
        EXPECT_EQ(outcome, 0);
        EXPECT_FALSE(device.readPending());
    }
    // The new device is not cut short by a cancel left over from the old one.
    iface->pushInput(Bytes{4});
    ASSERT_TRUE(device.Open("fake:a", true, true, true, false));
    iface->pushInput(Bytes{4, 9});
    std::array<std::uint8_t, 64> buffer{};
    std::uint32_t bytes = 0;
    EXPECT_TRUE(device.Read(buffer, bytes, hid::kInfinite));
    EXPECT_EQ(bytes, 2u);
}

TEST_F(HidDeviceTest, CloseEndsAWaitingReadAndWriteTogether) {
    auto iface = addVendor("fake:a");
    iface->blockWrites = true;
    CHidDevice device(platform);
    ASSERT_TRUE(device.Open("fake:a", true, true, true, false));
    std::atomic<int> results{0};
    std::thread reader([&] {
        std::array<std::uint8_t, 64> buffer{};
        std::uint32_t bytes = 0;
        if (!device.Read(buffer, bytes, hid::kInfinite))
            ++results;
    });
    std::thread writer([&] {
        std::array<std::uint8_t, 64> buffer{};
        std::uint32_t bytes = 0;
        if (!device.Write(buffer, bytes, hid::kInfinite))
            ++results;
    });
    while (!device.readPending() || !device.writePending())
        std::this_thread::yield();
    EXPECT_TRUE(device.Close());
    reader.join();
    writer.join();
    EXPECT_EQ(results, 2);
}

TEST_F(HidDeviceTest, PresenceUsesTheOpenHandleElseThePath) {
    auto iface = addVendor("fake:a");
    CHidDevice device(platform);
    EXPECT_FALSE(device.IsPresent());  // nothing opened yet
    ASSERT_TRUE(device.Open("fake:a", true, true, true, false));
    EXPECT_TRUE(device.IsPresent());
    iface->present = false;
    EXPECT_FALSE(device.IsPresent());
    iface->present = true;
    device.Close();
    EXPECT_TRUE(device.IsPresent());
    backend->remove("fake:a");
    EXPECT_FALSE(device.IsPresent());
}

TEST_F(HidDeviceTest, ReaderThreadDeliversReportsThenReportsTheFailure) {
    auto iface = addVendor("fake:a");
    CHidDevice device(platform);
    ASSERT_TRUE(device.Open("fake:a", true, false, true, false));
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::uint32_t> counts;
    ASSERT_TRUE(device.StartReader([&](const std::uint8_t* buffer, std::uint32_t bytes) {
        std::lock_guard lock(mutex);
        counts.push_back(bytes == CHidDevice::kReaderFailed ? bytes : buffer[1]);
        changed.notify_all();
    }));
    iface->pushInput(Bytes{4, 7});
    iface->pushInput(Bytes{4, 8});
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return counts.size() >= 2; });
    }
    iface->present = false;
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return counts.size() >= 3; });
    EXPECT_EQ(counts, (std::vector<std::uint32_t>{7, 8, CHidDevice::kReaderFailed}));
}

TEST_F(HidDeviceTest, DestroyingTheDeviceStopsItsReader) {
    addVendor("fake:a");
    std::atomic<int> calls{0};
    {
        CHidDevice device(platform);
        ASSERT_TRUE(device.Open("fake:a", true, false, true, false));
        ASSERT_TRUE(device.StartReader([&](const std::uint8_t*, std::uint32_t) { ++calls; }));
        ASSERT_TRUE(device.StartReader([&](const std::uint8_t*, std::uint32_t) { ++calls; }));
    }
    EXPECT_EQ(calls, 0);
}

class FieldTableTest : public HidDeviceTest {
protected:
    CHidDevice& open(const Bytes& descriptor) {
        const std::string path = "fake:t" + std::to_string(++opened);
        backend->add(path, descriptor, 0x0C45, 0x652F);
        EXPECT_TRUE(device.Open(path, true, false, true, false));
        return device;
    }
    CHidDevice device{platform};
    int opened = 0;
};

TEST_F(FieldTableTest, ButtonFieldsComeFirstThenOneValueFieldPerUsage) {
    open(kValueRangeDescriptor);
    auto fields = device.fields(hid::ReportType::Input);
    ASSERT_EQ(fields.size(), 4u);
    const std::uint16_t usages[] = {0x30, 0x31, 0x32, 0x38};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(fields[i].kind, HidFieldKind::Value);
        EXPECT_EQ(fields[i].usage, usages[i]);
        EXPECT_EQ(fields[i].reportId, 2);
        EXPECT_EQ(fields[i].lastStatus, hid::status::Success);
    }

    open(kKeyboardDescriptor);
    fields = device.fields(hid::ReportType::Input);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0].kind, HidFieldKind::Button);
    EXPECT_EQ(fields[0].usageMin, 0xE0);
    EXPECT_EQ(fields[0].usageMax, 0xE7);
    EXPECT_EQ(fields[1].usageMin, 0x00);
    EXPECT_EQ(fields[1].usageMax, 0xFF);
    EXPECT_GE(fields[1].usageCapacity, 4u);
    EXPECT_EQ(fields[1].usages.size(), fields[1].usageCapacity);
    EXPECT_TRUE(device.fields(hid::ReportType::Output).empty());
}

TEST_F(FieldTableTest, ButtonFieldKeepsItsActiveUsagesPackedThenZero) {
    open(kKeyboardDescriptor);
    auto fields = device.fields(hid::ReportType::Input);
    const std::uint8_t report[] = {1, 0x00, 0x04, 0x00, 0x05, 0x00};
    ASSERT_TRUE(
        CHidDevice::ParseReport(report, hid::ReportType::Input, fields, device.descriptor()));
    EXPECT_TRUE(fields[1].updated);
    EXPECT_EQ(fields[1].usages[0], 0x04);
    EXPECT_EQ(fields[1].usages[1], 0x05);
    EXPECT_EQ(fields[1].usages[2], 0);
    // No modifier is down: the modifier field holds none of the key usages.
    EXPECT_TRUE(fields[0].updated);
    EXPECT_EQ(fields[0].usages[0], 0);

    // Releasing everything clears the list.
    const std::uint8_t released[] = {1, 0, 0, 0, 0, 0};
    ASSERT_TRUE(
        CHidDevice::ParseReport(released, hid::ReportType::Input, fields, device.descriptor()));
    EXPECT_EQ(fields[1].usages[0], 0);
}

TEST_F(FieldTableTest, ConsumerCodeIsTheFirstUsageOfTheFirstField) {
    open(kConsumerDescriptor);
    auto fields = device.fields(hid::ReportType::Input);
    ASSERT_FALSE(fields.empty());
    const std::uint8_t report[] = {3, 0x11, 0x18};
    ASSERT_TRUE(
        CHidDevice::ParseReport(report, hid::ReportType::Input, fields, device.descriptor()));
    EXPECT_EQ(fields[0].usages[0], 0x1811);
}

TEST_F(FieldTableTest, ReportOfAnotherIdChangesNothing) {
    open(kValueRangeDescriptor);
    auto fields = device.fields(hid::ReportType::Input);
    const std::uint8_t report[] = {9, 1, 2, 3, 4};
    EXPECT_TRUE(
        CHidDevice::ParseReport(report, hid::ReportType::Input, fields, device.descriptor()));
    for (const auto& field : fields) {
        EXPECT_FALSE(field.updated);
        EXPECT_EQ(field.rawValue, 0u);
    }
    EXPECT_FALSE(CHidDevice::ParseReport({}, hid::ReportType::Input, fields, device.descriptor()));
}

TEST_F(FieldTableTest, ValueFieldsGetRawAndScaledValues) {
    open(kValueRangeDescriptor);
    auto fields = device.fields(hid::ReportType::Input);
    const std::uint8_t report[] = {2, 0x05, 0xFE, 0x7F, 0x81};
    ASSERT_TRUE(
        CHidDevice::ParseReport(report, hid::ReportType::Input, fields, device.descriptor()));
    EXPECT_EQ(fields[0].rawValue, 0x05u);
    EXPECT_EQ(fields[1].rawValue, 0xFEu);
    EXPECT_EQ(fields[3].rawValue, 0x81u);
    for (const auto& field : fields)
        EXPECT_TRUE(field.updated);
}

TEST_F(FieldTableTest, ShortReportFailsOnTheFirstValueItCannotRead) {
    open(kValueRangeDescriptor);
    auto fields = device.fields(hid::ReportType::Input);
    const std::uint8_t report[] = {2};
    EXPECT_FALSE(
        CHidDevice::ParseReport(report, hid::ReportType::Input, fields, device.descriptor()));
    EXPECT_NE(fields[0].lastStatus, hid::status::Success);
    EXPECT_FALSE(fields[0].updated);
}

}  // namespace
}  // namespace keyloom::testing
