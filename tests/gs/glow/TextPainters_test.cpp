#include <gtest/gtest.h>

#include "NeighborWeightedFilter.h"
#include "OuterGlowFilterFactory.h"
#include "TOuterGlowTextPainter.h"
#include "gs/glow/GlowTestSupport.h"

using namespace gs;
using namespace glowtest;

namespace {

const wchar_t* const kText = L"Glow Hg";

std::string Str(Pixel p)
{
    return "(" + std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]) + "," +
           std::to_string(p[3]) + ")";
}

// A transparent black pf32bit bitmap with an Arial font of the given colour.
std::unique_ptr<TBitmap> Target(int w, int h, TColor fontColor, int fontHeight = -24, TFontStyles style = 0)
{
    auto b = std::make_unique<TBitmap>();
    b->Canvas()->Brush()->SetColor(clBlack);
    b->SetPixelFormat(pf32bit);
    b->SetSize(w, h);
    UseFont(b->Canvas()->Font(), fontHeight, style);
    b->Canvas()->Font()->SetColor(fontColor);
    return b;
}

int ReferenceLuma(int r, int g, int b)
{
    return static_cast<int>(0.299 * r + 0.587 * g + 0.114 * b + 0.5);
}

// The luma of white-on-black text that DrawTextW draws into a w x h bitmap.
std::vector<int> LumaOf(TFont* font, const wchar_t* text, int w, int h, RECT rect, UINT format)
{
    std::unique_ptr<TBitmap> b = WhiteOnBlack(font, text, w, h, rect, format);
    std::vector<int> luma;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Pixel p = Get(*b, x, y);
            luma.push_back(ReferenceLuma(p[2], p[1], p[0]));
        }
    return luma;
}

// The glow mask by the cell-by-cell filter of a factory set up as the
// painter sets up its own.
std::vector<int> ReferenceGlow(const std::vector<int>& luma, int w, int h, int radius, int spread, int opacity)
{
    OuterGlowFilterFactory factory;
    factory.SetSpread(static_cast<float>(spread / 255.0));
    factory.SetOpacity(static_cast<float>(opacity / 255.0));
    Filter* filter = factory.GetFilter(radius, radius);
    IntMatrix in = AllocIntMatrix(h, w);
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < w; ++j)
            in[i][j] = luma[i * w + j];
    std::vector<int> out;
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < w; ++j)
            out.push_back(std::min(255, filter->Compute(in, 0, 0, h, w, i, j)));
    FreeIntMatrix(in, h);
    factory.ReleaseFilter(filter);
    return out;
}

struct PainterDeleter {
    void operator()(TTextPainter* p) const { p->Release(); }
};
using PainterPtr = std::unique_ptr<TOuterGlowTextPainter, PainterDeleter>;

PainterPtr NewGlow(unsigned radius, TColor color = 0x00BFFFFF)
{
    PainterPtr p(CreateOuterGlowTextPainter());
    p->Radius = radius;
    p->Color = color;
    return p;
}

} // namespace

TEST(Luma, IntegerFormMatchesTheDoubleRuleForAllColours)
{
    int wrong = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b)
                if (TRadiateTextPainter::Luma(r, g, b) != ReferenceLuma(r, g, b) && ++wrong < 5)
                    ADD_FAILURE() << r << "," << g << "," << b << ": want " << ReferenceLuma(r, g, b);
    EXPECT_EQ(0, wrong);
}

TEST(CreateOuterGlowTextPainter, StartsWithTheInitialValues)
{
    PainterPtr p(CreateOuterGlowTextPainter());
    EXPECT_EQ(255, p->Opacity);
    EXPECT_EQ(0u, p->Radius);
    EXPECT_EQ(0, p->Spread);
    EXPECT_EQ(0x00BFFFFF, p->Color);
    EXPECT_EQ(0, p->Radiation.X);
    EXPECT_EQ(0, p->Radiation.Y);
}

