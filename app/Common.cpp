#include "Common.h"

#include "Handles.h"
#include "TApplication.h"

#include <objidl.h> // before GDI+, which needs its property types
#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// The folder part of a path, with its trailing backslash.
UnicodeString ExtractFilePath(const UnicodeString& path)
{
    size_t slash = path.find_last_of(L"\\:/");
    return slash == UnicodeString::npos ? UnicodeString() : path.substr(0, slash + 1);
}

using namespace Gdiplus::DllExports;

struct TGdiplusImageTraits {
    using HandleType = Gdiplus::GpBitmap*;
    static HandleType None() { return nullptr; }
    static void Close(HandleType picture) { GdipDisposeImage(picture); }
};

// A GDI+ bitmap, disposed of (and its file let go) on every exit.
using TGdiplusBitmap = THandleGuard<TGdiplusImageTraits>;

// The picture of a file; none where it cannot be decoded.
TGdiplusBitmap DecodePicture(const wchar_t* path)
{
    Gdiplus::GpBitmap* picture = nullptr;
    if (GdipCreateBitmapFromFile(path, &picture) != Gdiplus::Ok)
        picture = nullptr;
    return TGdiplusBitmap(picture);
}

// A bitmap on premultiplied pixels that the caller owns and keeps for as
// long as the bitmap lives: GDI+ reads and draws them in place.
TGdiplusBitmap BitmapOnPixels(int width, int height, int stride, void* pixels)
{
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromScan0(width, height, stride, PixelFormat32bppPARGB, static_cast<BYTE*>(pixels), &bitmap) !=
        Gdiplus::Ok)
        bitmap = nullptr;
    return TGdiplusBitmap(bitmap);
}

struct TGdiplusGraphicsTraits {
    using HandleType = Gdiplus::GpGraphics*;
    static HandleType None() { return nullptr; }
    static void Close(HandleType graphics) { GdipDeleteGraphics(graphics); }
};

// Drawing into a GDI+ bitmap, for as long as the guard lives.
using TGdiplusGraphics = THandleGuard<TGdiplusGraphicsTraits>;

TGdiplusGraphics GraphicsOf(Gdiplus::GpBitmap* bitmap)
{
    Gdiplus::GpGraphics* graphics = nullptr;
    if (!bitmap || GdipGetImageGraphicsContext(bitmap, &graphics) != Gdiplus::Ok)
        graphics = nullptr;
    return TGdiplusGraphics(graphics);
}

// How far the filter reads beyond a picture's edge, in its pixels.
const int ResampleBorder = 4;

// The picture's pixels with a border that repeats its edge pixels: the
// filter reads beyond the edge, and transparent pixels there would fade the
// edge of an opaque picture.
std::vector<DWORD> WithBorder(TBitmap* picture)
{
    const int width = picture->Width();
    const int height = picture->Height();
    const int stride = width + 2 * ResampleBorder;
    std::vector<DWORD> pixels(static_cast<size_t>(stride) * (height + 2 * ResampleBorder));
    for (int y = -ResampleBorder; y < height + ResampleBorder; ++y) {
        const auto* from = static_cast<const DWORD*>(picture->ScanLine(std::clamp(y, 0, height - 1)));
        DWORD* to = &pixels[static_cast<size_t>(y + ResampleBorder) * stride];
        for (int x = -ResampleBorder; x < width + ResampleBorder; ++x)
            to[x + ResampleBorder] = from[std::clamp(x, 0, width - 1)];
    }
    return pixels;
}

bool DrawResampled(Gdiplus::GpBitmap* source, int width, int height, Gdiplus::GpBitmap* target, int targetWidth,
                   int targetHeight)
{
    const TGdiplusGraphics graphics = GraphicsOf(target);
    return graphics &&
           GdipSetInterpolationMode(graphics.Handle(), Gdiplus::InterpolationModeHighQualityBicubic) == Gdiplus::Ok &&
           GdipSetPixelOffsetMode(graphics.Handle(), Gdiplus::PixelOffsetModeHighQuality) == Gdiplus::Ok &&
           GdipDrawImageRectRectI(graphics.Handle(), source, 0, 0, targetWidth, targetHeight, ResampleBorder,
                                  ResampleBorder, width, height, Gdiplus::UnitPixel, nullptr, nullptr,
                                  nullptr) == Gdiplus::Ok;
}

