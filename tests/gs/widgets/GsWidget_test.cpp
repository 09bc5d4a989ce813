// The widget tree: geometry, the child list and ownership, repaint requests,
// painting order, buffered widgets and picture compositing.

#include "WidgetTestSupport.h"

#include "GsWidget.h"

#include <gtest/gtest.h>

using namespace gs;
using namespace widgettest;

namespace {

std::vector<std::string> NamesOf(const GsWidget& parent)
{
    std::vector<std::string> names;
    if (parent.Children())
        for (GsWidget* w : *parent.Children())
            names.push_back(static_cast<LoggingWidget*>(w)->Name());
    return names;
}

// Fills its own rectangle with one premultiplied colour.
class SolidWidget : public GsWidget {
public:
    SolidWidget(BYTE b, BYTE g, BYTE r, BYTE a) : FB(b), FG(g), FR(r), FA(a) {}
    void Paint(TBitmap* target, const TRect& rect) override
    {
        LastTarget = target;
        LastRect = rect;
        for (int y = std::max(rect.Top, 0); y < std::min(rect.Bottom, target->Height()); ++y)
            for (int x = std::max(rect.Left, 0); x < std::min(rect.Right, target->Width()); ++x)
                SetPixel(*target, x, y, FB, FG, FR, FA);
    }
    TBitmap* LastTarget = nullptr;
    TRect LastRect;

private:
    BYTE FB, FG, FR, FA;
};

} // namespace

TEST(GsWidget, FreshWidgetHasTheDocumentedInitialState)
{
    GsWidget w;
    EXPECT_EQ(nullptr, w.PressObserver());
    EXPECT_EQ(0, w.BufferWidth());
    EXPECT_EQ(0, w.BufferHeight());
    EXPECT_EQ(nullptr, w.Parent());
    EXPECT_EQ(0, w.Options());
    EXPECT_TRUE(w.Visible());
    EXPECT_TRUE(w.Enabled());
    EXPECT_FALSE(w.MouseTransparent());
    EXPECT_EQ(255, w.Opacity());
    EXPECT_EQ(dmPremultiplied, w.DrawMode());
    EXPECT_FALSE(w.Hovered());
    EXPECT_EQ(nullptr, w.Capture());
    EXPECT_EQ(nullptr, w.Host());
    EXPECT_EQ(TRect(0, 0, 0, 0), w.ContentOffset());
    EXPECT_EQ(nullptr, w.Children()) << "no list before the first child";
    EXPECT_EQ(0, dmCopy);
    EXPECT_EQ(1, dmStraightAlpha);
    EXPECT_EQ(2, dmPremultiplied);
    EXPECT_EQ(2, GsWidget::MouseMoveOverChildren);
    EXPECT_EQ(8, GsWidget::Buffered);
}

TEST(GsWidget, RightAndBottomEdgesAreOutside)
{
    GsWidget w;
    w.SetBounds(10, 20, 30, 40);
    EXPECT_TRUE(w.ContainsPoint(10, 20));
    EXPECT_TRUE(w.ContainsPoint(39, 59));
    EXPECT_FALSE(w.ContainsPoint(40, 20)) << "x = Left + Width";
    EXPECT_FALSE(w.ContainsPoint(10, 60)) << "y = Top + Height";
    EXPECT_FALSE(w.ContainsPoint(9, 20));
    EXPECT_FALSE(w.ContainsPoint(10, 19));
}

TEST(GsWidget, OnlySetBoundsGrowsTheBufferAndItNeverShrinks)
{
    GsWidget w;
    w.SetWidth(50);
    w.SetHeight(60);
    EXPECT_EQ(0, w.BufferWidth()) << "SetWidth leaves the buffer";
    EXPECT_EQ(0, w.BufferHeight()) << "SetHeight leaves the buffer";
    w.SetBounds(1, 2, 30, 40);
    EXPECT_EQ(1, w.Left());
    EXPECT_EQ(2, w.Top());
    EXPECT_EQ(30, w.Width());
    EXPECT_EQ(40, w.Height());
    EXPECT_EQ(30, w.BufferWidth());
    EXPECT_EQ(40, w.BufferHeight());
    w.SetBounds(0, 0, 10, 70);
    EXPECT_EQ(30, w.BufferWidth()) << "a smaller width keeps the larger buffer";
    EXPECT_EQ(70, w.BufferHeight());
}

