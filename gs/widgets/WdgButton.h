#pragma once
// A push button drawn from one picture per visual state, with an optional
// caption. It follows hover and press and raises OnClick for a left press
// and release.

#include "GsButtonAppearance.h"
#include "GsButtonOuterGlowTextEffect.h"
#include "WdgCustomControl.h"

namespace gs {

class WdgButton : public WdgCustomControl {
public:
    // State indices of the look.
    static constexpr int StateRaised = 0;
    static constexpr int StateSunken = 1;
    static constexpr int StateHovered = 2;
    static constexpr int StateDisabled = 3;
    static constexpr int StateFocused = 4;

    WdgButton();
    ~WdgButton() override;

    // Chooses the state, and draws its picture with the caption on a copy.
    void Paint(TBitmap* Target, const TRect& Rect) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    // Enter and Space press the button.
    void KeyDown(int Key, TShiftState Shift, int RepeatCount) override;
    unsigned AccessibleState() const override;
    // "Press": what a click does.
    UnicodeString AccessibleDefaultAction() const override;
    bool DoDefaultAction() override;
    TTextPainter* PainterForState(int State) override;

    GsButtonAppearance* Appearance() const { return FAppearance; }
    GsButtonOuterGlowTextEffect* TextEffect() const { return FTextEffect; }
    // The state chosen at the last paint.
    int State() const { return FState; }
    bool Pressed() const { return FPressed; }

private:
    // The button takes the size of its Raised picture.
    void AppearanceChanged(TObject* Sender, int Index);

    GsButtonAppearance* FAppearance = nullptr;
    GsButtonOuterGlowTextEffect* FTextEffect = nullptr;
    int FState = StateRaised;
    bool FPressed = false;
};

} // namespace gs
