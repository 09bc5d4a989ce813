#include "Director.h"

#include "Panel.h"
#include "TScreen.h"

Director::Director()
{
    Scale = Screen->Width() < 3840 ? 1 : 2;
}

Director::~Director()
{
    delete LayeredWindow;
    LayeredWindow = nullptr;
}

void Director::Run()
{
    PanelForm->SetClientWidth(365 * Scale);
    PanelForm->SetClientHeight(300 * Scale);
    PanelForm->SetLeft(Screen->Width() / 2 - PanelForm->ClientWidth() / 2);
    PanelForm->SetTop(Screen->Height() / 2 - PanelForm->ClientHeight() / 2);
    if (!LayeredWindow) {
        LayeredWindow = new gs::TPerPixelLayeredWindowMaker();
        LayeredWindow->SetUseConstantAlpha(true);
        LayeredWindow->SetConstantAlpha(245);
        LayeredWindow->SetPerPixelAlpha(true);
    }
    PanelForm->SetOnPaint(TNotifyEvent::Bind<&Director::OnFormPaint>(this));
}

void Director::OnFormPaint(TObject*)
{
    TBitmap frame;
    frame.SetPixelFormat(pf32bit);
    frame.Canvas()->Brush()->SetColor(clBlack);
    frame.SetSize(365 * Scale, 300 * Scale);
    for (int y = 0; y < frame.Height(); ++y) {
        BYTE* row = static_cast<BYTE*>(frame.ScanLine(y));
        for (int x = 0; x < frame.Width(); ++x) {
            row[4 * x + 0] = 0x60;
            row[4 * x + 1] = 0x40;
            row[4 * x + 2] = 0x20;
            row[4 * x + 3] = 0xFF;
        }
    }
    LayeredWindow->Update(PanelForm, &frame);
}
