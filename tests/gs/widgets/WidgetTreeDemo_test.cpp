// A small panel built from the toolkit as the help window builds its own: an
// image background, a wrapped glowing label and a three-state button,
// painted into one 32-bit frame and driven by mouse events as the host form
// passes them on; then taken down the way the program ends.

#include "WidgetTestSupport.h"

#include "WdgButton.h"
#include "WdgImage.h"
#include "WdgLabel.h"

#include <gtest/gtest.h>

using namespace gs;
using namespace widgettest;

namespace {

constexpr int kWidth = 240, kHeight = 160;
const TRect kLabel(20, 30, 170, 150);
const TRect kButton(200, 0, 230, 30);
const wchar_t* const kText = L"Docked notebooks use the display ports of the dock instead of their own.";

struct Pixel {
    int b, g, r, a;
};

Pixel At(TBitmap& b, int x, int y)
{
    const BYTE* p = static_cast<const BYTE*>(b.ScanLine(y)) + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

bool Inside(const TRect& r, int x, int y)
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

class Panel : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Background: opaque dark blue, getting lighter downwards.
        background = new WdgImage;
        TBitmap art;
        Fill(art, pf32bit, kWidth, kHeight, 0, 0, 0, 255);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                SetPixel(art, x, y, static_cast<BYTE>(60 + y / 2), 20, 10, 255);
        background->Picture()->Assign(&art);
        background->SetAutoSize(true);
        background->SetHost(&host);

        label = new WdgLabel;
        TFont* font = label->TextEffect()->Font();
        font->SetName(L"Tahoma");
        font->SetHeight(-16);
        font->SetColor(clWhite);
        label->TextEffect()->SetRadius(3);
        label->TextEffect()->SetColor(0x0000FFFF); // yellow glow
        label->SetAutoSize(false);
        label->SetLeft(kLabel.Left);
        label->SetTop(kLabel.Top);
        label->SetWidth(kLabel.Width());
        label->SetHeight(kLabel.Height());
        label->SetAlignment(taLeftJustify);
        label->SetLayout(tlTop);
        label->SetWordWrap(true);
        label->SetParent(background);
        label->SetText(kText);
        label->SetOnMouseDown(GsMouseEvent::Bind<&Panel::Dragged>(this));

        button = new WdgButton;
        LoadPicture(button->Appearance()->Raised(), 40, 40, 160);
        LoadPicture(button->Appearance()->Sunken(), 40, 160, 40);
        LoadPicture(button->Appearance()->Hovered(), 160, 40, 40);
        button->SetLeft(kButton.Left);
        button->SetTop(kButton.Top);
        button->SetOnClick(GsNotifyEvent::Bind<&Panel::Closed>(this));
        button->SetParent(background);
    }
    void TearDown() override
    {
        // As the program ends: the children one by one, the root left alone
        // (freed here only to keep the test clean).
        delete label;
        delete button;
        delete background;
    }
    // A 30 x 30 disc: opaque inside, transparent corners, premultiplied.
    static void LoadPicture(TBitmap* picture, BYTE b, BYTE g, BYTE r)
    {
        TBitmap file;
        Fill(file, pf32bit, 30, 30, 0, 0, 0, 0);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x)
                if ((x - 15) * (x - 15) + (y - 15) * (y - 15) < 14 * 14)
                    SetPixel(file, x, y, b, g, r, 255);
        picture->Assign(&file);
    }
    void Dragged(GsWidget*, TMouseButton, TShiftState, int, int) { ++drags; }
    void Closed(GsWidget*) { ++closes; }

    // One frame, as the host's paint handler makes it.
    void Paint(TBitmap& frame)
    {
        NewFrame(frame, background->Width(), background->Height());
        background->RenderTo(&frame);
    }
    std::string ButtonCentre()
    {
        TBitmap frame;
        Paint(frame);
        return PixelAt(frame, 215, 15);
    }

    CountingHost host;
    WdgImage* background = nullptr;
    WdgLabel* label = nullptr;
    WdgButton* button = nullptr;
    int drags = 0;
    int closes = 0;
};

} // namespace

