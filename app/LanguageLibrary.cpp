#include "LanguageLibrary.h"

#include <windows.h>
#include <cstdio>
#include <cstring>

namespace {

using GetLangNameAndPathFn = int(__cdecl*)(const char* folder, char* name, char* path);

constexpr int NameLength = 64; // characters the library may write
constexpr int PathLength = 259; // characters the library may write
constexpr DWORD InitialLookupBytes = 260;
constexpr DWORD MaxLookupBytes = 0x40000000;

// Entry points looked up in the library, in this order. Only the first one
// is called; the others are kept for completeness.
const char* const EntryPointNames[8] = {
    "TvGetLangNameAndPath", "TvTranslateStr", "TvTranslateStrW",     "TvTranslateStrF",
    "TvSetLangName",        "TvGetLangName",  "TvGetLangFolderPath", "TvCheckLangFileName",
};

HMODULE LibraryHandle = nullptr;
FARPROC EntryPoints[8] = {};
char LanguageNameBuffer[NameLength + 1] = {};
char IniPathA[PathLength + 2] = {};
wchar_t IniPathW[PathLength + 1] = {};
wchar_t* LookupBuffer = nullptr;
DWORD LookupBufferBytes = InitialLookupBytes;

void ResetState()
{
    LibraryHandle = nullptr;
    std::memset(EntryPoints, 0, sizeof EntryPoints);
    std::memset(LanguageNameBuffer, 0, sizeof LanguageNameBuffer);
    std::memset(IniPathA, 0, sizeof IniPathA);
    std::memset(IniPathW, 0, sizeof IniPathW);
    LookupBuffer = nullptr;
    LookupBufferBytes = InitialLookupBytes;
}

wchar_t* AllocateLookupBuffer(DWORD bytes)
{
    return static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, bytes));
}

void FreeLookupBuffer()
{
    if (LookupBuffer && !HeapFree(GetProcessHeap(), 0, LookupBuffer))
        OutputDebugStringA("LanguageLibrary: HeapFree failed\n");
    LookupBuffer = nullptr;
}

// The folder of the running executable, without a trailing backslash.
bool GetExecutableFolder(char (&folder)[MAX_PATH])
{
    std::memset(folder, 0, sizeof folder);
    DWORD length = GetModuleFileNameA(nullptr, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false; // failed, or the path was cut off
    char* backslash = std::strrchr(folder, '\\');
    if (!backslash)
        return false;
    *backslash = '\0';
    return true;
}

} // namespace

int LoadLanguageLibrary(const char* languageFolder)
{
    char folder[MAX_PATH];
    if (!GetExecutableFolder(folder))
        return 1;

    char libraryPath[MAX_PATH + 32];
    int written = std::snprintf(libraryPath, sizeof libraryPath, "%s\\images\\%s", folder, "TvMultiLang.dll");
    if (written < 0 || written >= static_cast<int>(sizeof libraryPath))
        return 1;

    LibraryHandle = LoadLibraryA(libraryPath);
    if (!LibraryHandle)
        return 1;

    for (int i = 0; i < 8; ++i)
        EntryPoints[i] = GetProcAddress(LibraryHandle, EntryPointNames[i]);

    // A library without the one function we call is as good as none.
    auto getLangNameAndPath = reinterpret_cast<GetLangNameAndPathFn>(EntryPoints[0]);
    if (!getLangNameAndPath) {
        if (!FreeLibrary(LibraryHandle))
            OutputDebugStringA("LanguageLibrary: FreeLibrary failed\n");
        ResetState();
        return 1;
    }

    getLangNameAndPath(languageFolder ? languageFolder : "", LanguageNameBuffer, IniPathA);
    // Whatever the library wrote, our strings end inside our buffers.
    LanguageNameBuffer[NameLength] = '\0';
    IniPathA[PathLength] = '\0';
    IniPathA[PathLength + 1] = '\0';

    std::memset(IniPathW, 0, sizeof IniPathW);
    if (!MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, IniPathA, -1, IniPathW, PathLength + 1)) {
        // Cannot happen for a string that fits; an empty path finds no file.
        std::memset(IniPathW, 0, sizeof IniPathW);
    }

    LookupBuffer = AllocateLookupBuffer(LookupBufferBytes);
    return 0;
}

int CopyLanguageName(char* destination)
{
    if (destination)
        std::memcpy(destination, LanguageNameBuffer, std::strlen(LanguageNameBuffer) + 1);
    return static_cast<int>(std::strlen(LanguageNameBuffer));
}

const wchar_t* TranslateText(const wchar_t* key)
{
    if (!key)
        return nullptr;
    if (!LookupBuffer)
        return key;

    DWORD capacity = LookupBufferBytes / 2;
    DWORD count = GetPrivateProfileStringW(L"Translations", key, key, LookupBuffer, capacity, IniPathW);
    // A count of capacity - 1 means the text may have been cut off: grow and
    // read again until it fits.
    while (count == capacity - 1 && LookupBufferBytes <= MaxLookupBytes) {
        wchar_t* larger = AllocateLookupBuffer(LookupBufferBytes * 2);
        if (!larger)
            break; // keep what we have: the text as far as it fitted
        FreeLookupBuffer();
        LookupBuffer = larger;
        LookupBufferBytes *= 2;
        capacity = LookupBufferBytes / 2;
        count = GetPrivateProfileStringW(L"Translations", key, key, LookupBuffer, capacity, IniPathW);
    }
    return LookupBuffer;
}

int ReleaseLanguageLibrary()
{
    FreeLookupBuffer();
    int result = 1;
    if (LibraryHandle)
        result = FreeLibrary(LibraryHandle);
    ResetState();
    return result;
}
