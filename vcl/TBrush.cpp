#include "TBrush.h"

#include "Exceptions.h"

TBrush::TBrush() = default;

TBrush::~TBrush() = default;

void TBrush::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    Changed();
}

HBRUSH TBrush::Handle()
{
    if (!FHandle) {
        FHandle.Reset(CreateSolidBrush(ColorToRGB(FColor)));
        if (!FHandle)
            RaiseLastOSError(L"CreateSolidBrush");
    }
    return FHandle.Handle();
}

void TBrush::Assign(TPersistent* Source)
{
    if (auto* brush = dynamic_cast<TBrush*>(Source)) {
        FColor = brush->FColor;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TBrush::Changed()
{
    // The listener deselects the old brush before it is deleted.
    FOnChange(this);
    FHandle.Reset();
}