TEST_F(Panel, FrameShowsBackgroundGlowingWrappedTextAndTheButton)
{
    ASSERT_EQ(kWidth, background->Width());
    ASSERT_EQ(kHeight, background->Height());
    ASSERT_EQ(30, button->Width());
    TBitmap frame;
    Paint(frame);

    int text = 0, glow = 0, firstInk = kHeight, lastInk = -1;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            Pixel p = At(frame, x, y);
            Pixel bg = At(*background->Picture(), x, y);
            ASSERT_EQ(255, p.a) << "opaque everywhere at " << x << "," << y;
            bool changed = p.b != bg.b || p.g != bg.g || p.r != bg.r;
            bool corner = (x - 215) * (x - 215) + (y - 15) * (y - 15) >= 14 * 14;
            if (Inside(kButton, x, y) && !corner) {
                ASSERT_EQ("40,40,160,255", PixelAt(frame, x, y)) << "button disc at " << x << "," << y;
                continue;
            }
            if (!changed)
                continue;
            ASSERT_TRUE(Inside(kLabel, x, y)) << "only the label changes the background, not " << x << "," << y;
            firstInk = std::min(firstInk, y);
            lastInk = std::max(lastInk, y);
            if (p.b > 200 && p.g > 200 && p.r > 200)
                ++text;
            else if (p.r > bg.r + 40 && p.g > bg.g + 40 && p.b <= bg.b)
                ++glow; // yellow over blue: red and green rise, blue does not
        }
    EXPECT_GT(text, 50) << "white text pixels";
    EXPECT_GT(glow, 50) << "yellow glow pixels";

    // The text wraps: its ink spans several lines of the font.
    TBitmap scratch;
    scratch.Canvas()->Font()->Assign(label->TextEffect()->Font());
    RECT line{0, 0, 1000, 0};
    ASSERT_NE(0, DrawTextW(scratch.Canvas()->Handle(), L"Docked", -1, &line, DT_CALCRECT | DT_SINGLELINE));
    RECT all{0, 0, kLabel.Width() - 6, 0};
    ASSERT_NE(0, DrawTextW(scratch.Canvas()->Handle(), kText, -1, &all, DT_CALCRECT | DT_WORDBREAK));
    EXPECT_GE(all.bottom, 3 * line.bottom) << "the paragraph takes three lines or more";
    EXPECT_GT(lastInk - firstInk, 2 * line.bottom) << "ink from row " << firstInk << " to " << lastInk;
    EXPECT_LE(lastInk, kLabel.Top + all.bottom + 6) << "within the measured text and its glow";
}

TEST_F(Panel, MouseDrivesTheButtonAndTheLabel)
{
    EXPECT_EQ("40,40,160,255", ButtonCentre()) << "Raised";
    host.Count = 0;
    background->DispatchMouseMove(0, 100, 5);
    background->DispatchMouseMove(0, 215, 15);
    EXPECT_EQ(1, host.Count) << "entering the button";
    EXPECT_EQ("160,40,40,255", ButtonCentre()) << "Hovered";
    background->DispatchMouseDown(mbLeft, ssLeft, 215, 15);
    EXPECT_EQ(2, host.Count);
    EXPECT_EQ("40,160,40,255", ButtonCentre()) << "Sunken";
    background->DispatchMouseMove(ssLeft, 120, 100); // dragged over the label
    EXPECT_EQ("40,160,40,255", ButtonCentre()) << "captured: still Sunken";
    EXPECT_FALSE(label->Hovered());
    background->DispatchMouseUp(mbLeft, 0, 120, 100);
    EXPECT_EQ(1, closes) << "released over the label: the button clicks";
    EXPECT_EQ(0, drags);
    background->DispatchMouseMove(0, 121, 100);
    EXPECT_TRUE(label->Hovered());
    EXPECT_EQ("40,40,160,255", ButtonCentre()) << "Raised again";

    background->DispatchMouseDown(mbLeft, ssLeft, 121, 100);
    EXPECT_EQ(1, drags) << "a press on the paragraph reaches the label";
    background->DispatchMouseUp(mbLeft, 0, 121, 100);
    EXPECT_EQ(1, closes);
}

TEST_F(Panel, ChildrenDestroyedOneByOneLeaveAPaintableBackground)
{
    delete label;
    label = nullptr;
    delete button;
    button = nullptr;
    EXPECT_EQ(0, background->ChildCount());
    TBitmap frame;
    Paint(frame);
    for (int y = 0; y < kHeight; y += 7)
        for (int x = 0; x < kWidth; x += 5)
            ASSERT_EQ(PixelAt(*background->Picture(), x, y), PixelAt(frame, x, y)) << x << "," << y;
    background->DispatchMouseMove(0, 215, 15);
    background->DispatchMouseDown(mbLeft, ssLeft, 215, 15);
    background->DispatchMouseUp(mbLeft, 0, 215, 15);
    EXPECT_EQ(0, closes);
}
