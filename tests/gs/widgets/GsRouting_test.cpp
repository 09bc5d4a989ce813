// Mouse routing through the widget tree: hit testing, hover, capture and
// clicks, first as the state table row by row, then as invariants over long
// random event sequences.

#include "WidgetTestSupport.h"

#include "GsWidget.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

using namespace gs;
using namespace widgettest;

namespace {

// root (0,0,100,100)
//   A  (10,10,30,30)
//     A1 (5,5,10,10)        = root (15,15)-(25,25)
//   B  (30,30,30,30)        overlaps A in (30,30)-(40,40)
class RoutingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.SetBounds(0, 0, 100, 100);
        A->SetBounds(10, 10, 30, 30);
        A1->SetBounds(5, 5, 10, 10);
        B->SetBounds(30, 30, 30, 30);
        A->SetParent(&root);
        A1->SetParent(A);
        B->SetParent(&root);
    }
    void TearDown() override
    {
        root.Detach();
        A->Detach();
        A1->Detach();
        B->Detach();
    }
    std::string Take()
    {
        std::string s = Joined(log);
        log.clear();
        return s;
    }

    Log log;
    LoggingWidget root{"root", &log};
    LoggingWidget* A = new LoggingWidget("A", &log);
    LoggingWidget* A1 = new LoggingWidget("A1", &log);
    LoggingWidget* B = new LoggingWidget("B", &log);
};

} // namespace

TEST_F(RoutingTest, FirstMoveHoversTheRootAndTheWidgetUnderThePointer)
{
    root.DispatchMouseMove(0, 50, 80);
    EXPECT_EQ("root.MouseEnter\nroot.OnMouseEnter\nroot.MouseMove(0,50,80)\nroot.OnMouseMove(0,50,80)\n", Take());
    EXPECT_TRUE(root.Hovered());

    root.DispatchMouseMove(0, 16, 17);
    EXPECT_EQ("A.MouseEnter\nA.OnMouseEnter\nA1.MouseEnter\nA1.OnMouseEnter\nA1.MouseMove(0,1,2)\n"
              "A1.OnMouseMove(0,1,2)\n",
              Take())
        << "content coordinates of each level; the parents raise no move";
    EXPECT_TRUE(A->Hovered());
    EXPECT_TRUE(A1->Hovered());
}

TEST_F(RoutingTest, MovingToAnotherChildLeavesTheOldSubtreeChildrenFirst)
{
    root.DispatchMouseMove(0, 16, 17);
    Take();
    root.DispatchMouseMove(0, 55, 55);
    EXPECT_EQ("A1.MouseLeave\nA1.OnMouseLeave\nA.MouseLeave\nA.OnMouseLeave\nB.MouseEnter\nB.OnMouseEnter\n"
              "B.MouseMove(0,25,25)\nB.OnMouseMove(0,25,25)\n",
              Take());
    EXPECT_FALSE(A->Hovered());
    EXPECT_FALSE(A1->Hovered());
    root.DispatchMouseMove(0, 500, -3);
    EXPECT_EQ("B.MouseLeave\nB.OnMouseLeave\nroot.MouseMove(0,500,-3)\nroot.OnMouseMove(0,500,-3)\n", Take())
        << "the root itself takes moves outside everything and never leaves";
    EXPECT_TRUE(root.Hovered());
}

TEST_F(RoutingTest, EdgePixelsBelongToTheParentAndTheLaterChildIsOnTop)
{
    root.DispatchMouseDown(mbLeft, ssLeft, 40, 20); // x = A.Left + A.Width
    EXPECT_EQ("root.MouseDown(0,8,40,20)\nroot.OnMouseDown(0,8,40,20)\n", Take());
    EXPECT_EQ(&root, root.Capture());
    root.DispatchMouseDown(mbLeft, ssLeft, 35, 35); // inside A and B
    EXPECT_EQ("B.MouseDown(0,8,5,5)\nB.OnMouseDown(0,8,5,5)\n", Take());
    EXPECT_EQ(B, root.Capture());
    root.DispatchMouseMove(0, 35, 35);
    EXPECT_TRUE(B->Hovered() && !A->Hovered()) << "the hover too goes to the later child";
    EXPECT_EQ(B, root.HitTest(39, 39));
    EXPECT_EQ(A, root.HitTest(29, 39));
    EXPECT_EQ(nullptr, root.HitTest(60, 30)) << "right edge of B";
    EXPECT_EQ(nullptr, A1->HitTest(0, 0)) << "no children";
}

