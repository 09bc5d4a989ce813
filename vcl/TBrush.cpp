#include "TBrush.h"

#include "Exceptions.h"

TBrush::TBrush() = default;

TBrush::~TBrush()
{
    if (FHandle)
        DeleteObject(FHandle);
}

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
        FHandle = CreateSolidBrush(ColorToRGB(FColor));
        if (!FHandle)
            RaiseLastOSError(L"CreateSolidBrush");
    }
    return FHandle;
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
    if (FHandle) {
        DeleteObject(FHandle);
        FHandle = nullptr;
    }
}
