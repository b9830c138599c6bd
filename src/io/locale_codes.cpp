#include "io/locale_codes.h"

#include <cstring>
#include <string>

namespace vexel {

namespace {

struct CodeRange {
    const char* code;
    uint16_t ids[20];  // zero-terminated when shorter
};

// Identifier to code. Codes are what the engine has always answered, including its quirks
// (US English gives "uk", other English "us", Greek "gr").
const CodeRange kCodes[] = {
    {"ar",
     {0x0401, 0x0801, 0x0C01, 0x1001, 0x1401, 0x1801, 0x1C01, 0x2001, 0x2401, 0x2801, 0x2C01,
      0x3001, 0x3401, 0x3801, 0x3C01, 0x4001}},
    {"bg", {0x0402}},
    {"ca", {0x0403}},
    {"ch", {0x0404, 0x0804}},
    {"cs", {0x0405}},
    {"da", {0x0406}},
    {"de", {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407}},
    {"gr", {0x0408}},
    {"uk", {0x0409, 0x0422}},
    {"es", {0x040A, 0x080A, 0x0C0A, 0x100A, 0x140A, 0x180A, 0x1C0A, 0x200A, 0x240A, 0x280A,
            0x2C0A, 0x300A, 0x340A, 0x380A, 0x3C0A, 0x400A, 0x440A, 0x480A, 0x4C0A, 0x500A}},
    {"fi", {0x040B}},
    {"fr", {0x040C, 0x080C, 0x0C0C, 0x100C, 0x140C, 0x180C}},
    {"he", {0x040D}},
    {"hu", {0x040E}},
    {"is", {0x040F}},
    {"it", {0x0410, 0x0810}},
    {"jp", {0x0411}},
    {"ko", {0x0412}},
    {"nl", {0x0413, 0x0813}},
    {"no", {0x0414, 0x0814}},
    {"pl", {0x0415}},
    {"pt", {0x0416, 0x0816}},
    {"ro", {0x0418}},
    {"ru", {0x0419}},
    {"hr", {0x041A}},
    {"sk", {0x041B}},
    {"sq", {0x041C}},
    {"sv", {0x041D, 0x081D}},
    {"th", {0x041E}},
    {"tr", {0x041F}},
    {"ur", {0x0420, 0x0820}},
    {"in", {0x0421}},
    {"be", {0x0423, 0x0445}},
    {"sl", {0x0424}},
    {"et", {0x0425}},
    {"lv", {0x0426}},
    {"lt", {0x0427, 0x0827}},
    {"fa", {0x0429}},
    {"vi", {0x042A}},
    {"hy", {0x042B}},
    {"az", {0x042C, 0x082C}},
    {"eu", {0x042D}},
    {"mk", {0x042F}},
    {"af", {0x0436}},
    {"ka", {0x0437, 0x044B}},
    {"fo", {0x0438}},
    {"hi", {0x0439}},
    {"ms", {0x043E, 0x083E}},
    {"kk", {0x043F}},
    {"ky", {0x0440}},
    {"sw", {0x0441}},
    {"uz", {0x0443, 0x0843}},
    {"tt", {0x0444}},
    {"pa", {0x0446}},
    {"gu", {0x0447}},
    {"or", {0x0448}},
    {"ta", {0x0449}},
    {"te", {0x044A}},
    {"ma", {0x044C, 0x044E}},
    {"as", {0x044D}},
    {"sa", {0x044F}},
    {"mo", {0x0450}},
    {"gl", {0x0456}},
    {"kn", {0x0457}},
    {"sy", {0x045A}},
    {"di", {0x0465}},
    {"sr", {0x081A, 0x0C1A}},
    {"zh", {0x0C04, 0x1004, 0x1404}},
};

struct LocaleId {
    const char* name;  // language, or language_TERRITORY, or language@modifier
    uint16_t id;
};

// POSIX locales to identifiers. A language with a territory is looked up with it first, then
// alone (its main identifier).
const LocaleId kLocaleIds[] = {
    {"ar", 0x0401},    {"ar_SA", 0x0401},    {"ar_IQ", 0x0801}, {"ar_EG", 0x0C01},
    {"ar_LY", 0x1001}, {"ar_DZ", 0x1401},    {"ar_MA", 0x1801}, {"ar_TN", 0x1C01},
    {"ar_OM", 0x2001}, {"ar_YE", 0x2401},    {"ar_SY", 0x2801}, {"ar_JO", 0x2C01},
    {"ar_LB", 0x3001}, {"ar_KW", 0x3401},    {"ar_AE", 0x3801}, {"ar_BH", 0x3C01},
    {"ar_QA", 0x4001}, {"bg", 0x0402},       {"ca", 0x0403},    {"zh", 0x0804},
    {"zh_TW", 0x0404}, {"zh_CN", 0x0804},    {"zh_HK", 0x0C04}, {"zh_SG", 0x1004},
    {"zh_MO", 0x1404}, {"cs", 0x0405},       {"da", 0x0406},    {"de", 0x0407},
    {"de_DE", 0x0407}, {"de_CH", 0x0807},    {"de_AT", 0x0C07}, {"de_LU", 0x1007},
    {"de_LI", 0x1407}, {"el", 0x0408},       {"en", 0x0409},    {"en_US", 0x0409},
    {"en_GB", 0x0809}, {"en_AU", 0x0C09},    {"en_CA", 0x1009}, {"en_NZ", 0x1409},
    {"en_IE", 0x1809}, {"en_ZA", 0x1C09},    {"en_JM", 0x2009}, {"en_AG", 0x2409},
    {"en_BZ", 0x2809}, {"en_TT", 0x2C09},    {"en_ZW", 0x3009}, {"en_PH", 0x3409},
    {"es", 0x0C0A},    {"es_ES", 0x0C0A},    {"es_MX", 0x080A}, {"es_GT", 0x100A},
    {"es_CR", 0x140A}, {"es_PA", 0x180A},    {"es_DO", 0x1C0A}, {"es_VE", 0x200A},
    {"es_CO", 0x240A}, {"es_PE", 0x280A},    {"es_AR", 0x2C0A}, {"es_EC", 0x300A},
    {"es_CL", 0x340A}, {"es_UY", 0x380A},    {"es_PY", 0x3C0A}, {"es_BO", 0x400A},
    {"es_SV", 0x440A}, {"es_HN", 0x480A},    {"es_NI", 0x4C0A}, {"es_PR", 0x500A},
    {"fi", 0x040B},    {"fr", 0x040C},       {"fr_FR", 0x040C}, {"fr_BE", 0x080C},
    {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C},    {"fr_LU", 0x140C}, {"fr_MC", 0x180C},
    {"he", 0x040D},    {"iw", 0x040D},       {"hu", 0x040E},    {"is", 0x040F},
    {"it", 0x0410},    {"it_CH", 0x0810},    {"ja", 0x0411},    {"ko", 0x0412},
    {"nl", 0x0413},    {"nl_BE", 0x0813},    {"nb", 0x0414},    {"no", 0x0414},
    {"nn", 0x0814},    {"pl", 0x0415},       {"pt", 0x0416},    {"pt_BR", 0x0416},
    {"pt_PT", 0x0816}, {"ro", 0x0418},       {"ru", 0x0419},    {"hr", 0x041A},
    {"sk", 0x041B},    {"sq", 0x041C},       {"sv", 0x041D},    {"sv_FI", 0x081D},
    {"th", 0x041E},    {"tr", 0x041F},       {"ur", 0x0420},    {"ur_IN", 0x0820},
    {"id", 0x0421},    {"uk", 0x0422},       {"be", 0x0423},    {"sl", 0x0424},
    {"et", 0x0425},    {"lv", 0x0426},       {"lt", 0x0427},    {"fa", 0x0429},
    {"vi", 0x042A},    {"hy", 0x042B},       {"az", 0x042C},    {"eu", 0x042D},
    {"mk", 0x042F},    {"af", 0x0436},       {"ka", 0x0437},    {"fo", 0x0438},
    {"hi", 0x0439},    {"ms", 0x043E},       {"ms_BN", 0x083E}, {"kk", 0x043F},
    {"ky", 0x0440},    {"sw", 0x0441},       {"uz", 0x0443},    {"tt", 0x0444},
    {"bn", 0x0445},    {"pa", 0x0446},       {"gu", 0x0447},    {"or", 0x0448},
    {"ta", 0x0449},    {"te", 0x044A},       {"kn", 0x044B},    {"ml", 0x044C},
    {"as", 0x044D},    {"mr", 0x044E},       {"sa", 0x044F},    {"mn", 0x0450},
    {"gl", 0x0456},    {"kok", 0x0457},      {"syr", 0x045A},   {"dv", 0x0465},
    {"sr", 0x0C1A},    {"sr@latin", 0x081A},
};

uint16_t find_locale_id(const std::string& name) {
    for (const LocaleId& entry : kLocaleIds) {
        if (name == entry.name) return entry.id;
    }
    return 0;
}

}  // namespace

uint16_t language_id_for_locale(const char* locale) {
    if (!locale) return 0;
    std::string language;
    std::string territory;
    std::string modifier;
    const char* c = locale;
    for (; *c && *c != '_' && *c != '.' && *c != '@'; ++c) {
        language += static_cast<char>(*c >= 'A' && *c <= 'Z' ? *c - 'A' + 'a' : *c);
    }
    if (*c == '_') {
        for (++c; *c && *c != '.' && *c != '@'; ++c) {
            territory += static_cast<char>(*c >= 'a' && *c <= 'z' ? *c - 'a' + 'A' : *c);
        }
    }
    while (*c && *c != '@')
        ++c;
    if (*c == '@') modifier = c + 1;

    if (!modifier.empty()) {
        if (uint16_t id = find_locale_id(language + "@" + modifier)) return id;
    }
    if (!territory.empty()) {
        if (uint16_t id = find_locale_id(language + "_" + territory)) return id;
    }
    return find_locale_id(language);
}

const char* language_code(uint16_t language_id) {
    for (const CodeRange& range : kCodes) {
        for (uint16_t id : range.ids) {
            if (id == 0) break;
            if (id == language_id) return range.code;
        }
    }
    return "us";
}

}  // namespace vexel
