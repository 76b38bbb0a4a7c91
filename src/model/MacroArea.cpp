#include "model/MacroArea.h"

#include <algorithm>
#include <limits>

#include "model/DeviceAction.h"
#include "model/LittleEndian.h"

namespace keyloom {

namespace {

constexpr std::size_t kOffsetSize = 2;
constexpr std::size_t kMaxAreaSize = std::numeric_limits<std::uint16_t>::max();

std::size_t blockSize(const MacroRecord& macro, bool withNames) {
    std::size_t size = kMacroBlockHeaderSize + DeviceAction::kSize * macro.storedActions().size();
    if (withNames) {
        size += 2 * macro.storedName().size();
    }
    return size;
}

std::size_t areaSize(std::span<const MacroRecord> macros, bool withNames) {
    std::size_t size = MacroAreaHeader::kSize + kOffsetSize * macros.size();
    for (const auto& macro : macros) {
        size += blockSize(macro, withNames);
    }
    return size;
}

// Reads one macro block at `offset` of the usable area; nothing when even its
// 4-byte header lies outside.
std::optional<MacroRecord> decodeBlock(std::span<const std::uint8_t> area, std::size_t offset,
                                       std::size_t ordinal, std::u16string_view prefix) {
    if (offset < MacroAreaHeader::kSize || offset + kMacroBlockHeaderSize > area.size()) {
        return std::nullopt;
    }
    MacroRecord macro;
    macro.number = static_cast<std::uint16_t>(ordinal);
    macro.playCount = area[offset + 2];
    const std::size_t declaredActions = le::readU16(area, offset);
    const std::size_t nameLength = area[offset + 3];

    const std::size_t actionsAt = offset + kMacroBlockHeaderSize;
    const std::size_t room = (area.size() - actionsAt) / DeviceAction::kSize;
    const std::size_t actionCount = std::min({declaredActions, room, MacroRecord::kMaxActions});
    macro.actions.reserve(actionCount);
    for (std::size_t i = 0; i < actionCount; ++i) {
        const std::size_t at = actionsAt + i * DeviceAction::kSize;
        macro.actions.push_back(
            decodeDeviceAction({le::readU16(area, at), area[at + 2], area[at + 3]}));
    }

    // The name follows all declared actions; it is read only when it lies
    // wholly inside the area.
    const std::size_t nameAt = actionsAt + declaredActions * DeviceAction::kSize;
    if (nameLength != 0 && nameAt + 2 * nameLength <= area.size()) {
        for (std::size_t i = 0; i < nameLength && i < MacroRecord::kMaxNameLength; ++i) {
            const char16_t unit = le::readU16(area, nameAt + 2 * i);
            if (unit == 0) {
                break;
            }
            macro.name.push_back(unit);
        }
    }
    if (macro.name.empty()) {
        macro.name = defaultMacroName(prefix, ordinal);
    }
    return macro;
}

}  // namespace

std::optional<MacroAreaHeader> MacroAreaHeader::parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 8) {
        return std::nullopt;
    }
    MacroAreaHeader header;
    header.marker = le::readU16(bytes, 0);
    header.bytesInUse = le::readU16(bytes, 2);
    header.macroCount = le::readU16(bytes, 4);
    header.namesFlag = le::readU16(bytes, 6);
    return header;
}

MacroAreaSizes macroAreaSizes(std::span<const MacroRecord> macros) {
    return {areaSize(macros, false), areaSize(macros, true)};
}

MacroAreaPlan planMacroArea(const MacroAreaSizes& sizes, std::size_t capacity) {
    if (sizes.withoutNames > capacity) {
        return {MacroAreaFit::TooLong, 0};
    }
    if (sizes.withNames <= capacity) {
        return {MacroAreaFit::WithNames, sizes.withNames};
    }
    return {MacroAreaFit::WithoutNames, sizes.withoutNames};
}

std::size_t encodeMacroArea(std::span<const MacroRecord> macros, bool withNames,
                            std::span<std::uint8_t> out) {
    const std::size_t size = areaSize(macros, withNames);
    if (size > kMaxAreaSize || size > out.size()) {
        return 0;
    }
    auto area = out.first(size);
    std::fill(area.begin(), area.end(), std::uint8_t{0});
    le::writeU16(area, 0, MacroAreaHeader::kMarker);
    le::writeU16(area, 2, static_cast<std::uint16_t>(size));
    le::writeU16(area, 4, static_cast<std::uint16_t>(macros.size()));
    le::writeU16(area, 6, withNames ? 1 : 0);

    std::size_t blockAt = MacroAreaHeader::kSize + kOffsetSize * macros.size();
    for (std::size_t i = 0; i < macros.size(); ++i) {
        const MacroRecord& macro = macros[i];
        const auto actions = macro.storedActions();
        const auto name = macro.storedName();
        le::writeU16(area, MacroAreaHeader::kSize + kOffsetSize * i,
                     static_cast<std::uint16_t>(blockAt));
        le::writeU16(area, blockAt, static_cast<std::uint16_t>(actions.size()));
        area[blockAt + 2] = macro.playCount;
        area[blockAt + 3] = withNames ? static_cast<std::uint8_t>(name.size()) : 0;

        std::size_t at = blockAt + kMacroBlockHeaderSize;
        for (const auto& action : actions) {
            const DeviceAction encoded = encodeDeviceAction(action);
            le::writeU16(area, at, encoded.word);
            area[at + 2] = encoded.data0;
            area[at + 3] = encoded.data1;
            at += DeviceAction::kSize;
        }
        if (withNames) {
            for (const char16_t unit : name) {
                le::writeU16(area, at, unit);
                at += 2;
            }
        }
        blockAt = at;
    }
    return size;
}

std::vector<std::uint8_t> encodeMacroArea(std::span<const MacroRecord> macros, bool withNames) {
    std::vector<std::uint8_t> area(areaSize(macros, withNames));
    if (encodeMacroArea(macros, withNames, area) == 0) {
        area.clear();
    }
    return area;
}

std::vector<MacroRecord> decodeMacroArea(std::span<const std::uint8_t> area, std::size_t capacity,
                                         std::u16string_view defaultNamePrefix) {
    std::vector<MacroRecord> macros;
    const auto header = MacroAreaHeader::parse(area);
    if (!header || !header->holdsMacros()) {
        return macros;
    }
    const std::size_t usable =
        std::min({area.size(), capacity, static_cast<std::size_t>(header->bytesInUse)});
    const auto bytes = area.first(usable);
    const std::size_t count = std::min<std::size_t>(header->macroCount, MacroRecord::kMaxMacros);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t tableAt = MacroAreaHeader::kSize + kOffsetSize * i;
        if (tableAt + kOffsetSize > bytes.size()) {
            break;  // the offset table itself is cut off
        }
        if (auto macro =
                decodeBlock(bytes, le::readU16(bytes, tableAt), i + 1, defaultNamePrefix)) {
            macros.push_back(std::move(*macro));
        }
    }
    return macros;
}

}  // namespace keyloom
