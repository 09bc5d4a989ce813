#include <gtest/gtest.h>

#include "Exceptions.h"
#include "GsButtonOuterGlowTextEffect.h"
#include "GsTextMargins.h"
#include "GsTextRadiationEffect.h"
#include "TOuterGlowTextPainter.h"
#include "gs/glow/GlowTestSupport.h"

using namespace gs;
using namespace glowtest;

namespace {

struct ChangeCounter {
    int Count = 0;
    TObject* LastSender = nullptr;
    void Changed(TObject* Sender)
    {
        ++Count;
        LastSender = Sender;
    }
    TNotifyEvent Event() { return TNotifyEvent::Bind<&ChangeCounter::Changed>(this); }
};

std::string Str(Pixel p)
{
    return "(" + std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]) + "," +
           std::to_string(p[3]) + ")";
}

std::unique_ptr<TBitmap> Transparent(int w, int h)
{
    auto b = std::make_unique<TBitmap>();
    b->Canvas()->Brush()->SetColor(clBlack);
    b->SetPixelFormat(pf32bit);
    b->SetSize(w, h);
    return b;
}

} // namespace

TEST(GsTextRadiationEffect, StartsWithTheInitialValues)
{
    GsTextRadiationEffect e;
    EXPECT_EQ(255, e.Opacity());
    EXPECT_EQ(0u, e.Radius());
    EXPECT_EQ(0, e.Spread());
    EXPECT_EQ(0x00BFFFFF, e.Color());
    EXPECT_EQ(0, e.RadiationX());
    EXPECT_EQ(0, e.RadiationY());
    EXPECT_EQ(0, e.OffsetX());
    EXPECT_EQ(0, e.OffsetY());
    ASSERT_NE(nullptr, e.Font());
    EXPECT_EQ(TFont().Name(), e.Font()->Name()) << "the framework's default font";
}

TEST(GsTextRadiationEffect, SettersReportOnlyRealChanges)
{
    ChangeCounter counter;
    GsTextRadiationEffect e(counter.Event());
    e.SetOpacity(255);
    e.SetRadius(0);
    e.SetColor(0x00BFFFFF);
    e.SetOffsetX(0);
    EXPECT_EQ(0, counter.Count) << "equal values";
    e.SetOpacity(128);
    EXPECT_EQ(1, counter.Count);
    EXPECT_EQ(&e, counter.LastSender);
    e.SetRadius(4);
    e.SetSpread(10);
    e.SetColor(clWhite);
    e.SetRadiationX(2);
    e.SetRadiationY(1);
    e.SetOffsetX(3);
    e.SetOffsetY(-3);
    EXPECT_EQ(8, counter.Count);
    TOuterGlowTextPainter* glow = e.GlowPainter();
    EXPECT_EQ(128, glow->Opacity) << "the glow values live in the glow painter";
    EXPECT_EQ(4u, glow->Radius);
    EXPECT_EQ(10, glow->Spread);
    EXPECT_EQ(clWhite, glow->Color);
    EXPECT_EQ(2, glow->Radiation.X);
    EXPECT_EQ(1, glow->Radiation.Y);
}

TEST(GsTextRadiationEffect, FontSetterCopiesAnotherFontObject)
{
    ChangeCounter counter;
    GsTextRadiationEffect e(counter.Event());
    TFont* own = e.Font();
    e.SetFont(own);
    EXPECT_EQ(0, counter.Count) << "the own font";
    TFont other;
    other.SetName(L"Arial");
    other.SetColor(clWhite);
    e.SetFont(&other);
    EXPECT_EQ(1, counter.Count);
    EXPECT_EQ(own, e.Font()) << "the font object is never replaced";
    EXPECT_EQ(UnicodeString(L"Arial"), e.Font()->Name());
    EXPECT_EQ(clWhite, e.Font()->Color());
}

TEST(GsTextRadiationEffect, AssignCopiesEverythingWithOneChangeOnTheTarget)
{
    ChangeCounter sourceCounter, targetCounter;
    GsTextRadiationEffect source(sourceCounter.Event());
    GsTextRadiationEffect target(targetCounter.Event());
    source.SetOpacity(7);
    source.SetRadius(5);
    source.SetSpread(9);
    source.SetColor(0x00010203);
    source.SetRadiationX(-1);
    source.SetRadiationY(2);
    source.SetOffsetX(3);
    source.SetOffsetY(4);
    source.Font()->SetName(L"Arial");
    sourceCounter.Count = 0;
    target.Assign(&source);
    EXPECT_EQ(1, targetCounter.Count);
    EXPECT_EQ(&target, targetCounter.LastSender);
    EXPECT_EQ(0, sourceCounter.Count);
    EXPECT_EQ(7, target.Opacity());
    EXPECT_EQ(5u, target.Radius());
    EXPECT_EQ(9, target.Spread());
    EXPECT_EQ(0x00010203, target.Color());
    EXPECT_EQ(-1, target.RadiationX());
    EXPECT_EQ(2, target.RadiationY());
    EXPECT_EQ(3, target.OffsetX());
    EXPECT_EQ(4, target.OffsetY());
    EXPECT_EQ(UnicodeString(L"Arial"), target.Font()->Name());
    EXPECT_NE(source.Font(), target.Font());
}

