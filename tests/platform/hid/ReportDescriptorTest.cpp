#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/hid/DescriptorSamples.h"
#include "platform/hid/ReportDescriptor.h"

namespace keyloom::hid {
namespace {

using Bytes = std::vector<std::uint8_t>;

CollectionDescriptor parseSingle(const Bytes& bytes) {
    std::vector<CollectionDescriptor> collections;
    EXPECT_TRUE(parseReportDescriptor(bytes, collections));
    EXPECT_EQ(collections.size(), 1u);
    return collections.empty() ? CollectionDescriptor() : collections[0];
}

std::vector<std::uint16_t> usages(const CollectionDescriptor& c, ReportType type,
                                  std::uint16_t page, const Bytes& report,
                                  std::uint32_t* statusOut = nullptr, std::uint32_t capacity = 16) {
    std::vector<std::uint16_t> list(capacity);
    std::uint32_t length = capacity;
    std::uint32_t s = c.getUsages(type, page, 0, list.data(), length, report);
    if (statusOut)
        *statusOut = s;
    list.resize(length);
    return list;
}

TEST(ReportDescriptor, BootKeyboardCapsAndLengths) {
    auto kb = parseSingle(samples::bootKeyboard());
    const Caps& caps = kb.caps();
    EXPECT_EQ(caps.usagePage, 0x01);
    EXPECT_EQ(caps.usage, 0x06);
    EXPECT_EQ(caps.inputReportByteLength, 9);  // 8 data bytes + the id byte
    EXPECT_EQ(caps.outputReportByteLength, 2);
    EXPECT_EQ(caps.featureReportByteLength, 0);
    EXPECT_EQ(caps.numberLinkCollectionNodes, 1);
    EXPECT_EQ(caps.numberInputButtonCaps, 2);  // the padding byte has no caps
    EXPECT_EQ(caps.numberInputValueCaps, 0);
    EXPECT_EQ(caps.numberInputDataIndices, 8 + 102);
    EXPECT_EQ(caps.numberOutputButtonCaps, 1);
    EXPECT_EQ(caps.numberOutputDataIndices, 5);
    EXPECT_FALSE(kb.usesReportIds());
    EXPECT_TRUE(kb.ownsReportId(ReportType::Input, 0));
    EXPECT_TRUE(kb.ownsReportId(ReportType::Input, 7));

    auto input = kb.buttonCaps(ReportType::Input);
    ASSERT_EQ(input.size(), 2u);
    EXPECT_TRUE(input[0].isRange);
    EXPECT_EQ(input[0].usagePage, 0x07);
    EXPECT_EQ(input[0].usageMin, 0xE0);
    EXPECT_EQ(input[0].usageMax, 0xE7);
    EXPECT_EQ(input[0].bitField, 0x02);
    EXPECT_EQ(input[0].dataIndexMin, 0);
    EXPECT_EQ(input[0].dataIndexMax, 7);
    EXPECT_EQ(input[1].usageMin, 0x00);
    EXPECT_EQ(input[1].usageMax, 0x65);
    EXPECT_EQ(input[1].bitField, 0x00);  // array
    EXPECT_EQ(input[1].dataIndexMin, 8);
    EXPECT_EQ(input[1].dataIndexMax, 109);

    auto leds = kb.buttonCaps(ReportType::Output);
    ASSERT_EQ(leds.size(), 1u);
    EXPECT_EQ(leds[0].usagePage, 0x08);
    EXPECT_EQ(leds[0].usageMin, 1);
    EXPECT_EQ(leds[0].usageMax, 5);
    EXPECT_EQ(kb.maxUsageListLength(ReportType::Input, 0x07), 8u + 6u);
    EXPECT_EQ(kb.maxUsageListLength(ReportType::Input, 0x08), 0u);
    EXPECT_EQ(kb.maxUsageListLength(ReportType::Output, 0), 5u);
}

TEST(ReportDescriptor, BootKeyboardUsagesFromReports) {
    auto kb = parseSingle(samples::bootKeyboard());
    // Left shift + right GUI, keys A and B, an empty slot (0) and a value
    // beyond the logical maximum, which names no key.
    Bytes report = {0x00, 0x82, 0x00, 0x04, 0x05, 0x00, 0xFF, 0x00, 0x00};
    std::uint32_t s = 0;
    EXPECT_EQ(usages(kb, ReportType::Input, 0x07, report, &s),
              (std::vector<std::uint16_t>{0xE1, 0xE7, 0x04, 0x05}));
    EXPECT_EQ(s, status::Success);

    EXPECT_EQ(usages(kb, ReportType::Output, 0x08, {0x00, 0x05}),
              (std::vector<std::uint16_t>{1, 3}));
    // The LED padding bits are not usages.
    EXPECT_EQ(usages(kb, ReportType::Output, 0x08, {0x00, 0xE0}), std::vector<std::uint16_t>{});

    // Too small a list: the first usages, BufferTooSmall, count = written.
    EXPECT_EQ(usages(kb, ReportType::Input, 0x07, report, &s, 3),
              (std::vector<std::uint16_t>{0xE1, 0xE7, 0x04}));
    EXPECT_EQ(s, status::BufferTooSmall);

    usages(kb, ReportType::Input, 0x09, report, &s);
    EXPECT_EQ(s, status::UsageNotFound);
    usages(kb, ReportType::Input, 0x07, {0x00, 0x00, 0x00}, &s);
    EXPECT_EQ(s, status::InvalidReportLength);
    usages(kb, ReportType::Input, 0x07, {}, &s);
    EXPECT_EQ(s, status::InvalidReportLength);
    // Without report ids byte 0 must be 0.
    usages(kb, ReportType::Input, 0x07, {0x01, 0, 0, 4, 0, 0, 0, 0, 0}, &s);
    EXPECT_EQ(s, status::IncompatibleReportId);
}

TEST(ReportDescriptor, ConsumerControlSixteenBitArray) {
    auto cc = parseSingle(samples::consumerControl());
    EXPECT_EQ(cc.caps().usagePage, 0x0C);
    EXPECT_EQ(cc.caps().usage, 0x01);
    EXPECT_EQ(cc.caps().inputReportByteLength, 5);
    EXPECT_EQ(cc.caps().numberInputDataIndices, 0x400);
    EXPECT_TRUE(cc.usesReportIds());
    EXPECT_TRUE(cc.ownsReportId(ReportType::Input, 3));
    EXPECT_FALSE(cc.ownsReportId(ReportType::Input, 4));
    EXPECT_FALSE(cc.ownsReportId(ReportType::Output, 3));
    auto caps = cc.buttonCaps(ReportType::Input);
    ASSERT_EQ(caps.size(), 1u);
    EXPECT_EQ(caps[0].reportId, 3);
    EXPECT_EQ(caps[0].usageMax, 0x3FF);
    EXPECT_EQ(cc.maxUsageListLength(ReportType::Input, 0x0C), 2u);

    std::uint32_t s = 0;
    // Volume up (0xE9) and a 16-bit usage above 0xFF (AL Calculator 0x192).
    EXPECT_EQ(usages(cc, ReportType::Input, 0x0C, {0x03, 0xE9, 0x00, 0x92, 0x01}, &s),
              (std::vector<std::uint16_t>{0xE9, 0x192}));
    EXPECT_EQ(s, status::Success);
    EXPECT_EQ(usages(cc, ReportType::Input, 0x0C, {0x03, 0x00, 0x04, 0x00, 0x00}),
              std::vector<std::uint16_t>{});  // 0x400 is past the logical maximum
    usages(cc, ReportType::Input, 0x0C, {0x02, 0xE9, 0x00, 0x00, 0x00}, &s);
    EXPECT_EQ(s, status::IncompatibleReportId);
    usages(cc, ReportType::Input, 0x0C, {0x03, 0xE9, 0x00}, &s);
    EXPECT_EQ(s, status::InvalidReportLength);
}

TEST(ReportDescriptor, VendorCollectionValueArray) {
    auto vendor = parseSingle(samples::vendorCollection());
    const Caps& caps = vendor.caps();
    EXPECT_EQ(caps.usagePage, 0xFF1C);
    EXPECT_EQ(caps.usage, 0x92);
    EXPECT_EQ(caps.inputReportByteLength, 64);
    EXPECT_EQ(caps.outputReportByteLength, 64);
    EXPECT_EQ(caps.numberInputValueCaps, 1);
    EXPECT_EQ(caps.numberOutputValueCaps, 1);
    EXPECT_EQ(caps.numberInputButtonCaps, 0);
    auto values = vendor.valueCaps(ReportType::Input);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].usagePage, 0xFF1C);
    EXPECT_EQ(values[0].usageMin, 1);
    EXPECT_EQ(values[0].reportId, 4);
    EXPECT_EQ(values[0].bitSize, 8);
    EXPECT_EQ(values[0].reportCount, 63);
    EXPECT_EQ(values[0].logicalMax, 255);  // 0x00FF in two bytes, unsigned
    EXPECT_FALSE(values[0].isRange);

