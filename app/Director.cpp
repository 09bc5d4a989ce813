#include "Director.h"

#include "Common.h"
#include "FallbackArtwork.h"
#include "LanguageLibrary.h"
#include "Panel.h"
#include "ParagraphFit.h"
#include "TApplication.h"
#include "TScreen.h"

#include <oleacc.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

const wchar_t* const PortsText =
    L"When your notebook PC is docked on Portica Dock, your notebook PC's HDMI, VGA, and other display ports are "
    L"disabled. You can use the display port on Portica Dock.";
const wchar_t* const ModelsText =
    L"Portica Dock is compatible with specific Tavrin Notebook PC models. Please check that your notebook PC "
    L"supports Portica Dock.";

// How the second paragraph moves for a language, in units of the factor.
struct LanguageRow {
    const char* Names[9];
    int Move;
    bool JapaneseFont;
};

const LanguageRow LanguageRule[] = {
    {{"TChinese", "SChinese"}, -35, false},
    {{"Danish"}, -15, false},
    {{"Japanese"}, -15, true},
    {{"Poland", "Portuguese", "Brazil", "Spanish", "Dutch", "Turkish", "Vietnamese", "Indonesian", "Croatian"},
     25,
     false},
    {{"Hungarian"}, 30, false},
    {{"French", "German"}, 40, false},
};

// Counts one use of the widget tree, or one window move, for as long as it
// lives.
class Using {
public:
    explicit Using(int& Count) : FCount(Count) { ++FCount; }
    ~Using() { --FCount; }
    Using(const Using&) = delete;
    Using& operator=(const Using&) = delete;

private:
    int& FCount;
};

} // namespace

Director::Director()
{
    FScale = 1;
    InitLanguage();
    FScale = ScaleForScreen(USER_DEFAULT_SCREEN_DPI);
}

Director::~Director()
{
    // Nothing of the form reaches this object any more: assistive
    // technology may still ask the window while it is destroyed, and the
    // background outlives the panel.
    if (PanelForm) {
        if (FAnnounced)
            FAccessible->NotifyClosed(PanelForm->Handle());
        PanelForm->SetOnGetObject(TGetObjectEvent());
        PanelForm->SetOnKeyDown(TKeyDownEvent());
        PanelForm->SetOnKeyUp(TKeyEvent());
        PanelForm->SetOnEnter(TNotifyEvent());
        PanelForm->SetOnExit(TNotifyEvent());
        PanelForm->SetOnPaint(TNotifyEvent());
        PanelForm->SetOnMouseMove(TMouseMoveEvent());
        PanelForm->SetOnMouseDown(TMouseEvent());
        PanelForm->SetOnMouseUp(TMouseEvent());
        PanelForm->SetOnDisplayChange(TNotifyEvent());
        PanelForm->SetOnDpiChange(TDpiChangeEvent());
    }
    if (FBackground) {
        FBackground->SetOnMouseDown(gs::GsMouseEvent());
        FBackground->SetOnKeyDown(gs::GsKeyEvent());
        FBackground->SetOnFocusChange(gs::GsNotifyEvent());
    }
    delete FAccessible;
    FAccessible = nullptr;
    delete FLayeredWindow;
    FLayeredWindow = nullptr;
    // The background is left alone: destroying a child detaches it from its
    // parent, and the background itself lives until the process ends.
    FreeWidgets();
    ReleaseLanguageLibrary();
}

int Director::ScaleForScreen(int Dpi)
{
    return Screen->Width() * USER_DEFAULT_SCREEN_DPI < 3840 * Dpi ? 1 : 2;
}

int Director::Scaled(int Value) const
{
    return static_cast<int>(std::lround(Value * FFactor));
}

void Director::InitLanguage()
{
    char path[260] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path) - 1);
    if (char* slash = std::strrchr(path, '\\'))
        *slash = '\0';
    char languageFolder[300];
    std::snprintf(languageFolder, sizeof(languageFolder), "%s%s", path, "\\Images\\LangFiles\\");
    LoadLanguageLibrary(languageFolder);
    CopyLanguageName(FLanguageName);
}

void Director::Run()
{
    CreateBackground();
    BindEvents();
    {
        Using use(FTreeInUse);
        FDpi = PanelForm->CurrentPPI();
        LayOut();
        CentreForm(PrimaryScreen());
    }
    ApplyDisplayChange();
}

