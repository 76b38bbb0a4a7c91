#pragma once
// The colours a skinned button draws its text in, one per text colour slot.
// The defaults: white normally and when selected, orange under the mouse and
// while pressed, grey when disabled.

#include <QColor>

#include "controls/SkinFace.h"

namespace keyloom::controls {

struct SkinTextColours {
    QColor normal{255, 255, 255};
    QColor hover{255, 130, 0};
    QColor pressed{255, 155, 4};
    QColor disabled{127, 127, 127};
    QColor selected{255, 255, 255};

    const QColor& forSlot(TextColourSlot slot) const {
        switch (slot) {
            case TextColourSlot::Hover:
                return hover;
            case TextColourSlot::Pressed:
                return pressed;
            case TextColourSlot::Disabled:
                return disabled;
            case TextColourSlot::Selected:
                return selected;
            case TextColourSlot::Normal:
                break;
        }
        return normal;
    }
};

}  // namespace keyloom::controls
