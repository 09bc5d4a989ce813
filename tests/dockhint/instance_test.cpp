// The program's start and end: one instance, a topmost layered borderless
// window, and the exit status when GDI+ cannot start.
#include <gtest/gtest.h>

#include "DockHintProcess.h"

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

LONG ExStyle(HWND w)
{
    return GetWindowLongW(w, GWL_EXSTYLE);
}

// A window of the test's own with the given class and caption.
class ForeignWindow {
public:
    ForeignWindow(const wchar_t* className, const wchar_t* caption)
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = className;
        RegisterClassW(&wc);
        FWindow =
            CreateWindowExW(0, className, caption, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~ForeignWindow()
    {
        if (FWindow)
            DestroyWindow(FWindow);
    }
    HWND Handle() const { return FWindow; }

private:
    HWND FWindow = nullptr;
};

std::wstring TempFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// The import and export names of a PE file, read from the file itself, so
// that 32- and 64-bit programs are read alike whatever this test's own width.
class PeFile {
public:
    explicit PeFile(const std::wstring& path)
    {
        std::unique_ptr<void, decltype(&CloseHandle)> file(
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr), &CloseHandle);
        if (file.get() == INVALID_HANDLE_VALUE) {
            file.release();
            return;
        }
        LARGE_INTEGER size{};
        DWORD read = 0;
        if (GetFileSizeEx(file.get(), &size) && size.QuadPart < (64 << 20)) {
            FBytes.resize(static_cast<size_t>(size.QuadPart));
            if (!ReadFile(file.get(), FBytes.data(), static_cast<DWORD>(FBytes.size()), &read, nullptr) ||
                read != FBytes.size())
                FBytes.clear();
        }
        IMAGE_DOS_HEADER dos{};
        DWORD signature = 0;
        if (!Read(0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || !Read(dos.e_lfanew, signature) ||
            signature != IMAGE_NT_SIGNATURE || !Read(dos.e_lfanew + 4, FHeader))
            return;
        const size_t optional = dos.e_lfanew + 4 + sizeof(IMAGE_FILE_HEADER);
        FSections = optional + FHeader.SizeOfOptionalHeader;
        WORD magic = 0;
        Read(optional, magic);
        FWide = magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
        const size_t directories = optional + (FWide ? offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory)
                                                     : offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory));
        FValid = (FWide || magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) &&
                 Read(directories + IMAGE_DIRECTORY_ENTRY_EXPORT * sizeof(IMAGE_DATA_DIRECTORY), FExports) &&
                 Read(directories + IMAGE_DIRECTORY_ENTRY_IMPORT * sizeof(IMAGE_DATA_DIRECTORY), FImports);
    }

    bool Valid() const { return FValid; }

    // Names imported from the DLL (compared without regard to case).
    std::set<std::string> Imports(const char* dll) const
    {
        std::set<std::string> names;
        IMAGE_IMPORT_DESCRIPTOR entry{};
        for (DWORD at = FImports.VirtualAddress; ReadAt(at, entry) && entry.Name; at += sizeof entry) {
            if (lstrcmpiA(String(entry.Name).c_str(), dll) != 0)
                continue;
            const size_t width = FWide ? 8 : 4;
            const ULONGLONG byOrdinal = FWide ? IMAGE_ORDINAL_FLAG64 : IMAGE_ORDINAL_FLAG32;
            DWORD thunks = entry.OriginalFirstThunk ? entry.OriginalFirstThunk : entry.FirstThunk;
            for (;; thunks += static_cast<DWORD>(width)) {
                ULONGLONG thunk = 0;
                DWORD low = 0;
                if (FWide ? !ReadAt(thunks, thunk) : !ReadAt(thunks, low))
                    break;
                thunk |= low;
                if (!thunk)
                    break;
                names.insert(thunk & byOrdinal ? "#" + std::to_string(thunk & 0xFFFF)
                                               : String(static_cast<DWORD>(thunk) + 2)); // after the hint
            }
        }
        return names;
    }

    std::set<std::string> Exports() const
    {
        std::set<std::string> names;
        IMAGE_EXPORT_DIRECTORY directory{};
        if (!ReadAt(FExports.VirtualAddress, directory))
            return names;
        for (DWORD i = 0; i < directory.NumberOfNames; ++i) {
            DWORD name = 0;
            if (ReadAt(directory.AddressOfNames + 4 * i, name))
                names.insert(String(name));
        }
        return names;
    }

