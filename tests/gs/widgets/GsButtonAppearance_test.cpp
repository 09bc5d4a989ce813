// A button's state pictures: fallbacks, change notification and copying.

#include "GsButtonAppearance.h"

#include "Exceptions.h"
#include "TFont.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace gs;

namespace {

struct Notifications {
    std::vector<int> Indices;
    std::vector<TObject*> Senders;
    void Changed(TObject* sender, int index)
    {
        Senders.push_back(sender);
        Indices.push_back(index);
    }
};

void Load(TBitmap* b, int w, int h)
{
    b->SetPixelFormat(pf32bit);
    b->SetSize(w, h);
}

std::string Describe(const std::vector<int>& v)
{
    std::string s;
    for (int i : v)
        s += std::to_string(i) + " ";
    return s;
}

} // namespace

TEST(GsButtonAppearance, StartsWithSixDistinctEmptyPictures)
{
    GsButtonAppearance a;
    TBitmap* all[] = {a.Raised(), a.Sunken(), a.Hovered(), a.Disabled(), a.Focused(), a.Active()};
    for (int i = 0; i < 6; ++i) {
        ASSERT_NE(nullptr, all[i]) << "state " << i;
        EXPECT_TRUE(IsBitmapEmpty(all[i])) << "state " << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(all[j], all[i]) << "states " << j << " and " << i;
    }
}

TEST(GsButtonAppearance, IsBitmapEmptyWantsBothSides)
{
    TBitmap b;
    EXPECT_TRUE(IsBitmapEmpty(nullptr));
    EXPECT_TRUE(IsBitmapEmpty(&b));
    Load(&b, 0, 10);
    EXPECT_TRUE(IsBitmapEmpty(&b)) << "0 x 10";
    Load(&b, 10, 0);
    EXPECT_TRUE(IsBitmapEmpty(&b)) << "10 x 0";
    Load(&b, 1, 1);
    EXPECT_FALSE(IsBitmapEmpty(&b));
}

TEST(GsButtonAppearance, MissingPicturesFallBackToHoveredOrRaised)
{
    GsButtonAppearance a;
    Load(a.Raised(), 4, 4);
    Load(a.Sunken(), 4, 4);
    Load(a.Hovered(), 4, 4);
    EXPECT_EQ(a.Raised(), a.GetBitmap(0));
    EXPECT_EQ(a.Sunken(), a.GetBitmap(1));
    EXPECT_EQ(a.Hovered(), a.GetBitmap(2));
    EXPECT_EQ(a.Raised(), a.GetBitmap(3)) << "Disabled falls back to Raised";
    EXPECT_EQ(a.Hovered(), a.GetBitmap(4)) << "Focused falls back to Hovered";
    EXPECT_EQ(a.Hovered(), a.GetBitmap(5)) << "Active falls back to Hovered";

    GsButtonAppearance only;
    Load(only.Raised(), 4, 4);
    EXPECT_EQ(only.Raised(), only.GetBitmap(1)) << "Sunken -> Hovered -> Raised";
    EXPECT_EQ(only.Raised(), only.GetBitmap(4));
    EXPECT_EQ(only.Raised(), only.GetBitmap(2));

    GsButtonAppearance none;
    for (unsigned i = 0; i < 6; ++i)
        EXPECT_EQ(none.Raised(), none.GetBitmap(i)) << "all empty: Raised, empty too; state " << i;

    Load(a.Disabled(), 2, 2);
    EXPECT_EQ(a.Disabled(), a.GetBitmap(3)) << "a picture of its own wins";
}

TEST(GsButtonAppearance, OutOfRangeIndicesMeanRaised)
{
    GsButtonAppearance a;
    Load(a.Raised(), 4, 4);
    Load(a.Hovered(), 4, 4);
    EXPECT_EQ(a.Raised(), a.GetBitmap(6));
    EXPECT_EQ(a.Raised(), a.GetBitmap(static_cast<unsigned>(-1))) << "negative indices compare as unsigned";
    EXPECT_EQ(a.Raised(), a.GetBitmap(0x80000000u));
}

