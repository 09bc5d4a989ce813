// Keys and focus in the widget tree, and what widgets tell assistive
// technology about themselves.

#include "WidgetTestSupport.h"

#include "GsAccessible.h"
#include "WdgButton.h"
#include "WdgImage.h"
#include "WdgLabel.h"

#include <gtest/gtest.h>

#include <oleacc.h>

using namespace gs;
using namespace widgettest;

namespace {

void Solid(TBitmap* picture, int w, int h, BYTE b, BYTE g, BYTE r)
{
    TBitmap file;
    Fill(file, pf32bit, w, h, b, g, r, 255);
    picture->Assign(&file);
}

// root (0,0,60,40): a label, then buttons a (hidden at first) and b, each
// 20 x 10, Raised red and Hovered blue; records clicks, keys and focus
// changes.
class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.SetBounds(0, 0, 60, 40);
        root.SetHost(&host);
        root.SetOnKeyDown(GsKeyEvent::Bind<&KeyboardTest::Key>(this));
        root.SetOnFocusChange(GsNotifyEvent::Bind<&KeyboardTest::FocusChanged>(this));
        label = new WdgLabel;
        label->SetParent(&root);
        a = NewButton(0);
        a->SetVisible(false);
        b = NewButton(20);
        host.Count = 0;
    }
    WdgButton* NewButton(int left)
    {
        auto* button = new WdgButton;
        Solid(button->Appearance()->Raised(), 20, 10, 0, 0, 255);
        Solid(button->Appearance()->Hovered(), 20, 10, 255, 0, 0);
        button->SetLeft(left);
        button->SetParent(&root);
        button->SetOnClick(GsNotifyEvent::Bind<&KeyboardTest::Clicked>(this));
        button->SetOnKeyDown(GsKeyEvent::Bind<&KeyboardTest::Key>(this));
        return button;
    }
    void Clicked(GsWidget* sender) { log.push_back("click " + Name(sender)); }
    void Key(GsWidget* sender, int key, TShiftState)
    {
        log.push_back("key " + std::to_string(key) + " " + Name(sender));
    }
    void FocusChanged(GsWidget* sender)
    {
        log.push_back("focus " + Name(sender->FocusedWidget()) + " from " + Name(sender));
    }
    std::string Name(GsWidget* w) const
    {
        return w == &root ? "root" : w == a ? "a" : w == b ? "b" : w == label ? "label" : "none";
    }

    CountingHost host;
    GsWidget root;
    WdgLabel* label;
    WdgButton* a;
    WdgButton* b;
    Log log;
};

TEST_F(KeyboardTest, TabAndShiftTabCycleThroughTheButtonsThatCanTakeTheFocusAndNone)
{
    root.DispatchKeyDown(VK_TAB, 0, 1);
    EXPECT_EQ(b, root.FocusedWidget()) << "the hidden button and the label are passed by";
    EXPECT_EQ(1, host.Count) << "the focus look is repainted";
    root.DispatchKeyDown(VK_TAB, 0, 1);
    EXPECT_EQ(nullptr, root.FocusedWidget()) << "after the last: none";
    root.DispatchKeyDown(VK_TAB, ssShift, 1);
    EXPECT_EQ(b, root.FocusedWidget()) << "backwards from none: the last";
    a->SetVisible(true);
    root.DispatchKeyDown(VK_TAB, ssShift, 1);
    EXPECT_EQ(a, root.FocusedWidget());
    EXPECT_EQ("focus b from root\nfocus none from root\nfocus b from root\nfocus a from root\n", Joined(log));

    delete a;
    EXPECT_EQ(nullptr, root.FocusedWidget()) << "a destroyed widget leaves the focus";
}

TEST_F(KeyboardTest, KeysGoToTheFocusedButtonWhichShowsItsFocusedLookAndPressesOnEnterOrSpace)
{
    TBitmap frame;
    NewFrame(frame, 60, 40);
    root.DispatchKeyDown(VK_ESCAPE, 0, 1);
    root.SetFocusedWidget(b);
    root.RenderTo(&frame);
    EXPECT_EQ(WdgButton::StateFocused, b->State());
    EXPECT_EQ("255,0,0,255", PixelAt(frame, 25, 5)) << "the Focused look falls back to Hovered";
    root.DispatchKeyDown(VK_RETURN, 0, false);
    root.DispatchKeyDown(VK_SPACE, 0, false);
    root.DispatchKeyUp(VK_SPACE, 0);
    root.DispatchKeyDown(VK_ESCAPE, 0, false);
    root.DispatchKeyDown(VK_RETURN, ssAlt, false);
    root.DispatchKeyDown(VK_SPACE, 0, false);
    b->SetVisible(false);
    root.DispatchKeyUp(VK_SPACE, 0);
    b->SetVisible(true);
    root.SetFocusedWidget(b);
    root.DispatchKeyUp(VK_SPACE, 0);
    root.DispatchKeyDown(VK_SPACE, 0, false);
    root.SetHostFocused(false);
    root.SetHostFocused(true);
    root.DispatchKeyUp(VK_SPACE, 0);
    EXPECT_EQ("key 27 root\nfocus b from root\nclick b\nkey 13 b\nkey 32 b\nclick b\nkey 27 b\nkey 13 b\nkey 32 b\n"
              "focus none from root\nfocus b from root\nkey 32 b\n",
              Joined(log))
        << "without focus the root takes the key; Space presses on release, unless the focus (or the host's) left "
           "in between; a hidden button drops the focus aloud";

    root.SetFocusedWidget(nullptr);
    root.RenderTo(&frame);
    EXPECT_EQ(WdgButton::StateRaised, b->State()) << "no focus, no focused look";
}

TEST_F(KeyboardTest, WidgetsDescribeThemselves)
{
    WdgImage image;
    EXPECT_EQ(ROLE_SYSTEM_GRAPHIC, image.AccessibleRole());
    EXPECT_EQ(L"", image.AccessibleName()) << "a picture has no name unless given one";
    label->SetText(L"Some text");
    EXPECT_EQ(ROLE_SYSTEM_STATICTEXT, label->AccessibleRole());
    EXPECT_EQ(L"Some text", label->AccessibleName());
    b->SetText(L"OK");
    EXPECT_EQ(L"OK", b->AccessibleName()) << "a button is named by its caption";
    b->SetAccessibleName(L"Close");
    EXPECT_EQ(L"Close", b->AccessibleName()) << "or by its accessible name";
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, b->AccessibleRole());
    EXPECT_EQ(L"Press", b->AccessibleDefaultAction());
    EXPECT_FALSE(label->DoDefaultAction());

    EXPECT_EQ(unsigned(STATE_SYSTEM_FOCUSABLE), b->AccessibleState());
    root.SetFocusedWidget(b);
    root.DispatchMouseMove(0, 25, 5);
    root.DispatchMouseDown(mbLeft, ssLeft, 25, 5);
    EXPECT_EQ(unsigned(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_PRESSED),
              b->AccessibleState());
    EXPECT_EQ(unsigned(STATE_SYSTEM_INVISIBLE), a->AccessibleState());
    b->SetEnabled(false);
    EXPECT_TRUE(b->AccessibleState() & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_FALSE(b->DoDefaultAction()) << "an unavailable button cannot be pressed";

    // The client object's children: the visible widgets that have a role.
    EXPECT_EQ(2u, GsAccessible::Children(&root).size());
    EXPECT_EQ(2, GsAccessible::ChildId(&root, b));
    EXPECT_EQ(-1, GsAccessible::ChildId(&root, a));
}

} // namespace