TEST(TTextPainter, LayerOnABitmapTargetIsTheCoveragePremultiplied)
{
    auto b = Target(160, 60, 0x0080FF40);
    TTextPainter painter;
    TRect r(20, 10, 140, 50);
    painter.PaintText(b.get(), kText, &r, DT_LEFT, 0, true);
    std::vector<int> cover = Coverage(b->Canvas()->Font(), kText, 120, 40, RECT{0, 0, 120, 40}, DT_LEFT);
    int covered = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 160; ++x) {
            Pixel got = Get(*b, x, y);
            if (x < 20 || x >= 140 || y < 10 || y >= 50) {
                ASSERT_EQ(Str(Pixel{0, 0, 0, 0}), Str(got)) << "outside the rectangle at " << x << "," << y;
                continue;
            }
            int a = cover[(y - 10) * 120 + (x - 20)];
            covered += a > 0;
            Pixel want{BYTE(0x80 * a / 255), BYTE(0xFF * a / 255), BYTE(0x40 * a / 255), BYTE(a)};
            ASSERT_EQ(Str(want), Str(got)) << "at " << x << "," << y;
        }
    EXPECT_LT(50, covered) << "the text was drawn";
}

TEST(TTextPainter, LayerOnACanvasReplacesTheRectangle)
{
    auto b = Target(80, 40, clWhite);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            Set(*b, x, y, Pixel{9, 99, 199, 255});
    TTextPainter painter;
    TRect r(10, 5, 70, 35);
    painter.PaintText(b->Canvas(), L"..", &r, DT_LEFT, 1, true);
    std::vector<int> cover = Coverage(b->Canvas()->Font(), L"..", 60, 30, RECT{0, 0, 60, 30}, DT_LEFT);
    for (int y = 5; y < 35; ++y)
        for (int x = 10; x < 70; ++x) {
            if (cover[(y - 5) * 60 + (x - 10)] == 0) {
                ASSERT_EQ(Str(Pixel{0, 0, 0, 0}), Str(Get(*b, x, y))) << "no glyph at " << x << "," << y;
            }
        }
    EXPECT_EQ(Str(Pixel{9, 99, 199, 255}), Str(Get(*b, 9, 5))) << "left of the rectangle";
    EXPECT_EQ(Str(Pixel{9, 99, 199, 255}), Str(Get(*b, 70, 34))) << "right of the rectangle";
}

TEST(TTextPainter, PlainFormDrawsWithGdiOnly)
{
    auto b = Target(80, 30, clWhite);
    TTextPainter painter;
    TRect r(0, 0, 80, 30);
    painter.PaintText(b.get(), L"Hg", &r, DT_LEFT, 0, false);
    std::vector<int> cover = Coverage(b->Canvas()->Font(), L"Hg", 80, 30, RECT{0, 0, 80, 30}, DT_LEFT);
    std::vector<Pixel> got = Pixels(*b);
    for (size_t i = 0; i < got.size(); ++i)
        ASSERT_EQ(cover[i], got[i][0]) << "pixel " << i;
    EXPECT_EQ(pf32bit, b->PixelFormat());
}

TEST(TOuterGlowTextPainter, RadiusZeroDrawsOnlyTheTextAndIgnoresColor)
{
    auto a = Target(150, 50, 0x00A0B0C0);
    auto b = Target(150, 50, 0x00A0B0C0);
    TRect r(5, 5, 145, 45);
    PainterPtr glow = NewGlow(0, 0x000000FF);
    glow->Radiation = TPoint{0, 0};
    glow->PaintText(a.get(), kText, &r, DT_LEFT, 0, true);
    TTextPainter plain;
    plain.PaintText(b.get(), kText, &r, DT_LEFT, 0, true);
    EXPECT_TRUE(Pixels(*a) == Pixels(*b));
}

TEST(TOuterGlowTextPainter, OutputIsPremultipliedAndStaysInsideTheRectangle)
{
    auto b = Target(170, 70, 0x0078C832);
    Set(*b, 9, 9, Pixel{1, 2, 3, 4});
    Set(*b, 160, 60, Pixel{1, 2, 3, 4});
    PainterPtr glow = NewGlow(3);
    glow->Radiation = TPoint{2, 1};
    TRect r(10, 10, 160, 60);
    glow->PaintText(b.get(), kText, &r, DT_LEFT | DT_WORDBREAK, 0, true);
    int lit = 0;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 170; ++x) {
            Pixel p = Get(*b, x, y);
            if (x < 10 || x >= 160 || y < 10 || y >= 60) {
                if (!(x == 9 && y == 9) && !(x == 160 && y == 60)) {
                    ASSERT_EQ(Str(Pixel{0, 0, 0, 0}), Str(p)) << "outside at " << x << "," << y;
                }
                continue;
            }
            lit += p[3] > 0;
            ASSERT_LE(p[0], p[3]) << "blue above alpha at " << x << "," << y;
            ASSERT_LE(p[1], p[3]) << "green above alpha at " << x << "," << y;
            ASSERT_LE(p[2], p[3]) << "red above alpha at " << x << "," << y;
        }
    EXPECT_EQ(Str(Pixel{1, 2, 3, 4}), Str(Get(*b, 9, 9)));
    EXPECT_EQ(Str(Pixel{1, 2, 3, 4}), Str(Get(*b, 160, 60)));
    EXPECT_LT(100, lit);
}

