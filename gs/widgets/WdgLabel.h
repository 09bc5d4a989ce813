#pragma once
// A widget that shows a text with a glow text effect.

#include "GsTextRadiationEffect.h"
#include "GsWidget.h"

namespace gs {

class WdgLabel : public GsWidget {
public:
    WdgLabel();
    ~WdgLabel() override;

    // Stores the text (repainting only on a change); with AutoSize the
    // label is measured again in any case.
    void SetText(const UnicodeString& Value) override;
    void Paint(TBitmap* Target, const TRect& Rect) override;
    // Draws Text into Rect of Target. Wrapped text is placed vertically by
    // the label itself, since DrawText centres or bottom-aligns single lines
    // only.
    virtual void DrawCaption(TBitmap* Target, const TRect& Rect);
    virtual void SetAutoSize(bool Value);

    // The DrawText flags of the label's settings.
    UINT TextFormat() const;
    // Sizes the label to its text, measured from a zero-width rectangle.
    void AdjustSize();
    // The part of the box that the text covers, measured as it is drawn.
    TRect TextBox();
    // The text's box within the label's.
    TRect AccessibleRect() override;

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value) { FLayout = Value; }
    bool AutoSize() const { return FAutoSize; }
    // The owned effect: font, glow and offsets of the text.
    GsTextRadiationEffect* TextEffect() const { return FTextEffect; }

private:
    bool FWordWrap = false;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FAutoSize = false;
    GsTextRadiationEffect* FTextEffect;
};

} // namespace gs