TEST(GsTextRadiationEffect, AssignBetweenUnrelatedClassesRaisesTheFrameworkError)
{
    GsTextRadiationEffect e;
    GsTextMargins m;
    TFont f;
    EXPECT_THROW(e.Assign(&m), EConvertError);
    EXPECT_THROW(m.Assign(&e), EConvertError);
    EXPECT_THROW(f.Assign(&e), EConvertError);
}

TEST(GsTextMargins, EverySetterReportsAChangeAndAssignReportsOne)
{
    ChangeCounter counter;
    GsTextMargins m;
    m.SetOnChange(counter.Event());
    m.SetLeft(0);
    EXPECT_EQ(1, counter.Count) << "also the same value";
    m.SetRight(2);
    m.SetTop(3);
    m.SetBottom(4);
    EXPECT_EQ(4, counter.Count);
    m.SetLeft(1);
    ChangeCounter targetCounter;
    GsTextMargins target;
    target.SetOnChange(targetCounter.Event());
    target.Assign(&m);
    EXPECT_EQ(1, targetCounter.Count);
    EXPECT_EQ(1, target.Left());
    EXPECT_EQ(2, target.Right());
    EXPECT_EQ(3, target.Top());
    EXPECT_EQ(4, target.Bottom());
}

TEST(GsButtonOuterGlowTextEffect, FirstReadsOfTheStatesReportTheirInitialisation)
{
    ChangeCounter counter;
    GsButtonOuterGlowTextEffect b;
    b.SetOnChange(counter.Event());
    b.Sunken();
    EXPECT_EQ(2, counter.Count) << "first Sunken: two offsets";
    EXPECT_EQ(&b, counter.LastSender) << "relayed as a change of the button effect";
    b.Sunken();
    EXPECT_EQ(2, counter.Count) << "second Sunken";
    b.Hovered();
    b.Disabled();
    b.Focused();
    b.Active();
    EXPECT_EQ(6, counter.Count) << "one copy each";
    b.Hovered()->SetRadius(3);
    EXPECT_EQ(7, counter.Count) << "a state's change";
    b.Raised()->SetRadius(3);
    EXPECT_EQ(8, counter.Count) << "Raised's change";
}

TEST(GsButtonOuterGlowTextEffect, SunkenTakesRaisedsFontButNotItsGlow)
{
    GsButtonOuterGlowTextEffect b;
    b.Raised()->SetRadius(6);
    b.Raised()->SetOpacity(10);
    b.Raised()->SetColor(clWhite);
    b.Raised()->Font()->SetName(L"Arial");
    GsTextRadiationEffect* s = b.Sunken();
    EXPECT_EQ(255, s->Opacity());
    EXPECT_EQ(0u, s->Radius());
    EXPECT_EQ(0x00BFFFFF, s->Color());
    EXPECT_EQ(UnicodeString(L"Arial"), s->Font()->Name());
    EXPECT_EQ(2, s->OffsetX());
    EXPECT_EQ(2, s->OffsetY());
}

TEST(GsButtonOuterGlowTextEffect, DisabledIsASnapshotOfRaisedInGrayText)
{
    GsButtonOuterGlowTextEffect b;
    b.Raised()->SetRadius(6);
    b.Raised()->Font()->SetColor(clWhite);
    GsTextRadiationEffect* d = b.Disabled();
    EXPECT_EQ(6u, d->Radius());
    EXPECT_EQ(clGrayText, d->Font()->Color());
    EXPECT_EQ(clWhite, b.Raised()->Font()->Color());
    b.Raised()->SetRadius(1);
    EXPECT_EQ(6u, d->Radius()) << "later changes of Raised do not reach it";
    EXPECT_EQ(1u, b.Hovered()->Radius()) << "a later first read copies the Raised of then";
}

TEST(GsButtonOuterGlowTextEffect, StatePaintersAndUnknownStates)
{
    ChangeCounter counter;
    GsButtonOuterGlowTextEffect b;
    b.SetOnChange(counter.Event());
    EXPECT_EQ(b.Raised()->GetTextPainter(), b.GetStateTextPainter(0));
    EXPECT_EQ(b.Raised()->GetTextPainter(), b.GetStateTextPainter(7));
    EXPECT_EQ(b.Raised()->GetTextPainter(), b.GetStateTextPainter(-1));
    EXPECT_EQ(0, counter.Count);
    EXPECT_EQ(b.Sunken()->GetTextPainter(), b.GetStateTextPainter(1));
    EXPECT_EQ(2, counter.Count) << "reading through the painter counts as a read";
    EXPECT_EQ(b.Hovered()->GetTextPainter(), b.GetStateTextPainter(2));
    EXPECT_EQ(b.Disabled()->GetTextPainter(), b.GetStateTextPainter(3));
    EXPECT_EQ(b.Focused()->GetTextPainter(), b.GetStateTextPainter(4));
    EXPECT_EQ(b.Active()->GetTextPainter(), b.GetStateTextPainter(5));
}

