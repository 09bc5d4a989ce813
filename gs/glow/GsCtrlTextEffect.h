#pragma once
// The base of per-control text effects: hands out the painter to draw a
// control's text with in each visual state.

#include "GsButtonState.h"
#include "TPersistent.h"
#include "TTextPainter.h"

namespace gs {

class GsCtrlTextEffect : public TPersistent {
public:
    GsCtrlTextEffect() = default;

    // State: a GsButtonState.
    virtual TTextPainter* GetStateTextPainter(int State) = 0;

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& value) { FOnChange = value; }

protected:
    void Changed();

private:
    TNotifyEvent FOnChange;
};

} // namespace gs