    Bytes report(64, 0);
    report[0] = 4;
    report[1] = 0xAB;
    report[2] = 0xCD;
    std::uint32_t raw = 0;
    EXPECT_EQ(vendor.getUsageValue(ReportType::Input, 0xFF1C, 0, 1, raw, report), status::Success);
    EXPECT_EQ(raw, 0xABu);  // a value array under one usage gives its first element
    EXPECT_EQ(vendor.getUsageValue(ReportType::Input, 0xFF1C, 0, 2, raw, report),
              status::UsageNotFound);
    report[0] = 5;
    EXPECT_EQ(vendor.getUsageValue(ReportType::Input, 0xFF1C, 0, 1, raw, report),
              status::IncompatibleReportId);
    report[0] = 4;
    report.resize(63);
    EXPECT_EQ(vendor.getUsageValue(ReportType::Input, 0xFF1C, 0, 1, raw, report),
              status::InvalidReportLength);
}

TEST(ReportDescriptor, CompositeSplitsIntoTopLevelCollections) {
    std::vector<CollectionDescriptor> collections;
    ASSERT_TRUE(parseReportDescriptor(samples::composite(), collections));
    ASSERT_EQ(collections.size(), 3u);
    const auto& kb = collections[0];
    const auto& cc = collections[1];
    const auto& vendor = collections[2];
    EXPECT_EQ(kb.caps().usage, 0x06);
    EXPECT_EQ(kb.caps().inputReportByteLength, 9);
    EXPECT_EQ(kb.caps().outputReportByteLength, 2);
    EXPECT_EQ(cc.caps().usagePage, 0x0C);
    EXPECT_EQ(cc.caps().inputReportByteLength, 5);
    EXPECT_EQ(cc.caps().outputReportByteLength, 0);
    EXPECT_EQ(vendor.caps().usagePage, 0xFF1C);
    EXPECT_EQ(vendor.caps().inputReportByteLength, 64);
    // Data indices restart in every collection.
    EXPECT_EQ(cc.buttonCaps(ReportType::Input)[0].dataIndexMin, 0);

    for (std::uint8_t id : {1, 3, 4}) {
        EXPECT_EQ(kb.ownsReportId(ReportType::Input, id), id == 1);
        EXPECT_EQ(cc.ownsReportId(ReportType::Input, id), id == 3);
        EXPECT_EQ(vendor.ownsReportId(ReportType::Input, id), id == 4);
    }
    EXPECT_EQ(usages(kb, ReportType::Input, 0x07, {0x01, 0x01, 0x00, 0x2C, 0, 0, 0, 0, 0}),
              (std::vector<std::uint16_t>{0xE0, 0x2C}));
}