TEST(GsWidget, SetParentAppendsMovesAndRemoves)
{
    Log log;
    LoggingWidget p("P", &log), q("Q", &log);
    auto* a = new LoggingWidget("A", &log);
    auto* b = new LoggingWidget("B", &log);
    a->SetParent(&p);
    b->SetParent(&p);
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), NamesOf(p));
    a->SetParent(&p);
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), NamesOf(p)) << "same parent: order unchanged";
    a->SetParent(&q);
    b->SetParent(&q);
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), NamesOf(q)) << "moved to the end of the new list";
    EXPECT_EQ(0, p.ChildCount());
    EXPECT_EQ(&q, a->Parent());
    a->SetParent(nullptr);
    EXPECT_EQ((std::vector<std::string>{"B"}), NamesOf(q));
    EXPECT_EQ(nullptr, a->Parent());
    delete a;
    GsWidget lonely;
    lonely.RemoveChild(b); // no list: nothing happens
    EXPECT_EQ(nullptr, lonely.Children());
    p.Detach();
    q.Detach();
    b->Detach();
}

TEST(GsWidget, InvalidateReachesTheRootsHostOnly)
{
    CountingHost host;
    GsWidget root;
    auto* child = new GsWidget;
    auto* grandchild = new GsWidget;
    child->SetParent(&root);
    grandchild->SetParent(child);

    grandchild->Invalidate();
    EXPECT_EQ(0, host.Count) << "no host: the request is dropped";
    root.SetHost(&host);
    grandchild->Invalidate();
    EXPECT_EQ(1, host.Count) << "walks up to the root";
    child->SetHost(&host); // a host below the root is not asked
    CountingHost other;
    child->SetHost(&other);
    grandchild->Invalidate();
    EXPECT_EQ(2, host.Count);
    EXPECT_EQ(0, other.Count);
}

TEST(GsWidget, SettersInvalidateOnlyOnChangeExceptEnabled)
{
    CountingHost host;
    GsWidget root;
    root.SetHost(&host);
    auto* w = new GsWidget;
    w->SetParent(&root);

    w->SetVisible(true);
    EXPECT_EQ(0, host.Count) << "SetVisible with the current value";
    w->SetVisible(false);
    EXPECT_EQ(1, host.Count) << "SetVisible with a new value";
    w->SetEnabled(true);
    EXPECT_EQ(2, host.Count) << "SetEnabled always invalidates";
    w->SetEnabled(true);
    EXPECT_EQ(3, host.Count);
    w->SetText(L"");
    EXPECT_EQ(3, host.Count) << "SetText with an equal string";
    w->SetText(L"abc");
    EXPECT_EQ(4, host.Count);
    w->SetText(UnicodeString(L"ab") + L"c");
    EXPECT_EQ(4, host.Count) << "equal content, other string object";
    w->SetBounds(1, 2, 3, 4);
    w->SetLeft(5);
    w->SetTop(6);
    w->SetWidth(7);
    w->SetHeight(8);
    EXPECT_EQ(4, host.Count) << "geometry setters do not invalidate";
}

TEST(GsWidget, DestroyingAWidgetDestroysEachChildOnceInListOrder)
{
    Log log;
    auto* root = new LoggingWidget("root", &log);
    auto* a = new LoggingWidget("A", &log);
    auto* a1 = new LoggingWidget("A1", &log);
    auto* b = new LoggingWidget("B", &log);
    a->SetParent(root);
    a1->SetParent(a);
    b->SetParent(root);
    root->AddChild(a); // listed twice
    delete root;
    EXPECT_EQ("root.destroyed\nA.destroyed\nA1.destroyed\nB.destroyed\n", Joined(log));
}