// Fallbacks go through the virtual GetBitmap.
TEST(GsButtonAppearance, FallbackCallsGoThroughTheVirtualOperation)
{
    struct Counting : GsButtonAppearance {
        std::vector<int> Calls;
        TBitmap* GetBitmap(unsigned index) override
        {
            Calls.push_back(static_cast<int>(index));
            return GsButtonAppearance::GetBitmap(index);
        }
    } a;
    a.GetBitmap(5);
    EXPECT_EQ("5 2 0 ", Describe(a.Calls));
}

TEST(GsButtonAppearance, PropertyWriteCopiesAndNotifiesTwice)
{
    Notifications n;
    GsButtonAppearance a(GsAppearanceChangeEvent::Bind<&Notifications::Changed>(&n));
    TBitmap value;
    Load(&value, 7, 3);
    a.SetActive(&value);
    EXPECT_EQ("5 5 ", Describe(n.Indices)) << "the bitmap's change, then the property's";
    EXPECT_EQ(&a, n.Senders[0]);
    EXPECT_EQ(&a, n.Senders[1]);
    EXPECT_NE(&value, a.Active()) << "a copy, not the value";
    EXPECT_EQ(7, a.Active()->Width());
    EXPECT_EQ(3, a.Active()->Height());
    EXPECT_TRUE(IsBitmapEmpty(a.Focused())) << "Focused unchanged";

    n.Indices.clear();
    a.SetRaised(&value);
    a.SetSunken(&value);
    a.SetHovered(&value);
    a.SetDisabled(&value);
    a.SetFocused(&value);
    EXPECT_EQ("0 0 1 1 2 2 3 3 4 4 ", Describe(n.Indices));
}

TEST(GsButtonAppearance, ChangeMadeOnAnOwnedBitmapNotifiesWithItsIndex)
{
    Notifications n;
    GsButtonAppearance a(GsAppearanceChangeEvent::Bind<&Notifications::Changed>(&n));
    TBitmap picture;
    Load(&picture, 5, 5);
    a.Hovered()->Assign(&picture);
    a.Disabled()->SetSize(2, 2);
    EXPECT_EQ("2 3 ", Describe(n.Indices));
}

TEST(GsButtonAppearance, AssignCopiesAllSixPicturesNotifyingOncePerPicture)
{
    GsButtonAppearance source;
    Load(source.Raised(), 10, 1);
    Load(source.Sunken(), 11, 1);
    Load(source.Hovered(), 12, 1);
    Load(source.Disabled(), 13, 1);
    Load(source.Focused(), 14, 1);
    Load(source.Active(), 15, 1);

    Notifications n;
    GsButtonAppearance dest(GsAppearanceChangeEvent::Bind<&Notifications::Changed>(&n));
    dest.Assign(&source);
    EXPECT_EQ("0 1 2 3 4 5 ", Describe(n.Indices));
    TBitmap* copies[] = {dest.Raised(), dest.Sunken(), dest.Hovered(), dest.Disabled(), dest.Focused(), dest.Active()};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(10 + i, copies[i]->Width()) << "state " << i;
    EXPECT_NE(source.Raised(), dest.Raised()) << "pictures are copied, not shared";
}

TEST(GsButtonAppearance, AssignToAnotherClassRaisesInvalidCastBeforeCopying)
{
    GsButtonAppearance a;
    Load(a.Raised(), 3, 3);
    TFont font;
    UnicodeString name = font.Name();
    EXPECT_THROW(a.AssignTo(&font), EInvalidCast);
    EXPECT_EQ(name, font.Name());

    // Another appearance class that is no button appearance.
    struct Other : GsCtrlAppearance {
        TBitmap* GetBitmap(unsigned) override { return nullptr; }
    } other;
    EXPECT_THROW(other.Assign(&a), EInvalidCast) << "Assign ends in the source's AssignTo";
}

TEST(GsButtonAppearance, DestructionRaisesNoChange)
{
    Notifications n;
    {
        GsButtonAppearance a(GsAppearanceChangeEvent::Bind<&Notifications::Changed>(&n));
        Load(a.Raised(), 2, 2);
        n.Indices.clear();
    }
    EXPECT_EQ("", Describe(n.Indices));
}
