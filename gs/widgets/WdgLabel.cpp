#include "WdgLabel.h"

#include <oleacc.h>

namespace gs {

namespace {

UINT AlignmentFlag(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
    }
}

UINT LayoutFlag(TTextLayout layout)
{
    switch (layout) {
    case tlCenter: return DT_VCENTER;
    case tlBottom: return DT_BOTTOM;
    default: return 0;
    }
}

} // namespace

WdgLabel::WdgLabel() : FTextEffect(new GsTextRadiationEffect)
{
    FAccessibleRole = ROLE_SYSTEM_STATICTEXT;
}

WdgLabel::~WdgLabel()
{
    delete FTextEffect;
}

void WdgLabel::SetText(const UnicodeString& Value)
{
    GsWidget::SetText(Value);
    if (FAutoSize)
        AdjustSize();
}

void WdgLabel::Paint(TBitmap* Target, const TRect& Rect)
{
    if (FText.empty())
        return;
    DrawCaption(Target, Rect);
}

void WdgLabel::DrawCaption(TBitmap* Target, const TRect& Rect)
{
    TRect r = Rect;
    UINT format = TextFormat();
    TTextPainter* painter = FTextEffect->GetTextPainter();
    if (FWordWrap && FLayout != tlTop) {
        TRect measured = r;
        painter->CalcRect(Target->Canvas(), FText.c_str(), &measured, format);
        int textHeight = measured.Height();
        int boxHeight = r.Height();
        if (textHeight < boxHeight)
            r.Top += FLayout == tlCenter ? (boxHeight - textHeight) / 2 : boxHeight - textHeight;
    }
    painter->PaintText(Target, FText.c_str(), &r, format, false, true);
}

void WdgLabel::SetAutoSize(bool Value)
{
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    if (FAutoSize)
        AdjustSize();
}

UINT WdgLabel::TextFormat() const
{
    return AlignmentFlag(FAlignment) | LayoutFlag(FLayout) | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
}

TRect WdgLabel::TextBox()
{
    if (FText.empty())
        return TRect();
    TBitmap scratch;
    TRect r(0, 0, FWidth, FHeight);
    FTextEffect->GetTextPainter()->CalcRect(scratch.Canvas(), FText.c_str(), &r, TextFormat());
    // Measured from the top left; drawn where the alignment and the layout
    // put it.
    int left = 0;
    int top = 0;
    int dx = FWidth - r.Width();
    int dy = FHeight - r.Height();
    if (FAlignment != taLeftJustify && dx > 0)
        left = FAlignment == taCenter ? dx / 2 : dx;
    if (FLayout != tlTop && dy > 0)
        top = FLayout == tlCenter ? dy / 2 : dy;
    return TRect(left, top, left + r.Width(), top + r.Height());
}

TRect WdgLabel::AccessibleRect()
{
    TPoint origin = HostOrigin();
    TRect text = TextBox();
    RECT r{origin.X + text.Left, origin.Y + text.Top, origin.X + text.Right, origin.Y + text.Bottom};
    RECT box = GsWidget::AccessibleRect().ToRECT();
    RECT inside{};
    // No overlap leaves the empty rectangle.
    IntersectRect(&inside, &r, &box);
    return TRect(inside);
}

void WdgLabel::AdjustSize()
{
    TBitmap scratch;
    TRect r(0, 0, 0, 0);
    FTextEffect->GetTextPainter()->CalcRect(scratch.Canvas(), FText.c_str(), &r, TextFormat());
    SetBounds(FLeft, FTop, r.Width(), r.Height());
}

} // namespace gs
