#include "model/StringTable.h"

#include <algorithm>

#include "model/LittleEndian.h"

namespace keyloom {

namespace {

std::size_t sizeWithTerminator(std::u16string_view text) {
    return (text.size() + 1) * 2;
}

}  // namespace

std::optional<std::u16string_view> StringTable::text(std::size_t slot) const {
    if (slot >= slots_.size() || !slots_[slot]) {
        return std::nullopt;
    }
    return std::u16string_view(*slots_[slot]);
}

bool StringTable::setText(std::size_t slot, std::u16string_view text) {
    if (slot >= kSlotCount) {
        return false;
    }
    text = text.substr(0, std::min(text.find(u'\0'), text.size()));
    clearText(slot);
    if (slots_.empty())
        slots_.resize(kSlotCount);
    slots_[slot].emplace(text);
    totalSize_ += sizeWithTerminator(text);
    return true;
}

void StringTable::clearText(std::size_t slot) {
    if (slot >= slots_.size() || !slots_[slot]) {
        return;
    }
    totalSize_ -= sizeWithTerminator(*slots_[slot]);
    slots_[slot].reset();
}

void StringTable::clear() {
    slots_.clear();
    slots_.shrink_to_fit();
    totalSize_ = 0;
}

bool operator==(const StringTable& a, const StringTable& b) {
    if (a.totalSize_ != b.totalSize_)
        return false;
    for (std::size_t slot = 0; slot < StringTable::kSlotCount; ++slot)
        if (a.text(slot) != b.text(slot))
            return false;
    return true;
}

std::size_t StringTable::sizeOf(std::size_t slot) const {
    if (slot >= slots_.size() || !slots_[slot]) {
        return 0;
    }
    return sizeWithTerminator(*slots_[slot]);
}

StringTable packTexts(AssignmentImage& image, const StringTable& texts, std::size_t poolLimit) {
    StringTable placed;
    std::size_t offset = 0;
    auto entries = image.entries();
    for (std::size_t slot = 0; slot < entries.size(); ++slot) {
        if (!carriesText(entries[slot].kind)) {
            continue;
        }
        const auto text = texts.text(slot);
        if (!text) {
            continue;
        }
        const std::size_t size = texts.sizeOf(slot);
        if (size > poolLimit - offset) {
            continue;  // would overflow the pool
        }
        entries[slot].value = static_cast<std::uint32_t>(offset);
        placed.setText(slot, *text);
        offset += size;
    }
    return placed;
}

std::vector<std::uint8_t> buildStringPool(const AssignmentImage& image, const StringTable& placed,
                                          std::size_t poolSize) {
    std::vector<std::uint8_t> pool(poolSize, 0);
    const auto entries = image.entries();
    for (std::size_t slot = 0; slot < entries.size(); ++slot) {
        const auto text = placed.text(slot);
        if (!text || !carriesText(entries[slot].kind)) {
            continue;
        }
        const std::size_t offset = entries[slot].value;
        if (offset > poolSize || placed.sizeOf(slot) > poolSize - offset) {
            continue;
        }
        for (std::size_t i = 0; i < text->size(); ++i) {
            le::writeU16(pool, offset + 2 * i, (*text)[i]);
        }
        le::writeU16(pool, offset + 2 * text->size(), 0);
    }
    return pool;
}

StringTable unpackTexts(const AssignmentImage& image, std::span<const std::uint8_t> pool) {
    // Terminator positions (in 2-byte units), found in one pass, so that many
    // entries pointing into one long unterminated run cost no rescans.
    const std::size_t units = pool.size() / 2;
    std::vector<std::size_t> terminators;
    for (std::size_t unit = 0; unit < units; ++unit) {
        if (le::readU16(pool, 2 * unit) == 0) {
            terminators.push_back(unit);
        }
    }

    StringTable texts;
    const auto entries = image.entries();
    for (std::size_t slot = 0; slot < entries.size(); ++slot) {
        if (!carriesText(entries[slot].kind)) {
            continue;
        }
        const std::size_t first = entries[slot].value / 2;
        const auto end = std::lower_bound(terminators.begin(), terminators.end(), first);
        if (first >= units || end == terminators.end()) {
            continue;  // outside the pool, or no terminator before its end
        }
        // A saved pool holds each text once; entries sharing one text cannot
        // make the table grow beyond the pool's own size.
        if ((*end - first + 1) * 2 > pool.size() - texts.totalSize()) {
            continue;
        }
        std::u16string text;
        text.reserve(*end - first);
        for (std::size_t unit = first; unit < *end; ++unit) {
            text.push_back(le::readU16(pool, 2 * unit));
        }
        texts.setText(slot, text);
    }
    return texts;
}

}  // namespace keyloom
