#include "GsButtonOuterGlowTextEffect.h"

namespace gs {

GsButtonOuterGlowTextEffect::GsButtonOuterGlowTextEffect() : FRaised(NewStateEffect()) {}

GsButtonOuterGlowTextEffect::~GsButtonOuterGlowTextEffect()
{
    delete FRaised;
    delete FSunken;
    delete FHovered;
    delete FDisabled;
    delete FFocused;
    delete FActive;
}

GsTextRadiationEffect* GsButtonOuterGlowTextEffect::NewStateEffect()
{
    return new GsTextRadiationEffect(TNotifyEvent::Bind<&GsButtonOuterGlowTextEffect::EffectChanged>(this));
}

void GsButtonOuterGlowTextEffect::EffectChanged(TObject*)
{
    Changed();
}

// Makes the state's effect as a full copy of Raised, if it does not exist yet.
GsTextRadiationEffect* GsButtonOuterGlowTextEffect::CopyOfRaised(GsTextRadiationEffect*& field)
{
    if (!field) {
        field = NewStateEffect();
        field->Assign(FRaised);
    }
    return field;
}

GsTextRadiationEffect* GsButtonOuterGlowTextEffect::Sunken()
{
    if (!FSunken) {
        // Pressed: Raised's font moved down and right; the glow values stay
        // the initial ones.
        FSunken = NewStateEffect();
        FSunken->Font()->Assign(FRaised->Font());
        FSunken->SetOffsetX(2);
        FSunken->SetOffsetY(2);
    }
    return FSunken;
}

GsTextRadiationEffect* GsButtonOuterGlowTextEffect::Hovered()
{
    return CopyOfRaised(FHovered);
}

GsTextRadiationEffect* GsButtonOuterGlowTextEffect::Disabled()
{
    if (!FDisabled) {
        CopyOfRaised(FDisabled);
        FDisabled->Font()->SetColor(clGrayText);
    }
    return FDisabled;
}

GsTextRadiationEffect* GsButtonOuterGlowTextEffect::Focused()
{
    return CopyOfRaised(FFocused);
}

GsTextRadiationEffect* GsButtonOuterGlowTextEffect::Active()
{
    return CopyOfRaised(FActive);
}

void GsButtonOuterGlowTextEffect::SetRaised(GsTextRadiationEffect* value)
{
    if (value != FRaised)
        FRaised->Assign(value);
}

void GsButtonOuterGlowTextEffect::SetSunken(GsTextRadiationEffect* value)
{
    if (value != FSunken)
        Sunken()->Assign(value);
}

void GsButtonOuterGlowTextEffect::SetHovered(GsTextRadiationEffect* value)
{
    if (value != FHovered)
        Hovered()->Assign(value);
}

void GsButtonOuterGlowTextEffect::SetDisabled(GsTextRadiationEffect* value)
{
    if (value != FDisabled)
        Disabled()->Assign(value);
}

void GsButtonOuterGlowTextEffect::SetFocused(GsTextRadiationEffect* value)
{
    if (value != FFocused)
        Focused()->Assign(value);
}

void GsButtonOuterGlowTextEffect::SetActive(GsTextRadiationEffect* value)
{
    if (value != FActive)
        Active()->Assign(value);
}

TTextPainter* GsButtonOuterGlowTextEffect::GetStateTextPainter(int State)
{
    switch (State) {
    case StateSunken: return Sunken()->GetTextPainter();
    case StateHovered: return Hovered()->GetTextPainter();
    case StateDisabled: return Disabled()->GetTextPainter();
    case StateFocused: return Focused()->GetTextPainter();
    case StateActive: return Active()->GetTextPainter();
    default: return FRaised->GetTextPainter();
    }
}

void GsButtonOuterGlowTextEffect::AssignTo(TPersistent* Dest)
{
    auto* target = dynamic_cast<GsButtonOuterGlowTextEffect*>(Dest);
    if (!target) {
        GsCtrlTextEffect::AssignTo(Dest);
        return;
    }
    target->FRaised->Assign(FRaised);
    target->Sunken()->Assign(Sunken());
    target->Hovered()->Assign(Hovered());
    target->Disabled()->Assign(Disabled());
    target->Focused()->Assign(Focused());
    target->Active()->Assign(Active());
}

} // namespace gs
