// The close looks the panel draws for pictures that failed to load: only
// where the appearance's fallbacks end without a picture.
#include <gtest/gtest.h>

#include "FallbackArtwork.h"
#include "WdgButton.h"

#include <cstring>

namespace {

// Width of a state's own picture: 0 none, 30 the loaded one, 44 drawn.
struct Case {
    const char* What;
    bool LoadedRaised, LoadedHovered, LoadedSunken;
    int Raised, Hovered, Sunken;
};

bool SamePixels(TBitmap* a, TBitmap* b)
{
    if (a->Width() != b->Width() || a->Height() != b->Height())
        return false;
    for (int y = 0; y < a->Height(); ++y)
        if (std::memcmp(a->ScanLine(y), b->ScanLine(y), static_cast<size_t>(a->Width()) * 4) != 0)
            return false;
    return true;
}

} // namespace

TEST(DrawMissingCloseLooks, DrawsACrossOnlyWhereTheFallbacksEndWithoutAPicture)
{
    const Case cases[] = {
        {"nothing loaded", false, false, false, 44, 44, 44},     {"only normal loaded", true, false, false, 30, 0, 0},
        {"normal missing", false, true, true, 44, 30, 30},       {"only hover loaded", false, true, false, 44, 30, 0},
        {"only pressed loaded", false, false, true, 44, 44, 30},
    };
    for (const Case& c : cases) {
        gs::WdgButton button;
        gs::GsButtonAppearance* a = button.Appearance();
        TBitmap loaded;
        loaded.SetPixelFormat(pf32bit);
        loaded.SetSize(30, 30);
        if (c.LoadedRaised)
            a->Raised()->Assign(&loaded);
        if (c.LoadedHovered)
            a->Hovered()->Assign(&loaded);
        if (c.LoadedSunken)
            a->Sunken()->Assign(&loaded);
        DrawMissingCloseLooks(a, 44);
        EXPECT_EQ(c.Raised, a->Raised()->Width()) << c.What << ": normal";
        EXPECT_EQ(c.Hovered, a->Hovered()->Width()) << c.What << ": hover";
        EXPECT_EQ(c.Sunken, a->Sunken()->Width()) << c.What << ": pressed";
        EXPECT_EQ(c.Raised, button.Width()) << c.What << ": the button takes the normal look's size";
    }
}

TEST(DrawMissingCloseLooks, NormalHoverAndPressedLooksDiffer)
{
    gs::GsButtonAppearance a;
    DrawMissingCloseLooks(&a, 44);
    EXPECT_FALSE(SamePixels(a.Raised(), a.Hovered())) << "normal and hover";
    EXPECT_FALSE(SamePixels(a.Hovered(), a.Sunken())) << "hover and pressed";
    EXPECT_FALSE(SamePixels(a.Raised(), a.Sunken())) << "normal and pressed";
}