TEST(TRadiateTextPainter, RadiusZeroGivesTheGlyphsWithLumaAlpha)
{
    auto b = Target(120, 40, 0x00336699);
    TRadiateTextPainter painter;
    TRect r(0, 0, 120, 40);
    painter.PaintText(b.get(), kText, &r, DT_LEFT, 1, false);
    std::vector<int> luma = LumaOf(b->Canvas()->Font(), kText, 120, 40, RECT{0, 0, 120, 40}, DT_LEFT);
    std::vector<Pixel> got = Pixels(*b);
    for (size_t i = 0; i < got.size(); ++i)
        ASSERT_EQ(Str(Pixel{0x33, 0x66, 0x99, BYTE(luma[i])}), Str(got[i])) << "pixel " << i;
}

TEST(TRadiateTextPainter, OpacityHalfGives127UnderAFullyCoveredPixel)
{
    for (unsigned radius : {0u, 1u}) {
        auto b = Target(90, 70, clWhite, -60, fsBold);
        TRadiateTextPainter painter;
        painter.Radius = radius;
        painter.Opacity = 128;
        TRect r(0, 0, 90, 70);
        painter.PaintText(b.get(), L"H", &r, DT_LEFT, 1, false);
        std::vector<int> luma = LumaOf(b->Canvas()->Font(), L"H", 90, 70,
                                       RECT{LONG(radius), LONG(radius), LONG(90 - radius), LONG(70 - radius)}, DT_LEFT);
        int full = 0;
        for (int i = 0; i < 90 * 70; ++i) {
            if (luma[i] == 255) {
                ++full;
                ASSERT_EQ(127, Get(*b, i % 90, i / 90)[3]) << "radius " << radius << " pixel " << i;
            }
        }
        EXPECT_LT(10, full) << "radius " << radius << ": the glyph has fully covered pixels";
    }
}

TEST(TRadiateTextPainter, GlowMatchesTheCellByCellFilter)
{
    // Premultiplied glow in a rectangle that does not start at the origin.
    auto b = Target(140, 60, 0x00204080);
    TRadiateTextPainter painter;
    painter.Radius = 4;
    painter.Spread = 64;
    painter.Opacity = 200;
    TRect r(5, 6, 135, 58);
    painter.PaintText(b.get(), kText, &r, DT_LEFT, 0, true);
    const int w = 130, h = 52;
    std::vector<int> luma = LumaOf(b->Canvas()->Font(), kText, w, h, RECT{4, 4, w - 4, h - 4}, DT_LEFT);
    std::vector<int> mask = ReferenceGlow(luma, w, h, 4, 64, 200);
    int lit = 0;
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < w; ++j) {
            const int m = mask[i * w + j];
            lit += m > 0;
            auto pre = [m](int c) { return BYTE(static_cast<int>(c * (m / 255.0) + 0.5)); };
            ASSERT_EQ(Str(Pixel{pre(0x20), pre(0x40), pre(0x80), BYTE(m)}), Str(Get(*b, 5 + j, 6 + i)))
                << "at " << j << "," << i << " of the rectangle";
        }
    EXPECT_LT(200, lit);
}

