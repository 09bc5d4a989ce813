#include "WdgButton.h"

#include <oleacc.h>

namespace gs {

WdgButton::WdgButton()
    : FAppearance(
          std::make_unique<GsButtonAppearance>(GsAppearanceChangeEvent::Bind<&WdgButton::AppearanceChanged>(this))),
      FTextEffect(std::make_unique<GsButtonOuterGlowTextEffect>())
{
    FAccessibleRole = ROLE_SYSTEM_PUSHBUTTON;
    FTabStop = true;
}

WdgButton::~WdgButton() = default;

void WdgButton::Paint(TBitmap* Target, const TRect& Rect)
{
    if (!FEnabled)
        FState = StateDisabled;
    else if (FHovered)
        FState = FPressed ? StateSunken : StateHovered;
    else if (Focused())
        FState = StateFocused;
    else
        FState = StateRaised;
    // The caption goes onto a copy: the appearance's picture stays clean.
    TBitmap picture;
    picture.Assign(FAppearance->GetBitmap(FState));
    if (!FText.empty())
        DrawCaption(&picture, FState);
    DrawBitmapAt(Target, Rect, &picture);
}

void WdgButton::MouseMove(TShiftState, int, int)
{
    GsButtonState expected = FPressed ? StateSunken : StateHovered;
    if (FState != expected)
        Invalidate();
}

void WdgButton::MouseDown(TMouseButton Button, TShiftState, int, int)
{
    if (Button == mbLeft && !FPressed) {
        FPressed = true;
        Invalidate();
    } else if (Button != mbLeft && FPressed) {
        FPressed = false;
        Invalidate();
    }
}

void WdgButton::MouseUp(TMouseButton, TShiftState, int, int)
{
    if (!FPressed)
        return;
    FPressed = false;
    Invalidate();
}

void WdgButton::MouseLeave()
{
    if (FState == StateRaised)
        return;
    FState = StateRaised;
    Invalidate();
}

void WdgButton::KeyDown(int Key, TShiftState Shift, bool Repeat)
{
    if (Repeat || (Shift & (ssCtrl | ssAlt)))
        return;
    if (Key == VK_RETURN)
        Click();
    FSpaceDown = Key == VK_SPACE;
}

void WdgButton::KeyUp(int Key, TShiftState)
{
    if (Key != VK_SPACE || !FSpaceDown)
        return;
    FSpaceDown = false;
    Click();
}

void WdgButton::FocusLeave()
{
    FSpaceDown = false;
}

void WdgButton::CancelPress()
{
    FSpaceDown = false;
    if (!FPressed)
        return;
    FPressed = false;
    Invalidate();
}

unsigned WdgButton::AccessibleState() const
{
    unsigned state = WdgCustomControl::AccessibleState();
    if (FPressed && FHovered)
        state |= STATE_SYSTEM_PRESSED;
    return state;
}

UnicodeString WdgButton::AccessibleDefaultAction() const
{
    return FDefaultAction;
}

bool WdgButton::DoDefaultAction()
{
    if (!FEnabled || (AccessibleState() & STATE_SYSTEM_INVISIBLE))
        return false;
    Click();
    return true;
}

TTextPainter* WdgButton::PainterForState(int State)
{
    return FTextEffect->GetStateTextPainter(State);
}

void WdgButton::AppearanceChanged(TObject*, int Index)
{
    if (Index != StateRaised)
        return;
    SetWidth(FAppearance->Raised()->Width());
    SetHeight(FAppearance->Raised()->Height());
}

} // namespace gs
