#include "TBitmap.h"

#include "Exceptions.h"

#include <algorithm>
#include <cstring>

// The bitmap's canvas: a memory device context with the bitmap selected.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* owner) : FOwner(owner) {}
    ~TBitmapCanvas() override { FreeContext(); }

    // Releases the device context (and with it the bitmap's selection).
    void FreeContext()
    {
        if (!FDC)
            return;
        SetHandle(nullptr);
        FSelection.Reset();
        FDC.Reset();
    }

    // The owner's GDI bitmap changed: select the new one (none: the
    // context's own).
    void BitmapChanged()
    {
        if (!FDC)
            return;
        FSelection.Reset();
        FSelection = SelectOwnersBitmap(FDC.Handle());
    }

protected:
    void CreateHandle() override
    {
        TMemoryDC dc(CreateCompatibleDC(nullptr));
        if (!dc)
            RaiseLastOSError(L"CreateCompatibleDC");
        FSelection = SelectOwnersBitmap(dc.Handle());
        FDC = std::move(dc);
        SetHandle(FDC.Handle());
    }

private:
    TSelectedObject SelectOwnersBitmap(HDC dc)
    {
        if (!FOwner->FHandle)
            return TSelectedObject();
        TSelectedObject selection(dc, FOwner->FHandle.Handle());
        if (!selection)
            RaiseLastOSError(L"SelectObject(bitmap)");
        return selection;
    }

    TBitmap* FOwner;
    TMemoryDC FDC;
    // Declared after the context: put back before the context goes.
    TSelectedObject FSelection;
};

namespace {

int BitsOf(TPixelFormat format)
{
    return format == pf24bit ? 24 : 32;
}

int StrideOf(int width, int bits)
{
    return ((width * bits + 31) / 32) * 4;
}

// A top-down DIB section; its bits through *bits.
TGdiObject<HBITMAP> CreateSection(int width, int height, int bits, BYTE** pixels)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    info.bmiHeader.biCompression = BI_RGB;
    void* data = nullptr;
    TGdiObject<HBITMAP> handle(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &data, nullptr, 0));
    if (!handle)
        RaiseLastOSError(L"CreateDIBSection");
    *pixels = static_cast<BYTE*>(data);
    return handle;
}

// A memory device context holding one bitmap, released on every exit.
class TSelectedDC {
public:
    explicit TSelectedDC(HBITMAP bitmap) : FDC(CreateCompatibleDC(nullptr))
    {
        if (!FDC)
            RaiseLastOSError(L"CreateCompatibleDC");
        FSelection = TSelectedObject(FDC.Handle(), bitmap);
        if (!FSelection)
            RaiseLastOSError(L"SelectObject(bitmap)");
    }
    HDC Handle() const { return FDC.Handle(); }

private:
    TMemoryDC FDC;
    TSelectedObject FSelection;
};

// A bitmap compatible with the screen.
TGdiObject<HBITMAP> CreateScreenBitmap(int width, int height)
{
    TClientDC screen(nullptr);
    TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Handle(), width, height));
    if (!bitmap)
        RaiseLastOSError(L"CreateCompatibleBitmap");
    return bitmap;
}

} // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    delete FCanvas;
}

void TBitmap::SetWidth(int value)
{
    SetSize(value, FHeight);
}

void TBitmap::SetHeight(int value)
{
    SetSize(FWidth, value);
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FWidth && height == FHeight)
        return;
    Rebuild(width, height, FPixelFormat);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat value)
{
    if (value == FPixelFormat || value == pfCustom)
        return;
    Rebuild(FWidth, FHeight, value);
    Changed();
}

HBITMAP TBitmap::Handle()
{
    if (FCanvas)
        FCanvas->FreeContext();
    return FHandle.Handle();
}

void TBitmap::SetHandle(HBITMAP value)
{
    if (value == FHandle.Handle())
        return;
    Adopt(value);
    Changed();
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas)
        FCanvas = new TBitmapCanvas(this);
    return FCanvas;
}

void* TBitmap::ScanLine(int Row)
{
    if (!FBits)
        throw EInvalidGraphic(L"Bitmap has no device-independent pixels");
    if (Row < 0 || Row >= FHeight)
        throw EInvalidGraphic(L"Scan line index out of range");
    GdiFlush();
    int line = FTopDown ? Row : FHeight - 1 - Row;
    return FBits + static_cast<size_t>(line) * FStride;
}

void TBitmap::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TBitmap*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    ReleaseHandle();
    FPixelFormat = source->FPixelFormat == pfCustom ? pf32bit : source->FPixelFormat;
    if (!source->Empty() && source->FHandle) {
        TGdiObject<HBITMAP> copy;
        BYTE* bits = nullptr;
        if (FPixelFormat == pfDevice)
            copy = CreateScreenBitmap(source->FWidth, source->FHeight);
        else
            copy = CreateSection(source->FWidth, source->FHeight, BitsOf(FPixelFormat), &bits);
        if (bits && source->FBits && source->FPixelFormat == FPixelFormat) {
            GdiFlush();
            for (int y = 0; y < source->FHeight; ++y)
                std::memcpy(bits + static_cast<size_t>(y) * StrideOf(source->FWidth, BitsOf(FPixelFormat)),
                            source->ScanLine(y), static_cast<size_t>(source->FWidth) * BitsOf(FPixelFormat) / 8);
        } else {
            TSelectedDC from(source->Handle());
            TSelectedDC to(copy.Handle());
            if (!BitBlt(to.Handle(), 0, 0, source->FWidth, source->FHeight, from.Handle(), 0, 0, SRCCOPY))
                RaiseLastOSError(L"BitBlt");
        }
        FHandle = std::move(copy);
        FBits = bits;
        FStride = bits ? StrideOf(source->FWidth, BitsOf(FPixelFormat)) : 0;
        FTopDown = true;
    }
    FWidth = source->FWidth;
    FHeight = source->FHeight;
    if (FCanvas)
        FCanvas->BitmapChanged();
    Changed();
}

