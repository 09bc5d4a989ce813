#include "AlphaPrimitives.h"

#include <algorithm>
#include <memory>

// The straight blend is defined in double precision: on 32-bit x86 compute
// it in SSE2 registers, so that no excess x87 precision changes a byte.
#if defined(__i386__)
#pragma GCC target("sse2,fpmath=sse")
#endif

namespace gs {

namespace {

BYTE* Row(TBitmap* bitmap, int y)
{
    return static_cast<BYTE*>(bitmap->ScanLine(y));
}

// The columns [first, last) and rows [top, bottom) of Rect, relative to its
// top-left corner, that lie inside the bitmap.
struct TInside {
    int First, Last, Top, Bottom;
};

TInside InsideOf(TBitmap* bitmap, const TRect& rect)
{
    TInside in;
    in.First = std::max(0, -rect.Left);
    in.Last = std::min(rect.Width(), bitmap->Width() - rect.Left);
    in.Top = std::max(0, -rect.Top);
    in.Bottom = std::min(rect.Height(), bitmap->Height() - rect.Top);
    return in;
}

// Clamps the mask of Rect to 255 and writes its low bytes into the alpha of
// the pixels of Rect that the bitmap has. With premultiply, the colour bytes
// are multiplied by the new alpha, rounded half up.
void WriteMask(TBitmap* bitmap, const TRect& rect, IntMatrix mask, bool premultiply)
{
    const int w = rect.Width();
    const int h = rect.Height();
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < w; ++j)
            if (mask[i][j] > 255)
                mask[i][j] = 255;
    if (bitmap->PixelFormat() != pf32bit)
        bitmap->SetPixelFormat(pf32bit);
    const TInside in = InsideOf(bitmap, rect);
    if (in.First >= in.Last)
        return;
    for (int i = in.Top; i < in.Bottom; ++i) {
        BYTE* p = Row(bitmap, rect.Top + i) + 4 * rect.Left;
        const std::int32_t* m = mask[i];
        for (int j = in.First; j < in.Last; ++j) {
            BYTE* px = p + 4 * j;
            const int a = m[j];
            px[3] = static_cast<BYTE>(a);
            if (!premultiply)
                continue;
            if (a >= 0) {
                px[0] = static_cast<BYTE>(PremultiplyRounded(px[0], a));
                px[1] = static_cast<BYTE>(PremultiplyRounded(px[1], a));
                px[2] = static_cast<BYTE>(PremultiplyRounded(px[2], a));
            } else {
                const double f = a / 255.0;
                for (int c = 0; c < 3; ++c)
                    px[c] = static_cast<BYTE>(static_cast<int>(px[c] * f + 0.5));
            }
        }
    }
}

} // namespace

TRect ClipBlendRect(TBitmap* Dest, const TRect& Rect, TBitmap* Source, TPoint& Origin)
{
    TRect r = Rect;
    if (r.Left < 0) {
        Origin.X += -r.Left;
        r.Left = 0;
    }
    if (Origin.X < 0) {
        r.Left += -Origin.X;
        Origin.X = 0;
    }
    if (r.Top < 0) {
        Origin.Y += -r.Top;
        r.Top = 0;
    }
    if (Origin.Y < 0) {
        r.Top += -Origin.Y;
        Origin.Y = 0;
    }
    const int aw = std::max(0, Source->Width() - Origin.X);
    const int ah = std::max(0, Source->Height() - Origin.Y);
    r.Right = std::min({r.Right, Dest->Width(), r.Left + aw});
    r.Bottom = std::min({r.Bottom, Dest->Height(), r.Top + ah});
    return r;
}

bool BlendStraightRect(TBitmap* Dest, const TRect& Rect, TBitmap* Source, TPoint Origin, unsigned char Opacity)
{
    // Only a source with device-independent rows can be read pixel by pixel.
    const TPixelFormat sourceFormat = Source->PixelFormat();
    if (sourceFormat != pf32bit && sourceFormat != pf24bit)
        return false;
    if (Dest->PixelFormat() != pf24bit)
        Dest->SetPixelFormat(pf24bit);
    const int sourceBytes = sourceFormat == pf32bit ? 4 : 3;
    const double o = Opacity / 255.0;
    const int w = Rect.Width();
    const int h = Rect.Height();
    if (w <= 0)
        return true;
    for (int i = 0; i < h; ++i) {
        const BYTE* s = Row(Source, Origin.Y + i) + sourceBytes * Origin.X;
        BYTE* d = Row(Dest, Rect.Top + i) + 3 * Rect.Left;
        for (int j = 0; j < w; ++j, s += sourceBytes, d += 3) {
            const int alpha = sourceBytes == 4 ? s[3] : 255;
            const double k = o * (alpha / 255.0);
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<BYTE>(static_cast<int>(s[c] * k + d[c] * (1.0 - k)));
        }
    }
    return true;
}

