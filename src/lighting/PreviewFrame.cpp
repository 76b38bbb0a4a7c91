#include "lighting/PreviewFrame.h"

namespace keyloom::lighting {

Rgb PreviewFrame::colourOf(int controlId) const {
    if (auto slot = slotOfControlId(controlId))
        return colours[*slot];
    return Rgb{};
}

ChangedKeys changedKeys(const PreviewFrame& before, const PreviewFrame& after) {
    ChangedKeys changed;
    for (std::size_t slot = 0; slot < kPreviewKeyCount; ++slot)
        if (before.colours[slot] != after.colours[slot])
            changed.ids_[changed.count_++] = controlIdOfSlot(slot);
    return changed;
}

}  // namespace keyloom::lighting
