#pragma once
// The glow text settings of a widget: glow values, an offset of the whole
// rendering, and the font. Owns the glow painter that draws with them and
// the painter through which widgets draw and measure their text.

#include "TFont.h"
#include "TTextPainter.h"

#include <cstdint>

namespace gs {

class GsOuterGlowTextEffectPainter;
class TOuterGlowTextPainter;

class GsTextRadiationEffect : public TPersistent {
public:
    GsTextRadiationEffect();
    explicit GsTextRadiationEffect(const TNotifyEvent& OnChange);
    ~GsTextRadiationEffect() override;
    GsTextRadiationEffect(const GsTextRadiationEffect&) = delete;
    GsTextRadiationEffect& operator=(const GsTextRadiationEffect&) = delete;

    // Each setter stores a different value and reports the change; an equal
    // value changes nothing.
    std::uint8_t Opacity() const;
    void SetOpacity(std::uint8_t value);
    unsigned int Radius() const;
    void SetRadius(unsigned int value);
    std::uint8_t Spread() const;
    void SetSpread(std::uint8_t value);
    TColor Color() const;
    void SetColor(TColor value);
    int RadiationX() const;
    void SetRadiationX(int value);
    int RadiationY() const;
    void SetRadiationY(int value);
    int OffsetX() const { return FOffsetX; }
    void SetOffsetX(int value);
    int OffsetY() const { return FOffsetY; }
    void SetOffsetY(int value);
    // The own font object; it is never replaced. Setting another font object
    // copies its contents.
    TFont* Font() const { return FFont; }
    void SetFont(TFont* value);

    // The painter to draw and measure text with these settings.
    TTextPainter* GetTextPainter() const;
    TOuterGlowTextPainter* GlowPainter() const { return FGlowPainter; }

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& value) { FOnChange = value; }

    // Copies every setting into another GsTextRadiationEffect and reports
    // one change there.
    void AssignTo(TPersistent* Dest) override;

protected:
    void Changed();

private:
    void Create();

    int FOffsetX = 0;
    int FOffsetY = 0;
    TFont* FFont = nullptr;
    TOuterGlowTextPainter* FGlowPainter = nullptr;
    GsOuterGlowTextEffectPainter* FTextPainter = nullptr;
    TNotifyEvent FOnChange;
};

} // namespace gs
