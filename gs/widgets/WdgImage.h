#pragma once
// A widget that shows one picture at its own size.

#include "GsWidget.h"

namespace gs {

class WdgImage : public GsWidget {
public:
    WdgImage();
    ~WdgImage() override;

    void Paint(TBitmap* Target, const TRect& Rect) override;

    // The owned picture, to be loaded in place.
    TBitmap* Picture() const { return FPicture; }
    bool AutoSize() const { return FAutoSize; }
    // Turning AutoSize on fits the widget to the picture at once.
    void SetAutoSize(bool Value);
    // Gives the widget the picture's size (and grows the buffer with it).
    void FitToPicture();

private:
    // The picture changed: with AutoSize, follow its size unless it is empty.
    void PictureChanged(TObject* Sender);

    TBitmap* FPicture;
    bool FAutoSize = false;
};

} // namespace gs