// Writes the decoded picture's premultiplied pixels into the GDI bitmap.
// The conversion to a GDI bitmap lays the picture over its background
// colour; over opaque black that keeps the colours premultiplied but may
// lose the alpha (on Windows every pixel comes out opaque), so the pixels
// are taken from the decoder itself, alike on every system.
void CopyPremultipliedPixels(Gdiplus::GpBitmap* picture, HBITMAP target)
{
    DIBSECTION section{};
    if (GetObjectW(target, sizeof(section), &section) != sizeof(section) || section.dsBm.bmBitsPixel != 32 ||
        !section.dsBm.bmBits)
        return;
    int width = section.dsBm.bmWidth;
    int height = section.dsBm.bmHeight;
    Gdiplus::GpRect all(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (GdipBitmapLockBits(picture, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) != Gdiplus::Ok)
        return;
    GdiFlush();
    auto* bits = static_cast<BYTE*>(section.dsBm.bmBits);
    bool bottomUp = section.dsBmih.biHeight > 0;
    for (int y = 0; y < height; ++y) {
        int row = bottomUp ? height - 1 - y : y;
        std::memcpy(bits + static_cast<size_t>(row) * section.dsBm.bmWidthBytes,
                    static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                    static_cast<size_t>(width) * 4);
    }
    GdipBitmapUnlockBits(picture, &data);
}

} // namespace

UnicodeString GetImageFolderPath(double Factor)
{
    UnicodeString folder = ExtractFilePath(Application->ExeName());
    if (Factor == 1)
        folder += L"images\\1920\\";
    else
        folder += L"images\\4k\\";
    return folder;
}

void ResamplePicture(TBitmap* Picture, int Width, int Height)
{
    const int width = Picture->Width();
    const int height = Picture->Height();
    if (Picture->Empty() || (width == Width && height == Height))
        return;
    TBitmap resampled;
    resampled.SetPixelFormat(pf32bit);
    bool drawn = false;
    if (Width > 0 && Height > 0) {
        std::vector<DWORD> source = WithBorder(Picture);
        std::vector<DWORD> target(static_cast<size_t>(Width) * Height);
        {
            const TGdiplusBitmap from = BitmapOnPixels(width + 2 * ResampleBorder, height + 2 * ResampleBorder,
                                                       (width + 2 * ResampleBorder) * 4, source.data());
            const TGdiplusBitmap to = BitmapOnPixels(Width, Height, Width * 4, target.data());
            drawn = DrawResampled(from.Handle(), width, height, to.Handle(), Width, Height);
        }
        resampled.SetSize(Width, Height);
        for (int y = 0; drawn && y < Height; ++y)
            std::memcpy(resampled.ScanLine(y), &target[static_cast<size_t>(y) * Width], static_cast<size_t>(Width) * 4);
    }
    // Where GDI+ failed the picture is left empty, and its stand-in is drawn.
    if (!drawn)
        resampled.SetSize(0, 0);
    Picture->Assign(&resampled);
}

void LoadArtwork(const wchar_t* FileName, double Factor, TBitmap* Target)
{
    UnicodeString path = GetImageFolderPath(Factor) + FileName;
    LoadImageFromFile(path.c_str(), Target);
    if (Factor != 1 && Factor != 2)
        ResamplePicture(Target, static_cast<int>(std::lround(Target->Width() * Factor / 2)),
                        static_cast<int>(std::lround(Target->Height() * Factor / 2)));
}

void LoadImageFromFile(const wchar_t* Path, TBitmap* Target)
{
    HBITMAP handle = nullptr;
    {
        // The decoded picture lives only for this block: it holds the file.
        TGdiplusBitmap picture = DecodePicture(Path);
        if (picture && GdipCreateHBITMAPFromBitmap(picture.Handle(), &handle, 0xFF000000) == Gdiplus::Ok && handle)
            CopyPremultipliedPixels(picture.Handle(), handle);
        else
            handle = nullptr;
    }
    Target->SetHandle(handle);
    Target->SetPixelFormat(pf32bit);
    if (Target->Width() > 0 && Target->Height() > 0)
        return;
    UnicodeString text = L"Can not load image " + UnicodeString(Path);
    MessageBoxW(nullptr, text.c_str(), L"LoadImage", MB_OK);
}

gs::WdgImage* CreateImageWidget(const wchar_t* FileName, double Factor)
{
    auto* image = new gs::WdgImage();
    LoadArtwork(FileName, Factor, image->Picture());
    return image;
}

gs::WdgButton* CreateImageButton(const wchar_t* const FileNames[4], double Factor)
{
    auto* button = new gs::WdgButton();
    TBitmap picture;
    picture.SetPixelFormat(pf32bit);
    gs::GsButtonAppearance* appearance = button->Appearance();
    TBitmap* states[4] = {appearance->Raised(), appearance->Sunken(), appearance->Hovered(), appearance->Disabled()};
    for (int i = 0; i < 4; ++i) {
        if (FileNames[i][0] == L'\0')
            continue;
        LoadArtwork(FileNames[i], Factor, &picture);
        states[i]->Assign(&picture);
    }
    return button;
}
