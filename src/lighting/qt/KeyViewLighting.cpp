#include "lighting/qt/KeyViewLighting.h"

#include "lighting/ColourIndexTable.h"
#include "lighting/PreviewGrid.h"
#include "model/KeyViewKeys.h"

namespace keyloom::lighting::qt {

controls::Rgb toTint(Rgb colour) {
    return (static_cast<controls::Rgb>(colour.red) << 16) |
           (static_cast<controls::Rgb>(colour.green) << 8) | colour.blue;
}

void KeyViewLighting::tint(int controlId, std::optional<controls::Rgb> colour) {
    if (controls::CSkinButton* b = keyButton_(controlId))
        b->setFaceTint(colour);
}

void KeyViewLighting::paintByLayer(bool on) {
    if (!layer_ && on) {
        std::vector<controls::CSkinButton*> buttons;
        for (const ColourKey& key : colourKeys())
            if (controls::CSkinButton* b = keyButton_(key.controlId))
                buttons.push_back(b);
        if (buttons.empty())
            return;
        layer_ = std::make_unique<controls::CSkinButtonLayer>(buttons);
    }
    if (layer_)
        layer_->setActive(on);
}

std::size_t KeyViewLighting::showFrame(const PreviewFrame& frame) {
    paintByLayer(true);
    const controls::CSkinButtonLayer::Batch batch(layer_.get());
    if (!frameShown_) {
        for (std::size_t slot = 0; slot < kPreviewKeyCount; ++slot)
            tint(controlIdOfSlot(slot), toTint(frame.colours[slot]));
        // The G buttons are no part of a frame: they show unlit.
        for (int id : kGButtonControls)
            tint(id, std::nullopt);
        shown_ = frame;
        frameShown_ = true;
        return kPreviewKeyCount;
    }
    const ChangedKeys changed = changedKeys(shown_, frame);
    for (int id : changed.controlIds())
        tint(id, toTint(frame.colourOf(id)));
    shown_ = frame;
    return changed.size();
}

void KeyViewLighting::showKeyColours(const LightingController& controller) {
    frameShown_ = false;
    paintByLayer(true);
    const controls::CSkinButtonLayer::Batch batch(layer_.get());
    for (const ColourKey& key : colourKeys())
        tint(key.controlId, toTint(controller.keyColour(key.controlId)));
}

void KeyViewLighting::showKeyColour(int controlId, Rgb colour) {
    paintByLayer(true);
    tint(controlId, toTint(colour));
}

void KeyViewLighting::clear() {
    frameShown_ = false;
    for (const ColourKey& key : colourKeys())
        tint(key.controlId, std::nullopt);
    paintByLayer(false);
}

}  // namespace keyloom::lighting::qt
