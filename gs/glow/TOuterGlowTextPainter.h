#pragma once
// Draws text with a glow around it: the glow in its own colour, shifted by
// the radiation offset, and the text in the target's font colour on top.

#include "TRadiateTextPainter.h"

namespace gs {

class TOuterGlowTextPainter : public TRadiateTextPainter {
public:
    void PaintText(TCanvas* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                   bool PerPixelAlpha) override;
    void PaintText(TCanvas* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                   bool PerPixelAlpha) override;
    void PaintText(TBitmap* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                   bool PerPixelAlpha) override;
    void PaintText(TBitmap* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                   bool PerPixelAlpha) override;
    // The text's extent grown by Radius on every side and by the radiation.
    void CalcRect(TCanvas* Canvas, const char* Text, TRect* Rect, UINT Format) override;
    void CalcRect(TCanvas* Canvas, const wchar_t* Text, TRect* Rect, UINT Format) override;

    // Colour of the glow (a pale yellow at first).
    TColor Color = 0x00BFFFFF;
    // Offset of the glow from the text, in pixels.
    TPoint Radiation;

private:
    // Glow and text composited onto what the target shows.
    template <typename TargetType, typename Char>
    void PaintComposite(TargetType* Target, TCanvas* Canvas, const Char* Text, const TRect& Rect, UINT Format,
                        bool PerPixelAlpha);
    // Glow and text written over the rectangle as one premultiplied layer.
    template <typename Char>
    void PaintLayer(TCanvas* Target, const Char* Text, const TRect& Rect, UINT Format, bool PerPixelAlpha);
    void Grow(TRect* Rect) const;
};

// A new glow painter with the initial values; dispose of it with Release.
TOuterGlowTextPainter* CreateOuterGlowTextPainter();

} // namespace gs
