// The end of Run when the main form cannot be shown. A program of its own:
// Run ends the application, so it runs once in a process.
#include <gtest/gtest.h>

#include "Exceptions.h"
#include "TApplication.h"
#include "TForm.h"

namespace {
bool FormDestroyed = false;
} // namespace

// A form whose window cannot be made: its parent is a window that is gone.
class UnshowableForm : public TForm {
public:
    explicit UnshowableForm(TComponent* AOwner) : TForm(AOwner)
    {
        SetOnDestroy(TNotifyEvent::Bind<&UnshowableForm::Destroyed>(this));
    }
    void Destroyed(TObject*) { FormDestroyed = true; }

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TForm::CreateParams(Params);
        Params.Style = WS_CHILD;
        Params.WndParent = GoneWindow();
    }

private:
    static HWND GoneWindow()
    {
        HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (window)
            DestroyWindow(window);
        return window;
    }
};

TEST(TApplication, AFormThatCannotBeShownIsDestroyedBeforeRunRaises)
{
    UnshowableForm* form = nullptr;
    Application->CreateForm(form);
    EXPECT_THROW(Application->Run(), EOutOfResources);
    EXPECT_TRUE(FormDestroyed) << "OnDestroy raised inside Run";
    EXPECT_EQ(nullptr, Application->MainForm()) << "forms destroyed at the end of Run";
}
