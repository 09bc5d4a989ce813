#pragma once
// The painter through which widgets draw and measure text with a
// GsTextRadiationEffect: puts the effect's font on the target, applies the
// effect's offset (on bitmaps) and hands on to the effect's glow painter.

#include "TTextPainter.h"

namespace gs {

class GsTextRadiationEffect;

class GsOuterGlowTextEffectPainter : public TTextPainter {
public:
    explicit GsOuterGlowTextEffectPainter(GsTextRadiationEffect* Effect);

    // On a canvas the offset is not applied.
    void PaintText(TCanvas* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                   bool PerPixelAlpha) override;
    void PaintText(TCanvas* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                   bool PerPixelAlpha) override;
    // On a bitmap the rendering is shifted by the offset and cut off at the
    // rectangle; the bitmap outside the rectangle is untouched.
    void PaintText(TBitmap* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                   bool PerPixelAlpha) override;
    void PaintText(TBitmap* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                   bool PerPixelAlpha) override;
    void CalcRect(TCanvas* Canvas, const char* Text, TRect* Rect, UINT Format) override;
    void CalcRect(TCanvas* Canvas, const wchar_t* Text, TRect* Rect, UINT Format) override;

private:
    template <typename Char>
    void PaintOnBitmap(TBitmap* Target, const Char* Text, const TRect& Rect, UINT Format, int AsLayer,
                       bool PerPixelAlpha);

    GsTextRadiationEffect* FEffect;
};

} // namespace gs
