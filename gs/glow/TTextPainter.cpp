#include "TTextPainter.h"

#include "AlphaPrimitives.h"

#include <algorithm>

namespace gs {

namespace {

int CallDrawText(HDC dc, const char* text, RECT* rect, UINT format)
{
    return DrawTextA(dc, text ? text : "", -1, rect, format);
}

int CallDrawText(HDC dc, const wchar_t* text, RECT* rect, UINT format)
{
    return DrawTextW(dc, text ? text : L"", -1, rect, format);
}

template <typename Char>
void DrawPlain(TCanvas* canvas, const Char* text, const TRect& rect, UINT format)
{
    HDC dc = canvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    RECT r = rect.ToRECT();
    CallDrawText(dc, text, &r, format);
}

template <typename Char>
void Measure(TCanvas* canvas, const Char* text, TRect* rect, UINT format)
{
    RECT r = rect->ToRECT();
    CallDrawText(canvas->Handle(), text, &r, format | DT_CALCRECT);
    *rect = TRect(r);
}

bool IsEmpty(const TRect& rect)
{
    return rect.Width() <= 0 || rect.Height() <= 0;
}

} // namespace

TTextPainter::~TTextPainter() = default;

void TTextPainter::Release() {}

void TTextPainter::DrawPlainText(TCanvas* Canvas, const char* Text, const TRect& Rect, UINT Format)
{
    DrawPlain(Canvas, Text, Rect, Format);
}

void TTextPainter::DrawPlainText(TCanvas* Canvas, const wchar_t* Text, const TRect& Rect, UINT Format)
{
    DrawPlain(Canvas, Text, Rect, Format);
}

std::unique_ptr<TBitmap> TTextPainter::NewTextBitmap(TCanvas* Canvas, const TRect& Rect)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(std::max(0, Rect.Width()), std::max(0, Rect.Height()));
    bitmap->Canvas()->Font()->Assign(Canvas->Font());
    return bitmap;
}

std::unique_ptr<TBitmap> TTextPainter::NewMaskBitmap(TCanvas* Canvas, const TRect& Rect)
{
    auto bitmap = NewTextBitmap(Canvas, Rect);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clBlack);
    canvas->FillRect(TRect(0, 0, bitmap->Width(), bitmap->Height()));
    canvas->Font()->SetColor(clWhite);
    return bitmap;
}

void TTextPainter::RenderTextLayer(TBitmap* Bitmap, const TRect& Rect, const char* Text, UINT Format)
{
    RenderLayer(Bitmap, Rect, Text, Format);
}

void TTextPainter::RenderTextLayer(TBitmap* Bitmap, const TRect& Rect, const wchar_t* Text, UINT Format)
{
    RenderLayer(Bitmap, Rect, Text, Format);
}

template <typename Char>
void TTextPainter::RenderLayer(TBitmap* Bitmap, const TRect& Rect, const Char* Text, UINT Format)
{
    // A layer carries alpha.
    if (Bitmap->PixelFormat() != pf32bit)
        Bitmap->SetPixelFormat(pf32bit);
    const int w = Rect.Width();
    const int h = Rect.Height();
    std::unique_ptr<TBitmap> glyphs = NewTextBitmap(Bitmap->Canvas(), Rect);

    TCanvas* canvas = Bitmap->Canvas();
    canvas->Brush()->SetColor(canvas->Font()->Color());
    canvas->FillRect(Rect);

    TCanvas* glyphCanvas = glyphs->Canvas();
    glyphCanvas->Font()->SetColor(clWhite);
    glyphCanvas->Brush()->SetColor(clBlack);
    glyphCanvas->FillRect(TRect(0, 0, glyphs->Width(), glyphs->Height()));
    DrawPlainText(glyphCanvas, Text, TRect(0, 0, w, h), Format);

    // White on black: the blue byte is the glyph coverage. Pixels of Rect
    // outside the bitmap are left out.
    const int first = std::max(0, -Rect.Left);
    const int last = std::min(w, Bitmap->Width() - Rect.Left);
    const int top = std::max(0, -Rect.Top);
    const int bottom = std::min(h, Bitmap->Height() - Rect.Top);
    if (first >= last)
        return;
    for (int i = top; i < bottom; ++i) {
        const BYTE* g = static_cast<const BYTE*>(glyphs->ScanLine(i));
        BYTE* p = static_cast<BYTE*>(Bitmap->ScanLine(Rect.Top + i)) + 4 * Rect.Left;
        for (int j = first; j < last; ++j) {
            const int a = g[4 * j];
            BYTE* px = p + 4 * j;
            px[0] = static_cast<BYTE>(px[0] * a / 255);
            px[1] = static_cast<BYTE>(px[1] * a / 255);
            px[2] = static_cast<BYTE>(px[2] * a / 255);
            px[3] = static_cast<BYTE>(a);
        }
    }
}

template <typename Char>
void TTextPainter::PaintOnCanvas(TCanvas* Target, const Char* Text, const TRect& Rect, UINT Format, int AsLayer,
                                 bool PerPixelAlpha)
{
    if (!AsLayer && !PerPixelAlpha) {
        DrawPlainText(Target, Text, Rect, Format);
        return;
    }
    if (IsEmpty(Rect))
        return;
    std::unique_ptr<TBitmap> layer = NewTextBitmap(Target, Rect);
    RenderTextLayer(layer.get(), TRect(0, 0, Rect.Width(), Rect.Height()), Text, Format);
    if (AsLayer)
        CopyBitmapToCanvas(Target, Rect, layer.get(), TPoint{0, 0});
    else
        BlendPremultiplied(Target, Rect, layer.get(), TPoint{0, 0}, 255);
}

template <typename Char>
void TTextPainter::PaintOnBitmap(TBitmap* Target, const Char* Text, const TRect& Rect, UINT Format, int AsLayer,
                                 bool PerPixelAlpha)
{
    if (AsLayer) {
        RenderTextLayer(Target, Rect, Text, Format);
        return;
    }
    if (!PerPixelAlpha) {
        DrawPlainText(Target->Canvas(), Text, Rect, Format);
        return;
    }
    if (IsEmpty(Rect))
        return;
    std::unique_ptr<TBitmap> layer = NewTextBitmap(Target->Canvas(), Rect);
    RenderTextLayer(layer.get(), TRect(0, 0, Rect.Width(), Rect.Height()), Text, Format);
    BlendPremultiplied(Target, Rect, layer.get(), TPoint{0, 0}, 255);
}

void TTextPainter::PaintText(TCanvas* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                             bool PerPixelAlpha)
{
    PaintOnCanvas(Target, Text, *Rect, Format, AsLayer, PerPixelAlpha);
}

void TTextPainter::PaintText(TCanvas* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                             bool PerPixelAlpha)
{
    PaintOnCanvas(Target, Text, *Rect, Format, AsLayer, PerPixelAlpha);
}

void TTextPainter::PaintText(TBitmap* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                             bool PerPixelAlpha)
{
    PaintOnBitmap(Target, Text, *Rect, Format, AsLayer, PerPixelAlpha);
}

void TTextPainter::PaintText(TBitmap* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                             bool PerPixelAlpha)
{
    PaintOnBitmap(Target, Text, *Rect, Format, AsLayer, PerPixelAlpha);
}

void TTextPainter::CalcRect(TCanvas* Canvas, const char* Text, TRect* Rect, UINT Format)
{
    Measure(Canvas, Text, Rect, Format);
}

void TTextPainter::CalcRect(TCanvas* Canvas, const wchar_t* Text, TRect* Rect, UINT Format)
{
    Measure(Canvas, Text, Rect, Format);
}

} // namespace gs
