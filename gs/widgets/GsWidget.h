#pragma once
// The base of the toolkit's light-weight widgets: a tree of rectangles that
// paints itself, back to front, into one 32-bit bitmap and routes the host
// control's mouse events to the widget under the pointer.

#include "Events.h"
#include "TBitmap.h"
#include "TControl.h"

#include <cstdint>
#include <vector>

namespace gs {

class GsWidget;

// How a widget composites its pictures into the frame.
enum GsDrawMode : std::int32_t {
    dmCopy = 0, // the picture's pixels replace the target's
    dmStraightAlpha = 1, // the picture carries straight alpha
    dmPremultiplied = 2, // the picture carries premultiplied alpha
};

// Horizontal placement of a caption.
enum TAlignment : std::uint8_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
// Vertical placement of a caption.
enum TTextLayout : std::uint8_t { tlTop = 0, tlCenter = 1, tlBottom = 2 };

// Widget events; Sender is the widget that raises them.
using GsNotifyEvent = TMethod<GsWidget*>;
using GsMouseEvent = TMethod<GsWidget*, TMouseButton, TShiftState, int, int>;
using GsMouseMoveEvent = TMethod<GsWidget*, TShiftState, int, int>;
// Key is a virtual-key code.
using GsKeyEvent = TMethod<GsWidget*, int, TShiftState>;

class GsWidget {
public:
    // Bits of Options.
    static constexpr std::uint8_t MouseMoveOverChildren = 1 << 1; // raise OnMouseMove also for moves over a child
    static constexpr std::uint8_t Buffered = 1 << 3; // paint the subtree into an own buffer first

    GsWidget();
    // Destroys the children, each once, in list order. A widget that still
    // has a parent leaves the parent's list first, so a parent whose
    // children were destroyed one by one keeps no stale entries.
    virtual ~GsWidget();
    GsWidget(const GsWidget&) = delete;
    GsWidget& operator=(const GsWidget&) = delete;

    virtual bool ContainsPoint(int X, int Y);
    virtual void SetParent(GsWidget* Value);
    virtual void SetLeft(int Value);
    virtual void SetTop(int Value);
    virtual void SetWidth(int Value);
    virtual void SetHeight(int Value);
    virtual void SetEnabled(bool Value);
    virtual void SetVisible(bool Value);
    virtual void SetText(const UnicodeString& Value);
    // Draws the widget's own content into Rect of Target.
    virtual void Paint(TBitmap* Target, const TRect& Rect);
    // Keyboard hooks, called on the widget that DispatchKeyDown or
    // DispatchKeyUp chose. Repeat: the key was down already, and this is an
    // auto-repeat of it.
    virtual void KeyDown(int Key, TShiftState Shift, bool Repeat);
    virtual void KeyUp(int Key, TShiftState Shift);
    // Called on the focused widget when it loses the focus, to another
    // widget or with the host.
    virtual void FocusLeave();
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseLeave();
    virtual void MouseEnter();
    // Called on the PressObserver with the child that took a press (null
    // when the observed widget took it itself).
    virtual void ChildPressed(GsWidget* Child);

    // How the widget describes itself to assistive technology. The role is
    // an MSAA role (ROLE_SYSTEM_*), 0 for none: a widget without a role is
    // not shown to it. The state is a set of STATE_SYSTEM_* flags.
    int AccessibleRole() const { return FAccessibleRole; }
    void SetAccessibleRole(int Value) { FAccessibleRole = Value; }
    // The accessible name, or else Text.
    const UnicodeString& AccessibleName() const { return FAccessibleName.empty() ? FText : FAccessibleName; }
    void SetAccessibleName(const UnicodeString& Value) { FAccessibleName = Value; }
    virtual unsigned AccessibleState() const;
    // The name of the default action; empty when the widget has none.
    virtual UnicodeString AccessibleDefaultAction() const;
    // Does the default action; false when the widget has none or cannot
    // do it now.
    virtual bool DoDefaultAction();
    // The place assistive technology is told, in the host's client
    // coordinates: the widget's box, within every parent's.
    virtual TRect AccessibleRect();

