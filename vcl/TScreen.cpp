#include "TScreen.h"

namespace {
TScreen TheScreen;
}

TScreen* Screen = &TheScreen;

int TScreen::Width() const
{
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const
{
    return GetSystemMetrics(SM_CYSCREEN);
}
