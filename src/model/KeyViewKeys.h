#pragma once
// The keys of the main window's key picture: 105 key buttons (control id and
// set-1 scan code, 0x1NN for keys sent with the E0 prefix) in key view order,
// and the nine G buttons, which stand for the extra keys 0x100 + j.

#include <array>
#include <cstddef>
#include <cstdint>

namespace keyloom {

struct KeyViewKey {
    int controlId;
    std::uint16_t scanCode;
};

inline constexpr std::size_t kKeyViewKeyCount = 105;
inline constexpr std::size_t kGButtonCount = 9;

inline constexpr std::array<KeyViewKey, kKeyViewKeyCount> kKeyViewKeys{{
    {1058, 0x1E},  {1075, 0x30},  {1073, 0x2E},  {1060, 0x20},  {1046, 0x12},  {1061, 0x21},
    {1062, 0x22},  {1063, 0x23},  {1051, 0x17},  {1064, 0x24},  {1065, 0x25},  {1066, 0x26},
    {1077, 0x32},  {1076, 0x31},  {1052, 0x18},  {1053, 0x19},  {1044, 0x10},  {1047, 0x13},
    {1059, 0x1F},  {1048, 0x14},  {1050, 0x16},  {1074, 0x2F},  {1045, 0x11},  {1072, 0x2D},
    {1049, 0x15},  {1071, 0x2C},  {1030, 0x02},  {1031, 0x03},  {1032, 0x04},  {1033, 0x05},
    {1034, 0x06},  {1035, 0x07},  {1036, 0x08},  {1037, 0x09},  {1038, 0x0A},  {1039, 0x0B},
    {1070, 0x1C},  {1022, 0x01},  {1043, 0x0E},  {1056, 0x0F},  {1090, 0x39},  {1040, 0x0C},
    {1041, 0x0D},  {1054, 0x1A},  {1055, 0x1B},  {1042, 0x2B},  {1067, 0x27},  {1068, 0x28},
    {1029, 0x29},  {1078, 0x33},  {1079, 0x34},  {1080, 0x35},  {1010, 0x3B},  {1011, 0x3C},
    {1012, 0x3D},  {1013, 0x3E},  {1014, 0x3F},  {1015, 0x40},  {1023, 0x41},  {1024, 0x42},
    {1025, 0x43},  {1026, 0x44},  {1027, 0x57},  {1028, 0x58},  {1091, 0x137}, {1093, 0x45},
    {1094, 0x152}, {1097, 0x153}, {1095, 0x147}, {1098, 0x14F}, {1096, 0x149}, {1099, 0x151},
    {1103, 0x148}, {1101, 0x150}, {1100, 0x14B}, {1102, 0x14D}, {1092, 0x46},  {1069, 0x3A},
    {1088, 0x15D}, {1083, 0x1D},  {1089, 0x11D}, {1082, 0x2A},  {1081, 0x36},  {1085, 0x38},
    {1086, 0x138}, {1084, 0x15B}, {1087, 0x15C}, {1115, 0x4F},  {1116, 0x50},  {1117, 0x51},
    {1112, 0x4B},  {1113, 0x4C},  {1114, 0x4D},  {1108, 0x47},  {1109, 0x48},  {1110, 0x49},
    {1120, 0x52},  {1104, 0x145}, {1118, 0x11C}, {1119, 0x53},  {1105, 0x135}, {1106, 0x37},
    {1107, 0x4A},  {1111, 0x4E},  {1199, 0x56},
}};

static_assert(kKeyViewKeys.back().controlId == 1199, "every key view row is listed");

inline constexpr std::array<int, kGButtonCount> kGButtonControls{1000, 1001, 1002, 1003, 1004,
                                                                 1140, 1141, 1142, 1143};

// The key's code in the key table and its assignment entry: scan codes below
// 0x100 as they are, 0x1NN as 0x80 + NN.
constexpr std::uint16_t foldedScanCode(std::uint16_t scanCode) {
    return scanCode < 0x100 ? scanCode : static_cast<std::uint16_t>(0x80 + (scanCode & 0xFF));
}

// Assignment entry of G button j (0-8).
constexpr std::size_t gButtonEntry(std::size_t j) {
    return 0x100 + j;
}

}  // namespace keyloom
