#include "WdgImage.h"

#include <oleacc.h>

namespace gs {

WdgImage::WdgImage() : FPicture(new TBitmap)
{
    FPicture->SetOnChange(TNotifyEvent::Bind<&WdgImage::PictureChanged>(this));
    FAccessibleRole = ROLE_SYSTEM_GRAPHIC;
}

WdgImage::~WdgImage()
{
    delete FPicture;
}

void WdgImage::Paint(TBitmap* Target, const TRect& Rect)
{
    DrawBitmapAt(Target, Rect, FPicture);
}

void WdgImage::SetAutoSize(bool Value)
{
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    if (FAutoSize)
        FitToPicture();
}

void WdgImage::FitToPicture()
{
    SetBounds(FLeft, FTop, FPicture->Width(), FPicture->Height());
}

void WdgImage::PictureChanged(TObject*)
{
    if (!FAutoSize)
        return;
    if (FPicture->Width() <= 0 || FPicture->Height() <= 0)
        return;
    if (FPicture->Width() != FWidth)
        SetWidth(FPicture->Width());
    if (FPicture->Height() != FHeight)
        SetHeight(FPicture->Height());
}

} // namespace gs
