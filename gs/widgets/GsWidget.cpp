#include "GsWidget.h"

#include "AlphaPrimitives.h"

#include <oleacc.h>

#include <algorithm>
#include <memory>

namespace gs {

GsWidget::GsWidget() = default;

GsWidget::~GsWidget()
{
    DropFocus();
    if (FParent)
        FParent->RemoveChild(this);
    FParent = nullptr;
    FCapture = nullptr;
    if (!FChildren)
        return;
    // Take the list away first: the children must not edit it while it is
    // walked, and a child listed twice is destroyed once.
    std::unique_ptr<std::vector<GsWidget*>> children(FChildren);
    FChildren = nullptr;
    for (size_t i = 0; i < children->size(); ++i) {
        GsWidget* child = (*children)[i];
        if (std::find(children->begin(), children->begin() + i, child) != children->begin() + i)
            continue;
        child->FParent = nullptr;
        delete child;
    }
}

bool GsWidget::ContainsPoint(int X, int Y)
{
    return FLeft <= X && X < FLeft + FWidth && FTop <= Y && Y < FTop + FHeight;
}

void GsWidget::SetParent(GsWidget* Value)
{
    if (Value == FParent)
        return;
    DropFocus();
    if (FParent)
        FParent->RemoveChild(this);
    FParent = Value;
    if (FParent)
        FParent->AddChild(this);
}

void GsWidget::SetLeft(int Value)
{
    FLeft = Value;
}

void GsWidget::SetTop(int Value)
{
    FTop = Value;
}

void GsWidget::SetWidth(int Value)
{
    FWidth = Value;
}

void GsWidget::SetHeight(int Value)
{
    FHeight = Value;
}

void GsWidget::SetEnabled(bool Value)
{
    FEnabled = Value;
    Invalidate();
    // A disabled widget cannot keep the focus: the root takes it, and says so.
    if (!Value && HoldsFocus())
        SetFocusedWidget(nullptr);
}

void GsWidget::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Invalidate();
    if (!Value && HoldsFocus())
        SetFocusedWidget(nullptr);
}

void GsWidget::SetText(const UnicodeString& Value)
{
    if (Value == FText)
        return;
    FText = Value;
    Invalidate();
}

void GsWidget::Paint(TBitmap*, const TRect&) {}
void GsWidget::KeyDown(int, TShiftState, bool) {}
void GsWidget::KeyUp(int, TShiftState) {}
void GsWidget::FocusLeave() {}
void GsWidget::MouseMove(TShiftState, int, int) {}
void GsWidget::MouseDown(TMouseButton, TShiftState, int, int) {}
void GsWidget::MouseUp(TMouseButton, TShiftState, int, int) {}
void GsWidget::MouseLeave() {}
void GsWidget::MouseEnter() {}
void GsWidget::ChildPressed(GsWidget*) {}

unsigned GsWidget::AccessibleState() const
{
    unsigned state = 0;
    for (const GsWidget* w = this; w; w = w->FParent)
        if (!w->FVisible)
            state |= STATE_SYSTEM_INVISIBLE;
    if (!FEnabled)
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (CanFocus())
        state |= STATE_SYSTEM_FOCUSABLE;
    if (Focused())
        state |= STATE_SYSTEM_FOCUSED;
    if (FHovered)
        state |= STATE_SYSTEM_HOTTRACKED;
    return state;
}

UnicodeString GsWidget::AccessibleDefaultAction() const
{
    return UnicodeString();
}

bool GsWidget::DoDefaultAction()
{
    return false;
}

TRect GsWidget::AccessibleRect()
{
    TPoint origin = HostOrigin();
    RECT r{origin.X, origin.Y, origin.X + FWidth, origin.Y + FHeight};
    for (const GsWidget* w = FParent; w; w = w->FParent) {
        TPoint o = w->HostOrigin();
        RECT box{o.X, o.Y, o.X + w->FWidth, o.Y + w->FHeight};
        RECT inside{};
        // No overlap leaves the empty rectangle.
        IntersectRect(&inside, &r, &box);
        r = inside;
    }
    return TRect(r);
}

void GsWidget::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    FBufferWidth = std::max(FBufferWidth, AWidth);
    FBufferHeight = std::max(FBufferHeight, AHeight);
}

void GsWidget::Invalidate()
{
    GsWidget* root = this;
    while (root->FParent)
        root = root->FParent;
    if (root->FHost)
        root->FHost->Invalidate();
}

void GsWidget::AddChild(GsWidget* Child)
{
    if (!FChildren)
        FChildren = new std::vector<GsWidget*>;
    FChildren->push_back(Child);
}

void GsWidget::RemoveChild(GsWidget* Child)
{
    if (!FChildren)
        return;
    FChildren->erase(std::remove(FChildren->begin(), FChildren->end(), Child), FChildren->end());
    // Capture only ever names this widget or one of its children.
    if (FCapture == Child && Child != this)
        SetCapture(nullptr);
}

void GsWidget::RenderTo(TBitmap* Target)
{
    Render(Target, TRect(FLeft, FTop, FLeft + FWidth, FTop + FHeight));
}

