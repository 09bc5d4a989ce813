// The help panel built in this process: the widget tree, its layout at the
// screen's scale, and the second paragraph's place for every language.
#include <gtest/gtest.h>

#include "BuiltPanel.h"
#include "Director.h"
#include "Panel.h"
#include "TApplication.h"
#include "TScreen.h"

#include <oleacc.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include "support/ExeFolder.h"
#include "support/PanelTexts.h"
#include "support/ProcessUsage.h"

namespace {

using testsupport::ExeFolder;
using testsupport::ModelsKey;
using testsupport::PortsKey;

// The run on a 4k screen names the scale it expects, so that a screen of
// the wrong size fails it instead of testing scale 1 again.
int Scale()
{
    if (const char* expected = std::getenv("DIRECTOR_TEST_SCALE"))
        return std::atoi(expected);
    return Screen->Width() < 3840 ? 1 : 2;
}

// The text of the key in a shipped language file beside this program.
std::wstring Translation(const wchar_t* language, const wchar_t* key)
{
    std::wstring file = ExeFolder() + L"\\images\\LangFiles\\" + language + L".ini";
    wchar_t text[4096] = {};
    DWORD count = GetPrivateProfileStringW(L"Translations", key, L"", text, 4096, file.c_str());
    return std::wstring(text, count);
}

// The translation library moved out of the panel's reach, and back.
class NoLanguageLibrary {
public:
    NoLanguageLibrary()
        : FPath(ExeFolder() + L"\\images\\TvMultiLang.dll"), FAside(FPath + L".aside"),
          FMoved(MoveFileExW(FPath.c_str(), FAside.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE)
    {
    }
    ~NoLanguageLibrary()
    {
        if (FMoved)
            MoveFileExW(FAside.c_str(), FPath.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    NoLanguageLibrary(const NoLanguageLibrary&) = delete;
    NoLanguageLibrary& operator=(const NoLanguageLibrary&) = delete;
    bool Moved() const { return FMoved; }

private:
    std::wstring FPath;
    std::wstring FAside;
    bool FMoved;
};

// Height of the label's text as its painter lays it out in its box.
int TextHeight(gs::WdgLabel* label)
{
    TBitmap scratch;
    TRect r(0, 0, label->Width(), 0);
    label->TextEffect()->GetTextPainter()->CalcRect(scratch.Canvas(), label->Text().c_str(), &r, label->TextFormat());
    return r.Height();
}

// A child's place on the screen for assistive technology.
RECT Place(IAccessible* client, LONG id)
{
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = id;
    LONG x = 0, y = 0, w = 0, h = 0;
    client->accLocation(&x, &y, &w, &h, child);
    return RECT{x, y, x + w, y + h};
}

// WM_DPICHANGED as Windows sends it; an empty rectangle is taken as none.
void ChangeDpi(int dpi, RECT suggested = RECT{})
{
    SendMessageW(PanelForm->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

RECT WindowRect()
{
    RECT r{};
    GetWindowRect(PanelForm->Handle(), &r);
    return r;
}

struct LanguageCase {
    const char* Name;
    int ModelsTop; // in units of the scale
    bool Gothic;
};

const LanguageCase Languages[] = {
    {"TChinese", 120, false},   {"SChinese", 120, false}, {"Danish", 140, false},     {"Japanese", 140, true},
    {"japanese", 140, true},    {"Poland", 180, false},   {"Portuguese", 180, false}, {"Brazil", 180, false},
    {"Spanish", 180, false},    {"Dutch", 180, false},    {"Turkish", 180, false},    {"Vietnamese", 180, false},
    {"Indonesian", 180, false}, {"Croatian", 180, false}, {"Hungarian", 185, false},  {"French", 195, false},
    {"GERMAN", 195, false},     {"Chinese", 155, false},  {"English", 155, false},    {"Italian", 155, false},
    {"Korean", 155, false},     {"Russian", 155, false},
};

} // namespace

TEST(Director, BuildsTheTreeAndLaysItOutAtTheScreensScale)
{
    BuiltPanel built("English");
    Director* d = built.Panel();
    ASSERT_NE(nullptr, d);
    int s = Scale();
    EXPECT_EQ(s, d->Scale());
    gs::WdgImage* background = d->Background();
    EXPECT_EQ(0, background->Left());
    EXPECT_EQ(365 * s, background->Width());
    EXPECT_EQ(300 * s, background->Height());
    EXPECT_EQ(PanelForm, background->Host());
    ASSERT_EQ(3, background->ChildCount());
    EXPECT_EQ(d->PortsLabel(), (*background->Children())[0]);
    EXPECT_EQ(d->ModelsLabel(), (*background->Children())[1]);
    EXPECT_EQ(d->CloseButton(), (*background->Children())[2]) << "the button is painted last";

    gs::WdgLabel* ports = d->PortsLabel();
    EXPECT_EQ(20 * s, ports->Left());
    EXPECT_EQ(60 * s, ports->Top());
    EXPECT_EQ(325 * s, ports->Width());
    EXPECT_EQ(130 * s, ports->Height());
    EXPECT_EQ(L"Segoe UI", ports->TextEffect()->Font()->Name());
    EXPECT_EQ(-16 * s, ports->TextEffect()->Font()->Height());
    EXPECT_EQ(0xFFFFFF, ports->TextEffect()->Font()->Color());
    EXPECT_TRUE(ports->WordWrap());
    EXPECT_EQ(0u, ports->TextEffect()->Radius()) << "no glow in this panel";
    EXPECT_NE(std::wstring::npos, ports->Text().find(L"display ports are disabled"));
    gs::WdgLabel* models = d->ModelsLabel();
    EXPECT_EQ(20 * s, models->Left());
    EXPECT_EQ(325 * s, models->Width());
    EXPECT_EQ(130 * s, models->Height());

    gs::WdgButton* close = d->CloseButton();
    EXPECT_EQ(321 * s, close->Left());
    EXPECT_EQ(0, close->Top());
    EXPECT_EQ(44 * s, close->Width()) << "size of the normal picture";
    EXPECT_EQ(44 * s, close->Height());

    EXPECT_EQ(365 * s, PanelForm->ClientWidth());
    EXPECT_EQ(300 * s, PanelForm->ClientHeight());
    EXPECT_EQ(Screen->Width() / 2 - 365 * s / 2, PanelForm->Left());
    EXPECT_EQ(Screen->Height() / 2 - 300 * s / 2, PanelForm->Top());
    EXPECT_TRUE(GetWindowLongW(PanelForm->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(Director, SecondParagraphAndFontFollowTheLanguage)
{
    int s = Scale();
    for (const LanguageCase& language : Languages) {
        BuiltPanel built(language.Name);
        Director* d = built.Panel();
        ASSERT_NE(nullptr, d);
        EXPECT_STREQ(language.Name, d->LanguageName());
        EXPECT_EQ(language.ModelsTop * s, d->ModelsLabel()->Top()) << language.Name;
        EXPECT_EQ(60 * s, d->PortsLabel()->Top()) << language.Name;
        const wchar_t* face = language.Gothic ? L"MS UI Gothic" : L"Segoe UI";
        EXPECT_EQ(face, d->PortsLabel()->TextEffect()->Font()->Name()) << language.Name;
        EXPECT_EQ(face, d->ModelsLabel()->TextEffect()->Font()->Name()) << language.Name;
    }
}

// And each paragraph's accessible place, its text, where a drag left the
// window, at every display scaling (1 to 3 times the design size).
TEST(Director, EveryShippedTranslationFitsThePanelAndItsAccessiblePlace)
{
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    for (const LanguageCase& language : Languages) {
        BuiltPanel built(language.Name);
        Director* d = built.Panel();
        ASSERT_NE(nullptr, d);
        for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
            ChangeDpi(dpi);
            SCOPED_TRACE(std::string(language.Name) + " at " + std::to_string(d->Factor()));
            gs::WdgLabel* ports = d->PortsLabel();
            gs::WdgLabel* models = d->ModelsLabel();
            const double e = d->Factor();
            EXPECT_EQ(std::make_pair(std::lround(20 * e), std::lround(60 * e)),
                      std::make_pair(long(ports->Left()), long(ports->Top())));
            EXPECT_EQ(-std::lround(16 * e), ports->TextEffect()->Font()->Height());
            int portsBottom = ports->Top() + TextHeight(ports);
            int modelsBottom = models->Top() + TextHeight(models);
            EXPECT_LE(portsBottom, models->Top()) << "the paragraphs overlap";
            EXPECT_LE(modelsBottom, d->Background()->Height()) << "the second paragraph leaves the panel";
            EXPECT_LE(TextHeight(ports), ports->Height());
            EXPECT_LE(TextHeight(models), models->Height());

            ASSERT_TRUE(SetWindowPos(PanelForm->Handle(), nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
            IAccessible* client = nullptr;
            ASSERT_EQ(S_OK, AccessibleObjectFromWindow(PanelForm->Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                                       __uuidof(IAccessible), reinterpret_cast<void**>(&client)));
            RECT p = Place(client, 1), m = Place(client, 2);
            EXPECT_EQ((std::make_pair<LONG, LONG>(9 + ports->Top(), 9 + portsBottom)),
                      (std::make_pair(p.top, p.bottom)));
            EXPECT_EQ((std::make_pair<LONG, LONG>(9 + models->Top(), 9 + modelsBottom)),
                      (std::make_pair(m.top, m.bottom)));
            VARIANT hit{};
            client->accHitTest(p.left + 5, p.bottom + 2, &hit);
            EXPECT_EQ(p.bottom + 2 < m.top ? CHILDID_SELF : 2, hit.lVal) << "just below the text";
            client->Release();
        }
    }
    CoUninitialize();
}

// Where Windows suggests a place, as when the window is dragged onto a
// monitor of another scaling, the window takes it with the panel for the
// new scaling; the old widgets and pictures go, the keyboard focus stays.
TEST(Director, AChangeOfScalingTakesTheSuggestedPlaceAndLeavesNothingBehind)
{
    BuiltPanel built("English");
    Director* d = built.Panel();
    ASSERT_NE(nullptr, d);
    d->Background()->SetFocusedWidget(d->CloseButton());
    ChangeDpi(144);
    ChangeDpi(96);
    int gdiBefore = CountGdiHandles();
    const std::pair<int, RECT> changes[] = {{192, RECT{100, 50, 830, 650}},
                                            {96, RECT{200, 100, 200 + 365 * Scale(), 100 + 300 * Scale()}}};
    for (auto [dpi, suggested] : changes) {
        ChangeDpi(dpi, suggested);
        RECT now = WindowRect();
        EXPECT_TRUE(EqualRect(&suggested, &now)) << now.left << "," << now.top << " " << now.right << "," << now.bottom;
        EXPECT_EQ(suggested.right - suggested.left, d->Background()->Width());
    }
    ChangeDpi(144);
    ChangeDpi(96);
    EXPECT_GE(gdiBefore, CountGdiHandles());
    EXPECT_TRUE(d->CloseButton()->HoldsFocus());
}

TEST(Director, PaintPresentsTheWholePanelAndClicksCloseOnlyFromTheButton)
{
    BuiltPanel built("English");
    Director* d = built.Panel();
    ASSERT_NE(nullptr, d);
    d->OnFormMouseDown(PanelForm, mbLeft, ssLeft, 343 * Scale(), 22 * Scale()); // on the close button
    d->OnFormDisplayChange(PanelForm); // the same screen: only centred again
    d->OnFormMouseMove(PanelForm, ssLeft, 343 * Scale(), 22 * Scale());
    d->OnFormPaint(PanelForm);
    EXPECT_EQ(gs::WdgButton::StateHovered, d->CloseButton()->State()) << "the screen change ended the press";
    EXPECT_FALSE(d->CloseButton()->AccessibleState() & STATE_SYSTEM_PRESSED);
    EXPECT_TRUE(GetWindowLongW(PanelForm->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    RECT r;
    GetWindowRect(PanelForm->Handle(), &r);
    EXPECT_EQ(365 * Scale(), r.right - r.left) << "the frame has the background's size";

    d->OnCloseClick(d->Background());
    EXPECT_FALSE(Application->Terminated()) << "a click from another widget is ignored";
}

TEST(Director, TheChosenTranslationReachesTheLabels)
{
    {
        BuiltPanel built("German");
        Director* d = built.Panel();
        ASSERT_NE(nullptr, d);
        const std::wstring ports = Translation(L"German", PortsKey);
        const std::wstring models = Translation(L"German", ModelsKey);
        ASSERT_FALSE(ports.empty() || ports == PortsKey) << "the German file translates the first paragraph";
        EXPECT_EQ(ports, d->PortsLabel()->Text());
        EXPECT_EQ(models, d->ModelsLabel()->Text());
    }
    EXPECT_EQ(nullptr, GetModuleHandleW(L"TvMultiLang.dll")) << "deleting the form released the library";
    NoLanguageLibrary gone;
    ASSERT_TRUE(gone.Moved()) << "error " << GetLastError();
    BuiltPanel built("German");
    Director* d = built.Panel();
    ASSERT_NE(nullptr, d);
    EXPECT_STREQ("", d->LanguageName());
    EXPECT_EQ(std::wstring(PortsKey), d->PortsLabel()->Text());
    EXPECT_EQ(std::wstring(ModelsKey), d->ModelsLabel()->Text());
    EXPECT_EQ(155 * Scale(), d->ModelsLabel()->Top()) << "the default layout";
    EXPECT_EQ(L"Segoe UI", d->ModelsLabel()->TextEffect()->Font()->Name());
}
