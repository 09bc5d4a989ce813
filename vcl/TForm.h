#pragma once
// A top-level window.

#include "TFont.h"
#include "TWinControl.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition { poDesigned, poDefault, poScreenCenter };

// WM_DPICHANGED: the new pixels per inch, and the window rectangle that the
// system suggests for them (empty when the message carried none).
using TDpiChangeEvent = TMethod<TObject*, int, const TRect&>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    const UnicodeString& Caption() const { return FCaption; }
    void SetCaption(const UnicodeString& value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    // Whether the form scales itself with the screen's pixel density; this
    // layer never scales, so it is kept as a plain setting.
    bool Scaled() const { return FScaled; }
    void SetScaled(bool value) { FScaled = value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFont* Font() const { return FFont; }
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value) { FPixelsPerInch = value; }
    // Pixels per inch of the monitor the window is on, as the system scales
    // it for this program (creates the window); the screen's where the
    // system cannot tell a window's own.
    int CurrentPPI();

    void Show();

    const TNotifyEvent& OnPaint() const { return FOnPaint; }
    void SetOnPaint(const TNotifyEvent& value) { FOnPaint = value; }
    // Answers WM_GETOBJECT, the question of assistive technology for an
    // object of the window.
    const TGetObjectEvent& OnGetObject() const { return FOnGetObject; }
    void SetOnGetObject(const TGetObjectEvent& value) { FOnGetObject = value; }
    // Raised on WM_DISPLAYCHANGE: the resolution of a screen, or the set of
    // screens, changed. The handler reads the new screen from Screen.
    const TNotifyEvent& OnDisplayChange() const { return FOnDisplayChange; }
    void SetOnDisplayChange(const TNotifyEvent& value) { FOnDisplayChange = value; }
    // Raised on WM_DPICHANGED: the window moved to a monitor of another
    // scaling, or the scaling changed. The handler sizes the window itself.
    const TDpiChangeEvent& OnDpiChange() const { return FOnDpiChange; }
    void SetOnDpiChange(const TDpiChangeEvent& value) { FOnDpiChange = value; }
    const TNotifyEvent& OnDestroy() const { return FOnDestroy; }
    void SetOnDestroy(const TNotifyEvent& value) { FOnDestroy = value; }

    // Raises OnDestroy, once; called by the application right before it
    // deletes the form, while the whole object is still alive. Whoever
    // deletes a form itself calls it first: the destructor does not raise
    // OnDestroy, nor does a constructor that throws.
    void BeforeDestruction();

protected:
    void CreateParams(TCreateParams& Params) override;
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;
    void Paint() override;

private:
    UnicodeString FCaption;
    TFormBorderStyle FBorderStyle = bsSizeable;
    bool FScaled = true;
    TColor FColor = clBtnFace;
    TFont* FFont;
    TPosition FPosition = poDefault;
    int FPixelsPerInch = 96;
    bool FDestroying = false;
    TNotifyEvent FOnPaint;
    TNotifyEvent FOnDestroy;
    TGetObjectEvent FOnGetObject;
    TNotifyEvent FOnDisplayChange;
    TDpiChangeEvent FOnDpiChange;
};
