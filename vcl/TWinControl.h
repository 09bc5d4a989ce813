#pragma once
// A control with a window of its own.

#include "TControl.h"

struct TCreateParams {
    UnicodeString Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    WNDCLASSEXW WindowClass{};
    UnicodeString WinClassName;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // The window, created on first use.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }

    // The size of the client area; setting it resizes the window around it.
    int ClientWidth();
    int ClientHeight();
    void SetClientWidth(int value);
    void SetClientHeight(int value);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Invalidate() override;

    const TKeyDownEvent& OnKeyDown() const { return FOnKeyDown; }
    void SetOnKeyDown(const TKeyDownEvent& value) { FOnKeyDown = value; }
    const TKeyEvent& OnKeyUp() const { return FOnKeyUp; }
    void SetOnKeyUp(const TKeyEvent& value) { FOnKeyUp = value; }
    // The window gained or lost the keyboard focus.
    const TNotifyEvent& OnEnter() const { return FOnEnter; }
    void SetOnEnter(const TNotifyEvent& value) { FOnEnter = value; }
    const TNotifyEvent& OnExit() const { return FOnExit; }
    void SetOnExit(const TNotifyEvent& value) { FOnExit = value; }

protected:
    // The window-creation hook: subclasses adjust styles and class here.
    virtual void CreateParams(TCreateParams& Params);
    virtual LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam);
    virtual void Paint() {}
    // Raise OnKeyDown and OnKeyUp for a key pressed or released while the
    // window has the focus.
    virtual void KeyDown(WORD& Key, TShiftState Shift, bool Repeat);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    void DestroyHandle();

private:
    void CreateWnd();
    void SetClientSize(int width, int height);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND FHandle = nullptr;
    TKeyDownEvent FOnKeyDown;
    TKeyEvent FOnKeyUp;
    TNotifyEvent FOnEnter;
    TNotifyEvent FOnExit;
};

// Buttons and keys of a mouse message, as a shift state.
TShiftState MouseShiftState(WPARAM wParam);
// The Shift, Ctrl and Alt keys held now, as a shift state.
TShiftState KeyboardShiftState();