void Director::CreateBackground()
{
    FBackground = new gs::WdgImage();
    FBackground->SetAutoSize(true);
    FBackground->SetHost(PanelForm);
    FBackground->SetAccessibleRole(ROLE_SYSTEM_DIALOG);
    FBackground->SetAccessibleName(Application->Title());
    if (!FLayeredWindow) {
        FLayeredWindow = new gs::TPerPixelLayeredWindowMaker();
        FLayeredWindow->SetUseConstantAlpha(true);
        FLayeredWindow->SetConstantAlpha(245);
        FLayeredWindow->SetPerPixelAlpha(true);
    }
}

void Director::LayOut()
{
    FScale = ScaleForScreen(FDpi);
    FFactor = FScale * FDpi / static_cast<double>(USER_DEFAULT_SCREEN_DPI);
    LoadBackground();
    CreateTexts();
    CreateCloseButton();
    PanelForm->SetClientWidth(FBackground->Width());
    PanelForm->SetClientHeight(FBackground->Height());
}

void Director::LoadBackground()
{
    LoadArtwork(L"sub_bg.jpg", FFactor, FBackground->Picture());
    // Without its picture the panel would have no size at all: it gets a
    // plain one of the artwork's size instead, and stays readable and closable.
    if (FBackground->Picture()->Empty())
        DrawPlainBackground(FBackground->Picture(), Scaled(365), Scaled(300));
}

void Director::CentreForm(const RECT& Area)
{
    PanelForm->SetClientWidth(FBackground->Width());
    PanelForm->SetClientHeight(FBackground->Height());
    PanelForm->SetLeft(Area.left + (Area.right - Area.left) / 2 - PanelForm->ClientWidth() / 2);
    PanelForm->SetTop(Area.top + (Area.bottom - Area.top) / 2 - PanelForm->ClientHeight() / 2);
}

RECT Director::PrimaryScreen() const
{
    return RECT{0, 0, Screen->Width(), Screen->Height()};
}

RECT Director::FormMonitor() const
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    HMONITOR monitor = MonitorFromWindow(PanelForm->Handle(), MONITOR_DEFAULTTONEAREST);
    if (!monitor || !GetMonitorInfoW(monitor, &info))
        return PrimaryScreen();
    return info.rcMonitor;
}

void Director::FreeWidgets()
{
    // Each child leaves the background's list as it goes.
    delete FPortsLabel;
    FPortsLabel = nullptr;
    delete FModelsLabel;
    FModelsLabel = nullptr;
    delete FCloseButton;
    FCloseButton = nullptr;
}

void Director::OnFormDisplayChange(TObject*)
{
    FDisplayChanged = true;
    ApplyDisplayChange();
}

void Director::OnFormDpiChange(TObject*, int Dpi, const TRect& Suggested)
{
    if (Dpi <= 0)
        return;
    FDpiChanged = true;
    FNewDpi = Dpi;
    FSuggested = Suggested;
    ApplyDisplayChange();
}

void Director::ApplyDisplayChange()
{
    // A change that comes while one is laid out (from the modal loop of a
    // message box) is laid out after it. A change of the screen waits for
    // the end of a window move; one of the scaling is laid out at once, so
    // that the window keeps its size under the pointer.
    while (FTreeInUse == 0 && (FDpiChanged || (FDisplayChanged && FMoving == 0))) {
        const bool scaling = FDpiChanged;
        const bool screen = FDisplayChanged && FMoving == 0;
        FDpiChanged = false;
        if (screen)
            FDisplayChanged = false;
        Using use(FTreeInUse);
        const bool closeFocused = FCloseButton && FCloseButton->HoldsFocus();
        // Hover and press start afresh, wherever the pointer is now.
        FBackground->DoMouseLeave();
        gs::GsWidget::ReleaseCaptureChain(FBackground);
        // The button's own press outlives both: it would show again on
        // the next hover.
        if (FCloseButton)
            FCloseButton->CancelPress();
        const int dpi = scaling ? FNewDpi : PanelForm->CurrentPPI();
        const bool rebuild = ScaleForScreen(dpi) * dpi != FScale * FDpi;
        FDpi = dpi;
        if (rebuild) {
            FreeWidgets();
            LayOut();
        }
        if (scaling && FSuggested.Width() > 0 && FSuggested.Height() > 0)
            PanelForm->SetBounds(FSuggested.Left, FSuggested.Top, FBackground->Width(), FBackground->Height());
        else
            CentreForm(scaling && !screen ? FormMonitor() : PrimaryScreen());
        FBackground->Invalidate();
        FAccessible->NotifyLayoutChanged(PanelForm->Handle(), rebuild);
        if (closeFocused)
            FBackground->SetFocusedWidget(FCloseButton);
    }
}

