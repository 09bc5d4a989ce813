#include <gtest/gtest.h>

#include "AlphaPrimitives.h"
#include "gs/glow/GlowTestSupport.h"

using namespace gs;
using namespace glowtest;

namespace {

std::string Str(Pixel p)
{
    return "(" + std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]) + "," +
           std::to_string(p[3]) + ")";
}

} // namespace

TEST(PremultiplyAlpha, TruncatesEachColourByte)
{
    // 128 * (201, 103, 53) / 255 = (100.9, 51.7, 26.6): rounding would differ.
    auto b = Filled(pf32bit, 2, 1, Pixel{201, 103, 53, 128});
    Set(*b, 1, 0, Pixel{255, 1, 254, 0});
    PremultiplyAlpha(b.get());
    EXPECT_EQ(Str(Pixel{100, 51, 26, 128}), Str(Get(*b, 0, 0)));
    EXPECT_EQ(Str(Pixel{0, 0, 0, 0}), Str(Get(*b, 1, 0))) << "alpha 0 clears the colour";
}

TEST(PremultiplyAlpha, LeavesA24BitBitmapAlone)
{
    auto b = Filled(pf24bit, 1, 1, Pixel{200, 100, 50, 0});
    PremultiplyAlpha(b.get());
    EXPECT_EQ(pf24bit, b->PixelFormat());
    EXPECT_EQ(Str(Pixel{200, 100, 50, 0}), Str(Get(*b, 0, 0)));
}

TEST(WriteAlphaMask, ClampsTheMatrixAndKeepsColours)
{
    auto b = Filled(pf32bit, 3, 1, Pixel{200, 100, 50, 9});
    IntMatrix m = AllocIntMatrix(1, 3);
    m[0][0] = 300;
    m[0][1] = 128;
    m[0][2] = 0;
    WriteAlphaMask(b.get(), TRect(0, 0, 3, 1), m);
    EXPECT_EQ(255, m[0][0]) << "the cell is clamped in place";
    EXPECT_EQ(Str(Pixel{200, 100, 50, 255}), Str(Get(*b, 0, 0)));
    EXPECT_EQ(Str(Pixel{200, 100, 50, 128}), Str(Get(*b, 1, 0)));
    EXPECT_EQ(Str(Pixel{200, 100, 50, 0}), Str(Get(*b, 2, 0)));
    FreeIntMatrix(m, 1);
}

TEST(WriteAlphaMask, PremultipliedRoundsHalfUp)
{
    auto b = Filled(pf32bit, 2, 1, Pixel{200, 100, 50, 0});
    IntMatrix m = AllocIntMatrix(1, 2);
    m[0][0] = 128;
    m[0][1] = 300;
    WriteAlphaMaskPremultiplied(b.get(), TRect(0, 0, 2, 1), m);
    EXPECT_EQ(Str(Pixel{100, 50, 25, 128}), Str(Get(*b, 0, 0)));
    EXPECT_EQ(Str(Pixel{200, 100, 50, 255}), Str(Get(*b, 1, 0)));
    EXPECT_EQ(255, m[0][1]);
    FreeIntMatrix(m, 1);
}

// Every colour byte against every mask value: the integer arithmetic gives
// the bytes of the double-precision rule trunc(c * (m / 255) + 0.5).
TEST(WriteAlphaMask, PremultipliedMatchesTheDoubleRuleForAllInputs)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(256, 256);
    IntMatrix m = AllocIntMatrix(256, 256);
    for (int c = 0; c < 256; ++c)
        for (int a = 0; a < 256; ++a) {
            Set(b, a, c, Pixel{BYTE(c), BYTE(255 - c), BYTE(c), 0});
            m[c][a] = a;
        }
    WriteAlphaMaskPremultiplied(&b, TRect(0, 0, 256, 256), m);
    int wrong = 0;
    for (int c = 0; c < 256; ++c)
        for (int a = 0; a < 256; ++a) {
            const double f = a / 255.0;
            const BYTE want = static_cast<BYTE>(static_cast<int>(c * f + 0.5));
            const BYTE want2 = static_cast<BYTE>(static_cast<int>((255 - c) * f + 0.5));
            const Pixel got = Get(b, a, c);
            if (got[0] != want || got[1] != want2 || got[2] != want || got[3] != a) {
                if (++wrong < 5)
                    ADD_FAILURE() << "colour " << c << " mask " << a << ": want " << int(want) << " got " << Str(got);
            }
        }
    EXPECT_EQ(0, wrong);
    FreeIntMatrix(m, 256);
}

