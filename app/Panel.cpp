#include "Panel.h"

#include "Director.h"

#include <new>

#include <objidl.h> // before GDI+, which needs its property types
#include <gdiplus.h>

TPanelForm* PanelForm = nullptr;

namespace {
ULONG_PTR GdiplusToken = 0;
Gdiplus::GdiplusStartupInput GdiplusStartupInput; // version 1, no callback, background thread, codecs
} // namespace

TPanelForm::TPanelForm(TComponent* AOwner) : TForm(AOwner)
{
    // The values of the form's design.
    FLeft = 0;
    FTop = 0;
    SetBorderStyle(bsNone);
    SetCaption(PanelFormCaption);
    FWidth = 183;
    FHeight = 141;
    SetColor(clBtnFace);
    Font()->SetCharset(DEFAULT_CHARSET);
    Font()->SetColor(clWindowText);
    Font()->SetHeight(-14);
    Font()->SetName(L"Tahoma");
    Font()->SetStyle(0);
    SetPosition(poDesigned);
    SetScaled(false);
    SetPixelsPerInch(96);
    SetOnDestroy(TNotifyEvent::Bind<&TPanelForm::FormDestroy>(this));

    FDirector = nullptr;
    Gdiplus::GdiplusStartup(&GdiplusToken, &GdiplusStartupInput, nullptr);
    if (GdiplusToken == 0)
        ExitProcess(1);
    SetBorderStyle(bsNone);
    SetScaled(false);
    FDirector = new (std::nothrow) Director();
    if (!FDirector)
        ExitProcess(1);
    FDirector->Run();
}

TPanelForm::~TPanelForm()
{
    BeforeDestruction(); // nothing when the application has raised it already
}

void TPanelForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.ExStyle |= WS_EX_TOPMOST;
}

void TPanelForm::FormDestroy(TObject*)
{
    Gdiplus::GdiplusShutdown(GdiplusToken);
    GdiplusToken = 0;
    if (FDirector) {
        delete FDirector;
        FDirector = nullptr;
    }
}
