// TvMultiLang.dll, loaded as dockhint loads it: from images\ beside the
// program, its functions bound by their plain names. The registry is this
// process's own: HKEY_CURRENT_USER is redirected to a private key.
#include "LanguageNames.h"

#include <gtest/gtest.h>

#include "support/Utf16File.h"
#include <windows.h>
#include <cstring>
#include <string>
#include <vector>
#include "support/PanelTexts.h"

namespace {

using testsupport::ModelsKey;
using testsupport::PortsKey;

using GetLangNameAndPathFn = int(__cdecl*)(const char*, char*, char*);
using TranslateStrFn = int(__cdecl*)(const char*, char*, int);
using TranslateStrWFn = int(__cdecl*)(const wchar_t*, wchar_t*, int);
using TranslateStrFFn = int(__cdecl*)(char*, int, const char*, ...);
using SetLangNameFn = int(__cdecl*)(const char*);
using GetTextFn = int(__cdecl*)(char*, int);
using CheckLangFileNameFn = int(__cdecl*)(const char*);

const char* const EntryPointNames[] = {
    "TvGetLangNameAndPath", "TvTranslateStr", "TvTranslateStrW",     "TvTranslateStrF",
    "TvSetLangName",        "TvGetLangName",  "TvGetLangFolderPath", "TvCheckLangFileName",
};

// Every language the library can report, and so every file we ship.
const char* const ShippedLanguages[] = {
    "TChinese", "SChinese", "Danish",  "Japanese",   "Poland",     "Portuguese", "Brazil",
    "Spanish",  "Dutch",    "Turkish", "Vietnamese", "Indonesian", "Croatian",   "Hungarian",
    "French",   "German",   "Italian", "Korean",     "Russian",    "English",
};

std::string ExeFolder()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\'));
}
class TvMultiLangTest : public testing::Test {
protected:
    static void SetUpTestSuite() { Library = LoadLibraryA((ExeFolder() + "\\images\\TvMultiLang.dll").c_str()); }

    static void TearDownTestSuite()
    {
        if (Library)
            FreeLibrary(Library);
        Library = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(nullptr, Library) << "images\\TvMultiLang.dll beside the test";
        GetLangNameAndPath = reinterpret_cast<GetLangNameAndPathFn>(GetProcAddress(Library, "TvGetLangNameAndPath"));
        TranslateStr = reinterpret_cast<TranslateStrFn>(GetProcAddress(Library, "TvTranslateStr"));
        TranslateStrW = reinterpret_cast<TranslateStrWFn>(GetProcAddress(Library, "TvTranslateStrW"));
        TranslateStrF = reinterpret_cast<TranslateStrFFn>(GetProcAddress(Library, "TvTranslateStrF"));
        SetLangName = reinterpret_cast<SetLangNameFn>(GetProcAddress(Library, "TvSetLangName"));
        GetLangName = reinterpret_cast<GetTextFn>(GetProcAddress(Library, "TvGetLangName"));
        GetLangFolderPath = reinterpret_cast<GetTextFn>(GetProcAddress(Library, "TvGetLangFolderPath"));
        CheckLangFileName = reinterpret_cast<CheckLangFileNameFn>(GetProcAddress(Library, "TvCheckLangFileName"));
        ASSERT_TRUE(GetLangNameAndPath && TranslateStr && TranslateStrW && TranslateStrF && SetLangName &&
                    GetLangName && GetLangFolderPath && CheckLangFileName);
        SetLangName(nullptr);

        // A private HKEY_CURRENT_USER for this process.
        PrivateKeyPath = "Software\\PorticaTests\\tvmultilang-" + std::to_string(GetCurrentProcessId());
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, PrivateKeyPath.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &PrivateRoot, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, PrivateRoot));
        Overridden = true;
    }

    void TearDown() override
    {
        if (Overridden)
            RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        if (PrivateRoot) {
            RegCloseKey(PrivateRoot);
            RegDeleteTreeA(HKEY_CURRENT_USER, PrivateKeyPath.c_str());
        }
        if (SetLangName)
            SetLangName(nullptr);
    }

    void SetRegistryValue(DWORD type, const void* data, DWORD bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tavrinex\\MultiLang", 0, nullptr, 0,
                                                 KEY_SET_VALUE, nullptr, &key, nullptr));
        LONG status = RegSetValueExA(key, "Language", 0, type, static_cast<const BYTE*>(data), bytes);
        RegCloseKey(key);
        ASSERT_EQ(ERROR_SUCCESS, status);
    }

    void SetRegistryLanguage(const std::string& name)
    {
        SetRegistryValue(REG_SZ, name.c_str(), static_cast<DWORD>(name.size() + 1));
    }

    // The name that TvGetLangNameAndPath reports now.
    std::string ReportedName()
    {
        char name[65] = {};
        char path[260] = {};
        EXPECT_EQ(0, GetLangNameAndPath("C:\\Lang\\", name, path));
        return name;
    }

    static std::string UiLanguageName() { return LanguageNameForLangId(GetUserDefaultUILanguage()); }

    static HMODULE Library;
    GetLangNameAndPathFn GetLangNameAndPath = nullptr;
    TranslateStrFn TranslateStr = nullptr;
    TranslateStrWFn TranslateStrW = nullptr;
    TranslateStrFFn TranslateStrF = nullptr;
    SetLangNameFn SetLangName = nullptr;
    GetTextFn GetLangName = nullptr;
    GetTextFn GetLangFolderPath = nullptr;
    CheckLangFileNameFn CheckLangFileName = nullptr;
    std::string PrivateKeyPath;
    HKEY PrivateRoot = nullptr;
    bool Overridden = false;
};