TEST(WriteAlphaMask, SkipsPixelsOutsideTheBitmap)
{
    auto b = Filled(pf32bit, 2, 2, Pixel{10, 20, 30, 0});
    IntMatrix m = AllocIntMatrix(3, 3);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[i][j] = 10 * (3 * i + j);
    WriteAlphaMask(b.get(), TRect(-1, -1, 2, 2), m);
    EXPECT_EQ(40, Get(*b, 0, 0)[3]) << "cell [1][1] lands on (0, 0)";
    EXPECT_EQ(80, Get(*b, 1, 1)[3]) << "cell [2][2] lands on (1, 1)";
}

TEST(BlendStraight, OpacityZeroAndSourceAlphaZeroChangeNothing)
{
    auto dest = Filled(pf24bit, 2, 1, Pixel{1, 2, 3, 0});
    auto source = Filled(pf32bit, 2, 1, Pixel{200, 100, 50, 255});
    Set(*source, 1, 0, Pixel{200, 100, 50, 0});
    BlendStraight(dest.get(), TRect(0, 0, 1, 1), source.get(), TPoint{0, 0}, 0);
    EXPECT_EQ(Str(Pixel{1, 2, 3, 0}), Str(Get(*dest, 0, 0))) << "opacity 0";
    BlendStraight(dest.get(), TRect(1, 0, 2, 1), source.get(), TPoint{1, 0}, 255);
    EXPECT_EQ(Str(Pixel{1, 2, 3, 0}), Str(Get(*dest, 1, 0))) << "source alpha 0";
}

TEST(BlendStraight, FullAlphaReplacesAndHalfAlphaTruncates)
{
    auto dest = Filled(pf24bit, 2, 1, Pixel{100, 100, 100, 0});
    auto source = Filled(pf32bit, 2, 1, Pixel{200, 100, 50, 255});
    Set(*source, 1, 0, Pixel{200, 0, 255, 128});
    BlendStraight(dest.get(), TRect(0, 0, 2, 1), source.get(), TPoint{0, 0}, 255);
    EXPECT_EQ(Str(Pixel{200, 100, 50, 0}), Str(Get(*dest, 0, 0)));
    // k = 128/255: 200k + 100(1-k) = 150.2, 0 + 100(1-k) = 49.8, 255k + 100(1-k) = 177.8
    EXPECT_EQ(Str(Pixel{150, 49, 177, 0}), Str(Get(*dest, 1, 0)));
    auto opaque = Filled(pf24bit, 2, 1, Pixel{7, 8, 9, 0});
    Set(*opaque, 1, 0, Pixel{70, 80, 90, 0});
    BlendStraight(dest.get(), TRect(0, 0, 2, 1), opaque.get(), TPoint{0, 0}, 255);
    EXPECT_EQ(Str(Pixel{7, 8, 9, 0}) + Str(Pixel{70, 80, 90, 0}), Str(Get(*dest, 0, 0)) + Str(Get(*dest, 1, 0)))
        << "a 24-bit source is opaque";
}

TEST(BlendStraight, TurnsA32BitDestinationInto24Bit)
{
    auto dest = Filled(pf32bit, 2, 2, Pixel{1, 2, 3, 4});
    auto source = Filled(pf32bit, 1, 1, Pixel{9, 9, 9, 255});
    BlendStraight(dest.get(), TRect(5, 5, 6, 6), source.get(), TPoint{0, 0}, 255);
    EXPECT_EQ(pf24bit, dest->PixelFormat()) << "even when nothing is blended";
    EXPECT_EQ(Str(Pixel{1, 2, 3, 0}), Str(Get(*dest, 1, 1)));
}

TEST(BlendStraight, RefusesASourceWithoutRowsAndDrawsNothing)
{
    TBitmap device; // device-dependent: no scan lines to read
    device.SetSize(2, 1);
    ASSERT_EQ(pfDevice, device.PixelFormat());
    auto dest = Filled(pf32bit, 2, 1, Pixel{1, 2, 3, 4});
    EXPECT_FALSE(BlendStraight(dest.get(), TRect(0, 0, 2, 1), &device, TPoint{0, 0}, 255));
    EXPECT_EQ(pf32bit, dest->PixelFormat()) << "a refused blend converts nothing";
    EXPECT_FALSE(BlendStraight(dest->Canvas(), TRect(0, 0, 2, 1), &device, TPoint{0, 0}, 255));
    EXPECT_EQ(Str(Pixel{1, 2, 3, 4}), Str(Get(*dest, 1, 0))) << "the canvas keeps colour and alpha";
    auto source = Filled(pf32bit, 1, 1, Pixel{9, 9, 9, 255});
    EXPECT_TRUE(BlendStraight(dest->Canvas(), TRect(0, 0, 1, 1), source.get(), TPoint{0, 0}, 255));
}