// The panel's shutdown: the children are destroyed one by one and their
// parent is left alone. Each leaves the parent's list on the way.
TEST(GsWidget, ChildrenDestroyedOneByOneLeaveTheParentWithAnEmptyList)
{
    Log log;
    CountingHost host;
    auto* background = new LoggingWidget("background", &log);
    background->SetHost(&host);
    background->SetBounds(0, 0, 100, 100);
    auto* ports = new LoggingWidget("ports", &log);
    auto* models = new LoggingWidget("models", &log);
    auto* close = new LoggingWidget("close", &log);
    ports->SetBounds(10, 10, 20, 20);
    close->SetBounds(80, 0, 20, 20);
    ports->SetParent(background);
    models->SetParent(background);
    close->SetParent(background);

    // The close button holds the capture of a press when the program ends.
    background->DispatchMouseMove(ssLeft, 85, 5);
    background->DispatchMouseDown(mbLeft, ssLeft, 85, 5);
    ASSERT_EQ(close, background->Capture());

    delete ports;
    delete models;
    delete close;
    EXPECT_EQ(0, background->ChildCount());
    EXPECT_NE(nullptr, background->Children()) << "the list stays, empty";
    EXPECT_EQ(nullptr, background->Capture()) << "the destroyed button's capture went with it";

    // The parent is still sound: it paints and routes on its own.
    log.clear();
    TBitmap frame;
    NewFrame(frame, 100, 100);
    background->RenderTo(&frame);
    background->DispatchMouseUp(mbLeft, 0, 85, 5);
    EXPECT_EQ("background.Paint(0,0,100,100)\nbackground.OnPaint\nbackground.MouseUp(0,0,85,5)\n"
              "background.OnMouseUp(0,0,85,5)\n",
              Joined(log));
    background->Detach();
    delete background;
}

TEST(GsWidget, ChildrenPaintInListOrderOverTheParentAndOnPaintFollowsTheSubtree)
{
    Log log;
    LoggingWidget root("root", &log);
    root.SetBounds(2, 3, 100, 100);
    auto* a = new LoggingWidget("A", &log);
    auto* a1 = new LoggingWidget("A1", &log);
    auto* b = new LoggingWidget("B", &log);
    a->SetBounds(10, 20, 30, 40);
    a1->SetBounds(-5, 200, 7, 8); // not clipped to A
    b->SetBounds(1, 1, 2, 2);
    a->SetParent(&root);
    a1->SetParent(a);
    b->SetParent(&root);
    TBitmap frame;
    NewFrame(frame, 10, 10);
    root.RenderTo(&frame);
    EXPECT_EQ("root.Paint(2,3,102,103)\n"
              "A.Paint(12,23,42,63)\n"
              "A1.Paint(7,223,14,231)\n"
              "A1.OnPaint\n"
              "A.OnPaint\n"
              "B.Paint(3,4,5,6)\n"
              "B.OnPaint\n"
              "root.OnPaint\n",
              Joined(log));
    root.Detach();
    a->Detach();
    a1->Detach();
    b->Detach();
}

TEST(GsWidget, InvisibleSubtreeIsNotPaintedAndRaisesNoOnPaint)
{
    Log log;
    LoggingWidget root("root", &log);
    auto* a = new LoggingWidget("A", &log);
    auto* a1 = new LoggingWidget("A1", &log);
    auto* b = new LoggingWidget("B", &log);
    a->SetParent(&root);
    a1->SetParent(a);
    b->SetParent(&root);
    a->SetVisible(false);
    TBitmap frame;
    NewFrame(frame, 4, 4);
    root.RenderTo(&frame);
    EXPECT_EQ("root.Paint(0,0,0,0)\nB.Paint(0,0,0,0)\nB.OnPaint\nroot.OnPaint\n", Joined(log));
    log.clear();
    root.SetVisible(false);
    root.RenderTo(&frame);
    EXPECT_EQ("", Joined(log));
    root.Detach();
    a->Detach();
    a1->Detach();
    b->Detach();
}

TEST(GsWidget, LaterChildIsPaintedOnTop)
{
    GsWidget root;
    root.SetBounds(0, 0, 4, 1);
    auto* under = new SolidWidget(0, 0, 255, 255);
    auto* over = new SolidWidget(255, 0, 0, 255);
    under->SetBounds(0, 0, 3, 1);
    over->SetBounds(1, 0, 3, 1);
    under->SetParent(&root);
    over->SetParent(&root);
    TBitmap frame;
    NewFrame(frame, 4, 1);
    root.RenderTo(&frame);
    EXPECT_EQ("0,0,255,255", PixelAt(frame, 0, 0));
    EXPECT_EQ("255,0,0,255", PixelAt(frame, 1, 0)) << "the later child covers the earlier";
    EXPECT_EQ("255,0,0,255", PixelAt(frame, 3, 0));
}

