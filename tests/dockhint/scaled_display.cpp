// The real program on a 1920 x 1080 screen at 150 % (tools/run-at-dpi 144).
// (WM_DPICHANGED cannot come from here: Wine hands another process's
// rectangle over as whatever lies at its address; director_test sends it
// in its own process.)
#include <gtest/gtest.h>

#include "BuiltPanel.h"
#include "DockHintProcess.h"

#include <oleacc.h>

#include <cstdlib>

namespace {

RECT WindowRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// Centred on the 1920 x 1080 screen with the size, give or take a pixel.
testing::AssertionResult Centred(HWND window, int width, int height)
{
    RECT r{};
    if (WaitFor([&] {
            r = WindowRect(window);
            return std::abs(r.right - r.left - width) <= 1 && std::abs(r.bottom - r.top - height) <= 1 &&
                   r.left == 960 - (r.right - r.left) / 2 && r.top == 540 - (r.bottom - r.top) / 2;
        }, 10000))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "window at " << r.left << "," << r.top << " of " << r.right - r.left << " x "
                                       << r.bottom - r.top;
}

// The first paragraph's place for assistive technology, in client pixels.
RECT FirstParagraph(HWND window)
{
    IAccessible* client = nullptr;
    RECT place{};
    if (AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&client)) != S_OK)
        return place;
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = 1;
    LONG x = 0, y = 0, w = 0, h = 0;
    if (client->accLocation(&x, &y, &w, &h, child) == S_OK) {
        RECT r = WindowRect(window);
        place = RECT{x - r.left, y - r.top, x - r.left + w, y - r.top + h};
    }
    client->Release();
    return place;
}

} // namespace

TEST(ScaledDisplay, ThePanelIsOneAndAHalfTimesItsSizeAndClosesAtItsScaledButton)
{
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    // Today's first paragraph: the same panel in this process, at 96.
    RECT today{};
    {
        BuiltPanel built;
        ASSERT_EQ(144, PanelForm->CurrentPPI()) << "the session's scaling";
        RECT none{};
        SendMessageW(PanelForm->Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&none));
        today = FirstParagraph(PanelForm->Handle());
    }

    DockHintProcess dockhint;
    HWND window = dockhint.WaitForWindow();
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(WaitFor([&] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }));
    EXPECT_TRUE(Centred(window, 548, 450));
    // The place scales exactly; the text wraps anew in its box 1.5 times as
    // wide, with a font 1.5 times as high.
    RECT text = FirstParagraph(window);
    EXPECT_EQ(30, text.left);
    EXPECT_EQ(90, text.top);
    EXPECT_LT(1.3 * (today.right - today.left), text.right - text.left);
    EXPECT_GE(488, text.right - text.left);
    EXPECT_LE(1.45 * (today.bottom - today.top), text.bottom - text.top);

    LPARAM onButton = MAKELPARAM(482 + 33, 33);
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP})
        PostMessageW(window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, onButton);
    DWORD code = 99;
    EXPECT_TRUE(dockhint.WaitForExit(20000, &code)) << "still running after a click on the scaled close button";
    EXPECT_EQ(0u, code);
    CoUninitialize();
}
