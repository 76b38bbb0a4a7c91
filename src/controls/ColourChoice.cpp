#include "controls/ColourChoice.h"

namespace keyloom::controls {

bool ColourChoice::choose(Rgb colour) {
    const Rgb before = this->colour();
    chosen_ = colour & 0xFFFFFFu;
    return this->colour() != before;
}

bool ColourChoice::clear() {
    const Rgb before = colour();
    chosen_.reset();
    return colour() != before;
}

}  // namespace keyloom::controls