TEST(GsWidget, BufferedWidgetPaintsIntoItsBufferAndIsCompositedAtItsRectangle)
{
    GsWidget root;
    root.SetBounds(0, 0, 8, 4);
    auto* layer = new SolidWidget(0, 0, 128, 128); // half-transparent red, premultiplied
    layer->SetBounds(2, 1, 6, 3);
    layer->SetWidth(3); // the buffer stays 6 wide
    layer->SetOptions(GsWidget::Buffered);
    auto* dot = new SolidWidget(255, 255, 255, 255);
    dot->SetBounds(1, 0, 1, 1);
    dot->SetParent(layer);
    layer->SetParent(&root);

    TBitmap frame;
    Fill(frame, pf32bit, 8, 4, 0, 200, 0, 255); // opaque green
    root.RenderTo(&frame);

    EXPECT_NE(&frame, layer->LastTarget) << "painted into its own buffer";
    EXPECT_EQ(TRect(0, 0, 6, 3), layer->LastRect) << "the buffer's whole area";
    EXPECT_EQ(TRect(1, 0, 2, 1), dot->LastRect) << "children relative to the buffer";
    EXPECT_EQ("0,200,0,255", PixelAt(frame, 1, 1)) << "left of the widget untouched";
    EXPECT_EQ("255,255,255,255", PixelAt(frame, 3, 1)) << "the opaque child at its place";
    // Red 128 at alpha 128 over opaque green: red 128, green about 100.
    std::string p = PixelAt(frame, 2, 1);
    EXPECT_TRUE(p == "0,99,128,255" || p == "0,100,128,255") << "blended half red over green: " << p;
    EXPECT_EQ("0,200,0,255", PixelAt(frame, 5, 1)) << "only Width columns of the buffer are composited";
    EXPECT_EQ("0,200,0,255", PixelAt(frame, 2, 0)) << "above the widget untouched";
}

TEST(GsWidget, BufferedWidgetThatWasNeverSizedDrawsNothing)
{
    Log log;
    auto* w = new LoggingWidget("W", &log);
    w->SetOptions(GsWidget::Buffered);
    w->SetWidth(5);
    w->SetHeight(5);
    TBitmap frame;
    Fill(frame, pf32bit, 4, 4, 1, 2, 3, 4);
    w->RenderTo(&frame);
    EXPECT_EQ("W.Paint(0,0,0,0)\nW.OnPaint\n", Joined(log)) << "a 0 x 0 buffer";
    EXPECT_EQ("1,2,3,4", PixelAt(frame, 0, 0));
    w->Detach();
    delete w;
}

// DrawBitmapAt by target format and draw mode.
class DrawBitmapAtTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Straight colours: opaque blue, half-transparent orange, transparent.
        picture.SetPixelFormat(pf32bit);
        picture.Canvas()->Brush()->SetColor(clBlack);
        picture.SetSize(3, 1);
        SetPixel(picture, 0, 0, 255, 0, 0, 255);
        SetPixel(picture, 1, 0, 50, 100, 200, 128);
        SetPixel(picture, 2, 0, 90, 90, 90, 0);
    }
    TBitmap picture;
    GsWidget w;
};

TEST_F(DrawBitmapAtTest, CopyReplacesPixelsWithAPremultipliedCopyAndKeepsThePicture)
{
    w.SetDrawMode(dmCopy);
    w.SetOpacity(10); // not used when copying
    TBitmap frame;
    Fill(frame, pf32bit, 6, 2, 7, 7, 7, 7);
    for (int pass = 0; pass < 2; ++pass) {
        w.DrawBitmapAt(&frame, TRect(2, 1, 3, 2), &picture);
        EXPECT_EQ("255,0,0,255", PixelAt(frame, 2, 1)) << "pass " << pass;
        EXPECT_EQ("25,50,100,128", PixelAt(frame, 3, 1)) << "premultiplied with truncation, pass " << pass;
        EXPECT_EQ("0,0,0,0", PixelAt(frame, 4, 1)) << "transparent replaces too, pass " << pass;
        EXPECT_EQ("7,7,7,7", PixelAt(frame, 5, 1)) << "right of the picture";
        EXPECT_EQ("7,7,7,7", PixelAt(frame, 3, 0)) << "above the picture";
        EXPECT_EQ("50,100,200,128", PixelAt(picture, 1, 0)) << "the picture stays straight, pass " << pass;
    }
}

