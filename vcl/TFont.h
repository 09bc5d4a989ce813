#pragma once
// A GDI font description with a lazily created HFONT.

#include "Handles.h"
#include "TPersistent.h"

using TFontStyles = std::uint8_t;
constexpr TFontStyles fsBold = 1 << 0;
constexpr TFontStyles fsItalic = 1 << 1;
constexpr TFontStyles fsUnderline = 1 << 2;
constexpr TFontStyles fsStrikeOut = 1 << 3;

class TFont : public TPersistent {
public:
    TFont();
    ~TFont() override;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    const UnicodeString& Name() const { return FName; }
    void SetName(const UnicodeString& value);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return FHeight; }
    void SetHeight(int value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    BYTE Charset() const { return FCharset; }
    void SetCharset(BYTE value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    // LOGFONT quality; anti-aliased grey by default, so that text drawn on
    // 32-bit bitmaps has grey, not coloured, edges.
    BYTE Quality() const { return FQuality; }
    void SetQuality(BYTE value);

    // The GDI font; created on first use, owned by this object.
    HFONT Handle();

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& value) { FOnChange = value; }

    void Assign(TPersistent* Source) override;

private:
    // Tells the listener first (a canvas deselects the old font), then
    // drops the GDI font if its shape changed.
    void Changed(bool shapeChanged);

    UnicodeString FName = L"Tahoma";
    int FHeight = -11;
    TColor FColor = clWindowText;
    BYTE FCharset = DEFAULT_CHARSET;
    TFontStyles FStyle = 0;
    BYTE FQuality = ANTIALIASED_QUALITY;
    TGdiObject<HFONT> FHandle;
    TNotifyEvent FOnChange;
};