gs::WdgLabel* Director::CreateText(int top, const wchar_t* key)
{
    auto* label = new gs::WdgLabel();
    TFont* font = label->TextEffect()->Font();
    font->SetName(L"Segoe UI");
    font->SetHeight(-Scaled(16));
    font->SetColor(0xFFFFFF);
    label->SetAutoSize(false);
    label->SetLeft(Scaled(20));
    label->SetTop(Scaled(top));
    label->SetWidth(Scaled(325));
    label->SetHeight(Scaled(130));
    label->SetAlignment(gs::taLeftJustify);
    label->SetLayout(gs::tlTop);
    label->SetWordWrap(true);
    label->SetParent(FBackground);
    label->SetText(UnicodeString(TranslateText(key)));
    label->SetVisible(true);
    label->SetOnMouseDown(gs::GsMouseEvent::Bind<&Director::OnDragMouseDown>(this));
    return label;
}

void Director::CreateTexts()
{
    FPortsLabel = CreateText(60, PortsText);
    FModelsLabel = CreateText(155, ModelsText);
    ApplyLanguageRule();
    // Moved, the second paragraph keeps a gap as wide as the design's.
    FitParagraphs(FPortsLabel, FModelsLabel, FModelsLabel->Top(), FBackground->Height(), Scaled(10));
}

void Director::ApplyLanguageRule()
{
    for (const LanguageRow& row : LanguageRule) {
        bool matches = false;
        for (const char* name : row.Names)
            if (name && _stricmp(FLanguageName, name) == 0)
                matches = true;
        if (!matches)
            continue;
        if (row.JapaneseFont) {
            FPortsLabel->TextEffect()->Font()->SetName(L"MS UI Gothic");
            FModelsLabel->TextEffect()->Font()->SetName(L"MS UI Gothic");
        }
        FModelsLabel->SetTop(FModelsLabel->Top() + Scaled(row.Move));
        return;
    }
}

void Director::BindEvents()
{
    PanelForm->SetOnPaint(TNotifyEvent::Bind<&Director::OnFormPaint>(this));
    PanelForm->SetOnMouseMove(TMouseMoveEvent::Bind<&Director::OnFormMouseMove>(this));
    PanelForm->SetOnMouseDown(TMouseEvent::Bind<&Director::OnFormMouseDown>(this));
    PanelForm->SetOnMouseUp(TMouseEvent::Bind<&Director::OnFormMouseUp>(this));
    FBackground->SetOnMouseDown(gs::GsMouseEvent::Bind<&Director::OnDragMouseDown>(this));
    PanelForm->SetOnKeyDown(TKeyDownEvent::Bind<&Director::OnFormKeyDown>(this));
    PanelForm->SetOnKeyUp(TKeyEvent::Bind<&Director::OnFormKeyUp>(this));
    PanelForm->SetOnEnter(TNotifyEvent::Bind<&Director::OnFormEnter>(this));
    PanelForm->SetOnExit(TNotifyEvent::Bind<&Director::OnFormExit>(this));
    FBackground->SetHostFocused(GetFocus() == PanelForm->Handle());
    FBackground->SetOnKeyDown(gs::GsKeyEvent::Bind<&Director::OnPanelKeyDown>(this));
    FBackground->SetOnFocusChange(gs::GsNotifyEvent::Bind<&Director::OnPanelFocusChange>(this));
    if (!FAccessible)
        FAccessible = new gs::GsAccessible(FBackground);
    PanelForm->SetOnGetObject(TGetObjectEvent::Bind<&Director::OnFormGetObject>(this));
    PanelForm->SetOnDisplayChange(TNotifyEvent::Bind<&Director::OnFormDisplayChange>(this));
    PanelForm->SetOnDpiChange(TDpiChangeEvent::Bind<&Director::OnFormDpiChange>(this));
}

