#pragma once
// Walks the items of a raw report descriptor. Short items are handed out with
// their data; long items (prefix 0xFE) are stepped over. Every length is
// checked against the buffer before it is used.

#include <cstddef>
#include <cstdint>
#include <span>

namespace keyloom::hid {

enum class ItemType : std::uint8_t { Main = 0, Global = 1, Local = 2, Reserved = 3 };

struct DescriptorItem {
    ItemType type = ItemType::Main;
    std::uint8_t tag = 0;
    std::uint8_t size = 0;  // data bytes: 0, 1, 2 or 4
    std::uint32_t data = 0;

    // The data as a two's-complement number of its own width.
    std::int32_t signedData() const {
        switch (size) {
            case 1:
                return static_cast<std::int8_t>(data);
            case 2:
                return static_cast<std::int16_t>(data);
            case 4:
                return static_cast<std::int32_t>(data);
            default:
                return 0;
        }
    }
};

class DescriptorItems {
public:
    explicit DescriptorItems(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    enum class Step { Item, End, Truncated };

    // Moves to the next short item. Truncated when an item runs past the end.
    Step next(DescriptorItem& item) {
        while (pos_ < bytes_.size()) {
            std::uint8_t prefix = bytes_[pos_];
            if (prefix == 0xFE) {
                // Long item: prefix, data size, tag, data. No long item tags
                // are defined, so they are skipped.
                if (bytes_.size() - pos_ < 3)
                    return Step::Truncated;
                std::size_t length = 3u + bytes_[pos_ + 1];
                if (bytes_.size() - pos_ < length)
                    return Step::Truncated;
                pos_ += length;
                continue;
            }
            static constexpr std::uint8_t kSizes[4] = {0, 1, 2, 4};
            std::uint8_t size = kSizes[prefix & 0x03];
            if (bytes_.size() - pos_ < 1u + size)
                return Step::Truncated;
            std::uint32_t data = 0;
            for (std::uint8_t i = 0; i < size; ++i)
                data |= static_cast<std::uint32_t>(bytes_[pos_ + 1 + i]) << (8 * i);
            item.type = static_cast<ItemType>((prefix >> 2) & 0x03);
            item.tag = static_cast<std::uint8_t>(prefix >> 4);
            item.size = size;
            item.data = data;
            pos_ += 1u + size;
            return Step::Item;
        }
        return Step::End;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

}  // namespace keyloom::hid
