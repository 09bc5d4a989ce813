#pragma once
// Draws only the glow of a text, in the target's font colour: the glyphs are
// rendered into a mask, dilated by the glow filter and the result, filled
// with the colour, is composited onto the target. The glyphs are inset by
// Radius on every side so that the glow fits into the rectangle.

#include "FilterFactory.h"
#include "TTextPainter.h"

#include <cstdint>

namespace gs {

class TRadiateTextPainter : public TTextPainter {
public:
    TRadiateTextPainter();
    ~TRadiateTextPainter() override;

    void PaintText(TCanvas* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                   bool PerPixelAlpha) override;
    void PaintText(TCanvas* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                   bool PerPixelAlpha) override;
    void PaintText(TBitmap* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                   bool PerPixelAlpha) override;
    void PaintText(TBitmap* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                   bool PerPixelAlpha) override;
    // The text's extent grown by Radius on every side.
    void CalcRect(TCanvas* Canvas, const char* Text, TRect* Rect, UINT Format) override;
    void CalcRect(TCanvas* Canvas, const wchar_t* Text, TRect* Rect, UINT Format) override;
    // Deletes the painter.
    void Release() override;

    // trunc(0.299 red + 0.587 green + 0.114 blue + 0.5) in double precision,
    // computed mostly in integers.
    static int Luma(int Red, int Green, int Blue);

    // Strength of the glow, 0 .. 255.
    std::uint8_t Opacity = 255;
    // Glow radius in pixels.
    std::uint32_t Radius = 0;
    // Share of the radius at full strength, 0 .. 255.
    std::uint8_t Spread = 0;

protected:
    // Turns Rect of Bitmap, which holds white glyphs on black, into the glow
    // in Color: premultiplied with PerPixelAlpha, straight alpha otherwise.
    void Radiate(TBitmap* Bitmap, const TRect& Rect, bool PerPixelAlpha, TColor Color);
    // Radius as a pixel count that rectangle arithmetic cannot overflow.
    int RadiusPixels() const;

private:
    template <typename Char>
    void PaintOnCanvas(TCanvas* Target, const Char* Text, const TRect& Rect, UINT Format, int AsLayer,
                       bool PerPixelAlpha);
    template <typename Char>
    void PaintOnBitmap(TBitmap* Target, const Char* Text, const TRect& Rect, UINT Format, int AsLayer,
                       bool PerPixelAlpha);
    void Grow(TRect* Rect) const;

    FilterFactory* FFactory;
};

} // namespace gs
