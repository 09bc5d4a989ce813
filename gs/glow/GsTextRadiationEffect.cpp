#include "GsTextRadiationEffect.h"

#include "GsOuterGlowTextEffectPainter.h"
#include "TOuterGlowTextPainter.h"

namespace gs {

GsTextRadiationEffect::GsTextRadiationEffect()
{
    Create();
}

GsTextRadiationEffect::GsTextRadiationEffect(const TNotifyEvent& OnChange)
{
    Create();
    FOnChange = OnChange;
}

void GsTextRadiationEffect::Create()
{
    FGlowPainter = CreateOuterGlowTextPainter();
    try {
        FFont = new TFont;
        FTextPainter = new GsOuterGlowTextEffectPainter(this);
    } catch (...) {
        delete FFont;
        FGlowPainter->Release();
        throw;
    }
}

GsTextRadiationEffect::~GsTextRadiationEffect()
{
    delete FFont;
    FGlowPainter->Release();
    delete FTextPainter;
}

std::uint8_t GsTextRadiationEffect::Opacity() const
{
    return FGlowPainter->Opacity;
}

void GsTextRadiationEffect::SetOpacity(std::uint8_t value)
{
    if (value == FGlowPainter->Opacity)
        return;
    FGlowPainter->Opacity = value;
    Changed();
}

unsigned int GsTextRadiationEffect::Radius() const
{
    return FGlowPainter->Radius;
}

void GsTextRadiationEffect::SetRadius(unsigned int value)
{
    if (value == FGlowPainter->Radius)
        return;
    FGlowPainter->Radius = value;
    Changed();
}

std::uint8_t GsTextRadiationEffect::Spread() const
{
    return FGlowPainter->Spread;
}

void GsTextRadiationEffect::SetSpread(std::uint8_t value)
{
    if (value == FGlowPainter->Spread)
        return;
    FGlowPainter->Spread = value;
    Changed();
}

TColor GsTextRadiationEffect::Color() const
{
    return FGlowPainter->Color;
}

void GsTextRadiationEffect::SetColor(TColor value)
{
    if (value == FGlowPainter->Color)
        return;
    FGlowPainter->Color = value;
    Changed();
}

int GsTextRadiationEffect::RadiationX() const
{
    return FGlowPainter->Radiation.X;
}

void GsTextRadiationEffect::SetRadiationX(int value)
{
    if (value == FGlowPainter->Radiation.X)
        return;
    FGlowPainter->Radiation.X = value;
    Changed();
}

int GsTextRadiationEffect::RadiationY() const
{
    return FGlowPainter->Radiation.Y;
}

void GsTextRadiationEffect::SetRadiationY(int value)
{
    if (value == FGlowPainter->Radiation.Y)
        return;
    FGlowPainter->Radiation.Y = value;
    Changed();
}

void GsTextRadiationEffect::SetOffsetX(int value)
{
    if (value == FOffsetX)
        return;
    FOffsetX = value;
    Changed();
}

void GsTextRadiationEffect::SetOffsetY(int value)
{
    if (value == FOffsetY)
        return;
    FOffsetY = value;
    Changed();
}

void GsTextRadiationEffect::SetFont(TFont* value)
{
    if (value == FFont)
        return;
    FFont->Assign(value);
    Changed();
}

TTextPainter* GsTextRadiationEffect::GetTextPainter() const
{
    return FTextPainter;
}

void GsTextRadiationEffect::Changed()
{
    FOnChange(this);
}

void GsTextRadiationEffect::AssignTo(TPersistent* Dest)
{
    auto* target = dynamic_cast<GsTextRadiationEffect*>(Dest);
    if (!target) {
        TPersistent::AssignTo(Dest);
        return;
    }
    TOuterGlowTextPainter* glow = target->FGlowPainter;
    glow->Opacity = FGlowPainter->Opacity;
    glow->Radius = FGlowPainter->Radius;
    glow->Spread = FGlowPainter->Spread;
    glow->Color = FGlowPainter->Color;
    target->FOffsetX = FOffsetX;
    target->FOffsetY = FOffsetY;
    glow->Radiation = FGlowPainter->Radiation;
    target->FFont->Assign(FFont);
    target->Changed();
}

} // namespace gs
