#include "WdgCustomControl.h"

namespace gs {

WdgCustomControl::WdgCustomControl() : FMargins(new GsTextMargins) {}

WdgCustomControl::~WdgCustomControl()
{
    delete FMargins;
}

void WdgCustomControl::DrawCaption(TBitmap* Target, int State)
{
    TRect r = TextRect();
    UINT format = TextFormat();
    TTextPainter* painter = PainterForState(State);
    if (FWordWrap && FLayout != tlTop) {
        // DrawText places single lines only: wrapped text is placed here.
        TRect measured = r;
        painter->CalcRect(Target->Canvas(), FText.c_str(), &measured, format);
        int textHeight = measured.Height();
        int boxHeight = r.Height();
        if (textHeight < boxHeight)
            r.Top += FLayout == tlCenter ? (boxHeight - textHeight) / 2 : boxHeight - textHeight;
    }
    painter->PaintText(Target, FText.c_str(), &r, format, false, true);
}

TRect WdgCustomControl::TextRect() const
{
    return TRect(FMargins->Left(), FMargins->Top(), FWidth - FMargins->Right(), FHeight - FMargins->Bottom());
}

UINT WdgCustomControl::TextFormat() const
{
    UINT format = 0;
    switch (FAlignment) {
    case taRightJustify: format |= DT_RIGHT; break;
    case taCenter: format |= DT_CENTER; break;
    default: format |= DT_LEFT; break;
    }
    if (FLayout == tlCenter)
        format |= DT_VCENTER;
    else if (FLayout == tlBottom)
        format |= DT_BOTTOM;
    format |= FWordWrap ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    return format;
}

} // namespace gs