TEST_F(RoutingTest, HiddenDisabledAndTransparentChildrenAreSkipped)
{
    auto* cover = new LoggingWidget("cover", &log);
    cover->SetBounds(0, 0, 100, 100);
    cover->SetParent(&root);
    for (int way = 0; way < 3; ++way) {
        cover->SetVisible(way != 0);
        cover->SetEnabled(way != 1);
        cover->SetMouseTransparent(way == 2);
        Take();
        root.DispatchMouseMove(0, 35, 35);
        root.DispatchMouseDown(mbLeft, ssLeft, 35, 35);
        root.DispatchMouseUp(mbLeft, 0, 35, 35);
        root.DispatchMouseDown(mbLeft, ssLeft, 90, 90);
        std::string got = Take();
        EXPECT_EQ(std::string::npos, got.find("cover.")) << "way " << way << ":\n" << got;
        EXPECT_NE(std::string::npos, got.find("B.MouseDown(0,8,5,5)")) << "the widget beneath, way " << way;
        EXPECT_NE(std::string::npos, got.find("root.MouseDown(0,8,90,90)")) << "then the parent, way " << way;
    }
    cover->Detach();
}

TEST_F(RoutingTest, UnreachableWidgetIgnoresEverything)
{
    root.SetEnabled(false);
    root.DispatchMouseMove(ssLeft, 5, 5);
    root.DispatchMouseDown(mbLeft, ssLeft, 5, 5);
    root.DispatchMouseUp(mbLeft, 0, 5, 5);
    EXPECT_EQ("", Take());
    EXPECT_FALSE(root.Hovered());
    EXPECT_EQ(nullptr, root.Capture());
}

TEST_F(RoutingTest, PressOnItselfCapturesAndLeftReleaseClicks)
{
    root.DispatchMouseDown(mbLeft, ssLeft, 90, 5);
    EXPECT_EQ(&root, root.Capture());
    EXPECT_EQ(nullptr, root.CapturedChild()) << "its own capture is no captured child";
    EXPECT_TRUE(root.HasCapture());
    Take();
    root.DispatchMouseUp(mbLeft, 0, 91, 6);
    EXPECT_EQ("root.MouseUp(0,0,91,6)\nroot.OnMouseUp(0,0,91,6)\nroot.OnClick\n", Take());
    EXPECT_EQ(nullptr, root.Capture());
    root.DispatchMouseUp(mbLeft, 0, 91, 6);
    EXPECT_EQ("root.MouseUp(0,0,91,6)\nroot.OnMouseUp(0,0,91,6)\n", Take()) << "no capture: no second click";
}

TEST_F(RoutingTest, ReleaseOfAnotherButtonKeepsItsOwnCapture)
{
    root.DispatchMouseDown(mbRight, ssRight, 90, 5);
    root.DispatchMouseUp(mbRight, 0, 90, 5);
    EXPECT_EQ(&root, root.Capture());
    root.DispatchMouseMove(0, 90, 6);
    EXPECT_EQ(&root, root.Capture()) << "a move without the left button leaves a capture of itself";
    Take();
    root.DispatchMouseUp(mbLeft, 0, 90, 5);
    EXPECT_EQ("root.MouseUp(0,0,90,5)\nroot.OnMouseUp(0,0,90,5)\nroot.OnClick\n", Take())
        << "a later left release still clicks";
}

TEST_F(RoutingTest, CapturedChildKeepsMovesAndReleaseWhereverThePointerGoes)
{
    root.DispatchMouseMove(0, 12, 12);
    root.DispatchMouseDown(mbLeft, ssLeft, 12, 12);
    EXPECT_EQ(A, root.Capture());
    EXPECT_EQ(A, A->Capture());
    Take();
    root.DispatchMouseMove(ssLeft, -5, 60); // over nothing, then over B
    root.DispatchMouseMove(ssLeft, 45, 45);
    EXPECT_EQ("A.MouseMove(8,-15,50)\nA.OnMouseMove(8,-15,50)\nA.MouseMove(8,35,35)\nA.OnMouseMove(8,35,35)\n", Take())
        << "own coordinates, negative included; B is not entered; the root raises no move";
    EXPECT_TRUE(A->Hovered());
    EXPECT_FALSE(B->Hovered());
    root.DispatchMouseUp(mbLeft, 0, 45, 45);
    EXPECT_EQ("A.MouseUp(0,0,35,35)\nA.OnMouseUp(0,0,35,35)\nA.OnClick\n", Take()) << "release outside still clicks";
    EXPECT_EQ(nullptr, A->Capture());
    EXPECT_EQ(nullptr, root.Capture()) << "the child let go, so does the parent";
}

