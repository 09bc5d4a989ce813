#pragma once
// The pictures a control is drawn from, one per visual state.

#include "TBitmap.h"

namespace gs {

class GsCtrlAppearance : public TPersistent {
public:
    // The picture to show for a state index.
    virtual TBitmap* GetBitmap(unsigned Index) = 0;
};

} // namespace gs
