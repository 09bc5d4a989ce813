#pragma once
// The primary screen.

#include "TObject.h"

class TScreen : public TObject {
public:
    // Pixels of the primary screen, read afresh on every call.
    int Width() const;
    int Height() const;
};

extern TScreen* Screen;
