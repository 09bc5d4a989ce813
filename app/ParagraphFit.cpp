#include "ParagraphFit.h"

#include <algorithm>
#include <cstdlib>

namespace {

int TextHeight(gs::WdgLabel* label)
{
    return label->TextBox().Height();
}

bool CanShrink(gs::WdgLabel* label)
{
    return std::abs(label->TextEffect()->Font()->Height()) > MinimumFontPixels;
}

// One pixel less of character (negative) or cell (positive) height.
void Shrink(gs::WdgLabel* label)
{
    TFont* font = label->TextEffect()->Font();
    font->SetHeight(font->Height() < 0 ? font->Height() + 1 : font->Height() - 1);
}

void HoldText(gs::WdgLabel* label, int textHeight)
{
    if (textHeight > label->Height())
        label->SetHeight(textHeight);
}

} // namespace

void FitParagraphs(gs::WdgLabel* First, gs::WdgLabel* Second, int SecondTop, int Bottom, int Gap)
{
    for (;;) {
        const int first = TextHeight(First);
        const int second = TextHeight(Second);
        const int firstBottom = First->Top() + first;
        const int top = firstBottom > SecondTop ? firstBottom + Gap : SecondTop;
        if (top + second <= Bottom || !CanShrink(First) || !CanShrink(Second)) {
            if (top != Second->Top())
                Second->SetTop(top);
            HoldText(First, first);
            HoldText(Second, second);
            return;
        }
        Shrink(First);
        Shrink(Second);
    }
}