HMODULE TvMultiLangTest::Library = nullptr;

TEST_F(TvMultiLangTest, ExportsEveryEntryPointByPlainName)
{
    for (const char* name : EntryPointNames)
        EXPECT_NE(nullptr, GetProcAddress(Library, name)) << name;
}

TEST_F(TvMultiLangTest, RegistryLanguageNamesFileInFolder)
{
    SetRegistryLanguage("German");
    char name[65];
    char path[260];
    std::memset(name, 'x', sizeof name);
    std::memset(path, 'x', sizeof path);
    EXPECT_EQ(0, GetLangNameAndPath("C:\\Dock\\Images\\LangFiles\\", name, path));
    EXPECT_STREQ("German", name);
    EXPECT_STREQ("C:\\Dock\\Images\\LangFiles\\German.ini", path);
}

TEST_F(TvMultiLangTest, RegistryIsReadOnEveryCall)
{
    SetRegistryLanguage("German");
    EXPECT_EQ("German", ReportedName());
    SetRegistryLanguage("japanese");
    EXPECT_EQ("japanese", ReportedName()) << "the name as the registry spells it";
}

TEST_F(TvMultiLangTest, UnusableRegistryValueFallsBackToUiLanguage)
{
    EXPECT_EQ(UiLanguageName(), ReportedName()) << "no key";
    SetRegistryLanguage("");
    EXPECT_EQ(UiLanguageName(), ReportedName()) << "empty value";
    SetRegistryLanguage("..\\..\\Windows\\win");
    EXPECT_EQ(UiLanguageName(), ReportedName()) << "not a name: a path";
    SetRegistryLanguage(std::string(65, 'N'));
    EXPECT_EQ(UiLanguageName(), ReportedName()) << "65 characters";
    DWORD number = 7;
    SetRegistryValue(REG_DWORD, &number, sizeof number);
    EXPECT_EQ(UiLanguageName(), ReportedName()) << "not a string";
    SetRegistryLanguage(std::string(64, 'N'));
    EXPECT_EQ(std::string(64, 'N'), ReportedName()) << "64 characters are a name";
}