TEST(ClipBlendRect, StopsAtTheDestinationsRightAndBottomEdges)
{
    auto dest = Filled(pf32bit, 10, 8, Pixel{});
    auto source = Filled(pf32bit, 20, 20, Pixel{});
    TPoint o{3, 4};
    TRect r = ClipBlendRect(dest.get(), TRect(6, 5, 16, 15), source.get(), o);
    EXPECT_TRUE(TRect(6, 5, 10, 8) == r) << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    EXPECT_EQ(3, o.X);
    EXPECT_EQ(4, o.Y);
}

TEST(ClipBlendRect, NegativeLeftAndTopMoveTheOrigin)
{
    auto dest = Filled(pf32bit, 10, 10, Pixel{});
    auto source = Filled(pf32bit, 20, 20, Pixel{});
    TPoint o{1, 2};
    TRect r = ClipBlendRect(dest.get(), TRect(-3, -4, 5, 5), source.get(), o);
    EXPECT_TRUE(TRect(0, 0, 5, 5) == r) << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    EXPECT_EQ(4, o.X);
    EXPECT_EQ(6, o.Y);
}

TEST(ClipBlendRect, NegativeOriginMovesTheRectangle)
{
    auto dest = Filled(pf32bit, 10, 10, Pixel{});
    auto source = Filled(pf32bit, 4, 4, Pixel{});
    TPoint o{-2, -1};
    TRect r = ClipBlendRect(dest.get(), TRect(1, 1, 9, 9), source.get(), o);
    EXPECT_TRUE(TRect(3, 2, 7, 6) == r) << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    EXPECT_EQ(0, o.X);
    EXPECT_EQ(0, o.Y);
}

TEST(ClipBlendRect, OriginPastTheSourceLeavesNothing)
{
    auto dest = Filled(pf32bit, 10, 10, Pixel{});
    auto source = Filled(pf32bit, 4, 4, Pixel{});
    TPoint o{4, 0};
    TRect r = ClipBlendRect(dest.get(), TRect(0, 0, 5, 5), source.get(), o);
    EXPECT_GE(0, r.Width()) << "origin at the source's width";
    o = TPoint{0, 9};
    r = ClipBlendRect(dest.get(), TRect(0, 0, 5, 5), source.get(), o);
    EXPECT_GE(0, r.Height()) << "origin past the source's height";
}

TEST(BlendStraight, ClipsAtEveryEdgeWithoutTouchingOtherPixels)
{
    auto dest = Filled(pf24bit, 4, 4, Pixel{0, 0, 0, 0});
    auto source = Filled(pf32bit, 3, 3, Pixel{0, 0, 0, 255});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            Set(*source, x, y, Pixel{BYTE(10 * x + 1), BYTE(10 * y + 1), 7, 255});
    BlendStraight(dest.get(), TRect(-1, -1, 2, 2), source.get(), TPoint{0, 0}, 255);
    EXPECT_EQ(Str(Pixel{11, 11, 7, 0}), Str(Get(*dest, 0, 0))) << "source (1, 1) lands on (0, 0)";
    EXPECT_EQ(Str(Pixel{21, 21, 7, 0}), Str(Get(*dest, 1, 1)));
    EXPECT_EQ(Str(Pixel{0, 0, 0, 0}), Str(Get(*dest, 2, 2)));
    BlendStraight(dest.get(), TRect(3, 3, 9, 9), source.get(), TPoint{0, 0}, 255);
    EXPECT_EQ(Str(Pixel{1, 1, 7, 0}), Str(Get(*dest, 3, 3))) << "only one pixel fits";
    EXPECT_EQ(Str(Pixel{0, 0, 0, 0}), Str(Get(*dest, 2, 3)));
}

