#include "model/StoreMacros.h"

#include "model/KeyMatrixCodec.h"

namespace keyloom {

std::uint16_t macroNumberAt(const StoreContents& contents, long position) {
    if (position < 0 || static_cast<std::size_t>(position) >= contents.macros.size()) {
        return 0;
    }
    return contents.macros[static_cast<std::size_t>(position)].number;
}

std::uint16_t macroNumberAt(WorkingStore& store, long position) {
    return macroNumberAt(*store.lock(), position);
}

std::size_t macroPositionOf(const StoreContents& contents, std::uint16_t number) {
    return findMacroPosition(contents.macros, number).value_or(0);
}

std::size_t macroPositionOf(WorkingStore& store, std::uint16_t number) {
    return macroPositionOf(*store.lock(), number);
}

MacroAreaSizes macroAreaSizes(DeviceStore& store) {
    return macroAreaSizes(store.lock()->macros);
}

std::vector<std::uint8_t> encodeMacroArea(DeviceStore& store, bool withNames) {
    return encodeMacroArea(store.lock()->macros, withNames);
}

KeyMatrix encodeKeyMatrix(DeviceStore& store, const KeyMatrix& defaults, std::size_t profile) {
    if (profile >= AssignmentImage::kProfileBlockCount) {
        return defaults;
    }
    auto access = store.lock();
    return encodeKeyMatrix(defaults, access->image->block(profile), access->macros);
}

}  // namespace keyloom