bool AlphaBlendRect(TBitmap* Dest, const TRect& Rect, TBitmap* Source, TPoint Origin, unsigned char Opacity)
{
    const int w = Rect.Width();
    const int h = Rect.Height();
    if (w <= 0 || h <= 0)
        return true;
    BLENDFUNCTION blend{};
    blend.BlendOp = AC_SRC_OVER;
    blend.BlendFlags = 0;
    blend.SourceConstantAlpha = Opacity;
    blend.AlphaFormat = Source->PixelFormat() == pf32bit ? AC_SRC_ALPHA : 0;
    HDC dest = Dest->Canvas()->Handle();
    HDC source = Source->Canvas()->Handle();
    return AlphaBlend(dest, Rect.Left, Rect.Top, w, h, source, Origin.X, Origin.Y, w, h, blend) != FALSE;
}

bool BlendStraight(TBitmap* Dest, const TRect& Rect, TBitmap* Source, TPoint Origin, unsigned char Opacity)
{
    TPoint origin = Origin;
    const TRect r = ClipBlendRect(Dest, Rect, Source, origin);
    return BlendStraightRect(Dest, r, Source, origin, Opacity);
}

bool BlendPremultiplied(TBitmap* Dest, const TRect& Rect, TBitmap* Source, TPoint Origin, unsigned char Opacity)
{
    TPoint origin = Origin;
    const TRect r = ClipBlendRect(Dest, Rect, Source, origin);
    return AlphaBlendRect(Dest, r, Source, origin, Opacity);
}

bool BlendStraight(TCanvas* Dest, const TRect& Rect, TBitmap* Source, TPoint Origin, unsigned char Opacity)
{
    if (Rect.Width() <= 0 || Rect.Height() <= 0)
        return true;
    auto staging = std::make_unique<TBitmap>();
    staging->SetPixelFormat(pf24bit);
    CopyCanvasToBitmap(Dest, staging.get(), Rect);
    // A refused blend leaves the canvas as it was: the 24-bit copy would
    // lose the alpha of a 32-bit canvas.
    if (!BlendStraight(staging.get(), TRect(0, 0, Rect.Width(), Rect.Height()), Source, Origin, Opacity))
        return false;
    CopyBitmapToCanvas(Dest, Rect, staging.get(), TPoint{0, 0});
    return true;
}

bool BlendPremultiplied(TCanvas* Dest, const TRect& Rect, TBitmap* Source, TPoint Origin, unsigned char Opacity)
{
    if (Rect.Width() <= 0 || Rect.Height() <= 0)
        return true;
    auto staging = std::make_unique<TBitmap>();
    staging->SetPixelFormat(pf32bit);
    CopyCanvasToBitmap(Dest, staging.get(), Rect);
    const bool ok =
        BlendPremultiplied(staging.get(), TRect(0, 0, Rect.Width(), Rect.Height()), Source, Origin, Opacity);
    CopyBitmapToCanvas(Dest, Rect, staging.get(), TPoint{0, 0});
    return ok;
}

void PremultiplyAlpha(TBitmap* Bitmap)
{
    if (Bitmap->PixelFormat() != pf32bit)
        return;
    const int w = Bitmap->Width();
    const int h = Bitmap->Height();
    if (w <= 0)
        return;
    for (int y = 0; y < h; ++y) {
        BYTE* p = Row(Bitmap, y);
        for (int x = 0; x < w; ++x, p += 4) {
            const int a = p[3];
            p[0] = static_cast<BYTE>(a * p[0] / 255);
            p[1] = static_cast<BYTE>(a * p[1] / 255);
            p[2] = static_cast<BYTE>(a * p[2] / 255);
        }
    }
}

void CopyCanvasToBitmap(TCanvas* Source, TBitmap* Target, const TRect& Rect)
{
    const int w = std::max(0, Rect.Width());
    const int h = std::max(0, Rect.Height());
    Target->SetSize(w, h);
    Source->SetCopyMode(cmSrcCopy);
    TCanvas* canvas = Target->Canvas();
    canvas->SetCopyMode(cmSrcCopy);
    if (w > 0 && h > 0)
        canvas->CopyRect(TRect(0, 0, w, h), Source, Rect);
}

void CopyBitmapToCanvas(TCanvas* Target, const TRect& Rect, TBitmap* Source, TPoint Origin)
{
    Target->SetCopyMode(cmSrcCopy);
    const int w = Rect.Width();
    const int h = Rect.Height();
    if (w > 0 && h > 0)
        Target->CopyRect(Rect, Source->Canvas(), TRect(Origin.X, Origin.Y, Origin.X + w, Origin.Y + h));
}

void WriteAlphaMask(TBitmap* Bitmap, const TRect& Rect, IntMatrix Mask)
{
    WriteMask(Bitmap, Rect, Mask, false);
}

void WriteAlphaMaskPremultiplied(TBitmap* Bitmap, const TRect& Rect, IntMatrix Mask)
{
    WriteMask(Bitmap, Rect, Mask, true);
}

} // namespace gs
