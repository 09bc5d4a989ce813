// The binding of the translation library and the lookups in its file.
//
// This program runs in a folder of its own. Each test puts one of the
// stand-in libraries (doubles\lang_double_*.dll) as images\TvMultiLang.dll
// beside it, or none, so that the unit finds it on its real path.
#include "LanguageLibrary.h"

#include <gtest/gtest.h>

#include "support/Utf16File.h"
#include <windows.h>
#include <cstring>
#include <string>
#include "support/ExeFolder.h"
#include "support/PanelTexts.h"

namespace {

using testsupport::ExeFolder;
using testsupport::PortsKey;

std::string Narrow(const std::wstring& text)
{
    char buffer[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

SIZE_T BlockBytes(const void* block)
{
    return HeapSize(GetProcessHeap(), 0, block);
}

class LanguageLibraryTest : public testing::Test {
protected:
    void SetUp() override
    {
        Folder = ExeFolder();
        ASSERT_FALSE(Folder.empty());
        CreateDirectoryW((Folder + L"\\images").c_str(), nullptr);
        // A folder per test: the profile reader may keep a file it has read.
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        std::wstring name(info->name(), info->name() + std::strlen(info->name()));
        CreateDirectoryW((Folder + L"\\langfiles").c_str(), nullptr);
        LanguageFolder = Folder + L"\\langfiles\\" + name + L"\\";
        CreateDirectoryW(LanguageFolder.c_str(), nullptr);
        DeleteFileW((LanguageFolder + L"Testish.ini").c_str());
    }

    void TearDown() override
    {
        if (Loaded)
            ReleaseLanguageLibrary();
        DeleteFileW(LibraryPath().c_str());
    }

    std::wstring LibraryPath() const { return Folder + L"\\images\\TvMultiLang.dll"; }

    // Puts doubles\lang_double_<kind>.dll in place, or no library for "".
    void InstallLibrary(const std::wstring& kind)
    {
        DeleteFileW(LibraryPath().c_str());
        if (kind.empty())
            return;
        std::wstring source = Folder + L"\\doubles\\lang_double_" + kind + L".dll";
        ASSERT_TRUE(CopyFileW(source.c_str(), LibraryPath().c_str(), FALSE))
            << Narrow(source) << " error " << GetLastError();
    }

    int Load(const std::wstring& kind)
    {
        InstallLibrary(kind);
        int result = LoadLanguageLibrary(Narrow(LanguageFolder).c_str());
        Loaded = true;
        return result;
    }

    void WriteTranslations(const std::wstring& fileName, const std::wstring& lines)
    {
        ASSERT_TRUE(testsupport::WriteUtf16File(LanguageFolder + fileName, lines));
    }

    std::wstring Folder;
    std::wstring LanguageFolder;
    bool Loaded = false;
};

TEST_F(LanguageLibraryTest, MissingLibraryBindsNothing)
{
    EXPECT_EQ(1, Load(L""));
    char name[65];
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(0, CopyLanguageName(name)) << "name length";
    EXPECT_STREQ("", name);
    EXPECT_EQ(PortsKey, TranslateText(PortsKey)) << "the key itself is returned";
    Loaded = false;
    EXPECT_EQ(1, ReleaseLanguageLibrary());
}

TEST_F(LanguageLibraryTest, LibraryWithoutEntryPointCountsAsMissing)
{
    EXPECT_EQ(1, Load(L"no_entry"));
    EXPECT_EQ(nullptr, GetModuleHandleW(L"TvMultiLang.dll")) << "the library is unloaded again";
    char name[65] = "x";
    EXPECT_EQ(0, CopyLanguageName(name));
    EXPECT_STREQ("", name);
    EXPECT_EQ(PortsKey, TranslateText(PortsKey));
    Loaded = false;
    EXPECT_EQ(1, ReleaseLanguageLibrary());
}

TEST_F(LanguageLibraryTest, BindsLibraryAndReportsItsLanguage)
{
    EXPECT_EQ(0, Load(L"named"));
    char name[65] = {};
    EXPECT_EQ(7, CopyLanguageName(name));
    EXPECT_STREQ("Testish", name);
    EXPECT_EQ(7, CopyLanguageName(nullptr)) << "length without a destination";
    Loaded = false;
    EXPECT_NE(0, ReleaseLanguageLibrary()) << "result of FreeLibrary";
    EXPECT_EQ(nullptr, GetModuleHandleW(L"TvMultiLang.dll"));
}

TEST_F(LanguageLibraryTest, UnterminatedNameAndPathAreCutAtBufferEnds)
{
    // The stand-in writes a 259-character path "<folder>uuu...u.ini", then
    // "XY" without a zero; the cut path must name this file.
    std::wstring fileName(255 - LanguageFolder.size(), L'u');
    fileName += L".ini";
    ASSERT_EQ(259u, LanguageFolder.size() + fileName.size());
    WriteTranslations(fileName, L"[Translations]\r\nDock=Station\r\n");

    EXPECT_EQ(0, Load(L"unterminated"));
    char name[65] = {};
    EXPECT_EQ(64, CopyLanguageName(name));
    EXPECT_EQ(std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKL"), std::string(name));
    EXPECT_STREQ(L"Station", TranslateText(L"Dock")) << "looked up in the file of the cut path";
    DeleteFileW((LanguageFolder + fileName).c_str());
}

TEST_F(LanguageLibraryTest, LooksUpTranslations)
{
    WriteTranslations(L"Testish.ini", L"[Other]\r\nOnly here=Nur hier\r\n"
                                      L"[Translations]\r\n"
                                      L"Portica Dock is compatible.=Portica Dock passt.\r\n"
                                      L"Empty=\r\n");
    ASSERT_EQ(0, Load(L"named"));
    EXPECT_STREQ(L"Portica Dock passt.", TranslateText(L"Portica Dock is compatible."));
    EXPECT_STREQ(L"Portica Dock passt.", TranslateText(L"PORTICA DOCK IS COMPATIBLE.")) << "keys match in any case";
    EXPECT_STREQ(L"", TranslateText(L"Empty")) << "an empty value is an empty text";
    EXPECT_STREQ(L"Not translated", TranslateText(L"Not translated")) << "missing key";
    EXPECT_STREQ(L"Only here", TranslateText(L"Only here")) << "key of another section";
    EXPECT_EQ(nullptr, TranslateText(nullptr));
}

TEST_F(LanguageLibraryTest, MissingFileOrSectionGivesKey)
{
    ASSERT_EQ(0, Load(L"named"));
    EXPECT_STREQ(PortsKey, TranslateText(PortsKey)) << "no file";

    WriteTranslations(L"Testish.ini", L"[Translation]\r\nDock=Station\r\n");
    EXPECT_STREQ(L"Dock", TranslateText(L"Dock")) << "no section \"Translations\"";
}

TEST_F(LanguageLibraryTest, LookupBufferGrowsUntilTextFits)
{
    std::wstring text128(128, L'a');
    std::wstring text129(129, L'b');
    std::wstring text1000;
    for (int i = 0; i < 1000; ++i)
        text1000 += static_cast<wchar_t>(L'a' + i % 26);
    WriteTranslations(L"Testish.ini", L"[Translations]\r\nA=" + text128 + L"\r\nB=" + text129 + L"\r\nC=" + text1000 +
                                          L"\r\nD=short\r\n");
    ASSERT_EQ(0, Load(L"named"));

    const wchar_t* result = TranslateText(L"A");
    EXPECT_EQ(text128, result);
    EXPECT_EQ(260u, BlockBytes(result)) << "128 characters fit the first buffer";

    result = TranslateText(L"B");
    EXPECT_EQ(text129, result);
    EXPECT_EQ(520u, BlockBytes(result)) << "129 characters fill the buffer: one doubling";

    result = TranslateText(L"C");
    EXPECT_EQ(text1000, result);
    EXPECT_EQ(2080u, BlockBytes(result)) << "1000 characters: 520 -> 1040 -> 2080 bytes";

    result = TranslateText(L"D");
    EXPECT_STREQ(L"short", result);
    EXPECT_EQ(2080u, BlockBytes(result)) << "the buffer never shrinks";
}

TEST_F(LanguageLibraryTest, LongTextGrowsFromFirstBuffer)
{
    std::wstring text1000(1000, L'z');
    WriteTranslations(L"Testish.ini", L"[Translations]\r\nC=" + text1000 + L"\r\n");
    ASSERT_EQ(0, Load(L"named"));
    const wchar_t* result = TranslateText(L"C");
    EXPECT_EQ(text1000, result);
    EXPECT_EQ(2080u, BlockBytes(result));
}

} // namespace
