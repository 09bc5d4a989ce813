#include "GsOuterGlowTextEffectPainter.h"

#include "AlphaPrimitives.h"
#include "GsTextRadiationEffect.h"
#include "TOuterGlowTextPainter.h"

#include <memory>

namespace gs {

GsOuterGlowTextEffectPainter::GsOuterGlowTextEffectPainter(GsTextRadiationEffect* Effect) : FEffect(Effect) {}

void GsOuterGlowTextEffectPainter::PaintText(TCanvas* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                                             bool PerPixelAlpha)
{
    Target->Font()->Assign(FEffect->Font());
    FEffect->GlowPainter()->PaintText(Target, Text, Rect, Format, AsLayer, PerPixelAlpha);
}

void GsOuterGlowTextEffectPainter::PaintText(TCanvas* Target, const wchar_t* Text, TRect* Rect, UINT Format,
                                             int AsLayer, bool PerPixelAlpha)
{
    Target->Font()->Assign(FEffect->Font());
    FEffect->GlowPainter()->PaintText(Target, Text, Rect, Format, AsLayer, PerPixelAlpha);
}

template <typename Char>
void GsOuterGlowTextEffectPainter::PaintOnBitmap(TBitmap* Target, const Char* Text, const TRect& Rect, UINT Format,
                                                 int AsLayer, bool PerPixelAlpha)
{
    const int dx = FEffect->OffsetX();
    const int dy = FEffect->OffsetY();
    if (dx == 0 && dy == 0) {
        Target->Canvas()->Font()->Assign(FEffect->Font());
        TRect rect = Rect;
        FEffect->GlowPainter()->PaintText(Target, Text, &rect, Format, AsLayer, PerPixelAlpha);
        return;
    }
    // Draw shifted into a copy of the target, then bring back only the
    // rectangle: what the shift pushed past it is cut off.
    TRect moved(Rect.Left + dx, Rect.Top + dy, Rect.Right + dx, Rect.Bottom + dy);
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(Target);
    copy->Canvas()->Font()->Assign(FEffect->Font());
    FEffect->GlowPainter()->PaintText(copy.get(), Text, &moved, Format, AsLayer, PerPixelAlpha);
    CopyBitmapToCanvas(Target->Canvas(), Rect, copy.get(), TPoint{Rect.Left, Rect.Top});
}

void GsOuterGlowTextEffectPainter::PaintText(TBitmap* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                                             bool PerPixelAlpha)
{
    PaintOnBitmap(Target, Text, *Rect, Format, AsLayer, PerPixelAlpha);
}

void GsOuterGlowTextEffectPainter::PaintText(TBitmap* Target, const wchar_t* Text, TRect* Rect, UINT Format,
                                             int AsLayer, bool PerPixelAlpha)
{
    PaintOnBitmap(Target, Text, *Rect, Format, AsLayer, PerPixelAlpha);
}

void GsOuterGlowTextEffectPainter::CalcRect(TCanvas* Canvas, const char* Text, TRect* Rect, UINT Format)
{
    Canvas->Font()->Assign(FEffect->Font());
    FEffect->GlowPainter()->CalcRect(Canvas, Text, Rect, Format);
}

void GsOuterGlowTextEffectPainter::CalcRect(TCanvas* Canvas, const wchar_t* Text, TRect* Rect, UINT Format)
{
    Canvas->Font()->Assign(FEffect->Font());
    FEffect->GlowPainter()->CalcRect(Canvas, Text, Rect, Format);
}

} // namespace gs
