// Malformed and hostile descriptors: refused or their bad part skipped, never
// a read outside the buffer.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/hid/DescriptorSamples.h"
#include "platform/hid/ReportDescriptor.h"

namespace keyloom::hid {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kHeader = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};

Bytes wrap(const Bytes& body) {
    Bytes d = kHeader;
    d.insert(d.end(), body.begin(), body.end());
    d.push_back(0xC0);
    return d;
}

bool parses(const Bytes& bytes, std::vector<CollectionDescriptor>& out) {
    return parseReportDescriptor(bytes, out);
}

TEST(DescriptorHostile, StructuralFaultsAreRefused) {
    std::vector<CollectionDescriptor> out;
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"item data cut off", {0x05, 0x01, 0x26, 0xFF}},
        {"long item cut off", {0xFE, 0x05, 0x10, 0x01}},
        {"collection never ended", {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x75, 0x08}},
        {"end without collection", {0xC0}},
        {"pop without push", wrap({0xB4})},
        {"report id 0", wrap({0x85, 0x00})},
        {"report id wider than a byte", wrap({0x86, 0x00, 0x01})},
        {"count overflowing 32 bits", wrap({0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF,
                                            0xFF, 0x09, 0x01, 0x81, 0x02})},
        {"report longer than 4096 bytes",
         wrap({0x75, 0x08, 0x96, 0x01, 0x10, 0x09, 0x01, 0x81, 0x02})},
        {"reports adding up past the bound",
         wrap({0x75, 0x08, 0x96, 0x00, 0x08, 0x09, 0x01, 0x81, 0x02, 0x81, 0x02, 0x81, 0x02})},
    };
    for (const auto& c : cases) {
        out.resize(2);
        EXPECT_FALSE(parses(c.bytes, out)) << c.what;
        EXPECT_TRUE(out.empty()) << c.what;
    }
    // The truncated tail of an otherwise good descriptor spoils all of it.
    Bytes cut = samples::composite();
    cut.push_back(0x26);
    EXPECT_FALSE(parses(cut, out));
}

TEST(DescriptorHostile, NestingAndPushDepthAreBounded) {
    std::vector<CollectionDescriptor> out;
    auto nested = [](int depth) {
        Bytes d;
        for (int i = 0; i < depth; ++i)
            d.insert(d.end(), {0x09, 0x01, 0xA1, 0x01});
        for (int i = 0; i < depth; ++i)
            d.push_back(0xC0);
        return d;
    };
    EXPECT_TRUE(parses(nested(64), out));
    EXPECT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].caps().numberLinkCollectionNodes, 64);
    EXPECT_FALSE(parses(nested(65), out));
    EXPECT_FALSE(parses(nested(100000), out));

    Bytes pushes = kHeader;
    pushes.insert(pushes.end(), 33, 0xA4);
    pushes.push_back(0xC0);
    EXPECT_FALSE(parses(pushes, out));
    Bytes balanced = kHeader;
    balanced.insert(balanced.end(), 32, 0xA4);
    balanced.insert(balanced.end(), 32, 0xB4);
    balanced.push_back(0xC0);
    EXPECT_TRUE(parses(balanced, out));
}

