#include <gtest/gtest.h>

#include "TPerPixelLayeredWindowMaker.h"

#include <vector>

namespace {

struct UpdateCall {
    POINT Destination;
    SIZE Size;
    BLENDFUNCTION Blend;
    DWORD Flags;
    COLORREF Key;
};

std::vector<UpdateCall> Calls;
gs::PerPixelLayeredWindowBase::UpdateLayeredWindowFunc RealUpdate = nullptr;

BOOL WINAPI RecordUpdate(HWND hwnd, HDC dst, POINT* pt, SIZE* size, HDC src, POINT* srcPt, COLORREF key,
                         BLENDFUNCTION* blend, DWORD flags)
{
    Calls.push_back({*pt, *size, *blend, flags, key});
    return RealUpdate(hwnd, dst, pt, size, src, srcPt, key, blend, flags);
}

// The driver with its entry point recorded, then passed on to the system.
class RecordingMaker : public gs::TPerPixelLayeredWindowMaker {
public:
    RecordingMaker()
    {
        RealUpdate = UpdateLayeredWindowProc;
        UpdateLayeredWindowProc = &RecordUpdate;
    }
};

int StyleChanges = 0;
int NonClientPaints = 0;

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_STYLECHANGED && wParam == static_cast<WPARAM>(GWL_EXSTYLE))
        ++StyleChanges;
    if (msg == WM_NCPAINT)
        ++NonClientPaints;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A plain popup window, destroyed with the fixture.
class LayeredWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &TestWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LayeredDriverTest";
        RegisterClassW(&wc);
        Window = CreateWindowExW(0, wc.lpszClassName, L"driver test", WS_POPUP | WS_VISIBLE, 100, 120, 50, 40, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, Window) << "needs a display";
        Calls.clear();
        StyleChanges = 0;
        NonClientPaints = 0;
    }
    void TearDown() override
    {
        if (Window)
            DestroyWindow(Window);
    }
    LONG ExStyle() const { return GetWindowLongW(Window, GWL_EXSTYLE); }

    static void Frame(TBitmap& b, TPixelFormat format, int w, int h)
    {
        b.SetPixelFormat(format);
        b.Canvas()->Brush()->SetColor(clBlack);
        b.SetSize(w, h);
    }

    HWND Window = nullptr;
};

} // namespace

TEST_F(LayeredWindowTest, TwoUpdatesWriteTheStyleOnceAndPresentWithConstantAlpha)
{
    RecordingMaker maker;
    maker.SetUseConstantAlpha(true);
    maker.SetConstantAlpha(245);
    maker.SetPerPixelAlpha(true);
    TBitmap frame;
    Frame(frame, pf32bit, 30, 20);
    maker.Update(Window, &frame);
    maker.Update(Window, &frame);
    EXPECT_EQ(1, StyleChanges) << "second update finds the style in place";
    EXPECT_TRUE(ExStyle() & WS_EX_LAYERED);
    ASSERT_EQ(2u, Calls.size());
    EXPECT_EQ(static_cast<DWORD>(ULW_ALPHA), Calls[0].Flags);
    EXPECT_EQ(245, Calls[0].Blend.SourceConstantAlpha);
    EXPECT_EQ(AC_SRC_ALPHA, Calls[0].Blend.AlphaFormat);
    EXPECT_EQ(AC_SRC_OVER, Calls[0].Blend.BlendOp);
}

TEST_F(LayeredWindowTest, TheColourKeyPresentsOnlyWhenNoAlphaModeApplies)
{
    RecordingMaker maker;
    maker.SetUseColorKey(true);
    maker.SetColorKey(RGB(255, 0, 255));
    maker.SetPerPixelAlpha(true);
    TBitmap frame24;
    Frame(frame24, pf24bit, 10, 10);
    maker.Update(Window, &frame24); // no alpha in the frame
    EXPECT_TRUE(ExStyle() & WS_EX_LAYERED);
    TBitmap frame32;
    Frame(frame32, pf32bit, 10, 10);
    maker.Update(Window, &frame32);
    ASSERT_EQ(2u, Calls.size());
    EXPECT_EQ(static_cast<DWORD>(ULW_COLORKEY), Calls[0].Flags);
    EXPECT_EQ(RGB(255, 0, 255), Calls[0].Key);
    EXPECT_EQ(static_cast<DWORD>(ULW_ALPHA), Calls[1].Flags) << "per-pixel alpha comes before the key";
    EXPECT_EQ(RGB(255, 0, 255), Calls[1].Key) << "the key goes with every call";
}

