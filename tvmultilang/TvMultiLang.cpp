#include "TvMultiLang.h"
#include "LanguageNames.h"

#include <windows.h>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int MaxNameLength = 64;
constexpr int MaxPathLength = 259;
constexpr DWORD MaxLookupCharacters = 1 << 20;

// The process's own choice (TvSetLangName) and the language folder
// (TvGetLangNameAndPath); both empty at first.
char ChosenName[MaxNameLength + 1] = {};
char LanguageFolder[MaxPathLength + 1] = {};

// Copies src to dest, cut to size - 1 characters and zero-terminated; writes
// nothing when dest is null or size < 1. Returns src's length.
int CopyCut(char* dest, int size, const char* src)
{
    size_t length = std::strlen(src);
    if (dest && size > 0) {
        size_t count = length < static_cast<size_t>(size - 1) ? length : static_cast<size_t>(size - 1);
        std::memcpy(dest, src, count);
        dest[count] = '\0';
    }
    return static_cast<int>(length);
}

// The registry's choice, or an empty string when it makes none.
std::string RegistryLanguage()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Tavrinex\\MultiLang", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::string();
    char value[MaxNameLength + 2] = {};
    DWORD type = 0;
    DWORD bytes = MaxNameLength + 1;
    LONG status = RegQueryValueExA(key, "Language", nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return std::string();
    value[bytes <= MaxNameLength + 1 ? bytes : MaxNameLength + 1] = '\0';
    return IsValidLanguageName(value) ? std::string(value) : std::string();
}

std::string CurrentLanguage()
{
    if (ChosenName[0])
        return ChosenName;
    std::string name = RegistryLanguage();
    if (!name.empty())
        return name;
    return LanguageNameForLangId(GetUserDefaultUILanguage());
}

// "<folder><name>.ini", cut to MaxPathLength characters.
std::string LanguageFilePath(const std::string& name)
{
    std::string path = std::string(LanguageFolder) + name + ".ini";
    if (path.size() > static_cast<size_t>(MaxPathLength))
        path.resize(MaxPathLength);
    return path;
}

std::wstring ToWide(const char* text)
{
    int count = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (count <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(count), L'\0');
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], count))
        return std::wstring();
    wide.resize(static_cast<size_t>(count - 1));
    return wide;
}

std::string ToNarrow(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int count = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (count <= 0)
        return std::string();
    std::string narrow(static_cast<size_t>(count), '\0');
    if (!WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], count, nullptr, nullptr))
        return std::string();
    narrow.resize(static_cast<size_t>(count - 1));
    return narrow;
}

// The translation of key in the current language's file, or key itself.
std::wstring LookUp(const std::wstring& key)
{
    if (!LanguageFolder[0] || key.empty())
        return key;
    std::wstring path = ToWide(LanguageFilePath(CurrentLanguage()).c_str());
    if (path.empty())
        return key;
    std::wstring buffer(256, L'\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD count =
            GetPrivateProfileStringW(L"Translations", key.c_str(), key.c_str(), &buffer[0], size, path.c_str());
        // size - 1 characters may mean a cut-off text: read again, larger.
        if (count < size - 1 || size >= MaxLookupCharacters) {
            buffer.resize(count);
            return buffer;
        }
        buffer.assign(static_cast<size_t>(size) * 2, L'\0');
    }
}

// LookUp for narrow texts; the key itself when the translation cannot be
// converted to the ANSI code page.
std::string LookUpNarrow(const char* key)
{
    std::wstring translated = LookUp(ToWide(key));
    std::string narrow = ToNarrow(translated);
    if (narrow.empty() && !translated.empty())
        return key;
    return narrow;
}

// Copies text to dest cut to size - 1 bytes without splitting a double-byte
// character. Returns the number of bytes written.
int CopyCutAnsi(char* dest, int size, const std::string& text)
{
    size_t limit = static_cast<size_t>(size - 1);
    size_t count = 0;
    while (count < text.size()) {
        size_t step = IsDBCSLeadByte(static_cast<BYTE>(text[count])) ? 2 : 1;
        if (count + step > limit || count + step > text.size())
            break;
        count += step;
    }
    std::memcpy(dest, text.data(), count);
    dest[count] = '\0';
    return static_cast<int>(count);
}

} // namespace

TVMULTILANG_API int __cdecl TvGetLangNameAndPath(const char* folder, char* name, char* path)
{
    if (!name || !path)
        return -1;
    CopyCut(LanguageFolder, sizeof LanguageFolder, folder ? folder : "");
    std::string current = CurrentLanguage();
    CopyCut(name, MaxNameLength + 1, current.c_str());
    CopyCut(path, MaxPathLength + 1, LanguageFilePath(current).c_str());
    return 0;
}

TVMULTILANG_API int __cdecl TvTranslateStr(const char* key, char* text, int size)
{
    if (!key || !text || size < 1)
        return -1;
    return CopyCutAnsi(text, size, LookUpNarrow(key));
}

TVMULTILANG_API int __cdecl TvTranslateStrW(const wchar_t* key, wchar_t* text, int size)
{
    if (!key || !text || size < 1)
        return -1;
    std::wstring translated = LookUp(key);
    size_t count =
        translated.size() < static_cast<size_t>(size - 1) ? translated.size() : static_cast<size_t>(size - 1);
    std::memcpy(text, translated.data(), count * sizeof(wchar_t));
    text[count] = L'\0';
    return static_cast<int>(count);
}

TVMULTILANG_API int __cdecl TvTranslateStrF(char* text, int size, const char* format, ...)
{
    if (!format || !text || size < 1)
        return -1;
    std::string translated = LookUpNarrow(format);
    va_list args;
    va_start(args, format);
    int result = std::vsnprintf(text, static_cast<size_t>(size), translated.c_str(), args);
    va_end(args);
    return result;
}

TVMULTILANG_API int __cdecl TvSetLangName(const char* name)
{
    if (!name || !name[0]) {
        ChosenName[0] = '\0';
        return 0;
    }
    if (!IsValidLanguageName(name))
        return -1;
    CopyCut(ChosenName, sizeof ChosenName, name);
    return 0;
}

TVMULTILANG_API int __cdecl TvGetLangName(char* name, int size)
{
    return CopyCut(name, size, CurrentLanguage().c_str());
}

TVMULTILANG_API int __cdecl TvGetLangFolderPath(char* path, int size)
{
    return CopyCut(path, size, LanguageFolder);
}

TVMULTILANG_API int __cdecl TvCheckLangFileName(const char* fileName)
{
    if (!fileName)
        return 0;
    size_t length = std::strlen(fileName);
    if (length <= 4 || lstrcmpiA(fileName + length - 4, ".ini") != 0)
        return 0;
    std::string stem(fileName, length - 4);
    return IsValidLanguageName(stem.c_str()) ? 1 : 0;
}
