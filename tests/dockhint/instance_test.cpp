// The program's start and end: one instance, a topmost layered borderless
// window, and the exit status when GDI+ cannot start.
#include <gtest/gtest.h>

#include "DockHintProcess.h"

#include <string>

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
        FWindow = CreateWindowExW(0, className, caption, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                  nullptr);
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

} // namespace

TEST(DockHint, ShowsOneTopmostLayeredBorderlessWindow)
{
    DockHintProcess first;
    ASSERT_TRUE(first.Started());
    HWND window = first.WaitForWindow();
    ASSERT_NE(nullptr, window) << "help window never appeared";
    EXPECT_TRUE(WaitFor([&] { return (ExStyle(window) & WS_EX_LAYERED) != 0; })) << "layered after the first paint";
    EXPECT_TRUE(ExStyle(window) & WS_EX_TOPMOST);
    LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(IsWindowVisible(window));
    first.Close();
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
    ASSERT_TRUE(CopyFileW((WinePath(FAKE_GDIPLUS_DIR) + L"\\gdiplus.dll").c_str(),
                          (folder + L"\\gdiplus.dll").c_str(), FALSE));
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
