// The push button: sizing from its Raised picture, the look chosen at each
// paint, repaint requests from hover and press, clicks, and the caption
// drawn on a copy of the state picture.

#include "WidgetTestSupport.h"

#include "WdgButton.h"

#include <gtest/gtest.h>

using namespace gs;
using namespace widgettest;

namespace {

const char* const kRed = "0,0,255,255";
const char* const kGreen = "0,255,0,255";
const char* const kBlue = "255,0,0,255";
const char* const kGrey = "9,9,9,255";

void Solid(TBitmap* picture, int w, int h, BYTE b, BYTE g, BYTE r)
{
    TBitmap file;
    Fill(file, pf32bit, w, h, b, g, r, 255);
    picture->Assign(&file);
}

// A button counting its SetWidth and SetHeight calls.
class SizedButton : public WdgButton {
public:
    void SetWidth(int v) override
    {
        ++WidthCalls;
        WdgButton::SetWidth(v);
    }
    void SetHeight(int v) override
    {
        ++HeightCalls;
        WdgButton::SetHeight(v);
    }
    int WidthCalls = 0;
    int HeightCalls = 0;
};

// root (0,0,60,40) with the button at (10,10): Raised red, Sunken green,
// Hovered blue, no Disabled picture, each 20 x 10.
class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.SetBounds(0, 0, 60, 40);
        root.SetHost(&host);
        button = new WdgButton;
        Solid(button->Appearance()->Raised(), 20, 10, 0, 0, 255);
        Solid(button->Appearance()->Sunken(), 20, 10, 0, 255, 0);
        Solid(button->Appearance()->Hovered(), 20, 10, 255, 0, 0);
        button->SetLeft(10);
        button->SetTop(10);
        button->SetParent(&root);
        button->SetOnClick(GsNotifyEvent::Bind<&ButtonTest::Clicked>(this));
    }
    void Clicked(GsWidget* sender)
    {
        ++clicks;
        EXPECT_EQ(button, sender);
    }
    // Paints the tree as the host does and returns the button's look.
    std::string Look()
    {
        TBitmap frame;
        Fill(frame, pf32bit, 60, 40, 9, 9, 9, 255);
        root.RenderTo(&frame);
        std::string centre = PixelAt(frame, 20, 15);
        EXPECT_EQ(centre, PixelAt(frame, 10, 10)) << "top-left of the button";
        EXPECT_EQ(centre, PixelAt(frame, 29, 19)) << "bottom-right of the button";
        EXPECT_EQ(kGrey, PixelAt(frame, 30, 15)) << "right of the button";
        return centre;
    }
    int Requests()
    {
        int n = host.Count;
        host.Count = 0;
        return n;
    }

    CountingHost host;
    GsWidget root;
    WdgButton* button;
    int clicks = 0;
};

} // namespace

TEST(WdgButtonSize, RaisedWriteNotifiesTwiceAndSizesTheButtonEachTime)
{
    SizedButton button;
    CountingHost host;
    button.SetHost(&host);
    TBitmap picture;
    Fill(picture, pf32bit, 24, 18, 0, 0, 0, 0);
    button.Appearance()->SetRaised(&picture);
    EXPECT_EQ(2, button.WidthCalls);
    EXPECT_EQ(2, button.HeightCalls);
    EXPECT_EQ(24, button.Width());
    EXPECT_EQ(18, button.Height());
    EXPECT_EQ(0, button.BufferWidth()) << "no buffer growth";
    EXPECT_EQ(0, host.Count) << "no repaint request";

    Fill(picture, pf32bit, 50, 50, 0, 0, 0, 0);
    button.Appearance()->SetSunken(&picture);
    button.Appearance()->Hovered()->Assign(&picture);
    button.Appearance()->SetDisabled(&picture);
    EXPECT_EQ(24, button.Width()) << "other pictures leave the size";
    EXPECT_EQ(2, button.WidthCalls);

    button.Appearance()->Raised()->SetSize(0, 0);
    EXPECT_EQ(0, button.Width()) << "an empty Raised picture: 0 x 0";
    EXPECT_EQ(0, button.Height());
    EXPECT_EQ(3, button.WidthCalls) << "a change made on the picture itself notifies once";
}

TEST_F(ButtonTest, SizeFollowsRaisedAndTheFirstLookIsRaised)
{
    EXPECT_EQ(20, button->Width());
    EXPECT_EQ(10, button->Height());
    EXPECT_EQ(kRed, Look());
    EXPECT_EQ(WdgButton::StateRaised, button->State());
}

TEST_F(ButtonTest, EnteringRequestsOneRepaintFurtherMovesNoneLeavingOne)
{
    Look();
    root.DispatchMouseMove(0, 5, 5);
    EXPECT_EQ(0, Requests()) << "over the background";
    root.DispatchMouseMove(0, 15, 15);
    EXPECT_EQ(1, Requests()) << "entering";
    EXPECT_EQ(kBlue, Look());
    EXPECT_EQ(WdgButton::StateHovered, button->State());
    root.DispatchMouseMove(0, 16, 15);
    root.DispatchMouseMove(0, 29, 19);
    EXPECT_EQ(0, Requests()) << "further moves over it";
    root.DispatchMouseMove(0, 30, 19);
    EXPECT_EQ(1, Requests()) << "leaving for the background";
    EXPECT_EQ(kRed, Look());
    root.DispatchMouseMove(0, 31, 19);
    EXPECT_EQ(0, Requests()) << "moves over the background";
}

