#pragma once
// A push button drawn from one picture per visual state, with an optional
// caption. It follows hover and press and raises OnClick for a left press
// and release.

#include "GsButtonAppearance.h"
#include "GsButtonOuterGlowTextEffect.h"
#include "WdgCustomControl.h"

#include <memory>

namespace gs {

class WdgButton : public WdgCustomControl, public GsButtonStates {
public:
    WdgButton();
    ~WdgButton() override;

    // Chooses the state, and draws its picture with the caption on a copy.
    void Paint(TBitmap* Target, const TRect& Rect) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    // Enter presses the button when it goes down, Space when it comes up
    // again, as the system's push buttons do; a held key presses once.
    void KeyDown(int Key, TShiftState Shift, bool Repeat) override;
    void KeyUp(int Key, TShiftState Shift) override;
    // A Space held down is forgotten, as it is by the system's buttons.
    void FocusLeave() override;
    // Forgets a press under way, by the mouse or by Space, without a click:
    // the button no longer looks or reports itself pressed.
    void CancelPress();
    unsigned AccessibleState() const override;
    // The name of what a click does: "Press" unless set otherwise.
    UnicodeString AccessibleDefaultAction() const override;
    void SetAccessibleDefaultAction(const UnicodeString& Value) { FDefaultAction = Value; }
    bool DoDefaultAction() override;
    TTextPainter* PainterForState(int State) override;

    GsButtonAppearance* Appearance() const { return FAppearance.get(); }
    GsButtonOuterGlowTextEffect* TextEffect() const { return FTextEffect.get(); }
    // The state chosen at the last paint.
    GsButtonState State() const { return FState; }
    bool Pressed() const { return FPressed; }

private:
    // The button takes the size of its Raised picture.
    void AppearanceChanged(TObject* Sender, int Index);

    std::unique_ptr<GsButtonAppearance> FAppearance;
    std::unique_ptr<GsButtonOuterGlowTextEffect> FTextEffect;
    GsButtonState FState = StateRaised;
    bool FPressed = false;
    bool FSpaceDown = false;
    UnicodeString FDefaultAction = L"Press";
};

} // namespace gs
