#pragma once
// Insets of an interactive widget's text rectangle from its edges.

#include "TPersistent.h"

namespace gs {

class GsTextMargins : public TPersistent {
public:
    GsTextMargins() = default;

    // Every setter reports a change, also when the value stays the same.
    int Left() const { return FLeft; }
    void SetLeft(int value);
    int Right() const { return FRight; }
    void SetRight(int value);
    int Top() const { return FTop; }
    void SetTop(int value);
    int Bottom() const { return FBottom; }
    void SetBottom(int value);

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& value) { FOnChange = value; }

    // Copies the four insets into another GsTextMargins and reports one
    // change there.
    void AssignTo(TPersistent* Dest) override;

protected:
    void Changed();

private:
    int FLeft = 0;
    int FRight = 0;
    int FTop = 0;
    int FBottom = 0;
    TNotifyEvent FOnChange;
};

} // namespace gs
