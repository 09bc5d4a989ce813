#pragma once
// The base of text-bearing controls: a caption inside margins, drawn with a
// text painter chosen per visual state.

#include "GsButtonState.h"
#include "GsTextMargins.h"
#include "GsWidget.h"
#include "TTextPainter.h"

namespace gs {

class WdgCustomControl : public GsWidget {
public:
    WdgCustomControl();
    ~WdgCustomControl() override;

    // Draws Text inside the margins of Target's (0, 0) based area, in the
    // look of the state.
    virtual void DrawCaption(TBitmap* Target, int State);
    // The painter for a state (a GsButtonState).
    virtual TTextPainter* PainterForState(int State) = 0;

    // (0, 0, Width, Height) less the margins.
    TRect TextRect() const;
    // The DrawText flags of the control's settings; a single line is always
    // centred vertically.
    UINT TextFormat() const;

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value) { FLayout = Value; }
    GsTextMargins* Margins() const { return FMargins; }

private:
    bool FWordWrap = false;
    TAlignment FAlignment = taCenter;
    TTextLayout FLayout = tlCenter;
    GsTextMargins* FMargins;
};

} // namespace gs