TEST_F(RoutingTest, MouseMoveOverChildrenAlsoRaisesTheParentsMove)
{
    root.SetOptions(GsWidget::MouseMoveOverChildren);
    root.DispatchMouseMove(0, 50, 50);
    Take();
    root.DispatchMouseMove(0, 51, 52);
    EXPECT_EQ("B.MouseMove(0,21,22)\nB.OnMouseMove(0,21,22)\nroot.OnMouseMove(0,51,52)\n", Take())
        << "after the child, without the parent's hook";
}

TEST_F(RoutingTest, RightPressAndReleaseOnAChildDoNotClickAndTheCaptureWaitsForAMoveWithoutLeft)
{
    root.DispatchMouseDown(mbRight, ssRight, 35, 35);
    root.DispatchMouseUp(mbRight, 0, 35, 35);
    EXPECT_EQ("B.MouseDown(1,16,5,5)\nB.OnMouseDown(1,16,5,5)\nB.MouseUp(1,0,5,5)\nB.OnMouseUp(1,0,5,5)\n", Take());
    EXPECT_EQ(B, root.Capture());
    EXPECT_EQ(B, B->Capture());
    root.DispatchMouseMove(ssLeft, 36, 36);
    EXPECT_EQ(B, root.Capture()) << "with the left button flagged the capture stays";
    root.DispatchMouseMove(ssRight, 36, 36);
    EXPECT_EQ(nullptr, root.Capture()) << "a move without ssLeft ends it";
    EXPECT_EQ(nullptr, B->Capture()) << "down the chain";
}

TEST_F(RoutingTest, ReleaseRoutedToAChildThatHadNotCapturedClearsTheParentsOwnCapture)
{
    root.DispatchMouseDown(mbLeft, ssLeft, 90, 90);
    Take();
    root.DispatchMouseUp(mbLeft, 0, 50, 50);
    EXPECT_EQ("B.MouseUp(0,0,20,20)\nB.OnMouseUp(0,0,20,20)\n", Take()) << "no click for either";
    EXPECT_EQ(nullptr, root.Capture());
}

TEST_F(RoutingTest, MoveWithoutLeftReleasesTheWholeChain)
{
    root.DispatchMouseDown(mbRight, ssRight, 20, 20); // A1
    EXPECT_EQ(A, root.Capture());
    EXPECT_EQ(A1, A->Capture());
    EXPECT_EQ(A1, A1->Capture());
    root.DispatchMouseMove(0, 20, 20);
    EXPECT_EQ(nullptr, root.Capture());
    EXPECT_EQ(nullptr, A->Capture());
    EXPECT_EQ(nullptr, A1->Capture());
}

TEST_F(RoutingTest, LeaveClearsHoverAndCaptureDownTheSubtree)
{
    root.DispatchMouseMove(0, 20, 20);
    root.DispatchMouseDown(mbRight, ssRight, 20, 20);
    Take();
    A->DoMouseLeave();
    EXPECT_EQ("A1.MouseLeave\nA1.OnMouseLeave\nA.MouseLeave\nA.OnMouseLeave\n", Take());
    EXPECT_FALSE(A->Hovered());
    EXPECT_FALSE(A1->Hovered());
    EXPECT_EQ(nullptr, A->Capture());
    EXPECT_EQ(nullptr, A1->Capture());
    A->DoMouseLeave();
    EXPECT_EQ("", Take()) << "not hovered: nothing";
}

TEST_F(RoutingTest, NextPressReplacesTheOldChain)
{
    root.DispatchMouseDown(mbRight, ssRight, 20, 20); // A -> A1
    root.DispatchMouseDown(mbLeft, ssLeft, 50, 50); // B
    EXPECT_EQ(B, root.Capture());
    EXPECT_EQ(nullptr, A->Capture());
    EXPECT_EQ(nullptr, A1->Capture());
    root.DispatchMouseDown(mbLeft, ssLeft, 12, 12); // A itself
    EXPECT_EQ(A, root.Capture());
    EXPECT_EQ(nullptr, B->Capture());
    EXPECT_EQ(A, A->Capture());
}