TEST(GsButtonOuterGlowTextEffect, StateSettersCopyAndAssignCopiesEveryState)
{
    GsButtonOuterGlowTextEffect a;
    GsTextRadiationEffect given;
    given.SetRadius(9);
    a.SetHovered(&given);
    EXPECT_NE(&given, a.Hovered());
    EXPECT_EQ(9u, a.Hovered()->Radius());
    a.SetHovered(a.Hovered());
    EXPECT_EQ(9u, a.Hovered()->Radius());
    a.SetRaised(&given);
    EXPECT_NE(&given, a.Raised()) << "Raised stays the button effect's own";
    EXPECT_EQ(9u, a.Raised()->Radius());
    a.Sunken()->SetOffsetX(5);

    GsButtonOuterGlowTextEffect b;
    b.Assign(&a);
    EXPECT_EQ(9u, b.Raised()->Radius());
    EXPECT_EQ(9u, b.Hovered()->Radius());
    EXPECT_EQ(5, b.Sunken()->OffsetX());
    EXPECT_EQ(clGrayText, b.Disabled()->Font()->Color());
    GsTextMargins m;
    EXPECT_THROW(b.Assign(&m), EConvertError);
}

TEST(GsOuterGlowTextEffectPainter, PutsTheEffectsFontOnTheTarget)
{
    GsTextRadiationEffect e;
    UseFont(e.Font(), -20);
    e.Font()->SetColor(clWhite);
    auto b = Transparent(120, 40);
    TRect r(0, 0, 120, 40);
    e.GetTextPainter()->PaintText(b.get(), L"Hg", &r, DT_LEFT, 0, true);
    EXPECT_EQ(UnicodeString(L"Arial"), b->Canvas()->Font()->Name());
    EXPECT_EQ(-20, b->Canvas()->Font()->Height());

    TRect want(0, 0, 0, 0);
    TTextPainter plain;
    plain.CalcRect(b->Canvas(), L"Hg", &want, DT_LEFT);
    e.SetRadius(2);
    TRect measured(0, 0, 0, 0);
    TBitmap other;
    e.GetTextPainter()->CalcRect(other.Canvas(), L"Hg", &measured, DT_LEFT);
    EXPECT_EQ(want.Width() + 4, measured.Width()) << "measured with the effect's font and glow";
}

TEST(GsOuterGlowTextEffectPainter, OffsetOnABitmapShiftsAndClipsAtTheRectangle)
{
    GsTextRadiationEffect e;
    UseFont(e.Font(), -28);
    e.Font()->SetColor(clWhite);
    const wchar_t* text = L"WWWWWWWWWWWWWWWW";
    TRect r(10, 6, 90, 40);
    auto plain = Transparent(100, 50);
    e.GetTextPainter()->PaintText(plain.get(), text, &r, DT_LEFT | DT_SINGLELINE, 0, true);

    // Marked outside the rectangle, transparent black inside it.
    auto shifted = Transparent(100, 50);
    auto inside = [&r](int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; };
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            if (!inside(x, y))
                Set(*shifted, x, y, Pixel{1, 2, 3, 4});
    e.SetOffsetX(2);
    e.SetOffsetY(2);
    e.GetTextPainter()->PaintText(shifted.get(), text, &r, DT_LEFT | DT_SINGLELINE, 0, true);
    EXPECT_TRUE(TRect(10, 6, 90, 40) == r) << "the rectangle is not changed";

    int glyphs = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            Pixel want{1, 2, 3, 4};
            if (inside(x, y))
                want = inside(x - 2, y - 2) ? Get(*plain, x - 2, y - 2) : Pixel{0, 0, 0, 0};
            glyphs += inside(x, y) && want[3] > 0;
            ASSERT_EQ(Str(want), Str(Get(*shifted, x, y))) << "at " << x << "," << y;
        }
    EXPECT_LT(50, glyphs);
    int cutOff = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        cutOff += Get(*plain, r.Right - 1, y)[3] > 0 || Get(*plain, r.Right - 2, y)[3] > 0;
    EXPECT_LT(0, cutOff) << "the text reaches the right edge, so the shift pushes glyphs past it";
}

TEST(GsOuterGlowTextEffectPainter, OffsetOnACanvasIsIgnored)
{
    GsTextRadiationEffect e;
    UseFont(e.Font(), -20);
    e.Font()->SetColor(clWhite);
    TRect r(5, 5, 115, 45);
    auto a = Transparent(120, 50);
    e.GetTextPainter()->PaintText(a->Canvas(), L"Glow", &r, DT_LEFT, 0, true);
    e.SetOffsetX(2);
    e.SetOffsetY(2);
    auto b = Transparent(120, 50);
    e.GetTextPainter()->PaintText(b->Canvas(), L"Glow", &r, DT_LEFT, 0, true);
    EXPECT_TRUE(Pixels(*a) == Pixels(*b));
    int lit = 0;
    for (const Pixel& p : Pixels(*a))
        lit += p[3] > 0;
    EXPECT_LT(20, lit);
}
