#pragma once
// The text effect of a button: one glow text effect per visual state. Raised
// (the normal look) exists from the start; the other states are made on
// first access from Raised, and a change to any of them is reported as a
// change of the button effect.

#include "GsCtrlTextEffect.h"
#include "GsTextRadiationEffect.h"

namespace gs {

class GsButtonOuterGlowTextEffect : public GsCtrlTextEffect, public GsButtonStates {
public:
    GsButtonOuterGlowTextEffect();
    ~GsButtonOuterGlowTextEffect() override;
    GsButtonOuterGlowTextEffect(const GsButtonOuterGlowTextEffect&) = delete;
    GsButtonOuterGlowTextEffect& operator=(const GsButtonOuterGlowTextEffect&) = delete;

    // The state effects belong to the button effect. A setter copies the
    // given effect into the held one (made first if needed); given the held
    // object itself, it does nothing.
    GsTextRadiationEffect* Raised() const { return FRaised; }
    void SetRaised(GsTextRadiationEffect* value);
    GsTextRadiationEffect* Sunken();
    void SetSunken(GsTextRadiationEffect* value);
    GsTextRadiationEffect* Hovered();
    void SetHovered(GsTextRadiationEffect* value);
    GsTextRadiationEffect* Disabled();
    void SetDisabled(GsTextRadiationEffect* value);
    GsTextRadiationEffect* Focused();
    void SetFocused(GsTextRadiationEffect* value);
    GsTextRadiationEffect* Active();
    void SetActive(GsTextRadiationEffect* value);

    // The painter of the state's effect; an unknown state gets Raised's.
    TTextPainter* GetStateTextPainter(int State) override;

    // Copies Raised and every state into another button effect.
    void AssignTo(TPersistent* Dest) override;

private:
    GsTextRadiationEffect* NewStateEffect();
    GsTextRadiationEffect* CopyOfRaised(GsTextRadiationEffect*& field);
    void EffectChanged(TObject* Sender);

    GsTextRadiationEffect* FRaised = nullptr;
    GsTextRadiationEffect* FSunken = nullptr;
    GsTextRadiationEffect* FHovered = nullptr;
    GsTextRadiationEffect* FDisabled = nullptr;
    GsTextRadiationEffect* FFocused = nullptr;
    GsTextRadiationEffect* FActive = nullptr;
};

} // namespace gs