void Director::CreateCloseButton()
{
    const wchar_t* const names[4] = {L"close_normal.png", L"close_click.png", L"close_hover.png", L""};
    FCloseButton = CreateImageButton(names, FFactor);
    DrawMissingCloseLooks(FCloseButton->Appearance(), Scaled(44));
    FCloseButton->SetLeft(Scaled(321));
    FCloseButton->SetTop(0);
    FCloseButton->SetOnClick(gs::GsNotifyEvent::Bind<&Director::OnCloseClick>(this));
    FCloseButton->SetOnKeyDown(gs::GsKeyEvent::Bind<&Director::OnPanelKeyDown>(this));
    FCloseButton->SetAccessibleName(UnicodeString(TranslateText(L"Close")));
    FCloseButton->SetAccessibleDefaultAction(UnicodeString(TranslateText(L"Press")));
    FCloseButton->SetVisible(true);
    FCloseButton->SetParent(FBackground);
}

void Director::OnFormPaint(TObject*)
{
    TBitmap frame;
    frame.SetPixelFormat(pf32bit);
    frame.Canvas()->Brush()->SetColor(clBlack);
    frame.SetWidth(FBackground->Width());
    frame.SetHeight(FBackground->Height());
    FBackground->RenderTo(&frame);
    FLayeredWindow->Update(PanelForm, &frame);
    // The first frame on the screen opens the dialog for assistive
    // technology.
    if (!FAnnounced && IsWindowVisible(PanelForm->Handle())) {
        FAnnounced = true;
        FAccessible->NotifyShown(PanelForm->Handle());
    }
}

void Director::OnFormMouseDown(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    {
        Using use(FTreeInUse);
        FBackground->DispatchMouseDown(Button, Shift, X, Y);
    }
    // The move starts once no widget is in the middle of routing the press:
    // a change of scaling during the move builds the widgets again.
    if (FDragRequested)
        Drag();
    ApplyDisplayChange();
}

void Director::OnFormMouseMove(TObject*, TShiftState Shift, int X, int Y)
{
    FBackground->DispatchMouseMove(Shift, X, Y);
}

void Director::OnFormMouseUp(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FBackground->DispatchMouseUp(Button, Shift, X, Y);
}

void Director::OnDragMouseDown(gs::GsWidget*, TMouseButton Button, TShiftState, int, int)
{
    if (Button == mbLeft)
        FDragRequested = true;
}

void Director::Drag()
{
    FDragRequested = false;
    Using moving(FMoving);
    ReleaseCapture();
    // The system's move loop runs until the button is released.
    SendMessageW(PanelForm->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void Director::OnCloseClick(gs::GsWidget* Sender)
{
    if (Sender == FCloseButton)
        Application->Terminate();
}

void Director::OnFormKeyDown(TObject*, WORD& Key, TShiftState Shift, bool Repeat)
{
    FBackground->DispatchKeyDown(Key, Shift, Repeat);
}

void Director::OnFormKeyUp(TObject*, WORD& Key, TShiftState Shift)
{
    FBackground->DispatchKeyUp(Key, Shift);
}

void Director::OnFormEnter(TObject*)
{
    FBackground->SetHostFocused(true);
    // The system tells of the window's focus; a focused widget is ours.
    if (FBackground->FocusedWidget())
        FAccessible->NotifyFocus(PanelForm->Handle());
}

void Director::OnFormExit(TObject*)
{
    FBackground->SetHostFocused(false);
}

void Director::OnFormGetObject(TObject*, WPARAM wParam, LPARAM lParam, LRESULT& Result)
{
    Result = FAccessible->AnswerGetObject(PanelForm->Handle(), wParam, lParam);
}

void Director::OnPanelKeyDown(gs::GsWidget*, int Key, TShiftState)
{
    if (Key == VK_ESCAPE)
        OnCloseClick(FCloseButton);
}

void Director::OnPanelFocusChange(gs::GsWidget*)
{
    FAccessible->NotifyFocus(PanelForm->Handle());
}
