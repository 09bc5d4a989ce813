#pragma once
// Helpers shared by the glow text tests: bitmaps made of known pixels and
// pixel access.

#include "TBitmap.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace glowtest {

using Pixel = std::array<BYTE, 4>; // blue, green, red, alpha

inline BYTE* At(TBitmap& b, int x, int y)
{
    int bpp = b.PixelFormat() == pf32bit ? 4 : 3;
    return static_cast<BYTE*>(b.ScanLine(y)) + x * bpp;
}

inline Pixel Get(TBitmap& b, int x, int y)
{
    const BYTE* p = At(b, x, y);
    return Pixel{p[0], p[1], p[2], b.PixelFormat() == pf32bit ? p[3] : BYTE(0)};
}

inline void Set(TBitmap& b, int x, int y, Pixel v)
{
    BYTE* p = At(b, x, y);
    p[0] = v[0];
    p[1] = v[1];
    p[2] = v[2];
    if (b.PixelFormat() == pf32bit)
        p[3] = v[3];
}

// A bitmap of the format and size with every pixel v.
inline std::unique_ptr<TBitmap> Filled(TPixelFormat format, int w, int h, Pixel v)
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(format);
    b->SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            Set(*b, x, y, v);
    return b;
}

// All pixels, row by row, for whole-picture comparisons.
inline std::vector<Pixel> Pixels(TBitmap& b)
{
    std::vector<Pixel> all;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            all.push_back(Get(b, x, y));
    return all;
}

// Text drawn by DrawTextW in white on black into a w x h pf32bit bitmap
// with the font, as GDI makes it.
inline std::unique_ptr<TBitmap> WhiteOnBlack(TFont* font, const wchar_t* text, int w, int h, RECT rect, UINT format)
{
    auto b = std::make_unique<TBitmap>();
    b->Canvas()->Brush()->SetColor(clBlack);
    b->SetPixelFormat(pf32bit);
    b->SetSize(w, h);
    b->Canvas()->Font()->Assign(font);
    b->Canvas()->Font()->SetColor(clWhite);
    HDC dc = b->Canvas()->Handle();
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text, -1, &rect, format);
    return b;
}

// The blue bytes of that text: the glyph coverage.
inline std::vector<int> Coverage(TFont* font, const wchar_t* text, int w, int h, RECT rect, UINT format)
{
    std::unique_ptr<TBitmap> b = WhiteOnBlack(font, text, w, h, rect, format);
    std::vector<int> cover;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            cover.push_back(At(*b, x, y)[0]);
    return cover;
}

// A font that every prefix can give: sizes in pixels.
inline void UseFont(TFont* font, int height, TFontStyles style = 0)
{
    font->SetName(L"Arial");
    font->SetHeight(height);
    font->SetStyle(style);
}

} // namespace glowtest
