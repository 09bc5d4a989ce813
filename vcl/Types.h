#pragma once
// Basic value types of the framework layer.

#include <windows.h>
#include <cstdint>
#include <string>

using UnicodeString = std::wstring;

// A colour 0x00BBGGRR, or a system colour: 0xFF000000 | COLOR_xxx index.
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;

// The RGB value of a colour; system colours are looked up.
COLORREF ColorToRGB(TColor color);

struct TPoint {
    int X = 0;
    int Y = 0;
};

// Left, Top, Right, Bottom; Right and Bottom exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    TRect() = default;
    TRect(int left, int top, int right, int bottom) : Left(left), Top(top), Right(right), Bottom(bottom) {}
    explicit TRect(const RECT& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    RECT ToRECT() const { return RECT{Left, Top, Right, Bottom}; }
    bool operator==(const TRect& o) const
    {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
    bool operator!=(const TRect& o) const { return !(*this == o); }
};
