#pragma once
// Draws text into a rectangle of a canvas or bitmap as DrawText would: plainly
// through GDI, or as an anti-aliased alpha layer (the font colour with the
// glyph coverage as alpha) composited onto the target or written over it.
// The text is drawn with the target canvas's current font.

#include "TBitmap.h"

#include <memory>

namespace gs {

class TTextPainter {
public:
    TTextPainter() = default;
    TTextPainter(const TTextPainter&) = delete;
    TTextPainter& operator=(const TTextPainter&) = delete;

    // Format: DrawText flags. asLayer: replace the rectangle's pixels by the
    // rendering instead of compositing it. perPixelAlpha: the target carries
    // per-pixel alpha (premultiplied renderings); otherwise it is treated as
    // opaque. The rectangle is not changed.
    virtual void PaintText(TCanvas* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                           bool PerPixelAlpha);
    virtual void PaintText(TCanvas* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                           bool PerPixelAlpha);
    virtual void PaintText(TBitmap* Target, const char* Text, TRect* Rect, UINT Format, int AsLayer,
                           bool PerPixelAlpha);
    virtual void PaintText(TBitmap* Target, const wchar_t* Text, TRect* Rect, UINT Format, int AsLayer,
                           bool PerPixelAlpha);
    // Replaces Rect by the rectangle that drawing the text needs.
    virtual void CalcRect(TCanvas* Canvas, const char* Text, TRect* Rect, UINT Format);
    virtual void CalcRect(TCanvas* Canvas, const wchar_t* Text, TRect* Rect, UINT Format);
    // Disposes of the painter; this one lives elsewhere and is not deleted.
    virtual void Release();
    virtual ~TTextPainter();

protected:
    // Transparent DrawText of the text into a copy of Rect.
    static void DrawPlainText(TCanvas* Canvas, const char* Text, const TRect& Rect, UINT Format);
    static void DrawPlainText(TCanvas* Canvas, const wchar_t* Text, const TRect& Rect, UINT Format);
    // A pf32bit bitmap of Rect's size with Canvas's font.
    static std::unique_ptr<TBitmap> NewTextBitmap(TCanvas* Canvas, const TRect& Rect);
    // NewTextBitmap filled black, with a white font: ready for glyph masks.
    static std::unique_ptr<TBitmap> NewMaskBitmap(TCanvas* Canvas, const TRect& Rect);
    // Turns Rect of the pf32bit Bitmap into the text as a premultiplied
    // layer in the colour of Bitmap's font.
    static void RenderTextLayer(TBitmap* Bitmap, const TRect& Rect, const char* Text, UINT Format);
    static void RenderTextLayer(TBitmap* Bitmap, const TRect& Rect, const wchar_t* Text, UINT Format);

private:
    template <typename Char>
    void PaintOnCanvas(TCanvas* Target, const Char* Text, const TRect& Rect, UINT Format, int AsLayer,
                       bool PerPixelAlpha);
    template <typename Char>
    void PaintOnBitmap(TBitmap* Target, const Char* Text, const TRect& Rect, UINT Format, int AsLayer,
                       bool PerPixelAlpha);
    template <typename Char>
    static void RenderLayer(TBitmap* Bitmap, const TRect& Rect, const Char* Text, UINT Format);
};

} // namespace gs
