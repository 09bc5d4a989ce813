#include "Common.h"

#include "Handles.h"
#include "TApplication.h"
#include "TScreen.h"

#include <objidl.h> // before GDI+, which needs its property types
#include <gdiplus.h>

#include <cstring>

namespace {

// The folder part of a path, with its trailing backslash.
UnicodeString ExtractFilePath(const UnicodeString& path)
{
    size_t slash = path.find_last_of(L"\\:/");
    return slash == UnicodeString::npos ? UnicodeString() : path.substr(0, slash + 1);
}

using namespace Gdiplus::DllExports;

struct TDecodedPictureTraits {
    using HandleType = Gdiplus::GpBitmap*;
    static HandleType None() { return nullptr; }
    static void Close(HandleType picture) { GdipDisposeImage(picture); }
};

// A decoded picture, disposed of (and its file let go) on every exit.
using TDecodedPicture = THandleGuard<TDecodedPictureTraits>;

// The picture of a file; none where it cannot be decoded.
TDecodedPicture DecodePicture(const wchar_t* path)
{
    Gdiplus::GpBitmap* picture = nullptr;
    if (GdipCreateBitmapFromFile(path, &picture) != Gdiplus::Ok)
        picture = nullptr;
    return TDecodedPicture(picture);
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

UnicodeString GetImageFolderPath()
{
    UnicodeString folder = ExtractFilePath(Application->ExeName());
    if (Screen->Width() >= 3840)
        folder += L"images\\4k\\";
    else
        folder += L"images\\1920\\";
    return folder;
}

void LoadImageFromFile(const wchar_t* Path, TBitmap* Target)
{
    HBITMAP handle = nullptr;
    {
        // The decoded picture lives only for this block: it holds the file.
        TDecodedPicture picture = DecodePicture(Path);
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

gs::WdgImage* CreateImageWidget(const wchar_t* FileName)
{
    UnicodeString path = GetImageFolderPath() + FileName;
    auto* image = new gs::WdgImage();
    LoadImageFromFile(path.c_str(), image->Picture());
    return image;
}

gs::WdgButton* CreateImageButton(const wchar_t* const FileNames[4])
{
    auto* button = new gs::WdgButton();
    UnicodeString folder = GetImageFolderPath();
    TBitmap picture;
    picture.SetPixelFormat(pf32bit);
    gs::GsButtonAppearance* appearance = button->Appearance();
    TBitmap* states[4] = {appearance->Raised(), appearance->Sunken(), appearance->Hovered(), appearance->Disabled()};
    for (int i = 0; i < 4; ++i) {
        if (FileNames[i][0] == L'\0')
            continue;
        UnicodeString path = folder + FileNames[i];
        LoadImageFromFile(path.c_str(), &picture);
        states[i]->Assign(&picture);
    }
    return button;
}
