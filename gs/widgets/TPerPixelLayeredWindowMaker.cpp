#include "TPerPixelLayeredWindowMaker.h"

namespace gs {

HBITMAP TPerPixelLayeredWindowMaker::GetBitmapHandle(TBitmap* bitmap)
{
    return bitmap->Handle();
}

} // namespace gs
