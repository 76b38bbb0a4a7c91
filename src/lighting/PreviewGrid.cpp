#include "lighting/PreviewGrid.h"

#include "model/KeyViewKeys.h"

namespace keyloom::lighting {

namespace {

constexpr int kEmpty = 255;

// The grid as control ids; a key wider than one cell fills several cells.
constexpr std::array<int, kGridCells> kGridIds{
    // row 0
    kEmpty, kEmpty, kEmpty, 1010, 1011, 1012, 1013, kEmpty, 1014, 1015, 1023, 1024, 1025, 1026,
    1027, 1028, 1091, 1092, 1093, kEmpty, kEmpty, kEmpty, kEmpty,
    // row 1
    1022, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041, 1043, 1043,
    1094, 1095, 1096, 1104, 1105, 1106, 1107,
    // row 2
    kEmpty, 1056, 1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1055, 1070,
    1070, 1097, 1098, 1099, 1108, 1109, 1110, kEmpty,
    // row 3
    kEmpty, 1069, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067, 1068, 1042, 1042,
    kEmpty, kEmpty, kEmpty, kEmpty, 1112, 1113, 1114, 1111,
    // row 4
    1082, 1199, 1071, 1072, 1073, 1074, 1075, 1076, 1077, 1078, 1079, 1080, kEmpty, kEmpty, 1081,
    1081, kEmpty, 1103, kEmpty, 1115, 1116, 1117, 1118,
    // row 5
    1083, 1084, 1085, kEmpty, kEmpty, kEmpty, 1090, kEmpty, kEmpty, 1086, 1086, 1174, 1088, kEmpty,
    1089, 1089, 1100, 1101, 1102, 1120, 1120, 1119, kEmpty};

constexpr std::array<int, kSnakeLength> kSnakeIds{
    1093, 1092, 1091, 1028, 1027, 1026, 1025, 1024, 1023, 1015, 1014, 1013, 1012, 1011, 1010,
    1022, 1029, 1056, 1069, 1082, 1083, 1084, 1085, 1090, 1086, 1174, 1088, 1089, 1100, 1101,
    1102, 1120, 1119, 1118, 1111, 1107, 1106, 1105, 1104, 1096, 1095, 1094, 1043, 1041, 1040,
    1039, 1038, 1037, 1036, 1035, 1034, 1033, 1032, 1031, 1030, 1044, 1058, 1199, 1071, 1072,
    1073, 1074, 1075, 1076, 1077, 1078, 1079, 1080, 1081, 1103, 1115, 1116, 1117, 1114, 1110,
    1109, 1108, 1099, 1098, 1097, 1042, 1055, 1054, 1053, 1052, 1051, 1050, 1049, 1048, 1047,
    1046, 1045, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067, 1068, 1070, 1112, 1113};

// The rings one after the other; kRingStart[g] .. kRingStart[g + 1] is ring g.
constexpr std::array<int, 88> kRingIds{
    1051,                                                              //
    1038, 1052, 1065, 1064, 1050, 1037, 1023,                          //
    1024, 1039, 1053, 1066, 1078, 1077, 1076, 1063, 1049, 1036, 1015,  //
    1040, 1054, 1067, 1079, 1075, 1062, 1048, 1035, 1014,              //
    1025, 1041, 1055, 1068, 1080, 1086, 1090, 1074, 1061, 1047, 1034,  //
    1026, 1174, 1073, 1060, 1046, 1033, 1013,                          //
    1027, 1088, 1072, 1059, 1045, 1032, 1012, 1043, 1070, 1081, 1042,  //
    1028, 1094, 1097, 1089, 1085, 1071, 1058, 1044, 1031, 1011,        //
    1091, 1095, 1098, 1100, 1084, 1030, 1010, 1103, 1199,              //
    1092, 1096, 1099, 1082, 1069, 1056, 1101,                          //
    1022, 1029, 1083, 1102, 1093};
constexpr std::array<std::size_t, kRingCount + 1> kRingStart{0,  1,  8,  19, 28, 39, 46,
                                                             57, 67, 76, 83, 88, 88};

constexpr int idOfSlot(std::size_t slot) {
    if (slot < kKeyViewKeyCount)
        return kKeyViewKeys[slot].controlId;
    return slot == kFnSlot ? kFnControlId : 0;
}

constexpr std::uint8_t slotOfId(int controlId) {
    for (std::size_t slot = 0; slot < kPreviewKeyCount; ++slot)
        if (idOfSlot(slot) == controlId)
            return static_cast<std::uint8_t>(slot);
    return kNoSlot;
}

template <std::size_t N>
constexpr std::array<std::uint8_t, N> toSlots(const std::array<int, N>& ids) {
    std::array<std::uint8_t, N> slots{};
    for (std::size_t i = 0; i < N; ++i)
        slots[i] = ids[i] == kEmpty ? kNoSlot : slotOfId(ids[i]);
    return slots;
}

template <std::size_t N>
constexpr bool allKnown(const std::array<int, N>& ids) {
    for (int id : ids)
        if (id != kEmpty && slotOfId(id) == kNoSlot)
            return false;
    return true;
}

static_assert(allKnown(kGridIds) && allKnown(kSnakeIds) && allKnown(kRingIds),
              "every key of the grid, the snake and the rings is a preview key");

constexpr auto kGridSlots = toSlots(kGridIds);
constexpr auto kSnakeSlots = toSlots(kSnakeIds);
constexpr auto kRingSlots = toSlots(kRingIds);

// Control ids 1000-1199 to slots, for the lookup from a control id.
constexpr int kFirstControlId = 1000;
constexpr std::size_t kControlIdSpan = 200;
constexpr auto kSlotByControl = [] {
    std::array<std::uint8_t, kControlIdSpan> table{};
    for (std::size_t i = 0; i < kControlIdSpan; ++i)
        table[i] = slotOfId(kFirstControlId + static_cast<int>(i));
    return table;
}();

}  // namespace

int controlIdOfSlot(std::size_t slot) {
    return idOfSlot(slot);
}

std::optional<std::size_t> slotOfControlId(int controlId) {
    if (controlId < kFirstControlId ||
        controlId >= kFirstControlId + static_cast<int>(kControlIdSpan))
        return std::nullopt;
    const std::uint8_t slot = kSlotByControl[static_cast<std::size_t>(controlId - kFirstControlId)];
    if (slot == kNoSlot)
        return std::nullopt;
    return slot;
}

std::uint8_t gridSlot(std::size_t row, std::size_t column) {
    if (row >= kGridRows || column >= kGridColumns)
        return kNoSlot;
    return kGridSlots[row * kGridColumns + column];
}

std::span<const std::uint8_t, kGridCells> gridSlots() {
    return kGridSlots;
}

std::span<const std::uint8_t, kSnakeLength> snakeSlots() {
    return kSnakeSlots;
}

std::span<const std::uint8_t> ringSlots(std::size_t ring) {
    if (ring >= kRingCount)
        return {};
    return std::span<const std::uint8_t>(kRingSlots)
        .subspan(kRingStart[ring], kRingStart[ring + 1] - kRingStart[ring]);
}

}  // namespace keyloom::lighting