    // Stores the four; the buffer size only grows.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    // Asks the root's Host to repaint.
    void Invalidate();
    void AddChild(GsWidget* Child);
    void RemoveChild(GsWidget* Child);

    // Paints the whole tree rooted here into its own rectangle of Target.
    void RenderTo(TBitmap* Target);
    // Paints this widget and its subtree into Rect of Target.
    void Render(TBitmap* Target, const TRect& Rect);
    void RenderChildren(TBitmap* Target, const TRect& Rect);
    // Topmost visible, enabled, mouse-reachable direct child containing the
    // point (own content coordinates), or null.
    GsWidget* HitTest(int X, int Y);

    // Mouse routing; coordinates are the parent's content coordinates (for
    // the root: the host's client coordinates).
    void DispatchMouseMove(TShiftState Shift, int X, int Y);
    void DispatchMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void DispatchMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void DoMouseEnter();
    void DoMouseLeave();
    // Raises OnClick.
    void Click();

    // Key routing, called on the root: Tab and Shift+Tab move the focus
    // (SelectNext); any other key goes to the focused widget, or to the
    // root when no widget has the focus: its KeyDown hook, then OnKeyDown.
    void DispatchKeyDown(int Key, TShiftState Shift, bool Repeat);
    // A key released: to the focused widget's KeyUp hook; nowhere when no
    // widget has the focus.
    void DispatchKeyUp(int Key, TShiftState Shift);
    // Moves the focus to the next (or previous) widget that takes it, in
    // painting order; after the last (before the first) no widget has it.
    void SelectNext(bool Forward);
    // The root keeps the focus. Setting it repaints and raises the root's
    // OnFocusChange; null: no widget has it. While the host has not the
    // keyboard focus no widget has it either; the root remembers which one
    // gets it back.
    GsWidget* FocusedWidget() const;
    void SetFocusedWidget(GsWidget* Value);
    bool Focused() const { return FocusedWidget() == this; }
    // Whether the root's focus lies in this widget's subtree, shown or
    // remembered while the host has not the keyboard focus.
    bool HoldsFocus();
    // Visible, enabled and a tab stop, with every parent visible.
    bool CanFocus() const;
    // Whether the host window has the keyboard focus, kept on the root;
    // true until the host says otherwise. A change repaints and raises no
    // event.
    bool HostFocused() const;
    void SetHostFocused(bool Value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value) { FTabStop = Value; }

    GsWidget* Root();
    // The top-left corner in the host's client coordinates, by the same
    // geometry as the mouse routing.
    TPoint HostOrigin() const;

    void SetCapture(GsWidget* Value);
    // Clears Widget's capture and, below it, that of the captured child,
    // grandchild and so on.
    static void ReleaseCaptureChain(GsWidget* Widget);
    GsWidget* CapturedChild() const { return FCapture == this ? nullptr : FCapture; }
    bool HasCapture() const { return FCapture != nullptr; }

    // Composites Picture, at its own size, with its top-left corner at the
    // top-left of Rect, by DrawMode and Opacity. Picture is not changed.
    void DrawBitmapAt(TBitmap* Target, const TRect& Rect, TBitmap* Picture);

    GsWidget* PressObserver() const { return FPressObserver; }
    void SetPressObserver(GsWidget* Value) { FPressObserver = Value; }
    int BufferWidth() const { return FBufferWidth; }
    int BufferHeight() const { return FBufferHeight; }
    GsWidget* Parent() const { return FParent; }
    std::uint8_t Options() const { return FOptions; }
    void SetOptions(std::uint8_t Value) { FOptions = Value; }
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Visible() const { return FVisible; }
    bool Enabled() const { return FEnabled; }
    bool MouseTransparent() const { return FMouseTransparent; }
    void SetMouseTransparent(bool Value) { FMouseTransparent = Value; }
    std::uint8_t Opacity() const { return FOpacity; }
    void SetOpacity(std::uint8_t Value) { FOpacity = Value; }
    GsDrawMode DrawMode() const { return FDrawMode; }
    void SetDrawMode(GsDrawMode Value) { FDrawMode = Value; }