TEST_F(TvMultiLangTest, PathIsCutAt259Characters)
{
    SetRegistryLanguage("Hungarian");
    std::string folder = "C:\\" + std::string(250, 'f') + "\\";
    char name[65] = {};
    char path[300];
    std::memset(path, 'x', sizeof path);
    EXPECT_EQ(0, GetLangNameAndPath(folder.c_str(), name, path));
    EXPECT_STREQ("Hungarian", name);
    EXPECT_EQ(259u, std::strlen(path));
    EXPECT_EQ((folder + "Hungarian.ini").substr(0, 259), std::string(path));
    EXPECT_EQ('x', path[260]) << "nothing written past 260 characters";
}

TEST_F(TvMultiLangTest, NullBuffersWriteNothing)
{
    char name[65] = "untouched";
    char path[260] = "untouched";
    EXPECT_EQ(-1, GetLangNameAndPath("C:\\", nullptr, path));
    EXPECT_EQ(-1, GetLangNameAndPath("C:\\", name, nullptr));
    EXPECT_STREQ("untouched", name);
    EXPECT_STREQ("untouched", path);
    EXPECT_EQ(0, GetLangNameAndPath(nullptr, name, path)) << "no folder counts as empty";
    EXPECT_EQ(std::string(name) + ".ini", std::string(path));
}

TEST_F(TvMultiLangTest, ChosenNameOverridesRegistry)
{
    SetRegistryLanguage("German");
    EXPECT_EQ(0, SetLangName("French"));
    EXPECT_EQ("French", ReportedName());
    EXPECT_EQ(-1, SetLangName("a\\b"));
    EXPECT_EQ("French", ReportedName()) << "an invalid name leaves the choice";
    EXPECT_EQ(0, SetLangName(""));
    EXPECT_EQ("German", ReportedName()) << "an empty name returns to the registry";
}

TEST_F(TvMultiLangTest, GetLangNameAndFolderCutToBuffer)
{
    SetRegistryLanguage("Portuguese");
    char text[8];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(10, GetLangName(text, 4));
    EXPECT_STREQ("Por", text);
    EXPECT_EQ('x', text[4]);
    EXPECT_EQ(10, GetLangName(nullptr, 0));

    char name[65];
    char path[260];
    ASSERT_EQ(0, GetLangNameAndPath("D:\\Files\\", name, path));
    char folder[32] = {};
    EXPECT_EQ(9, GetLangFolderPath(folder, sizeof folder));
    EXPECT_STREQ("D:\\Files\\", folder);
}

TEST_F(TvMultiLangTest, ChecksLanguageFileNames)
{
    EXPECT_EQ(1, CheckLangFileName("German.ini"));
    EXPECT_EQ(1, CheckLangFileName("tchinese.INI"));
    EXPECT_EQ(1, CheckLangFileName((std::string(64, 'n') + ".ini").c_str()));
    EXPECT_EQ(0, CheckLangFileName((std::string(65, 'n') + ".ini").c_str()));
    EXPECT_EQ(0, CheckLangFileName("German"));
    EXPECT_EQ(0, CheckLangFileName(".ini"));
    EXPECT_EQ(0, CheckLangFileName("German.txt"));
    EXPECT_EQ(0, CheckLangFileName("..\\German.ini"));
    EXPECT_EQ(0, CheckLangFileName("C:German.ini"));
    EXPECT_EQ(0, CheckLangFileName(nullptr));
}

