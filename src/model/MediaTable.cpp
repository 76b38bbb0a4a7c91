#include "model/MediaTable.h"

namespace keyloom {

std::optional<std::uint32_t> mediaIndexOfUsage(std::uint16_t usage) {
    for (std::uint32_t i = 0; i < MediaTable.size(); ++i) {
        if (MediaTable[i].usage == usage) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace keyloom