    const GsNotifyEvent& OnPaint() const { return FOnPaint; }
    void SetOnPaint(const GsNotifyEvent& Value) { FOnPaint = Value; }
    const GsNotifyEvent& OnClick() const { return FOnClick; }
    void SetOnClick(const GsNotifyEvent& Value) { FOnClick = Value; }
    const GsMouseEvent& OnMouseDown() const { return FOnMouseDown; }
    void SetOnMouseDown(const GsMouseEvent& Value) { FOnMouseDown = Value; }
    const GsMouseEvent& OnMouseUp() const { return FOnMouseUp; }
    void SetOnMouseUp(const GsMouseEvent& Value) { FOnMouseUp = Value; }
    const GsMouseMoveEvent& OnMouseMove() const { return FOnMouseMove; }
    void SetOnMouseMove(const GsMouseMoveEvent& Value) { FOnMouseMove = Value; }
    const GsNotifyEvent& OnMouseEnter() const { return FOnMouseEnter; }
    void SetOnMouseEnter(const GsNotifyEvent& Value) { FOnMouseEnter = Value; }
    const GsNotifyEvent& OnMouseLeave() const { return FOnMouseLeave; }
    void SetOnMouseLeave(const GsNotifyEvent& Value) { FOnMouseLeave = Value; }
    const GsKeyEvent& OnKeyDown() const { return FOnKeyDown; }
    void SetOnKeyDown(const GsKeyEvent& Value) { FOnKeyDown = Value; }
    // Raised on the root, with the root as Sender.
    const GsNotifyEvent& OnFocusChange() const { return FOnFocusChange; }
    void SetOnFocusChange(const GsNotifyEvent& Value) { FOnFocusChange = Value; }

    bool Hovered() const { return FHovered; }
    GsWidget* Capture() const { return FCapture; }
    TControl* Host() const { return FHost; }
    void SetHost(TControl* Value) { FHost = Value; }
    const TRect& ContentOffset() const { return FContentOffset; }
    const UnicodeString& Text() const { return FText; }
    // The child list in painting order; null until the first child is added.
    const std::vector<GsWidget*>* Children() const { return FChildren; }
    int ChildCount() const { return FChildren ? static_cast<int>(FChildren->size()) : 0; }

protected:
    // Visible, enabled and not mouse-transparent.
    static bool Reachable(const GsWidget* Widget);

    GsWidget* FPressObserver = nullptr;
    int FBufferWidth = 0;
    int FBufferHeight = 0;
    GsWidget* FParent = nullptr;
    std::uint8_t FOptions = 0;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    bool FMouseTransparent = false;
    std::uint8_t FOpacity = 255;
    GsDrawMode FDrawMode = dmPremultiplied;
    GsNotifyEvent FOnPaint;
    GsNotifyEvent FOnClick;
    GsMouseEvent FOnMouseDown;
    GsMouseEvent FOnMouseUp;
    GsMouseMoveEvent FOnMouseMove;
    GsNotifyEvent FOnMouseEnter;
    GsNotifyEvent FOnMouseLeave;
    bool FHovered = false;
    GsWidget* FCapture = nullptr;
    TControl* FHost = nullptr;
    TRect FContentOffset;
    UnicodeString FText;
    std::vector<GsWidget*>* FChildren = nullptr;
    int FAccessibleRole = 0;
    UnicodeString FAccessibleName;
    bool FTabStop = false;
    GsWidget* FFocus = nullptr; // on the root
    bool FHostFocused = true; // on the root
    GsKeyEvent FOnKeyDown;
    GsNotifyEvent FOnFocusChange;

private:
    // Clears the root's focus silently when it lies in this subtree.
    void DropFocus();
    void CollectTabStops(std::vector<GsWidget*>& List);
};

} // namespace gs
