// The panel on a screen that changes size (tools/run-in-xorg, which starts it
// at 1920 x 1080): the X screen is switched, then the window told as Windows
// tells it.
#include <gtest/gtest.h>

#include "BuiltPanel.h"
#include "DockHintProcess.h"
#include "support/ProcessUsage.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

void SwitchScreen(HWND window, int width, int height)
{
    std::wstring line = L"Z:\\usr\\bin\\xrandr -s " + std::to_wstring(width) + L"x" + std::to_wstring(height);
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    ASSERT_TRUE(WaitFor([&] { return GetSystemMetrics(SM_CXSCREEN) == width; }, 10000));
    if (window)
        SendMessageW(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(width, height));
}

// The panel of the scale, centred on the screen.
bool Centred(HWND window, int width, int height, int s)
{
    RECT want{width / 2 - 365 * s / 2, height / 2 - 150 * s, width / 2 - 365 * s / 2 + 365 * s, height / 2 + 150 * s};
    RECT r{};
    return WaitFor([&] { return GetWindowRect(window, &r) && EqualRect(&r, &want); }, 10000);
}

std::vector<BYTE> Frame(Director* d)
{
    TBitmap frame;
    frame.SetPixelFormat(pf32bit);
    frame.SetSize(d->Background()->Width(), d->Background()->Height());
    d->Background()->RenderTo(&frame);
    auto* first = std::min(static_cast<BYTE*>(frame.ScanLine(0)), static_cast<BYTE*>(frame.ScanLine(frame.Height() - 1)));
    return std::vector<BYTE>(first, first + frame.Width() * frame.Height() * 4);
}

} // namespace

TEST(ScreenChange, TheProgramFollowsTheScreenBothWays)
{
    DockHintProcess dockhint(WinePath(std::getenv("PORTICA_DOCKHINT_FOLDER")));
    HWND window = dockhint.WaitForWindow();
    ASSERT_TRUE(Centred(window, 1920, 1080, 1));
    SwitchScreen(window, 3840, 2160);
    EXPECT_TRUE(Centred(window, 3840, 2160, 2));
    SwitchScreen(window, 1920, 1080);
    EXPECT_TRUE(Centred(window, 1920, 1080, 1));
    EXPECT_EQ(nullptr, FindLoadImageBox(dockhint.Id())) << "the artwork is there";
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP})
        PostMessageW(window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(343, 22));
    DWORD code = 1;
    EXPECT_TRUE(dockhint.WaitForExit(10000, &code));
    EXPECT_EQ(0u, code) << "its close button ends it";
}

TEST(ScreenChange, RebuiltPanelIsTheOneStartedThereAndLeaksNothing)
{
    std::vector<BYTE> fresh = Frame(BuiltPanel("English").Panel());
    SwitchScreen(nullptr, 3840, 2160);
    BuiltPanel built("English");
    Director* d = built.Panel();
    SwitchScreen(PanelForm->Handle(), 1920, 1080);
    EXPECT_TRUE(fresh == Frame(d)) << "looks as one started on 1920 x 1080";
    d->Background()->SetFocusedWidget(d->CloseButton());
    UpdateWindow(PanelForm->Handle());
    int gdiBefore = CountGdiHandles();
    SIZE_T privateBefore = CommittedPrivateBytes();
    for (int i = 0; i < 3; ++i) {
        SwitchScreen(PanelForm->Handle(), 3840, 2160);
        SwitchScreen(PanelForm->Handle(), 1920, 1080);
    }
    UpdateWindow(PanelForm->Handle());
    long long grown = static_cast<long long>(CommittedPrivateBytes() - privateBefore);
    EXPECT_GE(gdiBefore, CountGdiHandles());
    EXPECT_GT(256 * 1024, grown) << "private bytes grown";
    EXPECT_EQ(d->CloseButton(), d->Background()->FocusedWidget());
}
