// The label: text format flags, its own vertical placement of wrapped text,
// auto-sizing and repaint requests. Glyph positions depend on the fonts of
// the Wine prefix, so expected places are measured with DrawTextW.

#include "WidgetTestSupport.h"

#include "WdgLabel.h"

#include <gtest/gtest.h>

using namespace gs;
using namespace widgettest;

namespace {

const wchar_t* const kParagraph = L"Pack my box with five dozen liquor jugs, then wrap it twice.";

// DrawTextW's extent of a text in a font, from a rectangle of the given width.
TRect Measure(TFont* font, const wchar_t* text, int width, UINT format)
{
    TBitmap scratch;
    scratch.Canvas()->Font()->Assign(font);
    RECT r{0, 0, width, 0};
    int height = DrawTextW(scratch.Canvas()->Handle(), text, -1, &r, format | DT_CALCRECT);
    EXPECT_NE(0, height) << "DrawTextW";
    return TRect(r);
}

void Configure(WdgLabel& label, bool wordWrap, TAlignment alignment, TTextLayout layout)
{
    label.SetWordWrap(wordWrap);
    label.SetAlignment(alignment);
    label.SetLayout(layout);
}

// The alpha bytes of a frame, one string a row.
std::vector<std::string> AlphaRows(TBitmap& frame)
{
    std::vector<std::string> rows;
    for (int y = 0; y < frame.Height(); ++y) {
        std::string row;
        for (int x = 0; x < frame.Width(); ++x)
            row += static_cast<char>(AlphaAt(frame, x, y));
        rows.push_back(row);
    }
    return rows;
}

int FirstInkRow(const std::vector<std::string>& rows)
{
    for (size_t y = 0; y < rows.size(); ++y)
        if (rows[y].find_first_not_of('\0') != std::string::npos)
            return static_cast<int>(y);
    return -1;
}

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.SetBounds(0, 0, 200, 220);
        root.SetHost(&host);
        label = new WdgLabel;
        TFont* font = label->TextEffect()->Font();
        font->SetName(L"Tahoma");
        font->SetHeight(-14);
        font->SetColor(clWhite);
        label->SetBounds(10, 5, 160, 130);
        Configure(*label, true, taLeftJustify, tlTop);
        label->SetParent(&root);
    }
    // The label painted alone into a transparent frame.
    std::vector<std::string> Render()
    {
        TBitmap frame;
        NewFrame(frame, 200, 220);
        root.RenderTo(&frame);
        return AlphaRows(frame);
    }

    CountingHost host;
    GsWidget root;
    WdgLabel* label;
};

} // namespace

TEST(WdgLabelFormat, FlagsFollowAlignmentLayoutAndWordWrap)
{
    WdgLabel label;
    struct Row {
        bool wrap;
        TAlignment alignment;
        TTextLayout layout;
        UINT expected;
    } rows[] = {
        {false, taLeftJustify, tlTop, DT_SINGLELINE},
        {false, taRightJustify, tlTop, DT_RIGHT | DT_SINGLELINE},
        {false, taCenter, tlTop, DT_CENTER | DT_SINGLELINE},
        {false, taLeftJustify, tlCenter, DT_VCENTER | DT_SINGLELINE},
        {false, taLeftJustify, tlBottom, DT_BOTTOM | DT_SINGLELINE},
        {true, taLeftJustify, tlTop, DT_WORDBREAK},
        {true, taCenter, tlBottom, DT_CENTER | DT_BOTTOM | DT_WORDBREAK},
        {true, taRightJustify, tlCenter, DT_RIGHT | DT_VCENTER | DT_WORDBREAK},
    };
    for (const Row& row : rows) {
        Configure(label, row.wrap, row.alignment, row.layout);
        EXPECT_EQ(row.expected, label.TextFormat())
            << "wrap " << row.wrap << ", alignment " << int(row.alignment) << ", layout " << int(row.layout);
    }
    EXPECT_EQ(0x20u, DT_SINGLELINE);
    EXPECT_EQ(2u, DT_RIGHT);
    EXPECT_EQ(1u, DT_CENTER);
}

// A box as high as the text plus 80 pixels: centre places the text 40
// pixels lower than top, bottom 80 pixels lower.
TEST_F(LabelTest, WrappedTextIsPlacedVerticallyByTheLabel)
{
    label->SetText(kParagraph);
    TRect extent = Measure(label->TextEffect()->Font(), kParagraph, 160, label->TextFormat());
    ASSERT_GT(extent.Height(), 0);
    ASSERT_LT(extent.Height(), 130) << "room for the test";
    ASSERT_GT(extent.Height(), Measure(label->TextEffect()->Font(), L"Pack", 160, DT_WORDBREAK).Height())
        << "the paragraph wraps to several lines";
    label->SetHeight(extent.Height() + 80);

    std::vector<std::string> top = Render();
    int firstInk = FirstInkRow(top);
    ASSERT_GE(firstInk, 5) << "text drawn from the label's top";

    for (auto [layout, shift] : {std::pair{tlCenter, 40}, std::pair{tlBottom, 80}}) {
        label->SetLayout(layout);
        std::vector<std::string> moved = Render();
        EXPECT_EQ(firstInk + shift, FirstInkRow(moved)) << "layout " << int(layout);
        for (int y = 0; y + shift < 220; ++y)
            ASSERT_EQ(top[y], moved[y + shift]) << "layout " << int(layout) << ": row " << y << " moved by " << shift;
    }
}

