// The panel on a screen of 1920 x 1080 times s that changes (tools/run-in-xorg).
#include <gtest/gtest.h>

#include "BuiltPanel.h"
#include "DockHintProcess.h"
#include "support/ProcessUsage.h"

#include <cstdlib>
#include <vector>

static void SwitchScreen(int s)
{
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = 1920 * s;
    mode.dmPelsHeight = 1080 * s;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    ASSERT_EQ(DISP_CHANGE_SUCCESSFUL, ChangeDisplaySettingsW(&mode, 0));
    if (PanelForm)
        UpdateWindow(PanelForm->Handle()); // the panel of this process paints
}

static bool Centred(HWND window, int s)
{
    RECT want{960 * s - 365 * s / 2, 390 * s, 960 * s - 365 * s / 2 + 365 * s, 690 * s};
    return WaitFor(
        [&] {
            RECT r;
            return GetWindowRect(window, &r) && EqualRect(&r, &want);
        },
        10000);
}

static std::vector<BYTE> Frame(Director* d)
{
    TBitmap frame;
    frame.SetPixelFormat(pf32bit);
    frame.SetSize(d->Background()->Width(), d->Background()->Height());
    d->Background()->RenderTo(&frame);
    auto* first = static_cast<BYTE*>(frame.ScanLine(0)); // top-down: the rows follow
    return std::vector<BYTE>(first, first + frame.Width() * frame.Height() * 4);
}

TEST(ScreenChange, ThePanelFollowsTheScreenBothWays)
{
    DockHintProcess dockhint(WinePath(std::getenv("PORTICA_DOCKHINT_FOLDER")));
    HWND window = dockhint.WaitForWindow();
    ASSERT_TRUE(Centred(window, 1));
    for (int s : {2, 1}) {
        SwitchScreen(s);
        EXPECT_TRUE(Centred(window, s));
    }
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP})
        PostMessageW(window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(343, 22));
    DWORD code = 1;
    EXPECT_TRUE(dockhint.WaitForExit(10000, &code));
    EXPECT_EQ(0u, code) << "its close button ends it";

    // In this process: built again as started there, and nothing left behind.
    std::vector<BYTE> fresh = Frame(BuiltPanel("English").Panel());
    SwitchScreen(2);
    BuiltPanel built("English");
    Director* d = built.Panel();
    SwitchScreen(1);
    EXPECT_TRUE(fresh == Frame(d)) << "looks as one started on 1920 x 1080";
    int gdiBefore = CountGdiHandles();
    SIZE_T privateBefore = CommittedPrivateBytes();
    d->Background()->SetFocusedWidget(d->CloseButton());
    for (int i = 0; i < 6; ++i)
        SwitchScreen(2 - i % 2);
    EXPECT_GT(256 * 1024, static_cast<long long>(CommittedPrivateBytes() - privateBefore)) << "private bytes grown";
    EXPECT_GE(gdiBefore, CountGdiHandles());
    EXPECT_TRUE(d->CloseButton()->HoldsFocus());
}
