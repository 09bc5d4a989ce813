// Text-bearing controls: the text rectangle inside the margins, the control
// text format and the caption's placement, seen through a painter that
// records what it is asked to do.

#include "WdgCustomControl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace gs;

namespace {

// Measures every text as TextHeight pixels high and records paint calls.
class RecordingPainter : public TTextPainter {
public:
    void CalcRect(TCanvas*, const wchar_t*, TRect* rect, UINT format) override
    {
        ++Measured;
        MeasureFormat = format;
        rect->Bottom = rect->Top + TextHeight;
    }
    void PaintText(TBitmap*, const wchar_t* text, TRect* rect, UINT format, int asLayer, bool perPixelAlpha) override
    {
        Painted.push_back(*rect);
        Formats.push_back(format);
        Text = text;
        AsLayer = asLayer;
        PerPixelAlpha = perPixelAlpha;
    }

    int TextHeight = 50;
    int Measured = 0;
    UINT MeasureFormat = 0;
    std::vector<TRect> Painted;
    std::vector<UINT> Formats;
    std::wstring Text;
    int AsLayer = -1;
    bool PerPixelAlpha = false;
};

class TestControl : public WdgCustomControl {
public:
    TTextPainter* PainterForState(int state) override
    {
        States.push_back(state);
        return &Painter;
    }
    RecordingPainter Painter;
    std::vector<int> States;
};

} // namespace

TEST(WdgCustomControl, InitialSettings)
{
    TestControl c;
    EXPECT_FALSE(c.WordWrap());
    EXPECT_EQ(taCenter, c.Alignment());
    EXPECT_EQ(tlCenter, c.Layout());
    ASSERT_NE(nullptr, c.Margins());
    EXPECT_EQ(0, c.Margins()->Left());
    EXPECT_EQ(UINT(DT_CENTER | DT_VCENTER | DT_SINGLELINE), c.TextFormat());
}

TEST(WdgCustomControl, TextRectIsTheAreaInsideTheMargins)
{
    TestControl c;
    c.SetBounds(7, 8, 100, 50);
    EXPECT_EQ(TRect(0, 0, 100, 50), c.TextRect());
    c.Margins()->SetLeft(3);
    c.Margins()->SetTop(4);
    c.Margins()->SetRight(5);
    c.Margins()->SetBottom(6);
    EXPECT_EQ(TRect(3, 4, 95, 44), c.TextRect()) << "relative to the control, not to its position";
}

TEST(WdgCustomControl, SingleLineCaptionsAreAlwaysCentredVertically)
{
    TestControl c;
    struct Row {
        bool wrap;
        TAlignment alignment;
        TTextLayout layout;
        UINT expected;
    } rows[] = {
        {false, taLeftJustify, tlTop, DT_LEFT | DT_SINGLELINE | DT_VCENTER},
        {false, taRightJustify, tlCenter, DT_RIGHT | DT_SINGLELINE | DT_VCENTER},
        {false, taCenter, tlBottom, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_VCENTER},
        {true, taLeftJustify, tlTop, DT_WORDBREAK},
        {true, taRightJustify, tlBottom, DT_RIGHT | DT_BOTTOM | DT_WORDBREAK},
        {true, taCenter, tlCenter, DT_CENTER | DT_VCENTER | DT_WORDBREAK},
    };
    for (const Row& row : rows) {
        c.SetWordWrap(row.wrap);
        c.SetAlignment(row.alignment);
        c.SetLayout(row.layout);
        EXPECT_EQ(row.expected, c.TextFormat())
            << "wrap " << row.wrap << ", alignment " << int(row.alignment) << ", layout " << int(row.layout);
    }
}

TEST(WdgCustomControl, WrappedCaptionIsPlacedInsideTheBox)
{
    TestControl c;
    c.SetBounds(0, 0, 325, 130);
    c.SetText(L"caption");
    c.SetWordWrap(true);
    TBitmap target;
    struct Row {
        TTextLayout layout;
        int textHeight;
        int top;
    } rows[] = {
        {tlTop, 50, 0},     {tlCenter, 50, 40}, {tlBottom, 50, 80},
        {tlCenter, 140, 0}, {tlBottom, 140, 0}, {tlCenter, 51, 39}, // (130 - 51) / 2 = 39.5, truncated
    };
    for (const Row& row : rows) {
        c.SetLayout(row.layout);
        c.Painter.TextHeight = row.textHeight;
        c.Painter.Painted.clear();
        c.DrawCaption(&target, 2);
        ASSERT_EQ(1u, c.Painter.Painted.size());
        EXPECT_EQ(TRect(0, row.top, 325, 130), c.Painter.Painted[0])
            << "layout " << int(row.layout) << ", text " << row.textHeight << " high";
    }
    EXPECT_EQ(UINT(DT_CENTER | DT_VCENTER | DT_WORDBREAK), c.Painter.MeasureFormat) << "measured with the format";
    EXPECT_EQ(L"caption", c.Painter.Text);
    EXPECT_EQ(0, c.Painter.AsLayer) << "composited, not a layer";
    EXPECT_TRUE(c.Painter.PerPixelAlpha);
}

TEST(WdgCustomControl, CaptionUsesTheStatesPainterAndTheMargins)
{
    TestControl c;
    c.SetBounds(0, 0, 100, 130);
    c.Margins()->SetLeft(10);
    c.Margins()->SetTop(5);
    c.Margins()->SetRight(20);
    c.Margins()->SetBottom(25); // box 100 high
    c.SetText(L"x");
    c.SetWordWrap(true);
    c.SetLayout(tlBottom);
    TBitmap target;
    c.DrawCaption(&target, 3);
    EXPECT_EQ(std::vector<int>{3}, c.States);
    ASSERT_EQ(1u, c.Painter.Painted.size());
    EXPECT_EQ(TRect(10, 55, 80, 105), c.Painter.Painted[0]);
}

TEST(WdgCustomControl, SingleLineAndTopCaptionsAreNotMeasured)
{
    TestControl c;
    c.SetBounds(0, 0, 100, 130);
    c.SetText(L"x");
    TBitmap target;
    c.SetLayout(tlBottom);
    c.DrawCaption(&target, 0); // single line: DrawText places it
    c.SetWordWrap(true);
    c.SetLayout(tlTop);
    c.DrawCaption(&target, 0);
    EXPECT_EQ(0, c.Painter.Measured);
    ASSERT_EQ(2u, c.Painter.Painted.size());
    EXPECT_EQ(TRect(0, 0, 100, 130), c.Painter.Painted[0]);
    EXPECT_EQ(UINT(DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_VCENTER), c.Painter.Formats[0]);
    EXPECT_EQ(TRect(0, 0, 100, 130), c.Painter.Painted[1]);
    EXPECT_EQ(UINT(DT_CENTER | DT_WORDBREAK), c.Painter.Formats[1]);
}