TEST(ReportDescriptor, JoystickValuesScalingAndLinkCollections) {
    auto js = parseSingle(samples::joystick());
    const Caps& caps = js.caps();
    EXPECT_EQ(caps.inputReportByteLength, 6);
    EXPECT_EQ(caps.numberLinkCollectionNodes, 2);
    auto values = js.valueCaps(ReportType::Input);
    ASSERT_EQ(values.size(), 3u);  // X and Y apart, then Z
    EXPECT_EQ(values[0].usageMin, 0x30);
    EXPECT_EQ(values[0].reportCount, 1);
    EXPECT_EQ(values[1].usageMin, 0x31);
    EXPECT_EQ(values[0].logicalMin, -127);
    EXPECT_EQ(values[0].logicalMax, 127);
    EXPECT_EQ(values[0].physicalMax, 255);
    EXPECT_TRUE(values[2].hasNull);
    EXPECT_EQ(values[2].logicalMax, 4095);
    auto buttons = js.buttonCaps(ReportType::Input);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0].linkCollection, 1);
    EXPECT_EQ(buttons[0].linkUsagePage, 0x01);
    EXPECT_EQ(buttons[0].linkUsage, 0x01);
    EXPECT_EQ(values[0].linkCollection, 0);

    // X = -127, Y = 0, Z = 1000, buttons 1 and 4 (padding bits set too).
    Bytes report = {0x00, 0x81, 0x00, 0xE8, 0x03, 0xF9};
    std::uint32_t raw = 0;
    std::int32_t scaled = 0;
    EXPECT_EQ(js.getUsageValue(ReportType::Input, 0x01, 0, 0x30, raw, report), status::Success);
    EXPECT_EQ(raw, 0x81u);  // raw values are not sign-extended
    EXPECT_EQ(js.getScaledUsageValue(ReportType::Input, 0x01, 0, 0x30, scaled, report),
              status::Success);
    EXPECT_EQ(scaled, 0);
    EXPECT_EQ(js.getScaledUsageValue(ReportType::Input, 0x01, 0, 0x31, scaled, report),
              status::Success);
    EXPECT_EQ(scaled, 127);  // 127 * 255 / 254, rounded down
    // Z has no physical range: the logical value is returned.
    EXPECT_EQ(js.getScaledUsageValue(ReportType::Input, 0x01, 0, 0x32, scaled, report),
              status::Success);
    EXPECT_EQ(scaled, 1000);
    report[3] = 0xFF;
    report[4] = 0xFF;  // outside 0..4095: the null state
    EXPECT_EQ(js.getScaledUsageValue(ReportType::Input, 0x01, 0, 0x32, scaled, report),
              status::Null);
    EXPECT_EQ(usages(js, ReportType::Input, 0x09, report), (std::vector<std::uint16_t>{1, 4}));
    std::vector<std::uint16_t> list(4);
    std::uint32_t length = 4;
    EXPECT_EQ(js.getUsages(ReportType::Input, 0x09, 1, list.data(), length, report),
              status::Success);
    EXPECT_EQ(length, 2u);
    length = 4;
    EXPECT_EQ(js.getUsages(ReportType::Input, 0x09, 5, list.data(), length, report),
              status::UsageNotFound);
}