TEST(DescriptorHostile, OddButHarmlessPartsAreSkipped) {
    std::vector<CollectionDescriptor> out;
    // Nothing at all, and only a non-application collection: no interfaces.
    EXPECT_TRUE(parses({}, out));
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(parses({0x09, 0x01, 0xA1, 0x00, 0x09, 0x01, 0xA1, 0x01, 0xC0, 0xC0}, out));
    EXPECT_TRUE(out.empty());

    // A long item in the middle is stepped over.
    Bytes d = samples::vendorCollection();
    d.insert(d.begin() + 9, {0xFE, 0x02, 0x10, 0xAA, 0xBB});
    ASSERT_TRUE(parses(d, out));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].caps().inputReportByteLength, 64);

    // A reversed usage range is dropped; the field keeps its place and
    // size, under usage 0.
    ASSERT_TRUE(parses(
        wrap({0x19, 0x05, 0x29, 0x01, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02}),
        out));
    ASSERT_EQ(out.size(), 1u);
    auto caps = out[0].buttonCaps(ReportType::Input);
    ASSERT_EQ(caps.size(), 1u);
    EXPECT_EQ(caps[0].usageMin, 0);
    EXPECT_EQ(out[0].caps().inputReportByteLength, 2);

    // A report of exactly 4096 data bytes is still accepted.
    ASSERT_TRUE(parses(wrap({0x75, 0x08, 0x96, 0x00, 0x10, 0x09, 0x01, 0x81, 0x02}), out));
    EXPECT_EQ(out[0].caps().inputReportByteLength, 4097);

    // Zero-sized main items take no room and give no caps.
    ASSERT_TRUE(parses(wrap({0x75, 0x00, 0x95, 0x10, 0x09, 0x01, 0x81, 0x02}), out));
    EXPECT_EQ(out[0].caps().inputReportByteLength, 0);
    EXPECT_EQ(out[0].caps().numberInputValueCaps, 0);
}

TEST(DescriptorHostile, ArrayWithHugeRangeDecodesWithinBounds) {
    // A one-bit array over 65535 usages (as many data indices as there can
    // be) with a negative logical minimum; one usage more is refused.
    std::vector<CollectionDescriptor> out;
    EXPECT_FALSE(
        parses(wrap({0x19, 0x00, 0x2A, 0xFF, 0xFF, 0x75, 0x01, 0x95, 0x01, 0x81, 0x00}), out));
    ASSERT_TRUE(parses(wrap({0x19, 0x00, 0x2A, 0xFE, 0xFF, 0x15, 0xFF, 0x25, 0x00, 0x75, 0x01, 0x95,
                             0x10, 0x81, 0x00}),
                       out));
    ASSERT_EQ(out.size(), 1u);
    std::uint16_t list[32];
    std::uint32_t length = 32;
    Bytes report = {0x00, 0xFF, 0xFF};
    EXPECT_EQ(out[0].getUsages(ReportType::Input, 0xFF00, 0, list, length, report),
              status::Success);
    EXPECT_EQ(length, 0u);  // -1 maps to index 0, usage 0: nothing to report
}

// Random bytes and random mutations of good descriptors: every call returns
// and, when parsing succeeds, decoding a report of any length stays in bounds
// (the sanitizer builds check the latter).
TEST(DescriptorHostile, RandomInputNeverMisbehaves) {
    std::mt19937 random(1234);
    const Bytes seeds[] = {samples::composite(), samples::joystick(), samples::bootKeyboard()};
    std::vector<CollectionDescriptor> out;
    std::uint16_t list[64];
    for (int round = 0; round < 3000; ++round) {
        Bytes d = seeds[round % 3];
        if (round % 4 == 0) {
            d.resize(random() % 200);
            for (auto& b : d)
                b = static_cast<std::uint8_t>(random());
        } else {
            for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips)
                d[random() % d.size()] = static_cast<std::uint8_t>(random());
        }
        if (!parses(d, out)) {
            EXPECT_TRUE(out.empty());
            continue;
        }
        Bytes report(random() % 80);
        for (auto& b : report)
            b = static_cast<std::uint8_t>(random());
        for (const auto& c : out) {
            for (auto type : {ReportType::Input, ReportType::Output, ReportType::Feature}) {
                for (const auto& caps : c.buttonCaps(type)) {
                    std::uint32_t length = 64;
                    c.getUsages(type, caps.usagePage, 0, list, length, report);
                    EXPECT_LE(length, 64u);
                }
                for (const auto& caps : c.valueCaps(type)) {
                    std::uint32_t raw;
                    std::int32_t scaled;
                    c.getUsageValue(type, caps.usagePage, 0, caps.usageMax, raw, report);
                    c.getScaledUsageValue(type, caps.usagePage, 0, caps.usageMin, scaled, report);
                }
            }
        }
    }
}

}  // namespace
}  // namespace keyloom::hid
