#pragma once
// A picture held as a GDI bitmap: a device-independent section in pf24bit
// (blue, green, red) or pf32bit (blue, green, red, alpha), with row 0 at the
// top through ScanLine; or a device-dependent bitmap in pfDevice.

#include "Handles.h"
#include "TCanvas.h"

enum TPixelFormat { pfDevice, pf24bit, pf32bit, pfCustom };

class TBitmap : public TPersistent {
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A size change keeps the pixels that stay inside and fills the new
    // ones with the canvas's brush colour (alpha 0 in pf32bit).
    void SetWidth(int value);
    void SetHeight(int value);
    void SetSize(int width, int height);
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // Converts the pixels to the new format (pf32bit from pf24bit gets
    // alpha 0; pf24bit from pf32bit loses the alpha).
    void SetPixelFormat(TPixelFormat value);

    // The GDI bitmap, still owned by this object; null while empty. Taking
    // it releases the canvas's device context, so that the caller can
    // select the bitmap into a context of its own.
    HBITMAP Handle();
    // Takes ownership of a GDI bitmap (or none) and releases the old one.
    void SetHandle(HBITMAP value);

    TCanvas* Canvas();

    // Pixels of a row (0 = top) of a pf24bit or pf32bit bitmap.
    void* ScanLine(int Row);

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& value) { FOnChange = value; }

    // Makes this bitmap an independent copy of another bitmap's picture.
    void Assign(TPersistent* Source) override;

private:
    class TBitmapCanvas;

    void Changed();
    // Replaces the GDI bitmap by one of the given size and format holding
    // the old pixels where they overlap.
    void Rebuild(int width, int height, TPixelFormat format);
    void Adopt(HBITMAP handle);
    void ReleaseHandle();
    TColor FillColor() const;

    TGdiObject<HBITMAP> FHandle;
    BYTE* FBits = nullptr; // DIB sections only
    int FStride = 0;
    bool FTopDown = true;
    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    TBitmapCanvas* FCanvas = nullptr;
    TNotifyEvent FOnChange;
};