TEST_F(TvMultiLangTest, TranslatesFromCurrentLanguageFile)
{
    std::string folder = ExeFolder() + "\\";
    const std::wstring longText(1000, L'w');
    ASSERT_TRUE(testsupport::WriteUtf16File(folder + "Testish.ini", L"[Translations]\r\n"
                                                                    L"Dock=Station\r\n"
                                                                    L"Long=" +
                                                                        longText +
                                                                        L"\r\n"
                                                                        L"%d of %s=%d von %s\r\n"));
    ASSERT_EQ(0, SetLangName("Testish"));
    char name[65];
    char path[260];
    ASSERT_EQ(0, GetLangNameAndPath(folder.c_str(), name, path));

    wchar_t wide[16];
    EXPECT_EQ(7, TranslateStrW(L"dock", wide, 16)) << "keys in any case";
    EXPECT_STREQ(L"Station", wide);
    EXPECT_EQ(3, TranslateStrW(L"Dock", wide, 4));
    EXPECT_STREQ(L"Sta", wide) << "cut to the buffer";
    EXPECT_EQ(5, TranslateStrW(L"Ports", wide, 16));
    EXPECT_STREQ(L"Ports", wide) << "no translation: the key";
    EXPECT_EQ(-1, TranslateStrW(L"Dock", wide, 0));
    std::vector<wchar_t> whole(1024);
    EXPECT_EQ(1000, TranslateStrW(L"Long", whole.data(), 1024)) << "longer than one read of the file";

    char narrow[16];
    EXPECT_EQ(7, TranslateStr("Dock", narrow, 16));
    EXPECT_STREQ("Station", narrow);

    char formatted[32];
    EXPECT_EQ(7, TranslateStrF(formatted, sizeof formatted, "%d of %s", 2, "x"));
    EXPECT_STREQ("2 von x", formatted);
    DeleteFileA((folder + "Testish.ini").c_str());
}

// Every language has its file, with both paragraphs translated.
TEST_F(TvMultiLangTest, ShipsEveryLanguageFile)
{
    std::string folder = ExeFolder() + "\\images\\LangFiles\\";
    for (const char* language : ShippedLanguages) {
        SCOPED_TRACE(language);
        ASSERT_EQ(0, SetLangName(language));
        char name[65];
        char path[260];
        ASSERT_EQ(0, GetLangNameAndPath(folder.c_str(), name, path));

        HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
        unsigned char bom[2] = {};
        DWORD read = 0;
        EXPECT_TRUE(ReadFile(file, bom, 2, &read, nullptr));
        CloseHandle(file);
        EXPECT_EQ(0xFF, bom[0]) << "UTF-16LE byte-order mark";
        EXPECT_EQ(0xFE, bom[1]) << "UTF-16LE byte-order mark";

        for (const wchar_t* key : {PortsKey, ModelsKey}) {
            std::vector<wchar_t> text(1024);
            int length = TranslateStrW(key, text.data(), static_cast<int>(text.size()));
            EXPECT_LT(40, length) << "a whole paragraph";
            if (std::string(language) != "English") {
                EXPECT_NE(std::wstring(key), std::wstring(text.data())) << "translated";
            }
        }
    }
}

struct LangIdCase {
    LANGID id;
    const char* name;
};

TEST(LanguageNames, MapsUiLanguages)
{
    const LangIdCase cases[] = {
        {0x0404, "TChinese"},
        {0x0C04, "TChinese"},
        {0x1404, "TChinese"},
        {0x7C04, "TChinese"},
        {0x0804, "SChinese"},
        {0x1004, "SChinese"},
        {0x0004, "SChinese"},
        {0x0416, "Brazil"},
        {0x0816, "Portuguese"},
        {0x041A, "Croatian"},
        {0x101A, "Croatian"},
        {0x081A, "English"} /* Serbian */,
        {0x141A, "English"} /* Bosnian */,
        {0x0415, "Poland"},
        {0x0406, "Danish"},
        {0x0411, "Japanese"},
        {0x0C0A, "Spanish"},
        {0x080A, "Spanish"},
        {0x0413, "Dutch"},
        {0x0813, "Dutch"},
        {0x041F, "Turkish"},
        {0x042A, "Vietnamese"},
        {0x0421, "Indonesian"},
        {0x040E, "Hungarian"},
        {0x040C, "French"},
        {0x0C0C, "French"},
        {0x0407, "German"},
        {0x0C07, "German"},
        {0x0410, "Italian"},
        {0x0412, "Korean"},
        {0x0419, "Russian"},
        {0x0409, "English"},
        {0x0809, "English"},
        {0x0408, "English"} /* Greek */,
        {0x041D, "English"} /* Swedish */,
    };
    for (const LangIdCase& c : cases)
        EXPECT_STREQ(c.name, LanguageNameForLangId(c.id)) << "language id 0x" << std::hex << c.id;
}

} // namespace