TEST_F(LabelTest, OddSpaceIsSplitTruncating)
{
    label->SetText(kParagraph);
    TRect extent = Measure(label->TextEffect()->Font(), kParagraph, 160, label->TextFormat());
    label->SetHeight(extent.Height() + 7);
    int firstInk = FirstInkRow(Render());
    label->SetLayout(tlCenter);
    EXPECT_EQ(firstInk + 3, FirstInkRow(Render())) << "(H - th) / 2 with H - th = 7";
}

TEST_F(LabelTest, TextTallerThanTheBoxIsNotShifted)
{
    label->SetText(kParagraph);
    TRect extent = Measure(label->TextEffect()->Font(), kParagraph, 160, label->TextFormat());
    label->SetHeight(extent.Height() - 4);
    std::vector<std::string> top = Render();
    label->SetLayout(tlBottom);
    EXPECT_EQ(top, Render()) << "bottom";
    label->SetLayout(tlCenter);
    EXPECT_EQ(top, Render()) << "centre";
    label->SetHeight(extent.Height());
    label->SetLayout(tlTop);
    top = Render();
    label->SetLayout(tlBottom);
    EXPECT_EQ(top, Render()) << "exactly as high as the box";
}

TEST_F(LabelTest, TextIsWhitePremultipliedAndTheLabelsEnabledDoesNotChangeIt)
{
    label->SetText(L"Portica");
    TBitmap frame;
    NewFrame(frame, 200, 220);
    root.RenderTo(&frame);
    int ink = 0;
    for (int y = 0; y < 220; ++y)
        for (int x = 0; x < 200; ++x) {
            BYTE a = AlphaAt(frame, x, y);
            if (!a)
                continue;
            ++ink;
            ASSERT_EQ(std::to_string(a) + "," + std::to_string(a) + "," + std::to_string(a) + "," + std::to_string(a),
                      PixelAt(frame, x, y))
                << "white at coverage " << int(a) << " premultiplied, at " << x << "," << y;
            ASSERT_TRUE(x >= 10 && x < 170 && y >= 5 && y < 135) << "ink outside the label at " << x << "," << y;
        }
    EXPECT_GT(ink, 20);
    std::vector<std::string> enabled = AlphaRows(frame);
    label->SetEnabled(false);
    EXPECT_EQ(enabled, Render());
}

TEST_F(LabelTest, EmptyTextDrawsNothing)
{
    EXPECT_EQ(-1, FirstInkRow(Render()));
}

TEST_F(LabelTest, AutoSizeMeasuresFromAZeroWidthRectangle)
{
    label->SetText(L"aa wwwwww b");
    host.Count = 0;
    label->SetAutoSize(true);
    TRect widest = Measure(label->TextEffect()->Font(), L"wwwwww", 0, DT_SINGLELINE);
    TRect all = Measure(label->TextEffect()->Font(), L"aa wwwwww b", 0, DT_WORDBREAK);
    EXPECT_EQ(widest.Width(), label->Width()) << "every word on its own line: the widest word";
    EXPECT_EQ(all.Height(), label->Height()) << "three lines";
    EXPECT_EQ(10, label->Left());
    EXPECT_EQ(5, label->Top());
    EXPECT_EQ(0, host.Count) << "sizing does not repaint";

    label->SetWordWrap(false);
    label->AdjustSize();
    TRect line = Measure(label->TextEffect()->Font(), L"aa wwwwww b", 0, DT_SINGLELINE);
    EXPECT_EQ(line.Width(), label->Width()) << "single line";
    EXPECT_EQ(line.Height(), label->Height());
}

TEST_F(LabelTest, SettingTheSameTextResizesAgainWithoutARepaint)
{
    label->SetText(L"Dock");
    label->SetAutoSize(true);
    int width = label->Width();
    ASSERT_GT(width, 0);
    label->SetWidth(1);
    host.Count = 0;
    label->SetText(L"Dock");
    EXPECT_EQ(width, label->Width()) << "measured again";
    EXPECT_EQ(0, host.Count) << "equal text: no repaint";
    label->SetText(L"Docks");
    EXPECT_EQ(1, host.Count);
    EXPECT_GT(label->Width(), width);
}

TEST_F(LabelTest, SetAutoSizeActsOnChangesOnly)
{
    label->SetText(L"Dock");
    label->SetAutoSize(false);
    EXPECT_EQ(160, label->Width()) << "already off: nothing";
    label->SetAutoSize(true);
    int width = label->Width();
    label->SetWidth(3);
    label->SetAutoSize(true);
    EXPECT_EQ(3, label->Width()) << "already on: not measured again";
    label->SetAutoSize(false);
    label->SetText(L"Dock dock");
    EXPECT_EQ(3, label->Width()) << "off: the size stays";
    EXPECT_GT(width, 3);
}
