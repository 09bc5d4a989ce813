#include "LanguageNames.h"

namespace {

struct PrimaryLanguage {
    WORD primary;
    const char* name;
};

// Languages that need no look at the sub-language.
const PrimaryLanguage PrimaryLanguages[] = {
    {LANG_DANISH, "Danish"},         {LANG_JAPANESE, "Japanese"},     {LANG_POLISH, "Poland"},
    {LANG_SPANISH, "Spanish"},       {LANG_DUTCH, "Dutch"},           {LANG_TURKISH, "Turkish"},
    {LANG_VIETNAMESE, "Vietnamese"}, {LANG_INDONESIAN, "Indonesian"}, {LANG_HUNGARIAN, "Hungarian"},
    {LANG_FRENCH, "French"},         {LANG_GERMAN, "German"},         {LANG_ITALIAN, "Italian"},
    {LANG_KOREAN, "Korean"},         {LANG_RUSSIAN, "Russian"},
};

} // namespace

const char* LanguageNameForLangId(LANGID id)
{
    WORD primary = PRIMARYLANGID(id);
    WORD sub = SUBLANGID(id);
    switch (primary) {
    case LANG_CHINESE:
        // Taiwan, Hong Kong, Macau and the neutral traditional script write
        // traditional characters; the mainland, Singapore and the neutral
        // simplified script simplified ones.
        if (sub == SUBLANG_CHINESE_TRADITIONAL || sub == SUBLANG_CHINESE_HONGKONG || sub == SUBLANG_CHINESE_MACAU ||
            id == LANG_CHINESE_TRADITIONAL)
            return "TChinese";
        return "SChinese";
    case LANG_PORTUGUESE: return sub == SUBLANG_PORTUGUESE_BRAZILIAN ? "Brazil" : "Portuguese";
    case LANG_CROATIAN:
        // The same primary language stands for Serbian and Bosnian.
        if (sub == SUBLANG_CROATIAN_CROATIA || sub == SUBLANG_CROATIAN_BOSNIA_HERZEGOVINA_LATIN)
            return "Croatian";
        return "English";
    default: break;
    }
    for (const PrimaryLanguage& language : PrimaryLanguages) {
        if (language.primary == primary)
            return language.name;
    }
    return "English";
}

bool IsValidLanguageName(const char* name)
{
    if (!name || !name[0])
        return false;
    int length = 0;
    for (const char* p = name; *p; ++p, ++length) {
        char c = *p;
        bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
        if (!ok || length >= 64)
            return false;
    }
    return true;
}
