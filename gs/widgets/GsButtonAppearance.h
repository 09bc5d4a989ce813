#pragma once
// The six state pictures of a push button, with fallbacks for the states
// that have no picture of their own.

#include "GsCtrlAppearance.h"

#include <vector>

namespace gs {

// Sender: the appearance; Index: the state whose picture changed (6 when
// the changed bitmap is none of the six).
using GsAppearanceChangeEvent = TMethod<TObject*, int>;

// True when there is no bitmap or it has no pixels.
bool IsBitmapEmpty(TBitmap* Bitmap);

class GsButtonAppearance : public GsCtrlAppearance {
public:
    static constexpr int StateCount = 6;

    explicit GsButtonAppearance(const GsAppearanceChangeEvent& OnChange = GsAppearanceChangeEvent());
    ~GsButtonAppearance() override;
    GsButtonAppearance(const GsButtonAppearance&) = delete;
    GsButtonAppearance& operator=(const GsButtonAppearance&) = delete;

    void AssignTo(TPersistent* Dest) override;
    // Index 0 Raised, 1 Sunken, 2 Hovered, 3 Disabled, 4 Focused, 5 Active;
    // out-of-range indices mean Raised. A state without a picture shows
    // Hovered (Sunken, Focused, Active) or Raised (Hovered, Disabled).
    // Never null; the owned bitmap itself.
    TBitmap* GetBitmap(unsigned Index) override;

    // Reading gives the owned bitmap; writing copies the value into it.
    TBitmap* Raised() const { return FBitmaps[0]; }
    void SetRaised(TBitmap* Value) { SetPicture(0, Value); }
    TBitmap* Sunken() const { return FBitmaps[1]; }
    void SetSunken(TBitmap* Value) { SetPicture(1, Value); }
    TBitmap* Hovered() const { return FBitmaps[2]; }
    void SetHovered(TBitmap* Value) { SetPicture(2, Value); }
    TBitmap* Disabled() const { return FBitmaps[3]; }
    void SetDisabled(TBitmap* Value) { SetPicture(3, Value); }
    TBitmap* Focused() const { return FBitmaps[4]; }
    void SetFocused(TBitmap* Value) { SetPicture(4, Value); }
    TBitmap* Active() const { return FBitmaps[5]; }
    void SetActive(TBitmap* Value) { SetPicture(5, Value); }

    const GsAppearanceChangeEvent& OnChange() const { return FOnChange; }

private:
    void SetPicture(int Index, TBitmap* Value);
    // OnChange of every owned bitmap.
    void BitmapChanged(TObject* Sender);

    std::vector<TBitmap*> FBitmaps;
    GsAppearanceChangeEvent FOnChange;
};

} // namespace gs
