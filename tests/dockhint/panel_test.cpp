// The help panel as a user meets it: size and place by screen, the close
// button, dragging, and what a missing picture or library does.
#include <gtest/gtest.h>

#include "DockHintProcess.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int ScreenScale()
{
    return GetSystemMetrics(SM_CXSCREEN) >= 3840 ? 2 : 1;
}

// A design size at the panel's factor: the screen's scale, or what the run
// at a display scaling names.
int Scaled(int value)
{
    const char* factor = std::getenv("PANEL_TEST_FACTOR");
    return static_cast<int>(std::lround(value * (factor ? std::atof(factor) : ScreenScale())));
}

RECT WindowRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// A started program whose help window is shown and layered.
struct ShownPanel {
    DockHintProcess Process;
    HWND Window = nullptr;

    explicit ShownPanel(const std::wstring& folder = StageFolder()) : Process(folder)
    {
        Window = Process.WaitForWindow();
        if (Window)
            WaitFor([&] { return (GetWindowLongW(Window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; });
    }
};

LPARAM Point(int x, int y)
{
    return MAKELPARAM(x, y);
}

// Real input through the system, in screen coordinates.
void MoveCursor(int x, int y)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

void Button(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

// Presses at (x, y), moves by (dx, dy) in steps, releases; screen coordinates.
void Drag(int x, int y, int dx, int dy, DWORD down, DWORD up)
{
    MoveCursor(x, y);
    WaitFor([] { return false; }, 100);
    Button(down);
    for (int step = 1; step <= 5; ++step) {
        WaitFor([] { return false; }, 60);
        MoveCursor(x + dx * step / 5, y + dy * step / 5);
    }
    WaitFor([] { return false; }, 100);
    Button(up);
}

std::wstring TempFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// A copy of the program with its artwork, less the files named.
std::wstring CopyOfProgram(const wchar_t* name, const std::vector<std::wstring>& leaveOut)
{
    std::wstring to = TempFolder(name);
    std::wstring from = StageFolder();
    for (const wchar_t* sub : {L"\\images", L"\\images\\1920", L"\\images\\4k", L"\\images\\LangFiles"})
        CreateDirectoryW((to + sub).c_str(), nullptr);
    std::vector<std::wstring> files = {L"dockhint.exe", L"images\\TvMultiLang.dll"};
    for (const wchar_t* set : {L"1920", L"4k"})
        for (const wchar_t* file : {L"sub_bg.jpg", L"close_normal.png", L"close_click.png", L"close_hover.png"})
            files.push_back(std::wstring(L"images\\") + set + L"\\" + file);
    for (const std::wstring& file : files) {
        std::wstring target = to + L"\\" + file;
        DeleteFileW(target.c_str());
        bool skip = false;
        for (const std::wstring& left : leaveOut)
            skip = skip || file == left;
        if (!skip)
            CopyFileW((from + L"\\" + file).c_str(), target.c_str(), FALSE);
    }
    return to;
}

// The artwork of both screen sizes, less the files named.
std::vector<std::wstring> BothSets(std::initializer_list<const wchar_t*> files)
{
    std::vector<std::wstring> paths;
    for (const wchar_t* set : {L"1920", L"4k"})
        for (const wchar_t* file : files)
            paths.push_back(std::wstring(L"images\\") + set + L"\\" + file);
    return paths;
}

// The close button's middle, in client coordinates, at the screen's scale.
LPARAM OnTheCloseButton()
{
    int s = ScreenScale();
    return Point(343 * s, 22 * s);
}

void PostLeftClick(HWND window, LPARAM at)
{
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

BOOL CALLBACK CollectText(HWND child, LPARAM param)
{
    wchar_t text[1024] = {};
    GetWindowTextW(child, text, 1024);
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (_wcsicmp(className, L"Static") == 0 && text[0])
        *reinterpret_cast<std::wstring*>(param) += text;
    return TRUE;
}

} // namespace

TEST(Panel, SizeAndPlaceFollowTheScreen)
{
    ShownPanel panel;
    ASSERT_NE(nullptr, panel.Window);
    RECT r = WindowRect(panel.Window);
    EXPECT_EQ(Scaled(365), r.right - r.left) << "background width of the " << Scaled(1) << " x artwork";
    EXPECT_EQ(Scaled(300), r.bottom - r.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN) / 2 - Scaled(365) / 2, r.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN) / 2 - Scaled(300) / 2, r.top);
    panel.Process.Close();
}

TEST(Panel, ClickOnTheCloseButtonEndsTheProgram)
{
    ShownPanel panel;
    ASSERT_NE(nullptr, panel.Window);
    LPARAM onButton = Point(Scaled(343), Scaled(22));
    PostMessageW(panel.Window, WM_MOUSEMOVE, 0, onButton);
    PostMessageW(panel.Window, WM_LBUTTONDOWN, MK_LBUTTON, onButton);
    PostMessageW(panel.Window, WM_LBUTTONUP, 0, onButton);
    DWORD code = 99;
    ASSERT_TRUE(panel.Process.WaitForExit(20000, &code)) << "still running after the click";
    EXPECT_EQ(0u, code);
}

TEST(Panel, ReleaseElsewhereAfterPressOnTheCloseButtonStillCloses)
{
    ShownPanel panel;
    ASSERT_NE(nullptr, panel.Window);
    int s = ScreenScale();
    LPARAM onButton = Point(343 * s, 22 * s);
    LPARAM elsewhere = Point(100 * s, 200 * s);
    PostMessageW(panel.Window, WM_MOUSEMOVE, 0, onButton);
    PostMessageW(panel.Window, WM_LBUTTONDOWN, MK_LBUTTON, onButton);
    PostMessageW(panel.Window, WM_MOUSEMOVE, MK_LBUTTON, elsewhere);
    PostMessageW(panel.Window, WM_LBUTTONUP, 0, elsewhere);
    DWORD code = 99;
    ASSERT_TRUE(panel.Process.WaitForExit(20000, &code));
    EXPECT_EQ(0u, code);
}

TEST(Panel, RightClickOnTheCloseButtonDoesNotClose)
{
    ShownPanel panel;
    ASSERT_NE(nullptr, panel.Window);
    int s = ScreenScale();
    LPARAM onButton = Point(343 * s, 22 * s);
    PostMessageW(panel.Window, WM_MOUSEMOVE, 0, onButton);
    PostMessageW(panel.Window, WM_RBUTTONDOWN, MK_RBUTTON, onButton);
    PostMessageW(panel.Window, WM_RBUTTONUP, 0, onButton);
    DWORD code = 0;
    EXPECT_FALSE(panel.Process.WaitForExit(1500, &code)) << "a right click closed the panel";
    panel.Process.Close();
}

TEST(Panel, LeftDragOnBackgroundOrTextMovesTheWindowOthersDoNot)
{
    ShownPanel panel;
    ASSERT_NE(nullptr, panel.Window);
    int s = ScreenScale();
    struct Case {
        const char* What;
        int X, Y;
        DWORD Down, Up;
        bool Moves;
    } cases[] = {
        {"left drag on the background", 10 * s, 250 * s, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, true},
        {"left drag on the first paragraph", 40 * s, 70 * s, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, true},
        {"right drag on the background", 10 * s, 250 * s, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, false},
    };
    for (const Case& c : cases) {
        RECT before = WindowRect(panel.Window);
        Drag(before.left + c.X, before.top + c.Y, 40, 30, c.Down, c.Up);
        if (c.Moves) {
            EXPECT_TRUE(WaitFor([&] { return WindowRect(panel.Window).left == before.left + 40; }, 5000)) << c.What;
            RECT after = WindowRect(panel.Window);
            EXPECT_EQ(before.left + 40, after.left) << c.What;
            EXPECT_EQ(before.top + 30, after.top) << c.What;
        } else {
            WaitFor([] { return false; }, 500);
            RECT after = WindowRect(panel.Window);
            EXPECT_EQ(before.left, after.left) << c.What;
            EXPECT_EQ(before.top, after.top) << c.What;
        }
    }
    panel.Process.Close();
}

TEST(Panel, AMissingPictureShowsItsMessageAndThePanelStillComes)
{
    std::wstring folder =
        CopyOfProgram(L"dockhint-nohover", {L"images\\1920\\close_hover.png", L"images\\4k\\close_hover.png"});
    DockHintProcess process(folder);
    ASSERT_TRUE(process.Started());
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindLoadImageBox(process.Id())) != nullptr; })) << "no message box";
    std::wstring text;
    EnumChildWindows(box, &CollectText, reinterpret_cast<LPARAM>(&text));
    std::wstring expected =
        L"Can not load image " + folder + L"\\images\\" + (ScreenScale() == 1 ? L"1920" : L"4k") + L"\\close_hover.png";
    EXPECT_EQ(expected, text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); })) << "message box stays";
    HWND window = process.WaitForWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(WaitFor([&] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }))
        << "panel shown after the message";
    EXPECT_EQ(nullptr, FindLoadImageBox(process.Id())) << "exactly one message";
    process.Close();
}