void TBitmap::Changed()
{
    FOnChange(this);
}

TColor TBitmap::FillColor() const
{
    return FCanvas ? FCanvas->Brush()->Color() : clWhite;
}

void TBitmap::Rebuild(int width, int height, TPixelFormat format)
{
    if (width <= 0 || height <= 0) {
        ReleaseHandle();
        FWidth = width;
        FHeight = height;
        FPixelFormat = format;
        return;
    }

    TGdiObject<HBITMAP> fresh;
    BYTE* bits = nullptr;
    if (format == pfDevice)
        fresh = CreateScreenBitmap(width, height);
    else
        fresh = CreateSection(width, height, BitsOf(format), &bits);

    int keepW = FHandle ? std::min(width, FWidth) : 0;
    int keepH = FHandle ? std::min(height, FHeight) : 0;
    COLORREF fill = ColorToRGB(FillColor());
    if (bits) {
        // Fill in place: GDI leaves alpha 0 in 32-bit sections, and so do we.
        int bpp = BitsOf(format) / 8;
        int stride = StrideOf(width, BitsOf(format));
        BYTE pixel[4] = {GetBValue(fill), GetGValue(fill), GetRValue(fill), 0};
        for (int y = 0; y < height; ++y) {
            BYTE* row = bits + static_cast<size_t>(y) * stride;
            int from = y < keepH ? keepW : 0;
            for (int x = from; x < width; ++x)
                std::memcpy(row + x * bpp, pixel, bpp);
        }
        if (keepW > 0 && keepH > 0 && FBits) {
            GdiFlush();
            int oldBpp = BitsOf(FPixelFormat == pfCustom ? pf32bit : FPixelFormat) / 8;
            for (int y = 0; y < keepH; ++y) {
                const BYTE* src = static_cast<const BYTE*>(ScanLine(y));
                BYTE* dst = bits + static_cast<size_t>(y) * stride;
                if (oldBpp == bpp) {
                    std::memcpy(dst, src, static_cast<size_t>(keepW) * bpp);
                    continue;
                }
                for (int x = 0; x < keepW; ++x) {
                    dst[x * bpp + 0] = src[x * oldBpp + 0];
                    dst[x * bpp + 1] = src[x * oldBpp + 1];
                    dst[x * bpp + 2] = src[x * oldBpp + 2];
                    if (bpp == 4)
                        dst[x * bpp + 3] = 0;
                }
            }
            keepW = keepH = 0;
        }
    } else {
        TSelectedDC to(fresh.Handle());
        RECT all{0, 0, width, height};
        TGdiObject<HBRUSH> brush(CreateSolidBrush(fill));
        if (!brush)
            RaiseLastOSError(L"CreateSolidBrush");
        ::FillRect(to.Handle(), &all, brush.Handle());
    }
    if (keepW > 0 && keepH > 0) {
        // The old pixels are not plain DIB pixels: let GDI convert them.
        if (FCanvas)
            FCanvas->FreeContext();
        TSelectedDC from(FHandle.Handle());
        TSelectedDC to(fresh.Handle());
        if (!BitBlt(to.Handle(), 0, 0, keepW, keepH, from.Handle(), 0, 0, SRCCOPY))
            RaiseLastOSError(L"BitBlt");
    }

    ReleaseHandle();
    FHandle = std::move(fresh);
    FBits = bits;
    FStride = bits ? StrideOf(width, BitsOf(format)) : 0;
    FTopDown = true;
    FWidth = width;
    FHeight = height;
    FPixelFormat = format;
    if (FCanvas)
        FCanvas->BitmapChanged();
}

// Takes a GDI bitmap made elsewhere and learns its size and layout.
void TBitmap::Adopt(HBITMAP handle)
{
    ReleaseHandle();
    FWidth = FHeight = 0;
    if (!handle) {
        if (FCanvas)
            FCanvas->BitmapChanged();
        return;
    }
    TGdiObject<HBITMAP> owned(handle);
    DIBSECTION section{};
    int got = GetObjectW(handle, sizeof(section), &section);
    if (got == 0)
        throw EInvalidGraphic(L"Not a bitmap handle");
    FHandle = std::move(owned);
    FWidth = section.dsBm.bmWidth;
    FHeight = section.dsBm.bmHeight;
    if (got == sizeof(DIBSECTION) && section.dsBm.bmBits) {
        FBits = static_cast<BYTE*>(section.dsBm.bmBits);
        FStride = section.dsBm.bmWidthBytes;
        FTopDown = section.dsBmih.biHeight < 0;
        switch (section.dsBm.bmBitsPixel) {
        case 24: FPixelFormat = pf24bit; break;
        case 32: FPixelFormat = pf32bit; break;
        default:
            FPixelFormat = pfCustom;
            FBits = nullptr;
            break;
        }
    } else {
        FPixelFormat = pfDevice;
    }
    if (FCanvas)
        FCanvas->BitmapChanged();
}

void TBitmap::ReleaseHandle()
{
    if (FCanvas)
        FCanvas->FreeContext();
    FHandle.Reset();
    FBits = nullptr;
    FStride = 0;
}
