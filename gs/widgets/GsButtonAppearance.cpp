#include "GsButtonAppearance.h"

#include "Exceptions.h"

namespace gs {

bool IsBitmapEmpty(TBitmap* Bitmap)
{
    return !Bitmap || Bitmap->Width() <= 0 || Bitmap->Height() <= 0;
}

GsButtonAppearance::GsButtonAppearance(const GsAppearanceChangeEvent& OnChange) : FOnChange(OnChange)
{
    FBitmaps.reserve(StateCount);
    for (int i = 0; i < StateCount; ++i) {
        FBitmaps.push_back(new TBitmap);
        FBitmaps.back()->SetOnChange(TNotifyEvent::Bind<&GsButtonAppearance::BitmapChanged>(this));
    }
}

GsButtonAppearance::~GsButtonAppearance()
{
    FOnChange = GsAppearanceChangeEvent();
    for (TBitmap* bitmap : FBitmaps)
        delete bitmap;
}

void GsButtonAppearance::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<GsButtonAppearance*>(Dest);
    if (!dest)
        throw EInvalidCast(L"Cannot assign a " + ClassName() + L" to a " +
                           (Dest ? Dest->ClassName() : UnicodeString(L"nil")));
    for (int i = 0; i < StateCount; ++i)
        dest->FBitmaps[i]->Assign(FBitmaps[i]);
}

TBitmap* GsButtonAppearance::GetBitmap(unsigned Index)
{
    if (Index >= static_cast<unsigned>(StateCount))
        Index = StateRaised;
    if (Index == StateRaised || !IsBitmapEmpty(FBitmaps[Index]))
        return FBitmaps[Index];
    switch (Index) {
    case StateSunken:
    case StateFocused:
    case StateActive: return GetBitmap(StateHovered);
    default: return GetBitmap(StateRaised);
    }
}

void GsButtonAppearance::SetPicture(int Index, TBitmap* Value)
{
    FBitmaps[Index]->Assign(Value);
    FOnChange(this, Index);
}

void GsButtonAppearance::BitmapChanged(TObject* Sender)
{
    int index = 0;
    while (index < StateCount && FBitmaps[index] != Sender)
        ++index;
    FOnChange(this, index);
}

} // namespace gs