TEST(ReportDescriptor, ScalingWithoutUsableRange) {
    // A value whose logical range is empty cannot be scaled.
    auto d = parseSingle({0x05, 0x01, 0x09, 0x04, 0xA1, 0x01, 0x09, 0x30, 0x15, 0x05, 0x25, 0x05,
                          0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0});
    std::int32_t scaled = 1;
    EXPECT_EQ(d.getScaledUsageValue(ReportType::Input, 0x01, 0, 0x30, scaled, Bytes{0x00, 0x05}),
              status::BadLogPhyValues);
    // A value outside its range without a null state is out of range.
    auto e = parseSingle({0x05, 0x01, 0x09, 0x04, 0xA1, 0x01, 0x09, 0x30, 0x15, 0x00, 0x25, 0x0A,
                          0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0});
    EXPECT_EQ(e.getScaledUsageValue(ReportType::Input, 0x01, 0, 0x30, scaled, Bytes{0x00, 0x0B}),
              status::ValueOutOfRange);
}

TEST(ReportDescriptor, FourByteRangesAreScaledWithoutOverflow) {
    // Logical -2^31..2^31-1 onto physical 0..2^31-1.
    auto d = parseSingle({0x05, 0x01, 0x09, 0x04, 0xA1, 0x01, 0x09, 0x30, 0x17, 0x00, 0x00, 0x00,
                          0x80, 0x27, 0xFF, 0xFF, 0xFF, 0x7F, 0x37, 0x00, 0x00, 0x00, 0x00, 0x47,
                          0xFF, 0xFF, 0xFF, 0x7F, 0x75, 0x20, 0x95, 0x01, 0x81, 0x02, 0xC0});
    std::int32_t scaled = 0;
    EXPECT_EQ(d.getScaledUsageValue(ReportType::Input, 0x01, 0, 0x30, scaled,
                                    Bytes{0x00, 0xFF, 0xFF, 0xFF, 0x7F}),
              status::Success);
    EXPECT_EQ(scaled, 0x7FFFFFFF);
    EXPECT_EQ(d.getScaledUsageValue(ReportType::Input, 0x01, 0, 0x30, scaled,
                                    Bytes{0x00, 0x00, 0x00, 0x00, 0x80}),
              status::Success);
    EXPECT_EQ(scaled, 0);
}