TEST_F(ButtonTest, PressShowsSunkenAndADragOutsideKeepsItUntilTheReleaseClicks)
{
    root.DispatchMouseMove(0, 15, 15);
    Look();
    Requests();
    root.DispatchMouseDown(mbLeft, ssLeft, 15, 15);
    EXPECT_EQ(1, Requests()) << "left press";
    EXPECT_TRUE(button->Pressed());
    EXPECT_EQ(kGreen, Look());

    root.DispatchMouseMove(ssLeft, 55, 35);
    root.DispatchMouseMove(ssLeft, -4, -4);
    EXPECT_EQ(0, Requests()) << "captured moves outside: still hovered and pressed";
    EXPECT_EQ(kGreen, Look());

    root.DispatchMouseUp(mbLeft, 0, -4, -4);
    EXPECT_EQ(1, clicks) << "release outside clicks";
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(1, Requests()) << "release";
    EXPECT_EQ(kBlue, Look()) << "still hovered until the next move";
    root.DispatchMouseMove(0, -3, -4);
    EXPECT_EQ(1, Requests());
    EXPECT_EQ(kRed, Look());
}

TEST_F(ButtonTest, RightPressReleasesThePressedLookAndDoesNotClick)
{
    root.DispatchMouseMove(0, 15, 15);
    root.DispatchMouseDown(mbLeft, ssLeft, 15, 15);
    EXPECT_EQ(kGreen, Look());
    Requests();
    root.DispatchMouseDown(mbLeft, ssLeft, 15, 15);
    EXPECT_EQ(0, Requests()) << "a further left press leaves it pressed";
    EXPECT_TRUE(button->Pressed());
    root.DispatchMouseDown(mbRight, ssLeft | ssRight, 15, 15);
    EXPECT_EQ(1, Requests());
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(kBlue, Look());
    root.DispatchMouseUp(mbRight, ssLeft, 15, 15);
    EXPECT_EQ(0, Requests()) << "not pressed: the release changes nothing";
    root.DispatchMouseUp(mbLeft, 0, 15, 15);
    EXPECT_EQ(1, clicks) << "the right press captured too; the left release clicks";
}

TEST_F(ButtonTest, PressedButtonWithoutReleaseShowsSunkenWhenHoveredAgain)
{
    root.DispatchMouseMove(0, 15, 15);
    root.DispatchMouseDown(mbLeft, ssLeft, 15, 15);
    root.DispatchMouseMove(0, 50, 30); // the release went elsewhere: no ssLeft
    EXPECT_EQ(kRed, Look());
    EXPECT_TRUE(button->Pressed());
    Requests();
    root.DispatchMouseMove(0, 15, 15);
    EXPECT_EQ(1, Requests());
    EXPECT_EQ(kGreen, Look());
    EXPECT_EQ(0, clicks);
}

TEST_F(ButtonTest, DisabledShowsTheDisabledLookFallingBackToRaised)
{
    root.DispatchMouseMove(0, 15, 15);
    button->SetEnabled(false);
    EXPECT_EQ(kRed, Look());
    EXPECT_EQ(WdgButton::StateDisabled, button->State());
    Solid(button->Appearance()->Disabled(), 20, 10, 9, 9, 9);
    EXPECT_EQ(kGrey, Look());
    Requests();
    root.DispatchMouseDown(mbLeft, ssLeft, 15, 15);
    root.DispatchMouseUp(mbLeft, 0, 15, 15);
    EXPECT_EQ(0, clicks) << "unreachable when disabled";
    EXPECT_FALSE(button->Pressed());
}

TEST_F(ButtonTest, CaptionIsDrawnOnACopyOfTheStatePicture)
{
    TFont* font = button->TextEffect()->Raised()->Font();
    font->SetColor(clWhite);
    font->SetHeight(-9);
    button->SetText(L"OK");
    TBitmap before;
    before.Assign(button->Appearance()->Raised());

    TBitmap frame;
    for (int pass = 0; pass < 2; ++pass) {
        Fill(frame, pf32bit, 60, 40, 9, 9, 9, 255);
        root.RenderTo(&frame);
    }
    int caption = 0;
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 30; ++x) {
            std::string p = PixelAt(frame, x, y);
            if (p != kRed)
                ++caption;
            EXPECT_EQ(kRed, PixelAt(*button->Appearance()->Raised(), x - 10, y - 10)) << "picture left clean";
        }
    EXPECT_GT(caption, 5) << "caption pixels over the picture";
    EXPECT_EQ(kGrey, PixelAt(frame, 9, 15));
}
