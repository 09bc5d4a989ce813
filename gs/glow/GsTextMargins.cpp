#include "GsTextMargins.h"

namespace gs {

void GsTextMargins::SetLeft(int value)
{
    FLeft = value;
    Changed();
}

void GsTextMargins::SetRight(int value)
{
    FRight = value;
    Changed();
}

void GsTextMargins::SetTop(int value)
{
    FTop = value;
    Changed();
}

void GsTextMargins::SetBottom(int value)
{
    FBottom = value;
    Changed();
}

void GsTextMargins::Changed()
{
    FOnChange(this);
}

void GsTextMargins::AssignTo(TPersistent* Dest)
{
    auto* target = dynamic_cast<GsTextMargins*>(Dest);
    if (!target) {
        TPersistent::AssignTo(Dest);
        return;
    }
    target->FLeft = FLeft;
    target->FTop = FTop;
    target->FRight = FRight;
    target->FBottom = FBottom;
    target->Changed();
}

} // namespace gs
