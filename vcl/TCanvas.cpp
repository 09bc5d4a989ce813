#include "TCanvas.h"

#include "Exceptions.h"

TCanvas::TCanvas() : FFont(std::make_unique<TFont>()), FBrush(std::make_unique<TBrush>())
{
    FFont->SetOnChange(TNotifyEvent::Bind<&TCanvas::FontChanged>(this));
    FBrush->SetOnChange(TNotifyEvent::Bind<&TCanvas::BrushChanged>(this));
}

TCanvas::~TCanvas()
{
    DeselectObjects();
}

HDC TCanvas::Handle()
{
    if (!FHandle)
        CreateHandle();
    if (!FHandle)
        throw EInvalidOperation(L"Canvas does not allow drawing");
    RequiredState();
    return FHandle;
}

void TCanvas::SetHandle(HDC dc)
{
    if (dc == FHandle)
        return;
    DeselectObjects();
    FHandle = dc;
}

void TCanvas::RequiredState()
{
    if (!FFontSelection) {
        TSelectedObject selection(FHandle, FFont->Handle());
        if (!selection)
            RaiseLastOSError(L"SelectObject(font)");
        if (SetTextColor(FHandle, ColorToRGB(FFont->Color())) == CLR_INVALID)
            RaiseLastOSError(L"SetTextColor");
        FFontSelection = std::move(selection);
    }
    if (!FBrushSelection) {
        TSelectedObject selection(FHandle, FBrush->Handle());
        if (!selection)
            RaiseLastOSError(L"SelectObject(brush)");
        if (SetBkColor(FHandle, ColorToRGB(FBrush->Color())) == CLR_INVALID)
            RaiseLastOSError(L"SetBkColor");
        SetBkMode(FHandle, OPAQUE);
        FBrushSelection = std::move(selection);
    }
}

// Puts the device context's own objects back, so that ours can be deleted
// or the context handed on.
void TCanvas::DeselectObjects()
{
    FFontSelection.Reset();
    FBrushSelection.Reset();
}

// The font changes or goes: the context's own is put back first.
void TCanvas::FontChanged(TObject*)
{
    FFontSelection.Reset();
}

void TCanvas::BrushChanged(TObject*)
{
    FBrushSelection.Reset();
}

void TCanvas::FillRect(const TRect& rect)
{
    RECT r = rect.ToRECT();
    HDC dc = Handle();
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    if (!::FillRect(dc, &r, FBrush->Handle()))
        RaiseLastOSError(L"FillRect");
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect)
{
    HDC dest = Handle();
    HDC source = Source->Handle();
    if (Dest.Width() == 0 || Dest.Height() == 0 || SourceRect.Width() == 0 || SourceRect.Height() == 0)
        return;
    BOOL ok;
    if (Dest.Width() == SourceRect.Width() && Dest.Height() == SourceRect.Height())
        ok = BitBlt(dest, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), source, SourceRect.Left, SourceRect.Top,
                    FCopyMode);
    else
        ok = StretchBlt(dest, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), source, SourceRect.Left, SourceRect.Top,
                        SourceRect.Width(), SourceRect.Height(), FCopyMode);
    if (!ok)
        RaiseLastOSError(L"BitBlt");
}
