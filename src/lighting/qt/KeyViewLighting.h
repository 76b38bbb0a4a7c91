#pragma once
// The key view in lighting colours: each key button takes the colour of the
// preview frame or its per-key colour as a tint over its face, and loses it
// again when the key view goes back to showing assignments. Only keys whose
// colour changed are touched, so only they repaint. While keys are lit, one
// layer above them paints them all (see CSkinButtonLayer).

#include <cstddef>
#include <functional>
#include <memory>

#include "controls/CSkinButton.h"
#include "controls/CSkinButtonLayer.h"
#include "lighting/LightingController.h"
#include "lighting/PreviewFrame.h"

namespace keyloom::lighting::qt {

controls::Rgb toTint(Rgb colour);

class KeyViewLighting {
public:
    using KeyButton = std::function<controls::CSkinButton*(int controlId)>;
    explicit KeyViewLighting(KeyButton keyButton) : keyButton_(std::move(keyButton)) {}

    // Shows `frame`: after clear() or showKeyColours() every key, otherwise
    // only the keys whose colour differs from the frame shown last. Returns
    // how many keys were given a new colour.
    std::size_t showFrame(const PreviewFrame& frame);
    // Every key, G buttons included, in its per-key colour of the lighting
    // profile.
    void showKeyColours(const LightingController& controller);
    void showKeyColour(int controlId, Rgb colour);
    // Every key back to its own face.
    void clear();

private:
    void tint(int controlId, std::optional<controls::Rgb> colour);
    // The layer over every key that can be lit, made on first use (the
    // buttons exist by then).
    void paintByLayer(bool on);

    KeyButton keyButton_;
    std::unique_ptr<controls::CSkinButtonLayer> layer_;
    PreviewFrame shown_;
    bool frameShown_ = false;
};

}  // namespace keyloom::lighting::qt
