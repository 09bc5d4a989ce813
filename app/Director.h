#pragma once
// Composes and drives the help panel shown by the host form: the widget
// tree, its layout by screen size and language, painting into the layered
// window, mouse and key routing, dragging and closing, and what assistive
// technology is told about the panel.

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

    // Builds the panel: background, texts, events, close button.
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

private:
    void InitLanguage();
    void CreateBackground();
    void CreateTexts();
    void BindEvents();
    void CreateCloseButton();
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
};
