#pragma once
// The six state pictures of a push button, with fallbacks for the states
// that have no picture of their own.

#include "GsButtonState.h"
#include "GsCtrlAppearance.h"

#include <vector>

namespace gs {

// Sender: the appearance; Index: the state whose picture changed (6 when
// the changed bitmap is none of the six).
using GsAppearanceChangeEvent = TMethod<TObject*, int>;

// True when there is no bitmap or it has no pixels.
bool IsBitmapEmpty(TBitmap* Bitmap);

class GsButtonAppearance : public GsCtrlAppearance, public GsButtonStates {
public:
    explicit GsButtonAppearance(const GsAppearanceChangeEvent& OnChange = GsAppearanceChangeEvent());
    ~GsButtonAppearance() override;
    GsButtonAppearance(const GsButtonAppearance&) = delete;
    GsButtonAppearance& operator=(const GsButtonAppearance&) = delete;

    void AssignTo(TPersistent* Dest) override;
    // Index: a GsButtonState; out-of-range indices mean Raised. A state
    // without a picture shows Hovered (Sunken, Focused, Active) or Raised
    // (Hovered, Disabled). Never null; the owned bitmap itself.
    TBitmap* GetBitmap(unsigned Index) override;

    // Reading gives the owned bitmap; writing copies the value into it.
    TBitmap* Raised() const { return FBitmaps[StateRaised]; }
    void SetRaised(TBitmap* Value) { SetPicture(StateRaised, Value); }
    TBitmap* Sunken() const { return FBitmaps[StateSunken]; }
    void SetSunken(TBitmap* Value) { SetPicture(StateSunken, Value); }
    TBitmap* Hovered() const { return FBitmaps[StateHovered]; }
    void SetHovered(TBitmap* Value) { SetPicture(StateHovered, Value); }
    TBitmap* Disabled() const { return FBitmaps[StateDisabled]; }
    void SetDisabled(TBitmap* Value) { SetPicture(StateDisabled, Value); }
    TBitmap* Focused() const { return FBitmaps[StateFocused]; }
    void SetFocused(TBitmap* Value) { SetPicture(StateFocused, Value); }
    TBitmap* Active() const { return FBitmaps[StateActive]; }
    void SetActive(TBitmap* Value) { SetPicture(StateActive, Value); }

    const GsAppearanceChangeEvent& OnChange() const { return FOnChange; }

private:
    void SetPicture(int Index, TBitmap* Value);
    // OnChange of every owned bitmap.
    void BitmapChanged(TObject* Sender);

    std::vector<TBitmap*> FBitmaps;
    GsAppearanceChangeEvent FOnChange;
};

} // namespace gs