TEST_F(LayeredWindowTest, FrameSizeBecomesTheWindowSize)
{
    RecordingMaker maker;
    maker.SetPerPixelAlpha(true);
    TBitmap frame;
    Frame(frame, pf32bit, 77, 33);
    maker.Update(Window, &frame);
    ASSERT_EQ(1u, Calls.size());
    EXPECT_EQ(77, Calls[0].Size.cx);
    EXPECT_EQ(33, Calls[0].Size.cy);
    EXPECT_EQ(255, Calls[0].Blend.SourceConstantAlpha) << "no constant alpha asked for";
    RECT r;
    GetWindowRect(Window, &r);
    EXPECT_EQ(77, r.right - r.left);
    EXPECT_EQ(33, r.bottom - r.top);
}

TEST_F(LayeredWindowTest, PositionIsReadFromTheWindowAtEveryUpdate)
{
    RecordingMaker maker;
    maker.SetUseConstantAlpha(true);
    TBitmap frame;
    Frame(frame, pf32bit, 10, 10);
    maker.Update(Window, &frame);
    SetWindowPos(Window, nullptr, 300, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    maker.Update(Window, &frame);
    ASSERT_EQ(2u, Calls.size());
    EXPECT_EQ(100, Calls[0].Destination.x);
    EXPECT_EQ(120, Calls[0].Destination.y);
    EXPECT_EQ(300, Calls[1].Destination.x);
    EXPECT_EQ(310, Calls[1].Destination.y);
}

TEST_F(LayeredWindowTest, ClickThroughOffClearsAForeignTransparentStyleInEveryBranch)
{
    TBitmap frame32;
    Frame(frame32, pf32bit, 10, 10);
    TBitmap frame24;
    Frame(frame24, pf24bit, 10, 10);
    struct Branch {
        const char* Name;
        bool ConstantAlpha;
        bool ColorKey;
    } branches[] = {{"alpha", true, false}, {"colour key", false, true}, {"not layered", false, false}};
    for (const Branch& branch : branches) {
        SetWindowLongW(Window, GWL_EXSTYLE, ExStyle() | WS_EX_TRANSPARENT);
        RecordingMaker maker;
        maker.SetUseConstantAlpha(branch.ConstantAlpha);
        maker.SetUseColorKey(branch.ColorKey);
        maker.Update(Window, &frame24);
        EXPECT_FALSE(ExStyle() & WS_EX_TRANSPARENT) << branch.Name;
    }
    RecordingMaker clickThrough;
    clickThrough.SetUseConstantAlpha(true);
    clickThrough.SetClickThrough(true);
    clickThrough.Update(Window, &frame32);
    EXPECT_TRUE(ExStyle() & WS_EX_TRANSPARENT);
}

TEST_F(LayeredWindowTest, A24BitFrameWithoutConstantAlphaEndsTheLayeredStyleAndRedraws)
{
    RecordingMaker layered;
    layered.SetUseConstantAlpha(true);
    TBitmap frame;
    Frame(frame, pf24bit, 10, 10);
    layered.Update(Window, &frame);
    ASSERT_TRUE(ExStyle() & WS_EX_LAYERED);
    Calls.clear();

    RecordingMaker plain;
    plain.SetPerPixelAlpha(true); // but the frame has no alpha
    NonClientPaints = 0;
    plain.Update(Window, &frame);
    EXPECT_FALSE(ExStyle() & WS_EX_LAYERED);
    EXPECT_EQ(0u, Calls.size()) << "nothing presented";
    MSG msg;
    while (PeekMessageW(&msg, Window, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    RECT update;
    EXPECT_TRUE(NonClientPaints > 0 || GetUpdateRect(Window, &update, FALSE)) << "window redrawn";
}

TEST_F(LayeredWindowTest, AnEmptyFramePresentsNothing)
{
    RecordingMaker maker;
    maker.SetUseConstantAlpha(true);
    maker.SetPerPixelAlpha(true);
    TBitmap empty;
    empty.SetPixelFormat(pf32bit);
    maker.Update(Window, &empty);
    EXPECT_EQ(0u, Calls.size());
}
