#include "TRadiateTextPainter.h"

#include "AlphaPrimitives.h"
#include "Exceptions.h"
#include "OuterGlowFilterFactory.h"

#include <algorithm>

// Luma is defined in double precision: on 32-bit x86 compute it in SSE2
// registers, so that no excess x87 precision changes a value.
#if defined(__i386__)
#pragma GCC target("sse2,fpmath=sse")
#endif

namespace gs {

namespace {

// An IntMatrix freed on every exit.
class TMatrixHolder {
public:
    TMatrixHolder(int rows, int cols) : FRows(rows), FMatrix(AllocIntMatrix(rows, cols)) {}
    ~TMatrixHolder() { Free(); }
    TMatrixHolder(const TMatrixHolder&) = delete;
    TMatrixHolder& operator=(const TMatrixHolder&) = delete;
    IntMatrix Get() const { return FMatrix; }
    void Free()
    {
        FreeIntMatrix(FMatrix, FRows);
        FMatrix = nullptr;
    }

private:
    int FRows;
    IntMatrix FMatrix;
};

// Gives a filter back to its factory on every exit.
class TFilterHolder {
public:
    TFilterHolder(FilterFactory* factory, Filter* filter) : FFactory(factory), FFilter(filter) {}
    ~TFilterHolder() { FFactory->ReleaseFilter(FFilter); }
    TFilterHolder(const TFilterHolder&) = delete;
    TFilterHolder& operator=(const TFilterHolder&) = delete;
    Filter* Get() const { return FFilter; }

private:
    FilterFactory* FFactory;
    Filter* FFilter;
};

// Puts a canvas's font colour back on every exit.
class TFontColorKeeper {
public:
    explicit TFontColorKeeper(TCanvas* canvas) : FFont(canvas->Font()), FColor(FFont->Color()) {}
    ~TFontColorKeeper() { FFont->SetColor(FColor); }
    TFontColorKeeper(const TFontColorKeeper&) = delete;
    TFontColorKeeper& operator=(const TFontColorKeeper&) = delete;
    TColor Saved() const { return FColor; }

private:
    TFont* FFont;
    TColor FColor;
};

bool IsEmpty(const TRect& rect)
{
    return rect.Width() <= 0 || rect.Height() <= 0;
}

} // namespace

int TRadiateTextPainter::Luma(int Red, int Green, int Blue)
{
    // Away from whole numbers the scaled integer sum truncates like the
    // double sum; on a whole number the double sum may fall just below it,
    // so it decides there.
    const int scaled = 299 * Red + 587 * Green + 114 * Blue + 500;
    if (scaled % 1000 != 0)
        return scaled / 1000;
    return static_cast<int>(0.299 * Red + 0.587 * Green + 0.114 * Blue + 0.5);
}

TRadiateTextPainter::TRadiateTextPainter() : FFactory(new OuterGlowFilterFactory) {}

TRadiateTextPainter::~TRadiateTextPainter()
{
    delete FFactory;
}

void TRadiateTextPainter::Release()
{
    delete this;
}

int TRadiateTextPainter::RadiusPixels() const
{
    return static_cast<int>(std::min<std::uint32_t>(Radius, 0x3FFFFFFF));
}

void TRadiateTextPainter::Radiate(TBitmap* Bitmap, const TRect& Rect, bool PerPixelAlpha, TColor Color)
{
    const int w = Rect.Width();
    const int h = Rect.Height();
    if (w <= 0 || h <= 0)
        return;
    if (Bitmap->PixelFormat() != pf32bit && Bitmap->PixelFormat() != pf24bit)
        Bitmap->SetPixelFormat(pf24bit);
    const int bytes = Bitmap->PixelFormat() == pf32bit ? 4 : 3;

    // Intensity: the luma of the glyph pixels; cells outside the bitmap
    // have none.
    TMatrixHolder intensity(h, w);
    IntMatrix I = intensity.Get();
    const int first = std::max(0, -Rect.Left);
    const int last = std::max(first, std::min(w, Bitmap->Width() - Rect.Left));
    const int top = std::max(0, -Rect.Top);
    const int bottom = std::max(top, std::min(h, Bitmap->Height() - Rect.Top));
    bool any = false;
    for (int i = 0; i < h; ++i) {
        std::int32_t* row = I[i];
        if (i < top || i >= bottom || first == last) {
            std::fill(row, row + w, 0);
            continue;
        }
        std::fill(row, row + first, 0);
        std::fill(row + last, row + w, 0);
        const BYTE* p = static_cast<const BYTE*>(Bitmap->ScanLine(Rect.Top + i)) + bytes * Rect.Left;
        for (int j = first; j < last; ++j) {
            const BYTE* px = p + bytes * j;
            const int v = (px[0] | px[1] | px[2]) ? Luma(px[2], px[1], px[0]) : 0;
            row[j] = v;
            any = any || v != 0;
        }
    }

    // Mask: the glow filter over the intensity. A dark image stays dark
    // under any filter, so the filter is not run for it.
    TMatrixHolder mask(h, w);
    IntMatrix M = mask.Get();
    auto* factory = dynamic_cast<OuterGlowFilterFactory*>(FFactory);
    if (!factory)
        throw EInvalidCast(L"The painter's filter factory is not an outer glow factory");
    factory->SetSpread(static_cast<float>(Spread / 255.0));
    factory->SetOpacity(static_cast<float>(Opacity / 255.0));
    if (any) {
        const int r = RadiusPixels();
        TFilterHolder filter(factory, factory->GetFilter(r, r));
        filter.Get()->Apply(I, 0, 0, h, w, M, 0, 0);
    } else {
        for (int i = 0; i < h; ++i)
            std::fill(M[i], M[i] + w, 0);
    }
    intensity.Free();

    TCanvas* canvas = Bitmap->Canvas();
    canvas->Brush()->SetColor(Color);
    canvas->FillRect(Rect);
    if (PerPixelAlpha)
        WriteAlphaMaskPremultiplied(Bitmap, Rect, M);
    else
        WriteAlphaMask(Bitmap, Rect, M);
}

template <typename Char>
void TRadiateTextPainter::PaintOnCanvas(TCanvas* Target, const Char* Text, const TRect& Rect, UINT Format, int AsLayer,
                                        bool PerPixelAlpha)
{
    if (IsEmpty(Rect))
        return;
    const int w = Rect.Width();
    const int h = Rect.Height();
    const int r = RadiusPixels();
    std::unique_ptr<TBitmap> glow = NewMaskBitmap(Target, Rect);
    DrawPlainText(glow->Canvas(), Text, TRect(r, r, w - r, h - r), Format);
    Radiate(glow.get(), TRect(0, 0, w, h), PerPixelAlpha, Target->Font()->Color());
    if (AsLayer)
        CopyBitmapToCanvas(Target, Rect, glow.get(), TPoint{0, 0});
    else if (PerPixelAlpha)
        BlendPremultiplied(Target, Rect, glow.get(), TPoint{0, 0}, 255);
    else
        BlendStraight(Target, Rect, glow.get(), TPoint{0, 0}, 255);
}

template <typename Char>
void TRadiateTextPainter::PaintOnBitmap(TBitmap* Target, const Char* Text, const TRect& Rect, UINT Format, int AsLayer,
                                        bool PerPixelAlpha)
{
    const int r = RadiusPixels();
    TCanvas* canvas = Target->Canvas();
    if (AsLayer) {
        // A layer carries alpha.
        if (Target->PixelFormat() != pf32bit)
            Target->SetPixelFormat(pf32bit);
        canvas->Brush()->SetColor(clBlack);
        canvas->FillRect(Rect);
        TFontColorKeeper keeper(canvas);
        canvas->Font()->SetColor(clWhite);
        DrawPlainText(canvas, Text, TRect(Rect.Left + r, Rect.Top + r, Rect.Right - r, Rect.Bottom - r), Format);
        Radiate(Target, Rect, PerPixelAlpha, keeper.Saved());
        return;
    }
    if (IsEmpty(Rect))
        return;
    const int w = Rect.Width();
    const int h = Rect.Height();
    std::unique_ptr<TBitmap> glow = NewMaskBitmap(canvas, Rect);
    DrawPlainText(glow->Canvas(), Text, TRect(r, r, w - r, h - r), Format);
    Radiate(glow.get(), TRect(0, 0, w, h), PerPixelAlpha, canvas->Font()->Color());
    if (PerPixelAlpha)
        BlendPremultiplied(Target, Rect, glow.get(), TPoint{0, 0}, 255);
    else
        BlendStraight(Target, Rect, glow.get(), TPoint{0, 0}, 255);
}

void TRadiateTextPainter::PaintText(TCanvas* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                                    bool PerPixelAlpha)
{
    PaintOnCanvas(Target, Text, *Rect, Format, AsLayer, PerPixelAlpha);
}

void TRadiateTextPainter::PaintText(TCanvas* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                                    bool PerPixelAlpha)
{
    PaintOnCanvas(Target, Text, *Rect, Format, AsLayer, PerPixelAlpha);
}

void TRadiateTextPainter::PaintText(TBitmap* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                                    bool PerPixelAlpha)
{
    PaintOnBitmap(Target, Text, *Rect, Format, AsLayer, PerPixelAlpha);
}

void TRadiateTextPainter::PaintText(TBitmap* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                                    bool PerPixelAlpha)
{
    PaintOnBitmap(Target, Text, *Rect, Format, AsLayer, PerPixelAlpha);
}

void TRadiateTextPainter::Grow(TRect* Rect) const
{
    if (Rect->Width() > 0 && Rect->Height() > 0) {
        Rect->Right += 2 * RadiusPixels();
        Rect->Bottom += 2 * RadiusPixels();
    }
}

void TRadiateTextPainter::CalcRect(TCanvas* Canvas, const char* Text, TRect* Rect, UINT Format)
{
    TTextPainter::CalcRect(Canvas, Text, Rect, Format);
    Grow(Rect);
}

void TRadiateTextPainter::CalcRect(TCanvas* Canvas, const wchar_t* Text, TRect* Rect, UINT Format)
{
    TTextPainter::CalcRect(Canvas, Text, Rect, Format);
    Grow(Rect);
}

} // namespace gs
