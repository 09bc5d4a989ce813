#include <gtest/gtest.h>

#include "Exceptions.h"
#include "TBitmap.h"

#include <cstring>

namespace {

struct ChangeCounter {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
};

const BYTE* Pixel(TBitmap& b, int x, int y)
{
    int bpp = b.PixelFormat() == pf32bit ? 4 : 3;
    return static_cast<const BYTE*>(b.ScanLine(y)) + x * bpp;
}

} // namespace

TEST(TBitmap, NewPixelsTakeTheBrushColourWithAlphaZero)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.Canvas()->Brush()->SetColor(0x00332211);
    b.SetWidth(3);
    b.SetHeight(2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const BYTE* p = Pixel(b, x, y);
            EXPECT_EQ(0x33, p[0]) << "blue at " << x << "," << y;
            EXPECT_EQ(0x22, p[1]);
            EXPECT_EQ(0x11, p[2]) << "red";
            EXPECT_EQ(0, p[3]);
        }
}

TEST(TBitmap, BlackBrushGivesAllZeroPixelsAndGrowthKeepsOldPixels)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.Canvas()->Brush()->SetColor(clBlack);
    b.SetSize(2, 2);
    std::memset(b.ScanLine(0), 0x7F, 8);
    b.SetSize(4, 3);
    EXPECT_EQ(0x7F, Pixel(b, 1, 0)[3]) << "old pixel kept";
    EXPECT_EQ(0, Pixel(b, 2, 0)[0]) << "new column filled";
    EXPECT_EQ(0, Pixel(b, 0, 2)[3]) << "new row filled";
}

TEST(TBitmap, ScanLineRowZeroIsTheTopRow)
{
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.Canvas()->Brush()->SetColor(clBlack);
    b.SetSize(4, 4);
    b.Canvas()->Brush()->SetColor(0x0000FF);
    b.Canvas()->FillRect(TRect(0, 0, 4, 1));
    EXPECT_EQ(0xFF, Pixel(b, 0, 0)[2]) << "red filled at the top";
    EXPECT_EQ(0x00, Pixel(b, 0, 3)[2]);
    EXPECT_THROW(b.ScanLine(4), EInvalidGraphic);
}

TEST(TBitmap, FormatConversionKeepsColours)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(1, 1);
    BYTE* p = static_cast<BYTE*>(b.ScanLine(0));
    p[0] = 10;
    p[1] = 20;
    p[2] = 30;
    p[3] = 40;
    b.SetPixelFormat(pf24bit);
    EXPECT_EQ(pf24bit, b.PixelFormat());
    EXPECT_EQ(30, Pixel(b, 0, 0)[2]);
    b.SetPixelFormat(pf32bit);
    EXPECT_EQ(10, Pixel(b, 0, 0)[0]);
    EXPECT_EQ(0, Pixel(b, 0, 0)[3]) << "24 to 32 bits gives alpha 0";
}

TEST(TBitmap, SetHandleAdoptsADibAndReleasesTheOld)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(5, 5);
    HBITMAP old = b.Handle();
    ASSERT_NE(nullptr, old);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = 2; // bottom-up, as many producers make them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, dib);
    static_cast<BYTE*>(bits)[0] = 99; // bottom-left pixel of a bottom-up section

    b.SetHandle(dib);
    EXPECT_EQ(0, GetObjectW(old, 0, nullptr)) << "old bitmap deleted";
    EXPECT_EQ(3, b.Width());
    EXPECT_EQ(2, b.Height());
    EXPECT_EQ(pf32bit, b.PixelFormat());
    EXPECT_EQ(99, Pixel(b, 0, 1)[0]) << "row 1 is the bottom row";
}

TEST(TBitmap, DeviceBitmapBecomesA32BitSection)
{
    HDC screen = GetDC(nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 4, 3);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(nullptr, ddb);
    TBitmap b;
    b.SetHandle(ddb);
    b.SetPixelFormat(pf32bit);
    DIBSECTION ds{};
    ASSERT_EQ(static_cast<int>(sizeof(ds)), GetObjectW(b.Handle(), sizeof(ds), &ds));
    EXPECT_EQ(32, ds.dsBm.bmBitsPixel);
    EXPECT_EQ(4, b.Width());
    EXPECT_NE(nullptr, b.ScanLine(2));
}

TEST(TBitmap, AssignMakesAnIndependentCopy)
{
    TBitmap a;
    a.SetPixelFormat(pf32bit);
    a.SetSize(2, 2);
    static_cast<BYTE*>(a.ScanLine(1))[4] = 77;
    TBitmap b;
    b.Assign(&a);
    EXPECT_EQ(pf32bit, b.PixelFormat());
    EXPECT_EQ(2, b.Width());
    EXPECT_EQ(77, Pixel(b, 1, 1)[0]);
    static_cast<BYTE*>(a.ScanLine(1))[4] = 1;
    a.SetSize(9, 9);
    EXPECT_EQ(77, Pixel(b, 1, 1)[0]) << "copy unaffected by the source";
    EXPECT_NE(a.Handle(), b.Handle());
}

TEST(TBitmap, OnChangeFiresForSizeFormatHandleAndAssign)
{
    ChangeCounter counter;
    TBitmap b;
    b.SetOnChange(TNotifyEvent::Bind<&ChangeCounter::Changed>(&counter));
    b.SetWidth(2);
    b.SetHeight(2);
    EXPECT_EQ(2, counter.Count);
    b.SetHeight(2);
    EXPECT_EQ(2, counter.Count) << "equal size: no change";
    b.SetPixelFormat(pf32bit);
    EXPECT_EQ(3, counter.Count);
    TBitmap other;
    b.Assign(&other);
    EXPECT_EQ(4, counter.Count);
    b.SetHandle(nullptr);
    EXPECT_EQ(4, counter.Count) << "already without handle";
    EXPECT_TRUE(b.Empty());
}

TEST(TBitmap, HandleCanBeSelectedElsewhereAfterCanvasUse)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(2, 2);
    b.Canvas()->FillRect(TRect(0, 0, 2, 2));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, b.Handle());
    EXPECT_NE(nullptr, old) << "bitmap free for another device context";
    SelectObject(dc, old);
    DeleteDC(dc);
    b.Canvas()->FillRect(TRect(0, 0, 1, 1)); // canvas comes back on use
}

TEST(TPersistent, AssignBetweenUnrelatedClassesRaises)
{
    TBitmap b;
    TFont f;
    EXPECT_THROW(b.Assign(&f), EConvertError);
    EXPECT_THROW(f.Assign(&b), EConvertError);
}

TEST(TCanvas, HandleCarriesFontColourAndBrush)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(1, 1);
    TCanvas* c = b.Canvas();
    c->Font()->SetColor(0x00123456);
    c->Brush()->SetColor(0x00654321);
    HDC dc = c->Handle();
    EXPECT_EQ(0x00123456u, GetTextColor(dc));
    EXPECT_EQ(0x00654321u, GetBkColor(dc));
    c->Font()->SetName(L"Arial");
    dc = c->Handle();
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    EXPECT_NE(0, GetTextFaceW(dc, LF_FACESIZE, face));
    EXPECT_EQ(static_cast<DWORD>(SRCCOPY), c->CopyMode());
}
