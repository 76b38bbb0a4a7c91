#include "model/KeyNameCut.h"

namespace keyloom {

std::string CutToCharacters(std::string text, std::size_t maxCharacters) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter) {
            if (characters == maxCharacters) {
                text.resize(i);
                return text;
            }
            ++characters;
        }
    }
    return text;
}

}  // namespace keyloom
