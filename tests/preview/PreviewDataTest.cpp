// The preview's tables checked entry by entry against a second, independent
// copy of the key layout and the colour tables.

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

#include "lighting/HueCircle.h"
#include "lighting/PreviewGrid.h"

namespace keyloom::lighting {
namespace {

std::vector<int> idsOf(std::span<const std::uint8_t> slots) {
    std::vector<int> ids;
    for (std::uint8_t slot : slots)
        ids.push_back(controlIdOfSlot(slot));
    return ids;
}

TEST(PreviewLayout, GridHoldsEveryCell) {
    const int rows[6][23] = {
        {0,    0,    0,    1010, 1011, 1012, 1013, 0, 1014, 1015, 1023, 1024,
         1025, 1026, 1027, 1028, 1091, 1092, 1093, 0, 0,    0,    0},
        {1022, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039,
         1040, 1041, 1043, 1043, 1094, 1095, 1096, 1104, 1105, 1106, 1107},
        {0,    1056, 1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053,
         1054, 1055, 1070, 1070, 1097, 1098, 1099, 1108, 1109, 1110, 0},
        {0,    1069, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067,
         1068, 1042, 1042, 0,    0,    0,    0,    1112, 1113, 1114, 1111},
        {1082, 1199, 1071, 1072, 1073, 1074, 1075, 1076, 1077, 1078, 1079, 1080,
         0,    0,    1081, 1081, 0,    1103, 0,    1115, 1116, 1117, 1118},
        {1083, 1084, 1085, 0,    0,    0,    1090, 0,    0,    1086, 1086, 1174,
         1088, 0,    1089, 1089, 1100, 1101, 1102, 1120, 1120, 1119, 0},
    };
    for (std::size_t r = 0; r < 6; ++r)
        for (std::size_t c = 0; c < 23; ++c) {
            const std::uint8_t slot = gridSlot(r, c);
            const int id = slot == kNoSlot ? 0 : controlIdOfSlot(slot);
            EXPECT_EQ(id, rows[r][c]) << "row " << r << " column " << c;
        }
    EXPECT_EQ(gridSlot(6, 0), kNoSlot);
    EXPECT_EQ(gridSlot(0, 23), kNoSlot);
}

TEST(PreviewLayout, SnakeWalksEveryKeyOnceInOrder) {
    std::vector<int> expected{
        1093, 1092, 1091, 1028, 1027, 1026, 1025, 1024, 1023, 1015, 1014, 1013, 1012, 1011, 1010,
        1022, 1029, 1056, 1069, 1082, 1083, 1084, 1085, 1090, 1086, 1174, 1088, 1089, 1100, 1101,
        1102, 1120, 1119, 1118, 1111, 1107, 1106, 1105, 1104, 1096, 1095, 1094, 1043, 1041, 1040,
        1039, 1038, 1037, 1036, 1035, 1034, 1033, 1032, 1031, 1030, 1044, 1058, 1199};
    for (int id = 1071; id <= 1081; ++id)
        expected.push_back(id);
    for (int id : {1103, 1115, 1116, 1117, 1114, 1110, 1109, 1108, 1099, 1098, 1097, 1042,
                   1055, 1054, 1053, 1052, 1051, 1050, 1049, 1048, 1047, 1046, 1045})
        expected.push_back(id);
    for (int id = 1059; id <= 1068; ++id)
        expected.push_back(id);
    for (int id : {1070, 1112, 1113})
        expected.push_back(id);
    ASSERT_EQ(expected.size(), 105u);
    EXPECT_EQ(idsOf(snakeSlots()), expected);
    EXPECT_EQ(std::set<int>(expected.begin(), expected.end()).size(), 105u);
}

TEST(PreviewLayout, RingsAroundTheIKey) {
    const std::vector<std::vector<int>> rings{
        {1051},
        {1038, 1052, 1065, 1064, 1050, 1037, 1023},
        {1024, 1039, 1053, 1066, 1078, 1077, 1076, 1063, 1049, 1036, 1015},
        {1040, 1054, 1067, 1079, 1075, 1062, 1048, 1035, 1014},
        {1025, 1041, 1055, 1068, 1080, 1086, 1090, 1074, 1061, 1047, 1034},
        {1026, 1174, 1073, 1060, 1046, 1033, 1013},
        {1027, 1088, 1072, 1059, 1045, 1032, 1012, 1043, 1070, 1081, 1042},
        {1028, 1094, 1097, 1089, 1085, 1071, 1058, 1044, 1031, 1011},
        {1091, 1095, 1098, 1100, 1084, 1030, 1010, 1103, 1199},
        {1092, 1096, 1099, 1082, 1069, 1056, 1101},
        {1022, 1029, 1083, 1102, 1093},
        {},
    };
    ASSERT_EQ(rings.size(), kRingCount);
    for (std::size_t g = 0; g < kRingCount; ++g)
        EXPECT_EQ(idsOf(ringSlots(g)), rings[g]) << "ring " << g;
    EXPECT_TRUE(ringSlots(kRingCount).empty());
}

TEST(PreviewLayout, ControlIdsAndSlotsMatch) {
    EXPECT_EQ(controlIdOfSlot(0), 1058);  // A leads the key view
    EXPECT_EQ(controlIdOfSlot(104), 1199);
    EXPECT_EQ(controlIdOfSlot(kFnSlot), 1174);
    EXPECT_EQ(controlIdOfSlot(kPreviewKeyCount), 0);
    for (std::size_t slot = 0; slot < kPreviewKeyCount; ++slot)
        EXPECT_EQ(slotOfControlId(controlIdOfSlot(slot)), slot);
    for (int id : {0, 999, 1000, 1143, 1146, 1200, -1})  // G buttons and other controls
        EXPECT_FALSE(slotOfControlId(id)) << id;
}

TEST(PreviewColours, HueCircleSegments) {
    const std::array<int, 32> rising{1,   3,   5,   7,   10,  14,  18,  22,  26,  32,  38,
                                     44,  50,  57,  65,  73,  81,  89,  99,  109, 119, 129,
                                     140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
    const std::array<int, 32> falling{248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124,
                                      114, 104, 94,  85,  77,  69,  61,  53,  47,  41,  35,
                                      29,  24,  20,  16,  12,  8,   6,   4,   2,   0};
    auto rgb = [](int r, int g, int b) {
        return Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                   static_cast<std::uint8_t>(b)};
    };
    for (std::size_t i = 0; i < 32; ++i) {
        const int r = rising[i];
        const int f = falling[i];
        EXPECT_EQ(hueStep(i), rgb(255, r, 0)) << i;
        EXPECT_EQ(hueStep(32 + i), rgb(f, 255, 0)) << i;
        EXPECT_EQ(hueStep(64 + i), rgb(0, 255, r)) << i;
        EXPECT_EQ(hueStep(96 + i), rgb(0, f, 255)) << i;
        EXPECT_EQ(hueStep(128 + i), rgb(r, 0, 255)) << i;
        EXPECT_EQ(hueStep(160 + i), rgb(255, 0, f)) << i;
    }
    EXPECT_EQ(hueStep(192), hueStep(0));
    EXPECT_EQ(fineHueStep(0), hueStep(0));
    EXPECT_EQ(fineHueStep(254), hueStep(191));
}

TEST(PreviewColours, BrightnessCurves) {
    const std::vector<int> rise{22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,
                                61,  65,  69,  73,  77,  81,  85,  89,  94,  99,  104, 109,
                                114, 119, 124, 129, 134, 140, 146, 152, 158, 164, 170, 176,
                                182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};
    auto curve = [](std::uint8_t (*read)(std::size_t), std::size_t length) {
        std::vector<int> values;
        for (std::size_t i = 0; i < length; ++i)
            values.push_back(read(i));
        return values;
    };
    auto mirrored = [](std::vector<int> half) {
        std::vector<int> whole = half;
        whole.insert(whole.end(), half.rbegin(), half.rend());
        return whole;
    };

    EXPECT_EQ(curve(breathingCurve, 96), mirrored(rise));

    std::vector<int> pulseRise{8, 9, 10, 12, 14, 16, 18, 20, 22, 24, 27, 30, 33};
    pulseRise.insert(pulseRise.end(), rise.begin() + 5, rise.end());
    std::vector<int> pulse = mirrored(pulseRise);
    ASSERT_EQ(pulse.size(), 112u);
    pulse.resize(192, 0);
    EXPECT_EQ(curve(pulseCurve, 192), pulse);

    std::vector<int> comet{0, 4, 8, 14, 22, 33, 45, 61, 77, 94, 114, 134, 158, 182, 206, 234, 255};
    comet.insert(comet.end(), rise.rbegin() + 1, rise.rend());
    for (int value : {20, 18, 16, 14, 12, 10, 9, 8, 7, 6, 5, 4, 3, 2, 2, 1})
        comet.push_back(value);
    comet.resize(129, 0);
    EXPECT_EQ(curve(cometCurve, 129), comet);

    std::vector<int> slow{3, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 18, 20};
    slow.insert(slow.end(), rise.begin(), rise.end());
    EXPECT_EQ(curve(slowBreathingCurve, 128), mirrored(slow));

    std::vector<int> rings = mirrored(rise);
    rings.insert(rings.end(), pulse.begin(), pulse.begin() + 96);
    EXPECT_EQ(curve(ringCurve, 192), rings);
}

TEST(PreviewColours, ScalingIsIntegerChannelTimesValueOver255) {
    EXPECT_EQ(scaled(Rgb{255, 128, 1}, 255), (Rgb{255, 128, 1}));
    EXPECT_EQ(scaled(Rgb{255, 128, 1}, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(scaled(Rgb{255, 128, 254}, 128), (Rgb{128, 64, 127}));
    EXPECT_EQ(rgbOfColour(0x00332211), (Rgb{0x11, 0x22, 0x33}));
}

}  // namespace
}  // namespace keyloom::lighting
