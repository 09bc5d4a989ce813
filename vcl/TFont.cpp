#include "TFont.h"

#include "Exceptions.h"

TFont::TFont() = default;

TFont::~TFont() = default;

void TFont::SetName(const UnicodeString& value)
{
    if (value == FName)
        return;
    FName = value;
    Changed(true);
}

void TFont::SetHeight(int value)
{
    if (value == FHeight)
        return;
    FHeight = value;
    Changed(true);
}

void TFont::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    Changed(false);
}

void TFont::SetCharset(BYTE value)
{
    if (value == FCharset)
        return;
    FCharset = value;
    Changed(true);
}

void TFont::SetStyle(TFontStyles value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Changed(true);
}

void TFont::SetQuality(BYTE value)
{
    if (value == FQuality)
        return;
    FQuality = value;
    Changed(true);
}

HFONT TFont::Handle()
{
    if (FHandle)
        return FHandle.Handle();
    LOGFONTW lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (FStyle & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (FStyle & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (FStyle & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = FCharset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = FQuality;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynW(lf.lfFaceName, FName.c_str(), LF_FACESIZE);
    FHandle.Reset(CreateFontIndirectW(&lf));
    if (!FHandle)
        RaiseLastOSError(L"CreateFontIndirectW");
    return FHandle.Handle();
}

void TFont::Assign(TPersistent* Source)
{
    if (auto* font = dynamic_cast<TFont*>(Source)) {
        bool shape = font->FName != FName || font->FHeight != FHeight || font->FCharset != FCharset ||
                     font->FStyle != FStyle || font->FQuality != FQuality;
        FName = font->FName;
        FHeight = font->FHeight;
        FColor = font->FColor;
        FCharset = font->FCharset;
        FStyle = font->FStyle;
        FQuality = font->FQuality;
        Changed(shape);
        return;
    }
    TPersistent::Assign(Source);
}

void TFont::Changed(bool shapeChanged)
{
    FOnChange(this);
    if (shapeChanged)
        FHandle.Reset();
}
