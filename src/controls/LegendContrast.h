#pragma once
// Which legend reads better on a lit key: the key pictures draw light
// legends on dark caps, and a light lighting colour (yellow, white) washes
// them out. The choice is the one with the higher contrast ratio against the
// key colour, from its relative luminance (sRGB).

#include <cstdint>

namespace keyloom::controls {

// `colour` is 0xRRGGBB. True when dark legends contrast more with it than
// light ones.
bool wantsDarkLegend(std::uint32_t colour);

}  // namespace keyloom::controls
