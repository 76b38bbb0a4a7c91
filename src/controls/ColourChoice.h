#pragma once
// The colour of a colour picker: the colour the user chose, or the picker's
// automatic colour while none is chosen.

#include <optional>

#include "controls/SkinButtonState.h"

namespace keyloom::controls {

class ColourChoice {
public:
    Rgb colour() const { return chosen_.value_or(automatic_); }
    bool hasChosen() const { return chosen_.has_value(); }

    void setAutomatic(Rgb colour) { automatic_ = colour & 0xFFFFFFu; }
    Rgb automatic() const { return automatic_; }
    // Returns whether the shown colour changed.
    bool choose(Rgb colour);
    // Back to the automatic colour; returns whether the shown colour changed.
    bool clear();

private:
    std::optional<Rgb> chosen_;
    Rgb automatic_ = 0;
};

}  // namespace keyloom::controls
