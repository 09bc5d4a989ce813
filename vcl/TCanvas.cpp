#include "TCanvas.h"

#include "Exceptions.h"

TCanvas::TCanvas() : FFont(new TFont), FBrush(new TBrush)
{
    FFont->SetOnChange(TNotifyEvent::Bind<&TCanvas::FontChanged>(this));
    FBrush->SetOnChange(TNotifyEvent::Bind<&TCanvas::BrushChanged>(this));
}

TCanvas::~TCanvas()
{
    DeselectObjects();
    delete FFont;
    delete FBrush;
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
    if (!FFontSelected) {
        HGDIOBJ old = SelectObject(FHandle, FFont->Handle());
        if (!old || old == HGDI_ERROR)
            RaiseLastOSError(L"SelectObject(font)");
        if (!FOriginalFont)
            FOriginalFont = old;
        if (SetTextColor(FHandle, ColorToRGB(FFont->Color())) == CLR_INVALID)
            RaiseLastOSError(L"SetTextColor");
        FFontSelected = true;
    }
    if (!FBrushSelected) {
        HGDIOBJ old = SelectObject(FHandle, FBrush->Handle());
        if (!old || old == HGDI_ERROR)
            RaiseLastOSError(L"SelectObject(brush)");
        if (!FOriginalBrush)
            FOriginalBrush = old;
        if (SetBkColor(FHandle, ColorToRGB(FBrush->Color())) == CLR_INVALID)
            RaiseLastOSError(L"SetBkColor");
        SetBkMode(FHandle, OPAQUE);
        FBrushSelected = true;
    }
}

// Puts the device context's own objects back, so that ours can be deleted
// or the context handed on.
void TCanvas::DeselectObjects()
{
    if (FHandle) {
        if (FOriginalFont)
            SelectObject(FHandle, FOriginalFont);
        if (FOriginalBrush)
            SelectObject(FHandle, FOriginalBrush);
    }
    FOriginalFont = nullptr;
    FOriginalBrush = nullptr;
    FFontSelected = false;
    FBrushSelected = false;
}

void TCanvas::FontChanged(TObject*)
{
    if (FHandle && FFontSelected && FOriginalFont)
        SelectObject(FHandle, FOriginalFont);
    FFontSelected = false;
}

void TCanvas::BrushChanged(TObject*)
{
    if (FHandle && FBrushSelected && FOriginalBrush)
        SelectObject(FHandle, FOriginalBrush);
    FBrushSelected = false;
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
        ok = BitBlt(dest, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), source, SourceRect.Left,
                    SourceRect.Top, FCopyMode);
    else
        ok = StretchBlt(dest, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), source, SourceRect.Left,
                        SourceRect.Top, SourceRect.Width(), SourceRect.Height(), FCopyMode);
    if (!ok)
        RaiseLastOSError(L"BitBlt");
}
