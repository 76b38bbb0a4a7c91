#include "LightingPictures.h"

namespace keyloom::painter {

std::vector<NamedPicture> drawLightingPictures(const SkinLayout&) {
    return {};
}

}  // namespace keyloom::painter
