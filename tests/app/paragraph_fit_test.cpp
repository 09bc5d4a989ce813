// Room for the panel's paragraphs when their font draws wider than the one
// the layout was made for: a wide stand-in font instead of "Segoe UI".
#include <gtest/gtest.h>

#include "ParagraphFit.h"
#include "support/PanelTexts.h"

namespace {

// The two paragraphs as the panel lays them out at its design size.
struct Paragraphs {
    gs::WdgLabel First, Second;

    Paragraphs(const wchar_t* face, int pixels)
    {
        int top = 60;
        for (gs::WdgLabel* label : {&First, &Second}) {
            label->TextEffect()->Font()->SetName(face);
            label->TextEffect()->Font()->SetHeight(-pixels);
            label->SetBounds(20, top, 325, 130);
            label->SetWordWrap(true);
            top = 155;
        }
        First.SetText(testsupport::PortsKey);
        Second.SetText(testsupport::ModelsKey);
    }
};

int Bottom(gs::WdgLabel& label)
{
    return label.Top() + label.TextBox().Height();
}

} // namespace

TEST(FitParagraphs, AWiderFontMovesTheSecondParagraphDownOrMakesBothSmaller)
{
    Paragraphs moved(L"DejaVu Sans Mono", 16);
    const int firstBottom = Bottom(moved.First);
    ASSERT_GT(firstBottom, 155) << "the stand-in font reaches the second paragraph";
    FitParagraphs(&moved.First, &moved.Second, 155, 300, 10);
    EXPECT_EQ(firstBottom + 10, moved.Second.Top()) << "a gap below the first paragraph";
    EXPECT_EQ(-16, moved.Second.TextEffect()->Font()->Height()) << "room enough without a smaller font";

    Paragraphs smaller(L"DejaVu Sans Mono", 22);
    FitParagraphs(&smaller.First, &smaller.Second, 155, 300, 10);
    const int pixels = -smaller.First.TextEffect()->Font()->Height();
    EXPECT_GT(22, pixels);
    EXPECT_EQ(-pixels, smaller.Second.TextEffect()->Font()->Height());
    EXPECT_LE(Bottom(smaller.First), smaller.Second.Top());
    EXPECT_LE(Bottom(smaller.Second), 300);
    EXPECT_LE(smaller.First.TextBox().Height(), smaller.First.Height()) << "the first text is cut off";
}
