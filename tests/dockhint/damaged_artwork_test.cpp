// The help panel built in this process from a damaged installation: this
// program's folder holds no artwork, so every picture fails to load and the
// panel stands on the looks it draws itself.
#include <gtest/gtest.h>

#include "DockHintProcess.h"
#include "BuiltPanel.h"
#include "Director.h"
#include "Panel.h"
#include "TApplication.h"
#include "TScreen.h"

namespace {

// Presses OK on every "LoadImage" box of this process while it lives: the
// boxes are modal on the test's own thread. With a DPI, the first box
// brings the panel a change of scaling to that DPI first.
class LoadImageBoxAnswerer {
public:
    explicit LoadImageBoxAnswerer(int Dpi = 0)
        : FDpi(Dpi), FStop(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          FThread(FStop ? CreateThread(nullptr, 0, &Answer, this, 0, nullptr) : nullptr)
    {
    }
    ~LoadImageBoxAnswerer()
    {
        if (FThread) {
            SetEvent(FStop);
            WaitForSingleObject(FThread, INFINITE);
            CloseHandle(FThread);
        }
        if (FStop)
            CloseHandle(FStop);
    }
    LoadImageBoxAnswerer(const LoadImageBoxAnswerer&) = delete;
    LoadImageBoxAnswerer& operator=(const LoadImageBoxAnswerer&) = delete;
    bool Running() const { return FThread != nullptr; }

private:
    static DWORD WINAPI Answer(void* self)
    {
        auto* answerer = static_cast<LoadImageBoxAnswerer*>(self);
        int dpi = answerer->FDpi;
        do {
            if (HWND box = FindLoadImageBox(GetCurrentProcessId())) {
                HWND panel = FindWindowW(L"TPanelForm", L"PorticaDockHelperForm");
                RECT none{};
                if (dpi && panel)
                    SendMessageW(panel, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&none));
                dpi = 0;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        } while (WaitForSingleObject(answerer->FStop, 20) == WAIT_TIMEOUT);
        return 0;
    }

    int FDpi;
    HANDLE FStop;
    HANDLE FThread;
};

int Scale()
{
    return Screen->Width() < 3840 ? 1 : 2;
}

} // namespace

TEST(DamagedArtwork, WithoutItsBackgroundThePanelKeepsItsDesignSizeAndIsOpaque)
{
    LoadImageBoxAnswerer answerer;
    ASSERT_TRUE(answerer.Running());
    BuiltPanel built;
    Director* d = built.Panel();
    ASSERT_NE(nullptr, d);
    int s = Scale();
    EXPECT_EQ(365 * s, PanelForm->ClientWidth());
    EXPECT_EQ(300 * s, PanelForm->ClientHeight());
    EXPECT_EQ(Screen->Width() / 2 - 365 * s / 2, PanelForm->Left());
    EXPECT_EQ(Screen->Height() / 2 - 300 * s / 2, PanelForm->Top());

    TBitmap frame;
    frame.SetPixelFormat(pf32bit);
    frame.SetSize(d->Background()->Width(), d->Background()->Height());
    d->Background()->RenderTo(&frame);
    int translucent = 0;
    int firstX = -1, firstY = -1, firstAlpha = -1;
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x) {
            int alpha = static_cast<const BYTE*>(frame.ScanLine(y))[4 * x + 3];
            if (alpha != 255 && translucent++ == 0) {
                firstX = x;
                firstY = y;
                firstAlpha = alpha;
            }
        }
    EXPECT_EQ(0, translucent) << "pixels not opaque; the first at " << firstX << "," << firstY << " has alpha "
                              << firstAlpha;
}

// A change that comes while the panel is laid out, from the modal loop of a
// "LoadImage" box, is laid out once the layout is done: stand-ins and all
// at 1.5 times their size.
TEST(DamagedArtwork, AChangeOfScalingDuringTheLayoutIsLaidOutAfterIt)
{
    LoadImageBoxAnswerer answerer(144);
    ASSERT_TRUE(answerer.Running());
    BuiltPanel built;
    Director* d = built.Panel();
    ASSERT_NE(nullptr, d);
    EXPECT_EQ(548, PanelForm->ClientWidth());
    EXPECT_EQ(450, PanelForm->ClientHeight());
    EXPECT_EQ(482, d->CloseButton()->Left());
    EXPECT_EQ(66, d->CloseButton()->Width());
}

TEST(DamagedArtwork, WithoutItsPicturesTheCloseButtonKeepsItsDesignSizeAndAClickEndsTheLoop)
{
    LoadImageBoxAnswerer answerer;
    ASSERT_TRUE(answerer.Running());
    BuiltPanel built;
    Director* d = built.Panel();
    ASSERT_NE(nullptr, d);
    int s = Scale();
    gs::WdgButton* close = d->CloseButton();
    EXPECT_EQ(321 * s, close->Left());
    EXPECT_EQ(0, close->Top());
    EXPECT_EQ(44 * s, close->Width());
    EXPECT_EQ(44 * s, close->Height());

    int x = 343 * s, y = 22 * s;
    d->OnFormMouseMove(PanelForm, 0, x, y);
    d->OnFormMouseDown(PanelForm, mbLeft, 0, x, y);
    d->OnFormMouseUp(PanelForm, mbLeft, 0, x, y);
    EXPECT_TRUE(Application->Terminated()) << "a click at " << x << "," << y << " left the loop running";
}