TEST_F(DrawBitmapAtTest, StraightAlphaBlendsAPremultipliedCopy)
{
    w.SetDrawMode(dmStraightAlpha);
    TBitmap frame;
    Fill(frame, pf32bit, 3, 1, 0, 0, 0, 0);
    w.DrawBitmapAt(&frame, TRect(0, 0, 1, 1), &picture);
    EXPECT_EQ("255,0,0,255", PixelAt(frame, 0, 0));
    EXPECT_EQ("25,50,100,128", PixelAt(frame, 1, 0)) << "over transparent black";
    EXPECT_EQ("0,0,0,0", PixelAt(frame, 2, 0)) << "alpha 0 leaves the target";
    EXPECT_EQ("50,100,200,128", PixelAt(picture, 1, 0)) << "the picture itself is not premultiplied";
    w.SetOpacity(0);
    Fill(frame, pf32bit, 3, 1, 9, 9, 9, 9);
    w.DrawBitmapAt(&frame, TRect(0, 0, 0, 0), &picture);
    EXPECT_EQ("9,9,9,9", PixelAt(frame, 0, 0)) << "opacity 0";
}

TEST_F(DrawBitmapAtTest, PremultipliedTakesThePictureAsItIs)
{
    SetPixel(picture, 1, 0, 25, 50, 100, 128);
    SetPixel(picture, 2, 0, 0, 0, 0, 0);
    TBitmap frame;
    Fill(frame, pf32bit, 4, 1, 0, 0, 0, 0);
    w.DrawBitmapAt(&frame, TRect(1, 0, 2, 1), &picture); // drawn at its own size, not cut to the rectangle
    EXPECT_EQ("0,0,0,0", PixelAt(frame, 0, 0));
    EXPECT_EQ("255,0,0,255", PixelAt(frame, 1, 0));
    EXPECT_EQ("25,50,100,128", PixelAt(frame, 2, 0));
    EXPECT_EQ("0,0,0,0", PixelAt(frame, 3, 0));
}

TEST_F(DrawBitmapAtTest, OtherTargetsGetAStraightBlendAndBecome24Bit)
{
    w.SetDrawMode(dmStraightAlpha);
    TBitmap frame;
    Fill(frame, pf24bit, 3, 1, 0, 0, 0);
    w.DrawBitmapAt(&frame, TRect(0, 0, 3, 1), &picture);
    EXPECT_EQ(pf24bit, frame.PixelFormat());
    EXPECT_EQ("255,0,0", PixelAt(frame, 0, 0));
    EXPECT_EQ("25,50,100", PixelAt(frame, 1, 0)) << "k = 128/255, truncated";
    EXPECT_EQ("0,0,0", PixelAt(frame, 2, 0));

    w.SetDrawMode(dmCopy);
    TBitmap device;
    device.Canvas()->Brush()->SetColor(clBlack);
    device.SetSize(3, 1);
    ASSERT_EQ(pfDevice, device.PixelFormat());
    w.DrawBitmapAt(&device, TRect(0, 0, 3, 1), &picture);
    EXPECT_EQ(pf24bit, device.PixelFormat()) << "the straight blend works on 24 bits";
    EXPECT_EQ("255,0,0", PixelAt(device, 0, 0));
    EXPECT_EQ("50,100,200,128", PixelAt(picture, 1, 0));
}

TEST_F(DrawBitmapAtTest, OtherTargetsWithPremultipliedPicturesUseAlphaBlend)
{
    SetPixel(picture, 2, 0, 0, 0, 0, 0);
    TBitmap frame;
    Fill(frame, pf24bit, 3, 1, 10, 20, 30);
    w.DrawBitmapAt(&frame, TRect(0, 0, 3, 1), &picture);
    EXPECT_EQ(pf24bit, frame.PixelFormat());
    EXPECT_EQ("255,0,0", PixelAt(frame, 0, 0)) << "opaque source replaces";
    EXPECT_EQ("10,20,30", PixelAt(frame, 2, 0)) << "transparent source leaves the target";
}

TEST_F(DrawBitmapAtTest, EmptyPictureDrawsNothing)
{
    TBitmap empty;
    TBitmap frame;
    Fill(frame, pf32bit, 2, 2, 1, 2, 3, 4);
    for (GsDrawMode mode : {dmCopy, dmStraightAlpha, dmPremultiplied}) {
        w.SetDrawMode(mode);
        w.DrawBitmapAt(&frame, TRect(0, 0, 2, 2), &empty);
        EXPECT_EQ("1,2,3,4", PixelAt(frame, 0, 0)) << "mode " << mode;
        EXPECT_EQ("1,2,3,4", PixelAt(frame, 1, 1)) << "mode " << mode;
    }
}