private:
    template <typename T>
    bool Read(size_t offset, T& value) const
    {
        if (offset + sizeof(T) > FBytes.size())
            return false;
        std::memcpy(&value, &FBytes[offset], sizeof(T));
        return true;
    }

    template <typename T>
    bool ReadAt(DWORD rva, T& value) const
    {
        const size_t offset = Offset(rva);
        return offset && Read(offset, value);
    }

    // The file offset of an address in the loaded image; 0 when no section holds it.
    size_t Offset(DWORD rva) const
    {
        IMAGE_SECTION_HEADER section{};
        for (WORD i = 0; i < FHeader.NumberOfSections && Read(FSections + i * sizeof section, section); ++i) {
            DWORD extent = section.Misc.VirtualSize ? section.Misc.VirtualSize : section.SizeOfRawData;
            if (rva >= section.VirtualAddress && rva - section.VirtualAddress < extent)
                return section.PointerToRawData + (rva - section.VirtualAddress);
        }
        return 0;
    }

    std::string String(DWORD rva) const
    {
        size_t at = Offset(rva);
        if (!at || at >= FBytes.size())
            return std::string();
        const char* text = reinterpret_cast<const char*>(&FBytes[at]);
        return std::string(text, strnlen(text, FBytes.size() - at));
    }

    std::vector<BYTE> FBytes;
    IMAGE_FILE_HEADER FHeader{};
    size_t FSections = 0;
    bool FWide = false;
    IMAGE_DATA_DIRECTORY FExports{};
    IMAGE_DATA_DIRECTORY FImports{};
    bool FValid = false;
};

} // namespace

TEST(DockHint, ShowsOneTopmostLayeredBorderlessWindowThatEndsWithTheSession)
{
    DockHintProcess first;
    ASSERT_TRUE(first.Started()) << "CreateProcessW failed with error " << first.StartError();
    HWND window = first.WaitForWindow();
    ASSERT_NE(nullptr, window) << "help window never appeared";
    EXPECT_TRUE(WaitFor([&] { return (ExStyle(window) & WS_EX_LAYERED) != 0; })) << "layered after the first paint";
    EXPECT_TRUE(ExStyle(window) & WS_EX_TOPMOST);
    LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(TRUE, SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP)) << "as an installer asks";
    // Called off (another program refused): the help stays and answers.
    SendMessageW(window, WM_ENDSESSION, FALSE, ENDSESSION_CLOSEAPP);
    DWORD_PTR answer = FALSE;
    EXPECT_TRUE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_BLOCK, 20000, &answer) &&
                answer == TRUE && IsWindowVisible(window))
        << "the help ended when the session's end was called off";
    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    DWORD code = 99;
    EXPECT_TRUE(first.WaitForExit(20000, &code) && code == 0) << "running, or status " << code;
}

TEST(DockHint, SecondStartRestoresTheFirstWindowAndEnds)
{
    DockHintProcess first;
    HWND window = first.WaitForWindow();
    ASSERT_NE(nullptr, window);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(window) != FALSE; })) << "could not minimise the window";

    DockHintProcess second;
    ASSERT_TRUE(second.Started());
    DWORD code = 12345;
    ASSERT_TRUE(second.WaitForExit(30000, &code)) << "second start did not end";
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(window); })) << "first window restored";
    EXPECT_EQ(1, CountHelpWindows()) << "no window of the second start";
    first.Close();
}

TEST(DockHint, OnlyClassAndCaptionTogetherMarkARunningInstance)
{
    ForeignWindow wrongCaption(L"TPanelForm", L"SomethingElse");
    ForeignWindow wrongClass(L"NotAPanelForm", L"PorticaDockHelperForm");
    ASSERT_NE(nullptr, wrongCaption.Handle());
    ASSERT_NE(nullptr, wrongClass.Handle());
    DockHintProcess process;
    EXPECT_NE(nullptr, process.WaitForWindow()) << "a look-alike window stopped the start";
    process.Close();
}

TEST(DockHint, EndsWithStatus1WhenGdiplusCannotStart)
{
    // A copy of the program beside a GDI+ that fails, which Wine is told to
    // prefer to its own for this program name.
    std::wstring folder = TempFolder(L"dockhint-nogdiplus");
    const wchar_t* exeName = L"dockhint_nogdiplus.exe";
    ASSERT_TRUE(CopyFileW((StageFolder() + L"\\dockhint.exe").c_str(), (folder + L"\\" + exeName).c_str(), FALSE));
    ASSERT_TRUE(
        CopyFileW((WinePath(FAKE_GDIPLUS_DIR) + L"\\gdiplus.dll").c_str(), (folder + L"\\gdiplus.dll").c_str(), FALSE));
    // Windows starts the program only when the stand-in has every function it imports.
    PeFile program(folder + L"\\" + exeName);
    PeFile standIn(folder + L"\\gdiplus.dll");
    ASSERT_TRUE(program.Valid() && standIn.Valid());
    const std::set<std::string> imports = program.Imports("gdiplus.dll");
    const std::set<std::string> exports = standIn.Exports();
    EXPECT_EQ(1u, imports.count("GdiplusStartup")) << "import table read, " << imports.size() << " names";
    for (const std::string& name : imports)
        EXPECT_EQ(1u, exports.count(name)) << "the stand-in lacks " << name;
    const wchar_t* native = L"native";
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\dockhint_nogdiplus.exe\\DllOverrides",
                              L"gdiplus", REG_SZ, native, static_cast<DWORD>((wcslen(native) + 1) * sizeof(wchar_t))));
    DockHintProcess process(folder, exeName);
    ASSERT_TRUE(process.Started());
    DWORD code = 0;
    ASSERT_TRUE(process.WaitForExit(30000, &code));
    EXPECT_EQ(1u, code);
    EXPECT_EQ(0, CountHelpWindows()) << "no window shown";
}