TEST_F(RoutingTest, PressObserverHearsOfEveryPressTheWidgetHandles)
{
    Log observed;
    LoggingWidget watcher("watcher", &observed);
    root.SetPressObserver(&watcher);
    root.DispatchMouseDown(mbLeft, ssLeft, 50, 50);
    root.DispatchMouseDown(mbRight, ssRight, 90, 90);
    root.DispatchMouseDown(mbLeft, ssLeft, 20, 20);
    EXPECT_EQ("watcher.ChildPressed(B)\nwatcher.ChildPressed(null)\nwatcher.ChildPressed(A)\n", Joined(observed));
    watcher.Detach();
}

TEST(GsWidgetCapture, SetCaptureAndReleaseCaptureChain)
{
    GsWidget root, a, b;
    root.SetCapture(&a);
    a.SetCapture(&b);
    b.SetCapture(&b);
    root.SetCapture(&a);
    EXPECT_EQ(&b, a.Capture()) << "the same value changes nothing";
    GsWidget::ReleaseCaptureChain(&a);
    EXPECT_EQ(&a, root.Capture()) << "only from the given widget down";
    EXPECT_EQ(nullptr, a.Capture());
    EXPECT_EQ(nullptr, b.Capture());
    a.SetCapture(&b);
    b.SetCapture(&b);
    root.SetCapture(nullptr);
    EXPECT_EQ(nullptr, root.Capture());
    EXPECT_EQ(nullptr, a.Capture()) << "the old chain is released";
    EXPECT_EQ(nullptr, b.Capture());
}

// Long random sequences through a small tree, with invariants after each
// event.
namespace {

class Probe : public GsWidget {
public:
    Probe(std::string name, std::vector<Probe*>* all, Probe** lastMoved, Probe** lastPressed, Probe** lastClicked)
        : Name(std::move(name)), FLastMoved(lastMoved), FLastPressed(lastPressed), FLastClicked(lastClicked)
    {
        all->push_back(this);
        SetOnClick(GsNotifyEvent::Bind<&Probe::Clicked>(this));
        SetOnMouseEnter(GsNotifyEvent::Bind<&Probe::Counted>(this));
        SetOnMouseLeave(GsNotifyEvent::Bind<&Probe::Counted>(this));
        SetOnMouseDown(GsMouseEvent::Bind<&Probe::CountedButton>(this));
        SetOnMouseUp(GsMouseEvent::Bind<&Probe::CountedButton>(this));
        SetOnMouseMove(GsMouseMoveEvent::Bind<&Probe::CountedMove>(this));
    }
    void MouseMove(TShiftState, int, int) override
    {
        ++Calls;
        *FLastMoved = this;
    }
    void MouseDown(TMouseButton, TShiftState, int, int) override
    {
        ++Calls;
        *FLastPressed = this;
        ArmedClick = true;
    }
    void MouseUp(TMouseButton, TShiftState, int, int) override { ++Calls; }
    void MouseEnter() override { ++Calls; }
    void MouseLeave() override { ++Calls; }

    std::string Name;
    int Calls = 0;
    int Clicks = 0;
    bool ArmedClick = false;

private:
    void Clicked(GsWidget*)
    {
        ++Calls;
        ++Clicks;
        *FLastClicked = this;
    }
    void Counted(GsWidget*) { ++Calls; }
    void CountedButton(GsWidget*, TMouseButton, TShiftState, int, int) { ++Calls; }
    void CountedMove(GsWidget*, TShiftState, int, int) { ++Calls; }

    Probe** FLastMoved;
    Probe** FLastPressed;
    Probe** FLastClicked;
};

bool IsChildOf(const GsWidget* child, const GsWidget* parent)
{
    if (!parent->Children())
        return false;
    for (GsWidget* w : *parent->Children())
        if (w == child)
            return true;
    return false;
}

} // namespace