TEST(ReportDescriptor, GlobalStateUsagesAndRanges) {
    // Push/pop restores the report size; an extended usage carries its page;
    // individual usages give one caps entry each, the last taking the rest.
    Bytes d = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x02, 0x75, 0x08, 0xA4,  // push (size 8)
               0x75, 0x01, 0x95, 0x03,                                            // size 1, count 3
               0x05, 0x09, 0x09, 0x01, 0x09, 0x02,                                // buttons 1 and 2
               0x15, 0x00, 0x25, 0x01, 0x81, 0x02,
               0xB4,                                      // pop: size 8, count 0 again
               0x95, 0x01, 0x0B, 0xE9, 0x00, 0x0C, 0x00,  // usage 0x000C:00E9
               0x15, 0x00, 0x26, 0xFF, 0x00, 0x81, 0x02, 0xC0};
    auto c = parseSingle(d);
    EXPECT_EQ(c.caps().inputReportByteLength, 1 + 2);  // 3 bits (padded) + 8 bits
    auto buttons = c.buttonCaps(ReportType::Input);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_FALSE(buttons[0].isRange);
    EXPECT_EQ(buttons[1].usageMin, 2);
    auto values = c.valueCaps(ReportType::Input);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].usagePage, 0x0C);
    EXPECT_EQ(values[0].usageMin, 0xE9);
    EXPECT_EQ(values[0].bitSize, 8);
    // Bit 2 also counts as button 2: the last usage repeats.
    EXPECT_EQ(usages(c, ReportType::Input, 0x09, {0x02, 0x05, 0x00}),
              (std::vector<std::uint16_t>{1, 2}));
    EXPECT_EQ(c.maxUsageListLength(ReportType::Input, 0x09), 3u);
    // The value starts at data bit 3, straddling two bytes.
    std::uint32_t raw = 0;
    EXPECT_EQ(c.getUsageValue(ReportType::Input, 0x0C, 0, 0xE9, raw, Bytes{0x02, 0xF0, 0x03}),
              status::Success);
    EXPECT_EQ(raw, 0x7Eu);
}

TEST(ReportDescriptor, FeatureReportsAndValueRanges) {
    // Feature report 7: a range of four 4-bit values (usages 0x10-0x13).
    auto c = parseSingle({0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x07, 0x19, 0x10, 0x29,
                          0x13, 0x15, 0x00, 0x25, 0x0F, 0x75, 0x04, 0x95, 0x04, 0xB1, 0x02, 0xC0});
    EXPECT_EQ(c.caps().featureReportByteLength, 3);
    EXPECT_EQ(c.caps().inputReportByteLength, 0);
    EXPECT_EQ(c.caps().numberFeatureDataIndices, 4);
    auto values = c.valueCaps(ReportType::Feature);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_TRUE(values[0].isRange);
    EXPECT_EQ(values[0].reportCount, 4);
    Bytes report = {0x07, 0x21, 0x43};
    std::uint32_t raw = 0;
    for (std::uint16_t usage = 0x10; usage <= 0x13; ++usage) {
        EXPECT_EQ(c.getUsageValue(ReportType::Feature, 0xFF00, 0, usage, raw, report),
                  status::Success);
        EXPECT_EQ(raw, usage - 0x10u + 1u);
    }
    EXPECT_EQ(c.getUsageValue(ReportType::Input, 0xFF00, 0, 0x10, raw, report),
              status::UsageNotFound);
}

TEST(ReportDescriptor, ArraySlotsMapThroughSeveralUsages) {
    // An array over logical 0..5 with the usages 0x10, 0x20-0x23 and 0x30:
    // index 0 is 0x10 but a 0 in a slot always means an empty slot.
    auto c =
        parseSingle({0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x09, 0x10, 0x19, 0x20, 0x29, 0x23,
                     0x09, 0x30, 0x15, 0x00, 0x25, 0x05, 0x75, 0x04, 0x95, 0x04, 0x81, 0x00, 0xC0});
    auto caps = c.buttonCaps(ReportType::Input);
    ASSERT_EQ(caps.size(), 3u);
    EXPECT_EQ(caps[1].dataIndexMin, 1);
    EXPECT_EQ(caps[1].dataIndexMax, 4);
    EXPECT_EQ(caps[2].dataIndexMin, 5);
    EXPECT_EQ(c.maxUsageListLength(ReportType::Input, 0xFF00), 4u);
    // Slots: 1 -> 0x20, 5 -> 0x30, 0 -> empty, 7 -> beyond the logical maximum.
    EXPECT_EQ(usages(c, ReportType::Input, 0xFF00, {0x00, 0x51, 0x70}),
              (std::vector<std::uint16_t>{0x20, 0x30}));
}

TEST(ReportDescriptor, EmptyDescriptorObject) {
    CollectionDescriptor none;
    EXPECT_EQ(none.caps().inputReportByteLength, 0);
    EXPECT_TRUE(none.buttonCaps(ReportType::Input).empty());
    EXPECT_FALSE(none.usesReportIds());
    EXPECT_FALSE(none.ownsReportId(ReportType::Input, 0));
    std::uint32_t raw = 0, length = 0;
    EXPECT_EQ(none.getUsages(ReportType::Input, 1, 0, nullptr, length, Bytes{0}),
              status::InvalidPreparsedData);
    EXPECT_EQ(none.getUsageValue(ReportType::Input, 1, 0, 1, raw, Bytes{0}),
              status::InvalidPreparsedData);
}

}  // namespace
}  // namespace keyloom::hid
