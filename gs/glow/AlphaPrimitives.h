#pragma once
// Moving pixels between 32-bit bitmaps, 24-bit bitmaps and canvases with
// per-pixel alpha. Each operation says which alpha convention it reads and
// writes: straight (colour bytes full, alpha = coverage) or premultiplied
// (colour bytes already multiplied by alpha / 255, as AlphaBlend wants).

#include "IntMatrix.h"
#include "TBitmap.h"

namespace gs {

// The part of Rect that a blend of Source (from Origin) onto Dest really
// touches: never outside Dest, never past Source's pixels; possibly empty.
// Origin is moved along with the clipped left and top edges.
TRect ClipBlendRect(TBitmap* Dest, const TRect& Rect, TBitmap* Source, TPoint& Origin);

// Blends a straight-alpha 32-bit Source onto an already clipped rectangle of
// Dest, which is turned into pf24bit first. A pf24bit Source counts as opaque.
// A Source of any other format is refused: false, and Dest stays as it was.
bool BlendStraightRect(TBitmap* Dest, const TRect& Rect, TBitmap* Source, TPoint Origin, unsigned char Opacity);

// One AlphaBlend of Source onto an already clipped rectangle of Dest;
// premultiplied alpha when Source is pf32bit. Returns AlphaBlend's result
// (true for an empty rectangle, where nothing is to be done).
bool AlphaBlendRect(TBitmap* Dest, const TRect& Rect, TBitmap* Source, TPoint Origin, unsigned char Opacity);

// Straight-alpha blend of Source (from Origin) onto Rect of Dest. A bitmap
// Dest becomes pf24bit; a canvas is blended through a 24-bit copy of Rect.
// Returns false, having drawn nothing, for a Source that is neither pf32bit
// nor pf24bit.
bool BlendStraight(TBitmap* Dest, const TRect& Rect, TBitmap* Source, TPoint Origin, unsigned char Opacity);
bool BlendStraight(TCanvas* Dest, const TRect& Rect, TBitmap* Source, TPoint Origin, unsigned char Opacity);

// Premultiplied-alpha composite of Source (from Origin) onto Rect of Dest
// through AlphaBlend; a canvas is blended through a 32-bit copy of Rect.
// Returns AlphaBlend's success.
bool BlendPremultiplied(TBitmap* Dest, const TRect& Rect, TBitmap* Source, TPoint Origin, unsigned char Opacity);
bool BlendPremultiplied(TCanvas* Dest, const TRect& Rect, TBitmap* Source, TPoint Origin, unsigned char Opacity);

// Premultiplies every pixel of a pf32bit bitmap in place (truncating);
// other formats are left alone.
void PremultiplyAlpha(TBitmap* Bitmap);

// Makes Target a copy of Rect of Source, of Rect's size.
void CopyCanvasToBitmap(TCanvas* Source, TBitmap* Target, const TRect& Rect);

// Copies Source's pixels from Origin onto Rect of Target, as they are.
void CopyBitmapToCanvas(TCanvas* Target, const TRect& Rect, TBitmap* Source, TPoint Origin);

// Writes Mask (of Rect's size, [0][0] at Rect's top-left) into the alpha
// bytes of Rect; cells above 255 are clamped to 255 in the matrix first.
// The colour bytes stay as they are (straight alpha). Pixels of Rect outside
// the bitmap are skipped; a bitmap that is not pf32bit is made pf32bit.
void WriteAlphaMask(TBitmap* Bitmap, const TRect& Rect, IntMatrix Mask);

// The same, and multiplies the colour bytes by the new alpha (rounded half
// up), giving premultiplied alpha.
void WriteAlphaMaskPremultiplied(TBitmap* Bitmap, const TRect& Rect, IntMatrix Mask);

// Exact integer forms of the per-pixel arithmetic above; they give the same
// bytes as the double-precision formulas they replace.
// trunc(c * (m / 255.0) + 0.5) for c, m in 0..255.
inline int PremultiplyRounded(int c, int m)
{
    return (2 * c * m + 255) / 510;
}

} // namespace gs