void GsWidget::Render(TBitmap* Target, const TRect& Rect)
{
    if (!FVisible)
        return;
    if (FOptions & Buffered) {
        TBitmap buffer;
        buffer.SetPixelFormat(pf32bit);
        buffer.Canvas()->Brush()->SetColor(clBlack);
        buffer.SetSize(FBufferWidth, FBufferHeight);
        TRect whole(0, 0, FBufferWidth, FBufferHeight);
        Paint(&buffer, whole);
        RenderChildren(&buffer, whole);
        BlendPremultiplied(Target, Rect, &buffer, TPoint{FContentOffset.Left, FContentOffset.Top}, 255);
    } else {
        Paint(Target, Rect);
        RenderChildren(Target, Rect);
    }
    FOnPaint(this);
}

void GsWidget::RenderChildren(TBitmap* Target, const TRect& Rect)
{
    if (!FChildren)
        return;
    for (size_t i = 0; i < FChildren->size(); ++i) {
        GsWidget* child = (*FChildren)[i];
        int left = Rect.Left + child->FLeft;
        int top = Rect.Top + child->FTop;
        child->Render(Target, TRect(left, top, left + child->FWidth, top + child->FHeight));
    }
}

bool GsWidget::Reachable(const GsWidget* Widget)
{
    return !Widget->FMouseTransparent && Widget->FVisible && Widget->FEnabled;
}

GsWidget* GsWidget::HitTest(int X, int Y)
{
    if (!FChildren)
        return nullptr;
    for (size_t i = FChildren->size(); i-- > 0;) {
        GsWidget* child = (*FChildren)[i];
        if (Reachable(child) && child->ContainsPoint(X, Y))
            return child;
    }
    return nullptr;
}

void GsWidget::DispatchMouseMove(TShiftState Shift, int X, int Y)
{
    if (!Reachable(this))
        return;
    X = X - FLeft + FContentOffset.Left;
    Y = Y - FTop + FContentOffset.Top;

    GsWidget* target = CapturedChild();
    if (target && !(Shift & ssLeft)) {
        // The press that captured the child is over.
        SetCapture(nullptr);
        target = nullptr;
    }
    // Every child but the target leaves hover; a captured child stays the
    // target wherever the pointer is. A handler may change the list, so it
    // is walked by index.
    for (size_t i = ChildCount(); i-- > 0;) {
        if (i >= FChildren->size())
            continue;
        GsWidget* child = (*FChildren)[i];
        if (!target && Reachable(child) && child->ContainsPoint(X, Y))
            target = child;
        else if (child != target)
            child->DoMouseLeave();
    }
    DoMouseEnter();

    if (target) {
        target->DispatchMouseMove(Shift, X, Y);
        if (FOptions & MouseMoveOverChildren)
            FOnMouseMove(this, Shift, X, Y);
    } else {
        MouseMove(Shift, X, Y);
        FOnMouseMove(this, Shift, X, Y);
    }
}

void GsWidget::DispatchMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!Reachable(this))
        return;
    X = X - FLeft + FContentOffset.Left;
    Y = Y - FTop + FContentOffset.Top;

    GsWidget* target = HitTest(X, Y);
    if (target) {
        SetCapture(target);
        target->DispatchMouseDown(Button, Shift, X, Y);
    } else {
        SetCapture(this);
        MouseDown(Button, Shift, X, Y);
        FOnMouseDown(this, Button, Shift, X, Y);
    }
    if (FPressObserver)
        FPressObserver->ChildPressed(CapturedChild());
}

void GsWidget::DispatchMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!Reachable(this))
        return;
    X = X - FLeft + FContentOffset.Left;
    Y = Y - FTop + FContentOffset.Top;

    GsWidget* target = CapturedChild();
    if (!target)
        target = HitTest(X, Y);
    if (target) {
        target->DispatchMouseUp(Button, Shift, X, Y);
        if (!target->HasCapture())
            SetCapture(nullptr);
    } else {
        MouseUp(Button, Shift, X, Y);
        FOnMouseUp(this, Button, Shift, X, Y);
        if (Button == mbLeft && HasCapture()) {
            FOnClick(this);
            SetCapture(nullptr);
        }
    }
}

void GsWidget::DoMouseEnter()
{
    if (FHovered)
        return;
    FHovered = true;
    MouseEnter();
    FOnMouseEnter(this);
}

void GsWidget::DoMouseLeave()
{
    if (!FHovered)
        return;
    for (size_t i = 0; i < static_cast<size_t>(ChildCount()); ++i)
        (*FChildren)[i]->DoMouseLeave();
    SetCapture(nullptr);
    FHovered = false;
    MouseLeave();
    FOnMouseLeave(this);
}

void GsWidget::Click()
{
    FOnClick(this);
}

void GsWidget::DispatchKeyDown(int Key, TShiftState Shift, bool Repeat)
{
    if (!FVisible || !FEnabled)
        return;
    if (Key == VK_TAB && !(Shift & (ssCtrl | ssAlt))) {
        SelectNext(!(Shift & ssShift));
        return;
    }
    GsWidget* focused = FocusedWidget();
    GsWidget* target = focused && focused->CanFocus() ? focused : this;
    target->KeyDown(Key, Shift, Repeat);
    target->FOnKeyDown(target, Key, Shift);
}

