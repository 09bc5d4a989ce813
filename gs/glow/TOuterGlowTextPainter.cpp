#include "TOuterGlowTextPainter.h"

#include "AlphaPrimitives.h"

namespace gs {

namespace {

// Puts a font's colour back on every exit.
class TFontColorKeeper {
public:
    explicit TFontColorKeeper(TFont* font) : FFont(font), FColor(font->Color()) {}
    ~TFontColorKeeper() { FFont->SetColor(FColor); }
    TFontColorKeeper(const TFontColorKeeper&) = delete;
    TFontColorKeeper& operator=(const TFontColorKeeper&) = delete;
    TColor Saved() const { return FColor; }

private:
    TFont* FFont;
    TColor FColor;
};

} // namespace

TOuterGlowTextPainter* CreateOuterGlowTextPainter()
{
    return new TOuterGlowTextPainter;
}

template <typename TargetType, typename Char>
void TOuterGlowTextPainter::PaintComposite(TargetType* Target, TCanvas* Canvas, const Char* Text, const TRect& Rect,
                                           UINT Format, bool PerPixelAlpha)
{
    const int r = RadiusPixels();
    TFontColorKeeper keeper(Canvas->Font());
    Canvas->Font()->SetColor(Color);
    TRect textRect(Rect.Left + r, Rect.Top + r, Rect.Right - r - Radiation.X, Rect.Bottom - r - Radiation.Y);
    if (Radius > 0) {
        TRect glowRect(Rect.Left + Radiation.X, Rect.Top + Radiation.Y, Rect.Right, Rect.Bottom);
        TRadiateTextPainter::PaintText(Target, Text, &glowRect, Format, 0, PerPixelAlpha);
    }
    Canvas->Font()->SetColor(keeper.Saved());
    TTextPainter::PaintText(Target, Text, &textRect, Format, 0, PerPixelAlpha);
}

// The picture of the composite form, written as a layer: a working bitmap of
// the rectangle's size, black and transparent, gets the glow at the
// radiation offset, premultiplied, and the premultiplied text layer over it;
// the result replaces the rectangle.
template <typename Char>
void TOuterGlowTextPainter::PaintLayer(TCanvas* Target, const Char* Text, const TRect& Rect, UINT Format,
                                       bool PerPixelAlpha)
{
    const int w = Rect.Width();
    const int h = Rect.Height();
    if (w <= 0 || h <= 0)
        return;
    const int r = RadiusPixels();
    const TColor textColor = Target->Font()->Color();

    auto layer = std::make_unique<TBitmap>();
    TCanvas* canvas = layer->Canvas();
    canvas->Brush()->SetColor(clBlack);
    layer->SetPixelFormat(pf32bit);
    layer->SetSize(w, h);
    canvas->Font()->Assign(Target->Font());

    TRect textArea(r, r, w - r - Radiation.X, h - r - Radiation.Y);
    if (Radius == 0) {
        TTextPainter::PaintText(layer.get(), Text, &textArea, Format, 1, PerPixelAlpha);
    } else {
        canvas->Font()->SetColor(Color);
        TRect glowRect(Radiation.X, Radiation.Y, w, h);
        TRadiateTextPainter::PaintText(layer.get(), Text, &glowRect, Format, 1, PerPixelAlpha);
        if (!PerPixelAlpha)
            PremultiplyAlpha(layer.get());
        canvas->Font()->SetColor(textColor);
        if (textArea.Width() > 0 && textArea.Height() > 0) {
            std::unique_ptr<TBitmap> text = NewTextBitmap(canvas, textArea);
            RenderTextLayer(text.get(), TRect(0, 0, textArea.Width(), textArea.Height()), Text, Format);
            BlendPremultiplied(layer.get(), textArea, text.get(), TPoint{0, 0}, 255);
        }
    }
    CopyBitmapToCanvas(Target, Rect, layer.get(), TPoint{0, 0});
}

void TOuterGlowTextPainter::PaintText(TCanvas* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                                      bool PerPixelAlpha)
{
    if (AsLayer)
        PaintLayer(Target, Text, *Rect, Format, PerPixelAlpha);
    else
        PaintComposite(Target, Target, Text, *Rect, Format, PerPixelAlpha);
}

void TOuterGlowTextPainter::PaintText(TCanvas* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                                      bool PerPixelAlpha)
{
    if (AsLayer)
        PaintLayer(Target, Text, *Rect, Format, PerPixelAlpha);
    else
        PaintComposite(Target, Target, Text, *Rect, Format, PerPixelAlpha);
}

void TOuterGlowTextPainter::PaintText(TBitmap* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                                      bool PerPixelAlpha)
{
    if (AsLayer) {
        if (Target->PixelFormat() != pf32bit)
            Target->SetPixelFormat(pf32bit);
        PaintLayer(Target->Canvas(), Text, *Rect, Format, PerPixelAlpha);
    } else {
        PaintComposite(Target, Target->Canvas(), Text, *Rect, Format, PerPixelAlpha);
    }
}

void TOuterGlowTextPainter::PaintText(TBitmap* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                                      bool PerPixelAlpha)
{
    if (AsLayer) {
        if (Target->PixelFormat() != pf32bit)
            Target->SetPixelFormat(pf32bit);
        PaintLayer(Target->Canvas(), Text, *Rect, Format, PerPixelAlpha);
    } else {
        PaintComposite(Target, Target->Canvas(), Text, *Rect, Format, PerPixelAlpha);
    }
}

void TOuterGlowTextPainter::Grow(TRect* Rect) const
{
    if (Rect->Width() != 0 && Rect->Height() != 0) {
        Rect->Right += Radiation.X;
        Rect->Bottom += Radiation.Y;
    }
}

void TOuterGlowTextPainter::CalcRect(TCanvas* Canvas, const char* Text, TRect* Rect, UINT Format)
{
    TRadiateTextPainter::CalcRect(Canvas, Text, Rect, Format);
    Grow(Rect);
}

void TOuterGlowTextPainter::CalcRect(TCanvas* Canvas, const wchar_t* Text, TRect* Rect, UINT Format)
{
    TRadiateTextPainter::CalcRect(Canvas, Text, Rect, Format);
    Grow(Rect);
}

} // namespace gs
