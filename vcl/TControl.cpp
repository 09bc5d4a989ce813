#include "TControl.h"

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FOnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    FOnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FOnMouseUp(this, Button, Shift, X, Y);
}
