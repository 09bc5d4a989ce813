// The real program on a 1920 x 1080 screen at 150 % (tools/run-at-dpi 144),
// and what Windows tells it when its scaling changes.
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
bool Centred(HWND window, int width, int height)
{
    return WaitFor([&] {
        RECT r = WindowRect(window);
        return std::abs(r.right - r.left - width) <= 1 && std::abs(r.bottom - r.top - height) <= 1 &&
               r.left == 960 - (r.right - r.left) / 2 && r.top == 540 - (r.bottom - r.top) / 2;
    }, 10000);
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

// WM_DPICHANGED from this process: Wine hands the receiver an empty
// rectangle, which the panel takes as none.
void ChangeDpi(HWND window, int dpi)
{
    RECT suggested{0, 0, 1, 1};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested),
                        SMTO_NORMAL, 10000, &result);
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
    EXPECT_TRUE(Centred(window, 548, 450)) << WindowRect(window).right - WindowRect(window).left;
    RECT text = FirstParagraph(window);
    EXPECT_EQ(30, text.left);
    EXPECT_EQ(90, text.top);
    EXPECT_NEAR(1.5 * (today.right - today.left), text.right - text.left, 0.04 * (today.right - today.left));
    EXPECT_NEAR(1.5 * (today.bottom - today.top), text.bottom - text.top, 0.04 * (today.bottom - today.top));

    ChangeDpi(window, 96);
    EXPECT_TRUE(Centred(window, 365, 300)) << "laid out for 96 and centred";
    ChangeDpi(window, 144);
    EXPECT_TRUE(Centred(window, 548, 450));
    LPARAM onButton = MAKELPARAM(482 + 33, 33);
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP})
        PostMessageW(window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, onButton);
    DWORD code = 99;
    EXPECT_TRUE(dockhint.WaitForExit(20000, &code)) << "still running after a click on the scaled close button";
    EXPECT_EQ(0u, code);
    CoUninitialize();
}
