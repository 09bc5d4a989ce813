#pragma once
// Composes and drives the help panel shown by the host form: the widget
// tree, its layout by screen size and language (again whenever the screen
// changes), painting into the layered window, mouse and key routing,
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

private:
    // 1 below 3840 pixels of primary screen width, else 2.
    static int ScaleForScreen();
    void InitLanguage();
    // The tree's root, kept for the panel's life: assistive technology
    // holds on to it as the client object.
    void CreateBackground();
    // The panel for the primary screen as it is now: the scale, the
    // artwork and the widgets for it, the form sized to the background and
    // centred. Used at start and whenever the scale changes.
    void LayOut();
    void LoadBackground();
    void CreateTexts();
    void BindEvents();
    void CreateCloseButton();
    void CentreForm();
    // Frees the background's children: the labels and the close button.
    void FreeWidgets();
    // Lays the panel out again when the screen changed, unless the tree is
    // in use: then it is done once that is over.
    void ApplyDisplayChange();
    gs::WdgLabel* CreateText(int top, const wchar_t* key);
    void ApplyLanguageRule();

    char FLanguageName[260] = {};
    int FScale = 1;
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
};
