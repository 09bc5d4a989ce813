// Room for the panel's paragraphs with a font wider than "Segoe UI".
#include <gtest/gtest.h>

#include "ParagraphFit.h"
#include "support/PanelTexts.h"

namespace {

// The two paragraphs as the panel lays them out at its design size.
struct Paragraphs {
    gs::WdgLabel First, Second;
    explicit Paragraphs(int pixels)
    {
        for (gs::WdgLabel* label : {&First, &Second}) {
            label->TextEffect()->Font()->SetName(L"DejaVu Sans Mono");
            label->TextEffect()->Font()->SetHeight(-pixels);
            label->SetBounds(20, label == &First ? 60 : 155, 325, 130);
            label->SetWordWrap(true);
        }
        First.SetText(testsupport::PortsKey);
        Second.SetText(testsupport::ModelsKey);
    }
    int FirstBottom() { return First.Top() + First.TextBox().Height(); }
};

} // namespace

TEST(FitParagraphs, AWiderFontMovesTheSecondParagraphDownOrMakesBothSmaller)
{
    Paragraphs moved(16);
    const int firstBottom = moved.FirstBottom();
    ASSERT_GT(firstBottom, 155) << "the wide font reaches the second paragraph";
    FitParagraphs(&moved.First, &moved.Second, 155, 300, 10);
    EXPECT_EQ(firstBottom + 10, moved.Second.Top());
    EXPECT_EQ(-16, moved.Second.TextEffect()->Font()->Height()) << "room enough without a smaller font";

    Paragraphs smaller(22);
    FitParagraphs(&smaller.First, &smaller.Second, 155, 300, 10);
    EXPECT_LT(-22, smaller.Second.TextEffect()->Font()->Height());
    EXPECT_LE(smaller.FirstBottom(), smaller.Second.Top());
    EXPECT_LE(smaller.Second.Top() + smaller.Second.TextBox().Height(), 300);
    EXPECT_LE(smaller.First.TextBox().Height(), smaller.First.Height()) << "the first text is cut off";
}
