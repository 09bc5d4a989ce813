#include "FallbackArtwork.h"

#include "WdgButton.h"

#include <algorithm>
#include <cmath>

namespace {

struct Colour {
    double Red, Green, Blue;
};

// The artwork's palette: the panel's dark slate, its edge, the cross and
// the accent of a pressed button.
const Colour Slate{0x1a, 0x24, 0x34};
const Colour Edge{0x52, 0x66, 0x82};
const Colour CrossGrey{0xda, 0xe2, 0xec};
const Colour White{0xff, 0xff, 0xff};
const Colour Accent{0x4c, 0xa6, 0xe8};

// A premultiplied pixel being composed, with alpha from 0 to 1.
struct Pixel {
    double Red = 0, Green = 0, Blue = 0, Alpha = 0;

    // Lays Colour at Coverage (0 to 1) over what the pixel holds.
    void Over(const Colour& colour, double coverage)
    {
        Red = colour.Red * coverage + Red * (1 - coverage);
        Green = colour.Green * coverage + Green * (1 - coverage);
        Blue = colour.Blue * coverage + Blue * (1 - coverage);
        Alpha = coverage + Alpha * (1 - coverage);
    }
    void Store(BYTE* bgra) const
    {
        bgra[0] = static_cast<BYTE>(Blue + 0.5);
        bgra[1] = static_cast<BYTE>(Green + 0.5);
        bgra[2] = static_cast<BYTE>(Red + 0.5);
        bgra[3] = static_cast<BYTE>(Alpha * 255 + 0.5);
    }
};

// Share of a pixel covered by a shape edge at Distance outside a shape that
// reaches Reach from its middle line: a one-pixel ramp across the edge.
double Coverage(double distance, double reach)
{
    return std::clamp(reach + 0.5 - distance, 0.0, 1.0);
}

// Distance of (x, y) from the segment (x0, y0)-(x1, y1).
double DistanceToSegment(double x, double y, double x0, double y0, double x1, double y1)
{
    double dx = x1 - x0;
    double dy = y1 - y0;
    double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy));
}

// An empty pf32bit bitmap of the size, to draw into row by row.
void Prepare(TBitmap* picture, int width, int height)
{
    picture->SetPixelFormat(pf32bit);
    picture->SetSize(width, height);
}

} // namespace

void DrawPlainBackground(TBitmap* Picture, int Width, int Height)
{
    TBitmap drawn;
    Prepare(&drawn, Width, Height);
    int edge = std::max(1, Height / 300);
    Pixel slate, rim;
    slate.Over(Slate, 1);
    rim.Over(Edge, 1);
    for (int y = 0; y < Height; ++y) {
        auto* row = static_cast<BYTE*>(drawn.ScanLine(y));
        for (int x = 0; x < Width; ++x) {
            bool onEdge = x < edge || y < edge || x >= Width - edge || y >= Height - edge;
            (onEdge ? rim : slate).Store(row + 4 * x);
        }
    }
    Picture->Assign(&drawn);
}

void DrawCloseCross(TBitmap* Picture, int Size, int State)
{
    TBitmap drawn;
    Prepare(&drawn, Size, Size);
    // Measures of the 44-pixel button, scaled to Size.
    double unit = Size / 44.0;
    double middle = Size / 2.0;
    double arm = 6 * unit;
    double stroke = 1.2 * unit; // half the line width
    double disc = 15 * unit;
    bool hovered = State == gs::WdgButton::StateHovered;
    bool sunken = State == gs::WdgButton::StateSunken;
    const Colour& cross = hovered || sunken ? White : CrossGrey;
    for (int y = 0; y < Size; ++y) {
        auto* row = static_cast<BYTE*>(drawn.ScanLine(y));
        for (int x = 0; x < Size; ++x) {
            double px = x + 0.5 - middle;
            double py = y + 0.5 - middle;
            Pixel pixel;
            if (hovered || sunken)
                pixel.Over(sunken ? Accent : White, (sunken ? 0.85 : 0.25) * Coverage(std::hypot(px, py), disc));
            double distance = std::min(DistanceToSegment(px, py, -arm, -arm, arm, arm),
                                       DistanceToSegment(px, py, -arm, arm, arm, -arm));
            pixel.Over(cross, Coverage(distance, stroke));
            pixel.Store(row + 4 * x);
        }
    }
    Picture->Assign(&drawn);
}

void DrawMissingCloseLooks(gs::GsButtonAppearance* Appearance, int Size)
{
    const int states[] = {gs::WdgButton::StateRaised, gs::WdgButton::StateHovered, gs::WdgButton::StateSunken};
    TBitmap* owned[] = {Appearance->Raised(), Appearance->Hovered(), Appearance->Sunken()};
    // Decided on the loaded pictures alone, before anything is drawn: a
    // drawn Raised look must not stand in for a missing Hovered one.
    bool missing[3];
    for (int i = 0; i < 3; ++i)
        missing[i] = gs::IsBitmapEmpty(Appearance->GetBitmap(states[i]));
    for (int i = 0; i < 3; ++i)
        if (missing[i])
            DrawCloseCross(owned[i], Size, states[i]);
}
