#pragma once
// The layered-window driver for framework bitmaps.

#include "PerPixelLayeredWindowBase.h"

namespace gs {

class TPerPixelLayeredWindowMaker : public PerPixelLayeredWindowBase {
public:
    HBITMAP GetBitmapHandle(TBitmap* bitmap) override;
};

} // namespace gs