TEST(TRadiateTextPainter, StraightGlowOnABitmapLayerHasTheFullColour)
{
    auto b = Target(100, 50, clWhite);
    TRadiateTextPainter painter;
    painter.Radius = 2;
    TRect r(0, 0, 100, 50);
    painter.PaintText(b.get(), L"Hg", &r, DT_LEFT, 1, false);
    std::vector<int> luma = LumaOf(b->Canvas()->Font(), L"Hg", 100, 50, RECT{2, 2, 98, 48}, DT_LEFT);
    std::vector<int> mask = ReferenceGlow(luma, 100, 50, 2, 0, 255);
    std::vector<Pixel> got = Pixels(*b);
    for (size_t i = 0; i < got.size(); ++i)
        ASSERT_EQ(Str(Pixel{255, 255, 255, BYTE(mask[i])}), Str(got[i])) << "pixel " << i;
    EXPECT_EQ(clWhite, b->Canvas()->Font()->Color()) << "font colour back";
}

TEST(TOuterGlowTextPainter, CalcRectGrowsByRadiusAndRadiation)
{
    auto b = Target(10, 10, clWhite);
    PainterPtr glow = NewGlow(3);
    glow->Radiation = TPoint{2, 1};
    RECT want{4, 5, 4, 5};
    DrawTextW(b->Canvas()->Handle(), kText, -1, &want, DT_LEFT | DT_CALCRECT);
    ASSERT_LT(0, want.right - want.left);
    TRect r(4, 5, 4, 5);
    glow->CalcRect(b->Canvas(), kText, &r, DT_LEFT);
    EXPECT_EQ(4, r.Left);
    EXPECT_EQ(5, r.Top);
    EXPECT_EQ(want.right - want.left + 8, r.Width()) << "2 x 3 + 2";
    EXPECT_EQ(want.bottom - want.top + 7, r.Height()) << "2 x 3 + 1";
    TRect narrow(4, 5, 4, 5);
    glow->CalcRect(b->Canvas(), "Glow Hg", &narrow, DT_LEFT);
    EXPECT_TRUE(r == narrow) << "narrow text measures alike";
}

TEST(TOuterGlowTextPainter, CalcRectLeavesAnEmptyExtentUnchanged)
{
    auto b = Target(10, 10, clWhite);
    PainterPtr glow = NewGlow(3);
    glow->Radiation = TPoint{2, 1};
    RECT want{0, 0, 0, 0};
    DrawTextW(b->Canvas()->Handle(), L"", -1, &want, DT_LEFT | DT_CALCRECT);
    TRect r(0, 0, 0, 0);
    glow->CalcRect(b->Canvas(), L"", &r, DT_LEFT);
    EXPECT_TRUE(TRect(want) == r) << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    EXPECT_EQ(0, r.Width());
}

TEST(TOuterGlowTextPainter, FontColourIsTheSameAfterEveryForm)
{
    for (int asLayer : {0, 1})
        for (bool ppa : {false, true}) {
            auto b = Target(120, 50, 0x00123456);
            PainterPtr glow = NewGlow(2, 0x0000FF00);
            TRect r(0, 0, 120, 50);
            glow->PaintText(b.get(), kText, &r, DT_LEFT, asLayer, ppa);
            EXPECT_EQ(0x00123456, b->Canvas()->Font()->Color()) << "bitmap, layer " << asLayer << " ppa " << ppa;
            glow->PaintText(b->Canvas(), "Glow", &r, DT_LEFT, asLayer, ppa);
            EXPECT_EQ(0x00123456, b->Canvas()->Font()->Color()) << "canvas, layer " << asLayer << " ppa " << ppa;
            EXPECT_TRUE(TRect(0, 0, 120, 50) == r) << "the rectangle is not changed";
        }
}

TEST(TOuterGlowTextPainter, WithoutPerPixelAlphaA32BitTargetBecomes24Bit)
{
    auto b = Target(120, 50, clWhite);
    PainterPtr glow = NewGlow(2);
    TRect r(0, 0, 120, 50);
    glow->PaintText(b.get(), kText, &r, DT_LEFT, 0, false);
    EXPECT_EQ(pf24bit, b->PixelFormat());
}

TEST(TOuterGlowTextPainter, NarrowAndWideTextPaintAlike)
{
    auto a = Target(140, 50, clWhite);
    auto b = Target(140, 50, clWhite);
    PainterPtr glow = NewGlow(3);
    glow->Radiation = TPoint{1, 2};
    TRect r(0, 0, 140, 50);
    glow->PaintText(a.get(), "Glow Hg", &r, DT_LEFT, 0, true);
    glow->PaintText(b.get(), kText, &r, DT_LEFT, 0, true);
    EXPECT_TRUE(Pixels(*a) == Pixels(*b));
}

