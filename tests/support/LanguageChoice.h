#pragma once
// Test helper: chooses the panel's language in the user's registry
// (HKEY_CURRENT_USER\Software\Tavrinex\MultiLang, value Language) for the
// life of the object, then puts back what was there, so that no test leaves
// its language to the next program run in the same Wine prefix.

#include <windows.h>

#include <string>

namespace testsupport {

class LanguageChoice {
public:
    explicit LanguageChoice(const char* Name)
    {
        char old[256] = {};
        DWORD size = sizeof old;
        FHadValue = RegGetValueA(HKEY_CURRENT_USER, Key, Value, RRF_RT_REG_SZ, nullptr, old, &size) == ERROR_SUCCESS;
        if (FHadValue)
            FOld = old;
        Write(Name);
    }
    ~LanguageChoice()
    {
        if (FHadValue)
            Write(FOld.c_str());
        else
            RegDeleteKeyValueA(HKEY_CURRENT_USER, Key, Value);
    }
    LanguageChoice(const LanguageChoice&) = delete;
    LanguageChoice& operator=(const LanguageChoice&) = delete;

private:
    static constexpr const char* Key = "Software\\Tavrinex\\MultiLang";
    static constexpr const char* Value = "Language";

    static void Write(const char* Name)
    {
        RegSetKeyValueA(HKEY_CURRENT_USER, Key, Value, REG_SZ, Name,
                        static_cast<DWORD>(std::char_traits<char>::length(Name) + 1));
    }

    bool FHadValue = false;
    std::string FOld;
};

} // namespace testsupport
