#include "storage/SystemLanguage.h"

#include <cstdlib>

#include "storage/LanguageTables.h"

namespace keyloom {

namespace {

struct LocaleLanguage {
    std::string_view locale;  // "ll_CC"; the first row of a language is its main id
    std::uint16_t id;
};

// Every id of the regional-language table, and the common languages.
constexpr LocaleLanguage kLocaleLanguages[] = {
    {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09},  {"en_CA", 0x1009}, {"en_NZ", 0x1409},
    {"en_IE", 0x1809}, {"en_ZA", 0x1C09}, {"en_JM", 0x2009},  {"en_AG", 0x2409}, {"en_BS", 0x2409},
    {"en_BZ", 0x2809}, {"en_TT", 0x2C09}, {"en_ZW", 0x3009},  {"en_PH", 0x3409}, {"en_HK", 0x3C09},
    {"en_IN", 0x4009}, {"en_MY", 0x4409}, {"en_SG", 0x4809},  {"en_AE", 0x4C09},

    {"zh_CN", 0x0804}, {"zh_TW", 0x0404}, {"zh_HK", 0x0C04},  {"zh_SG", 0x1004}, {"zh_MO", 0x1404},

    {"fr_FR", 0x040C}, {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C},  {"fr_CH", 0x100C}, {"fr_LU", 0x140C},
    {"fr_MC", 0x180C}, {"fr_GP", 0x1C0C}, {"fr_MQ", 0x1C0C},  {"fr_RE", 0x200C}, {"fr_CD", 0x240C},
    {"fr_SN", 0x280C}, {"fr_CM", 0x2C0C}, {"fr_CI", 0x300C},  {"fr_ML", 0x340C}, {"fr_MA", 0x380C},
    {"fr_HT", 0x3C0C}, {"fr_DZ", 0xE40C}, {"fr_TN", 0xE40C},

    {"de_DE", 0x0407}, {"de_CH", 0x0807}, {"de_AT", 0x0C07},  {"de_LU", 0x1007}, {"de_LI", 0x1407},

    {"es_ES", 0x0C0A}, {"es_MX", 0x080A}, {"es_GT", 0x100A},  {"es_CR", 0x140A}, {"es_PA", 0x180A},
    {"es_DO", 0x1C0A}, {"es_VE", 0x200A}, {"es_CO", 0x240A},  {"es_PE", 0x280A}, {"es_AR", 0x2C0A},
    {"es_EC", 0x300A}, {"es_CL", 0x340A}, {"es_UY", 0x380A},  {"es_PY", 0x3C0A}, {"es_BO", 0x400A},
    {"es_SV", 0x440A}, {"es_HN", 0x480A}, {"es_NI", 0x4C0A},  {"es_PR", 0x500A}, {"es_US", 0x540A},

    {"pt_BR", 0x0416}, {"pt_PT", 0x0816}, {"it_IT", 0x0410},  {"it_CH", 0x0810}, {"nl_NL", 0x0413},
    {"nl_BE", 0x0813}, {"sv_SE", 0x041D}, {"sv_FI", 0x081D},  {"nb_NO", 0x0414}, {"no_NO", 0x0414},
    {"nn_NO", 0x0814}, {"da_DK", 0x0406}, {"fi_FI", 0x040B},  {"is_IS", 0x040F}, {"ga_IE", 0x083C},
    {"cy_GB", 0x0452}, {"ca_ES", 0x0403}, {"eu_ES", 0x042D},  {"gl_ES", 0x0456}, {"lb_LU", 0x046E},
    {"mt_MT", 0x043A},

    {"ja_JP", 0x0411}, {"ko_KR", 0x0412}, {"ru_RU", 0x0419},  {"uk_UA", 0x0422}, {"be_BY", 0x0423},
    {"pl_PL", 0x0415}, {"cs_CZ", 0x0405}, {"sk_SK", 0x041B},  {"hu_HU", 0x040E}, {"ro_RO", 0x0418},
    {"bg_BG", 0x0402}, {"hr_HR", 0x041A}, {"sl_SI", 0x0424},  {"mk_MK", 0x042F}, {"sq_AL", 0x041C},
    {"lt_LT", 0x0427}, {"lv_LV", 0x0426}, {"et_EE", 0x0425},  {"el_GR", 0x0408}, {"tr_TR", 0x041F},
    {"kk_KZ", 0x043F}, {"ka_GE", 0x0437}, {"hy_AM", 0x042B},

    {"he_IL", 0x040D}, {"ar_SA", 0x0401}, {"ar_EG", 0x0C01},  {"fa_IR", 0x0429}, {"ur_PK", 0x0420},
    {"hi_IN", 0x0439}, {"bn_IN", 0x0445}, {"ta_IN", 0x0449},  {"th_TH", 0x041E}, {"vi_VN", 0x042A},
    {"id_ID", 0x0421}, {"ms_MY", 0x043E}, {"fil_PH", 0x0464}, {"sw_KE", 0x0441}, {"af_ZA", 0x0436},
};

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::uint16_t languageIdOfLocale(std::string_view locale) {
    // Drop ".codeset" and "@modifier".
    locale = locale.substr(0, locale.find_first_of(".@"));
    auto separator = locale.find_first_of("_-");
    std::string language;
    for (char c : locale.substr(0, separator))
        language += lower(c);
    std::string region;
    if (separator != std::string_view::npos) {
        for (char c : locale.substr(separator + 1))
            region += upper(c);
    }
    if (language.empty())
        return kFallbackLanguage;

    std::string full = language + "_" + region;
    const LocaleLanguage* languageOnly = nullptr;
    for (const LocaleLanguage& row : kLocaleLanguages) {
        if (!region.empty() && row.locale == full)
            return row.id;
        std::string_view rowLanguage = row.locale.substr(0, row.locale.find('_'));
        if (!languageOnly && rowLanguage == language)
            languageOnly = &row;
    }
    return languageOnly ? languageOnly->id : kFallbackLanguage;
}

std::string messagesLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value != nullptr && value[0] != '\0')
            return value;
    }
    return "C";
}

std::uint16_t systemLanguageId() {
    return languageIdOfLocale(
        messagesLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")));
}

}  // namespace keyloom