TEST(Panel, AMissingTranslationLibraryStillShowsThePanel)
{
    std::wstring folder = CopyOfProgram(L"dockhint-nolibrary", {L"images\\TvMultiLang.dll"});
    ShownPanel panel(folder);
    ASSERT_NE(nullptr, panel.Window);
    EXPECT_EQ(365 * ScreenScale(), WindowRect(panel.Window).right - WindowRect(panel.Window).left);
    panel.Process.Close();
}

TEST(Panel, WithoutItsBackgroundPictureThePanelShowsAtItsDesignSizeAndCloses)
{
    DockHintProcess process(CopyOfProgram(L"dockhint-nobackground", BothSets({L"sub_bg.jpg"})));
    ASSERT_TRUE(process.Started());
    ASSERT_TRUE(process.DismissLoadImageBox()) << "no message box";
    HWND window = process.WaitForWindow();
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(WaitFor([&] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }));
    EXPECT_EQ(nullptr, FindLoadImageBox(process.Id())) << "exactly one message";
    EXPECT_TRUE(IsWindowVisible(window));
    int s = ScreenScale();
    RECT r = WindowRect(window);
    EXPECT_EQ(365 * s, r.right - r.left);
    EXPECT_EQ(300 * s, r.bottom - r.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN) / 2 - 365 * s / 2, r.left);
    PostLeftClick(window, OnTheCloseButton());
    DWORD code = 99;
    ASSERT_TRUE(process.WaitForExit(20000, &code)) << "still running after the click";
    EXPECT_EQ(0u, code);
}

TEST(Panel, WithoutItsClosePicturesTheButtonStillCloses)
{
    DockHintProcess process(
        CopyOfProgram(L"dockhint-noclose", BothSets({L"close_normal.png", L"close_click.png", L"close_hover.png"})));
    ASSERT_TRUE(process.Started());
    for (int box = 1; box <= 3; ++box)
        ASSERT_TRUE(process.DismissLoadImageBox()) << "message box " << box << " of 3";
    HWND window = process.WaitForWindow();
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(WaitFor([&] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }));
    PostLeftClick(window, OnTheCloseButton());
    DWORD code = 99;
    ASSERT_TRUE(process.WaitForExit(20000, &code)) << "still running after the click";
    EXPECT_EQ(0u, code);
}