TEST(GsRoutingInvariants, RandomEventSequences)
{
    std::vector<Probe*> all;
    Probe* lastMoved = nullptr;
    Probe* lastPressed = nullptr;
    Probe* lastClicked = nullptr;
    int clicks = 0;
    auto make = [&](const char* name, GsWidget* parent, int l, int t, int w, int h) {
        auto* p = new Probe(name, &all, &lastMoved, &lastPressed, &lastClicked);
        p->SetBounds(l, t, w, h);
        if (parent)
            p->SetParent(parent);
        return p;
    };
    Probe* root = make("root", nullptr, 0, 0, 60, 60);
    Probe* a = make("A", root, 5, 5, 25, 25);
    make("A1", a, 3, 3, 10, 10);
    make("A2", a, 10, 10, 12, 12);
    Probe* b = make("B", root, 20, 20, 30, 30);
    make("B1", b, 0, 0, 30, 8);
    Probe* hidden = make("H", root, 0, 0, 60, 60);
    Probe* hiddenChild = make("H1", hidden, 0, 0, 60, 60);
    Probe* disabled = make("D", root, 40, 40, 15, 15);
    Probe* transparent = make("T", root, 0, 40, 20, 20);
    Probe* blocked = make("T1", transparent, 0, 0, 20, 20);
    hidden->SetVisible(false);
    disabled->SetEnabled(false);
    transparent->SetMouseTransparent(true);
    const std::set<Probe*> unreachable{hidden, hiddenChild, disabled, transparent, blocked};

    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> kind(0, 5), coord(-10, 70), button(0, 2), shiftPick(0, 3);
    const TShiftState shifts[] = {0, ssLeft, ssRight, ssLeft | ssShift};
    bool moved = false;

    for (int step = 0; step < 20000; ++step) {
        int k = kind(random);
        int x = coord(random), y = coord(random);
        TShiftState shift = shifts[shiftPick(random)];
        auto btn = static_cast<TMouseButton>(button(random));
        std::string what;
        lastClicked = nullptr;
        int clicksBefore = 0;
        for (Probe* p : all)
            clicksBefore += p->Clicks;
        Probe* pressedBefore = lastPressed;
        if (k <= 2) {
            lastMoved = nullptr;
            root->DispatchMouseMove(shift, x, y);
            ASSERT_NE(nullptr, lastMoved) << "step " << step << ": one widget takes every move";
            moved = true;
            what = "move";
        } else if (k <= 4) {
            lastPressed = nullptr;
            for (Probe* p : all)
                p->ArmedClick = false;
            root->DispatchMouseDown(btn, shift, x, y);
            ASSERT_NE(nullptr, lastPressed) << "step " << step << ": one widget takes every press";
            what = "press";
        } else {
            root->DispatchMouseUp(btn, shift, x, y);
            what = "release";
        }
        std::string where =
            "step " + std::to_string(step) + " (" + what + " at " + std::to_string(x) + "," + std::to_string(y) + ")";

        // Capture names the widget itself, a direct child or nobody, and a
        // chain ends in a widget that captures itself.
        std::set<GsWidget*> onChain;
        for (GsWidget* w = root; w && w->Capture(); w = w->CapturedChild())
            onChain.insert(w);
        for (Probe* p : all) {
            GsWidget* c = p->Capture();
            ASSERT_TRUE(c == nullptr || c == p || IsChildOf(c, p)) << where << ": capture of " << p->Name;
            if (c && c != p) {
                ASSERT_NE(nullptr, c->Capture()) << where << ": chain of " << p->Name << " ends in nobody";
            }
            if (c) {
                ASSERT_TRUE(onChain.count(p)) << where << ": " << p->Name << " holds a capture off the root's chain";
            }
        }

        // Exactly the widgets on the path of the last move are hovered.
        std::set<GsWidget*> path;
        if (moved)
            for (GsWidget* w = lastMoved; w; w = w->Parent())
                path.insert(w);
        for (Probe* p : all)
            ASSERT_EQ(path.count(p) == 1, p->Hovered()) << where << ": hover of " << p->Name;

        // Nothing reaches hidden, disabled or mouse-transparent widgets.
        for (Probe* p : unreachable)
            ASSERT_EQ(0, p->Calls) << where << ": " << p->Name << " was called";

        // A click answers a left release and the last press, taken by the
        // clicked widget itself, and it comes once per press.
        int clicksAfter = 0;
        for (Probe* p : all)
            clicksAfter += p->Clicks;
        ASSERT_LE(clicksAfter, clicksBefore + 1) << where << ": one click at most per event";
        if (lastClicked) {
            ++clicks;
            ASSERT_EQ("release", what) << where;
            ASSERT_EQ(mbLeft, btn) << where;
            ASSERT_EQ(pressedBefore, lastClicked) << where << ": clicked " << lastClicked->Name;
            ASSERT_TRUE(lastClicked->ArmedClick) << where << ": second click for one press";
            lastClicked->ArmedClick = false;
        }
    }
    EXPECT_GT(clicks, 100) << "the sequence exercised clicks";
    delete root;
}
