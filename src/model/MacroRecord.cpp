#include "model/MacroRecord.h"

#include <algorithm>
#include <array>

#include "model/LittleEndian.h"

namespace keyloom {

std::u16string_view MacroRecord::storedName() const {
    std::u16string_view view(name);
    view = view.substr(0, std::min(view.find(u'\0'), view.size()));
    return view.substr(0, kMaxNameLength);
}

std::span<const MacroAction> MacroRecord::storedActions() const {
    return std::span<const MacroAction>(actions).first(std::min(actions.size(), kMaxActions));
}

bool MacroRecord::serialize(std::span<std::uint8_t> out) const {
    if (out.size() < kSize) {
        return false;
    }
    std::fill_n(out.begin(), kSize, std::uint8_t{0});
    const std::u16string_view stored = storedName();
    for (std::size_t i = 0; i < stored.size(); ++i) {
        le::writeU16(out, 2 * i, stored[i]);
    }
    out[kPlayCountOffset] = playCount;
    le::writeU32(out, kNewFlagOffset, newFlag);
    le::writeU16(out, kNumberOffset, number);
    const auto used = storedActions();
    le::writeU16(out, kActionCountOffset, static_cast<std::uint16_t>(used.size()));
    for (std::size_t i = 0; i < used.size(); ++i) {
        const std::size_t at = kActionsOffset + i * MacroAction::kSize;
        le::writeU32(out, at, used[i].delayMs);
        le::writeU16(out, at + 4, used[i].keyCode);
        le::writeU16(out, at + 6, used[i].state);
    }
    return true;
}

bool MacroRecord::parse(std::span<const std::uint8_t> bytes, MacroRecord& out) {
    if (bytes.size() < kSize) {
        return false;
    }
    MacroRecord record;
    for (std::size_t i = 0; i < kMaxNameLength; ++i) {
        const char16_t unit = le::readU16(bytes, 2 * i);
        if (unit == 0) {
            break;
        }
        record.name.push_back(unit);
    }
    record.playCount = bytes[kPlayCountOffset];
    record.newFlag = le::readU32(bytes, kNewFlagOffset);
    record.number = le::readU16(bytes, kNumberOffset);
    const std::size_t count =
        std::min<std::size_t>(le::readU16(bytes, kActionCountOffset), kMaxActions);
    record.actions.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kActionsOffset + i * MacroAction::kSize;
        record.actions[i] = {le::readU32(bytes, at), le::readU16(bytes, at + 4),
                             le::readU16(bytes, at + 6)};
    }
    out = std::move(record);
    return true;
}

std::uint16_t nextMacroNumber(std::span<const MacroRecord> macros) {
    std::array<bool, MacroRecord::kMaxNumber + 1> taken{};
    for (const auto& macro : macros) {
        if (macro.number <= MacroRecord::kMaxNumber) {
            taken[macro.number] = true;
        }
    }
    for (std::uint16_t n = 1; n <= MacroRecord::kMaxNumber; ++n) {
        if (!taken[n]) {
            return n;
        }
    }
    return 0;
}

std::optional<std::size_t> findMacroPosition(std::span<const MacroRecord> macros,
                                             std::uint16_t number) {
    for (std::size_t i = 0; i < macros.size(); ++i) {
        if (macros[i].number == number) {
            return i;
        }
    }
    return std::nullopt;
}

std::u16string defaultMacroName(std::u16string_view prefix, std::size_t ordinal) {
    std::u16string name(prefix);
    for (char c : std::to_string(ordinal)) {
        name.push_back(static_cast<char16_t>(c));
    }
    if (name.size() > MacroRecord::kMaxNameLength) {
        name.resize(MacroRecord::kMaxNameLength);
    }
    return name;
}

}  // namespace keyloom