TEST(TOuterGlowTextPainter, LayerIsTheCompositeOverTransparentBlack)
{
    for (unsigned radius : {0u, 3u}) {
        auto composite = Target(170, 70, 0x00FFC080);
        auto layer = Target(170, 70, 0x00FFC080);
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 170; ++x)
                Set(*layer, x, y, Pixel{5, 6, 7, 8});
        PainterPtr glow = NewGlow(radius, 0x0000FFFF);
        glow->Radiation = TPoint{2, 1};
        TRect r(12, 8, 160, 64);
        glow->PaintText(composite.get(), kText, &r, DT_LEFT, 0, true);
        glow->PaintText(layer.get(), kText, &r, DT_LEFT, 1, true);
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 170; ++x) {
                bool inside = x >= 12 && x < 160 && y >= 8 && y < 64;
                Pixel want = inside ? Get(*composite, x, y) : Pixel{5, 6, 7, 8};
                ASSERT_EQ(Str(want), Str(Get(*layer, x, y))) << "radius " << radius << " at " << x << "," << y;
            }
    }
}

TEST(TOuterGlowTextPainter, StraightLayerIsPremultipliedToo)
{
    auto b = Target(150, 60, clWhite);
    PainterPtr glow = NewGlow(3, 0x0040C0FF);
    TRect r(0, 0, 150, 60);
    glow->PaintText(b->Canvas(), kText, &r, DT_LEFT, 1, false);
    int lit = 0;
    for (const Pixel& p : Pixels(*b)) {
        lit += p[3] > 0;
        ASSERT_LE(std::max({p[0], p[1], p[2]}), p[3]);
    }
    EXPECT_LT(100, lit);
}

TEST(TOuterGlowTextPainter, RectanglesTooSmallOrOutsideDrawNothing)
{
    auto b = Target(60, 40, clWhite);
    PainterPtr glow = NewGlow(5);
    TRect tiny(10, 10, 18, 30); // narrower than 2 x Radius
    glow->PaintText(b.get(), kText, &tiny, DT_LEFT, 0, true);
    TRect empty(10, 10, 10, 30);
    glow->PaintText(b.get(), kText, &empty, DT_LEFT, 0, true);
    glow->PaintText(b->Canvas(), kText, &empty, DT_LEFT, 0, false);
    for (const Pixel& p : Pixels(*b))
        ASSERT_EQ(Str(Pixel{0, 0, 0, 0}), Str(p));
    TRect outside(-50, -30, 200, 100);
    glow->PaintText(b.get(), kText, &outside, DT_LEFT, 1, true);
    TTextPainter plain;
    plain.PaintText(b.get(), kText, &outside, DT_LEFT, 1, true);
    SUCCEED() << "layers reaching past the bitmap stay inside its pixels";
}

TEST(TOuterGlowTextPainter, CanvasAndBitmapTargetsGetTheSameColours)
{
    for (bool ppa : {true, false}) {
        auto onBitmap = Target(160, 60, 0x00FF8040);
        auto onCanvas = Target(160, 60, 0x00FF8040);
        for (TBitmap* b : {onBitmap.get(), onCanvas.get()})
            for (int y = 0; y < 60; ++y)
                for (int x = 0; x < 160; ++x)
                    Set(*b, x, y, Pixel{BYTE(x), BYTE(y), 90, 255});
        PainterPtr glow = NewGlow(4, 0x0000C0FF);
        glow->Radiation = TPoint{-1, 2};
        TRect r(6, 4, 150, 58);
        glow->PaintText(onBitmap.get(), kText, &r, DT_CENTER, 0, ppa);
        glow->PaintText(onCanvas->Canvas(), kText, &r, DT_CENTER, 0, ppa);
        int differ = 0, changed = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 160; ++x) {
                Pixel a = Get(*onBitmap, x, y), c = Get(*onCanvas, x, y);
                differ += a[0] != c[0] || a[1] != c[1] || a[2] != c[2];
                changed += a[0] != x || a[1] != y || a[2] != 90;
            }
        EXPECT_EQ(0, differ) << "per-pixel alpha " << ppa;
        EXPECT_LT(200, changed) << "per-pixel alpha " << ppa;
    }
}
