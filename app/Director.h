#pragma once
// Composes and drives the help panel shown by the host form: the widget
// tree, its layout by screen size, display scaling and language (again
// whenever the screen or its scaling changes), painting into the layered window, mouse and key routing,
// dragging and closing, and what assistive technology is told about the
// panel.

#include "Events.h"
#include "GsAccessible.h"
#include "TBitmap.h"
#include "TPerPixelLayeredWindowMaker.h"
#include "WdgButton.h"
#include "WdgImage.h"
#include "WdgLabel.h"

class Director {
public:
    Director();
    ~Director();
    Director(const Director&) = delete;
    Director& operator=(const Director&) = delete;

    // Builds the panel for the primary screen and binds the form's events.
    void Run();

    int Scale() const { return FScale; }
    // The panel's size against its design: Scale times the monitor's pixels
    // per inch / 96. Every layout number is multiplied by it and rounded.
    double Factor() const { return FFactor; }
    const char* LanguageName() const { return FLanguageName; }
    gs::TPerPixelLayeredWindowMaker* LayeredWindow() const { return FLayeredWindow; }
    gs::WdgImage* Background() const { return FBackground; }
    gs::WdgButton* CloseButton() const { return FCloseButton; }
    gs::WdgLabel* PortsLabel() const { return FPortsLabel; }
    gs::WdgLabel* ModelsLabel() const { return FModelsLabel; }

    void OnFormPaint(TObject* Sender);
    void OnFormMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void OnFormMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void OnFormMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void OnDragMouseDown(gs::GsWidget* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void OnCloseClick(gs::GsWidget* Sender);
    void OnFormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift, bool Repeat);
    void OnFormKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    // The form gained or lost the keyboard focus: the widgets' focus shows
    // and is told only while it has it.
    void OnFormEnter(TObject* Sender);
    void OnFormExit(TObject* Sender);
    void OnFormGetObject(TObject* Sender, WPARAM wParam, LPARAM lParam, LRESULT& Result);
    // Escape, whichever widget has the focus: closes like the close button.
    void OnPanelKeyDown(gs::GsWidget* Sender, int Key, TShiftState Shift);
    void OnPanelFocusChange(gs::GsWidget* Sender);
    // The screen changed: the panel is laid out again for it.
    void OnFormDisplayChange(TObject* Sender);
    // The window's monitor or its scaling changed: the panel is laid out
    // for Dpi and takes the Suggested place, or is centred on its monitor
    // when the rectangle is empty.
    void OnFormDpiChange(TObject* Sender, int Dpi, const TRect& Suggested);

private:
    // 1 below 3840 pixels of primary screen width, counted in pixels of 96
    // per inch, else 2.
    static int ScaleForScreen(int Dpi);
    // A layout number at the panel's factor, rounded to the nearest pixel.
    int Scaled(int Value) const;
    void InitLanguage();
    // The tree's root, kept for the panel's life: assistive technology
    // holds on to it as the client object.
    void CreateBackground();
    // The panel for the primary screen as it is now at FDpi: the scale and
    // factor, the artwork and the widgets for them, the form sized to the
    // background. Used at start and whenever the factor changes.
    void LayOut();
    void LoadBackground();
    void CreateTexts();
    void BindEvents();
    void CreateCloseButton();
    // Sizes the form to the background and centres it in Area.
    void CentreForm(const RECT& Area);
    RECT PrimaryScreen() const;
    RECT FormMonitor() const;
    // Moves the window the way the system moves it by its caption, until
    // the button is released.
    void Drag();
    // Frees the background's children: the labels and the close button.
    void FreeWidgets();
    // Lays the panel out again when the screen or its scaling changed,
    // unless the tree is in use: then it is done once that is over.
    void ApplyDisplayChange();
    gs::WdgLabel* CreateText(int top, const wchar_t* key);
    void ApplyLanguageRule();

    char FLanguageName[260] = {};
    int FScale = 1;
    int FDpi = USER_DEFAULT_SCREEN_DPI;
    double FFactor = 1;
    gs::TPerPixelLayeredWindowMaker* FLayeredWindow = nullptr;
    gs::WdgImage* FBackground = nullptr;
    gs::WdgButton* FCloseButton = nullptr;
    gs::WdgLabel* FPortsLabel = nullptr;
    gs::WdgLabel* FModelsLabel = nullptr;
    gs::GsAccessible* FAccessible = nullptr;
    bool FAnnounced = false;
    // Above 0 while an event is routed through the tree or the panel is
    // being laid out: the modal loops of a window move or of a message box
    // may bring a display change then.
    int FTreeInUse = 0;
    bool FDisplayChanged = false;
    // A press asked for a window move, started once the press is routed.
    bool FDragRequested = false;
    // Above 0 during a window move: a screen change waits for its end, a
    // change of scaling does not.
    int FMoving = 0;
    bool FDpiChanged = false;
    int FNewDpi = USER_DEFAULT_SCREEN_DPI;
    TRect FSuggested;
};