TEST(BlendPremultiplied, CompositesThroughAlphaBlendInsideTheClippedRectangle)
{
    auto dest = Filled(pf32bit, 4, 4, Pixel{40, 40, 40, 255});
    auto source = Filled(pf32bit, 4, 4, Pixel{0, 0, 0, 0});
    Set(*source, 0, 0, Pixel{200, 100, 50, 255});
    Set(*source, 1, 0, Pixel{0, 0, 0, 0});
    EXPECT_TRUE(BlendPremultiplied(dest.get(), TRect(2, 3, 8, 9), source.get(), TPoint{0, 0}, 255));
    EXPECT_EQ(Str(Pixel{200, 100, 50, 255}), Str(Get(*dest, 2, 3))) << "opaque source replaces";
    EXPECT_EQ(Str(Pixel{40, 40, 40, 255}), Str(Get(*dest, 3, 3))) << "transparent source keeps";
    EXPECT_EQ(Str(Pixel{40, 40, 40, 255}), Str(Get(*dest, 2, 2))) << "above the rectangle";
    EXPECT_EQ(pf32bit, dest->PixelFormat());
}

TEST(BlendPremultiplied, OnACanvasOnlyTheRectangleChanges)
{
    auto target = Filled(pf32bit, 6, 4, Pixel{40, 40, 40, 255});
    auto source = Filled(pf32bit, 2, 2, Pixel{200, 100, 50, 255});
    TCanvas* canvas = target->Canvas();
    canvas->SetCopyMode(SRCINVERT);
    EXPECT_TRUE(BlendPremultiplied(canvas, TRect(3, 1, 5, 3), source.get(), TPoint{0, 0}, 255));
    EXPECT_EQ(static_cast<DWORD>(cmSrcCopy), canvas->CopyMode());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            bool inside = x >= 3 && x < 5 && y >= 1 && y < 3;
            Pixel want = inside ? Pixel{200, 100, 50, 255} : Pixel{40, 40, 40, 255};
            EXPECT_EQ(Str(want), Str(Get(*target, x, y))) << x << "," << y;
        }
}

TEST(BlendStraight, OnACanvasBlendsTheColoursOfTheRectangle)
{
    auto target = Filled(pf24bit, 4, 2, Pixel{100, 100, 100, 0});
    auto source = Filled(pf32bit, 4, 2, Pixel{200, 0, 255, 128});
    BlendStraight(target->Canvas(), TRect(1, 0, 3, 1), source.get(), TPoint{2, 1}, 255);
    EXPECT_EQ(Str(Pixel{150, 49, 177, 0}), Str(Get(*target, 1, 0)));
    EXPECT_EQ(Str(Pixel{150, 49, 177, 0}), Str(Get(*target, 2, 0)));
    EXPECT_EQ(Str(Pixel{100, 100, 100, 0}), Str(Get(*target, 3, 0)));
    EXPECT_EQ(Str(Pixel{100, 100, 100, 0}), Str(Get(*target, 1, 1)));
}

TEST(CopyCanvasToBitmap, SizesTheTargetToTheRectangle)
{
    auto source = Filled(pf32bit, 5, 5, Pixel{});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            Set(*source, x, y, Pixel{BYTE(x), BYTE(y), 3, 4});
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    CopyCanvasToBitmap(source->Canvas(), &target, TRect(1, 2, 4, 5));
    ASSERT_EQ(3, target.Width());
    ASSERT_EQ(3, target.Height());
    EXPECT_EQ(Str(Pixel{1, 2, 3, 4}), Str(Get(target, 0, 0)));
    EXPECT_EQ(Str(Pixel{3, 4, 3, 4}), Str(Get(target, 2, 2))) << "alpha travels with a 32-bit copy";
}

TEST(CopyBitmapToCanvas, CopiesFromTheOriginAsTheyAre)
{
    auto source = Filled(pf32bit, 4, 4, Pixel{});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            Set(*source, x, y, Pixel{BYTE(x), BYTE(y), 9, BYTE(10 * x)});
    auto target = Filled(pf32bit, 4, 4, Pixel{7, 7, 7, 7});
    target->Canvas()->SetCopyMode(SRCAND);
    CopyBitmapToCanvas(target->Canvas(), TRect(0, 0, 2, 2), source.get(), TPoint{2, 1});
    EXPECT_EQ(static_cast<DWORD>(cmSrcCopy), target->Canvas()->CopyMode());
    EXPECT_EQ(Str(Pixel{2, 1, 9, 20}), Str(Get(*target, 0, 0)));
    EXPECT_EQ(Str(Pixel{3, 2, 9, 30}), Str(Get(*target, 1, 1)));
    EXPECT_EQ(Str(Pixel{7, 7, 7, 7}), Str(Get(*target, 2, 2)));
}
