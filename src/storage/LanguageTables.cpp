#include "storage/LanguageTables.h"

namespace keyloom {

namespace {

struct RegionalLanguage {
    std::uint16_t regional;
    std::uint16_t primary;
};

constexpr RegionalLanguage kRegionalLanguages[] = {
    // Chinese (Hong Kong, Singapore) and English variants.
    {0x0C04, 0x0409},
    {0x1004, 0x0409},
    {0x0809, 0x0409},
    {0x0C09, 0x0409},
    {0x1009, 0x0409},
    {0x1409, 0x0409},
    {0x1809, 0x0409},
    {0x1C09, 0x0409},
    {0x2009, 0x0409},
    {0x2409, 0x0409},
    {0x2809, 0x0409},
    {0x2C09, 0x0409},
    // French variants.
    {0x080C, 0x040C},
    {0x2C0C, 0x040C},
    {0x0C0C, 0x040C},
    {0x240C, 0x040C},
    {0x300C, 0x040C},
    {0x3C0C, 0x040C},
    {0x140C, 0x040C},
    {0x340C, 0x040C},
    {0x180C, 0x040C},
    {0x380C, 0x040C},
    {0xE40C, 0x040C},
    {0x200C, 0x040C},
    {0x280C, 0x040C},
    {0x100C, 0x040C},
    {0x1C0C, 0x040C},
    // German variants.
    {0x0C07, 0x0407},
    {0x1407, 0x0407},
    {0x1007, 0x0407},
    {0x0807, 0x0407},
};

}  // namespace

std::uint16_t foldRegionalLanguage(std::uint16_t languageId) {
    for (const RegionalLanguage& row : kRegionalLanguages) {
        if (row.regional == languageId)
            return row.primary;
    }
    return languageId;
}

int indexOfLanguage(std::uint16_t languageId) {
    for (std::size_t index = 0; index < kSupportedLanguages.size(); ++index) {
        if (kSupportedLanguages[index] == languageId)
            return static_cast<int>(index);
    }
    return -1;
}

std::uint16_t languageIdOfIndex(int languageIndex) {
    if (languageIndex < 0 || languageIndex > 2)
        languageIndex = 0;
    return kSupportedLanguages[static_cast<std::size_t>(languageIndex)];
}

}  // namespace keyloom