void GsWidget::DispatchKeyUp(int Key, TShiftState Shift)
{
    if (!FVisible || !FEnabled)
        return;
    GsWidget* focused = FocusedWidget();
    if (focused && focused->CanFocus())
        focused->KeyUp(Key, Shift);
}

void GsWidget::CollectTabStops(std::vector<GsWidget*>& List)
{
    if (!FVisible)
        return;
    if (FTabStop && FEnabled)
        List.push_back(this);
    for (size_t i = 0; i < static_cast<size_t>(ChildCount()); ++i)
        (*FChildren)[i]->CollectTabStops(List);
}

void GsWidget::SelectNext(bool Forward)
{
    GsWidget* root = Root();
    std::vector<GsWidget*> stops;
    root->CollectTabStops(stops);
    // The cycle runs through the stops and "none" between the last and
    // the first.
    auto at = std::find(stops.begin(), stops.end(), root->FFocus);
    int count = static_cast<int>(stops.size());
    int index = at == stops.end() ? count : static_cast<int>(at - stops.begin());
    index = (index + (Forward ? 1 : count)) % (count + 1);
    root->SetFocusedWidget(index < count ? stops[index] : nullptr);
}

GsWidget* GsWidget::FocusedWidget() const
{
    const GsWidget* root = this;
    while (root->FParent)
        root = root->FParent;
    return root->FHostFocused ? root->FFocus : nullptr;
}

void GsWidget::SetFocusedWidget(GsWidget* Value)
{
    GsWidget* root = Root();
    if (Value == root->FFocus)
        return;
    GsWidget* previous = root->FocusedWidget();
    root->FFocus = Value;
    if (previous)
        previous->FocusLeave();
    Invalidate();
    root->FOnFocusChange(root);
}

bool GsWidget::HostFocused() const
{
    const GsWidget* root = this;
    while (root->FParent)
        root = root->FParent;
    return root->FHostFocused;
}

void GsWidget::SetHostFocused(bool Value)
{
    GsWidget* root = Root();
    if (Value == root->FHostFocused)
        return;
    if (!Value && root->FFocus)
        root->FFocus->FocusLeave();
    root->FHostFocused = Value;
    Invalidate();
}

bool GsWidget::CanFocus() const
{
    if (!FTabStop || !FEnabled)
        return false;
    for (const GsWidget* w = this; w; w = w->FParent)
        if (!w->FVisible)
            return false;
    return true;
}

bool GsWidget::HoldsFocus()
{
    for (GsWidget* w = Root()->FFocus; w; w = w->FParent)
        if (w == this)
            return true;
    return false;
}

void GsWidget::DropFocus()
{
    if (HoldsFocus())
        Root()->FFocus = nullptr;
}

GsWidget* GsWidget::Root()
{
    GsWidget* root = this;
    while (root->FParent)
        root = root->FParent;
    return root;
}

TPoint GsWidget::HostOrigin() const
{
    TPoint p{FLeft, FTop};
    for (const GsWidget* w = FParent; w; w = w->FParent) {
        p.X += w->FLeft - w->FContentOffset.Left;
        p.Y += w->FTop - w->FContentOffset.Top;
    }
    return p;
}

void GsWidget::SetCapture(GsWidget* Value)
{
    if (Value == FCapture)
        return;
    if (FCapture)
        ReleaseCaptureChain(FCapture);
    FCapture = Value;
}

void GsWidget::ReleaseCaptureChain(GsWidget* Widget)
{
    if (!Widget->FCapture)
        return;
    if (Widget->FCapture != Widget)
        ReleaseCaptureChain(Widget->FCapture);
    Widget->FCapture = nullptr;
}

void GsWidget::DrawBitmapAt(TBitmap* Target, const TRect& Rect, TBitmap* Picture)
{
    TRect dest(Rect.Left, Rect.Top, Rect.Left + Picture->Width(), Rect.Top + Picture->Height());
    const TPoint origin{0, 0};
    bool straight = FDrawMode == dmCopy || FDrawMode == dmStraightAlpha;
    if (Target->PixelFormat() != pf32bit) {
        if (straight)
            BlendStraight(Target, dest, Picture, origin, FOpacity);
        else
            BlendPremultiplied(Target, dest, Picture, origin, FOpacity);
        return;
    }
    if (!straight) {
        BlendPremultiplied(Target, dest, Picture, origin, FOpacity);
        return;
    }
    // The picture itself stays straight: premultiply a copy, so that the
    // next paint starts from the same pixels.
    TBitmap premultiplied;
    premultiplied.Assign(Picture);
    PremultiplyAlpha(&premultiplied);
    if (FDrawMode == dmCopy)
        CopyBitmapToCanvas(Target->Canvas(), dest, &premultiplied, origin);
    else
        BlendPremultiplied(Target, dest, &premultiplied, origin, FOpacity);
}

} // namespace gs
