#include <gtest/gtest.h>

#include "Exceptions.h"
#include "TApplication.h"
#include "TForm.h"

#include <stdexcept>

class ProbeForm;

namespace {
ProbeForm* Probe = nullptr;
bool ReferenceSetDuringConstruction = false;
} // namespace

// Outside any namespace, so that its class name is plain.

class ProbeForm : public TForm {
public:
    explicit ProbeForm(TComponent* AOwner) : TForm(AOwner)
    {
        ReferenceSetDuringConstruction = Probe == this;
        SetBorderStyle(bsNone);
        SetCaption(L"probe");
        SetOnMouseDown(TMouseEvent::Bind<&ProbeForm::Down>(this));
        SetOnMouseMove(TMouseMoveEvent::Bind<&ProbeForm::Move>(this));
        SetOnPaint(TNotifyEvent::Bind<&ProbeForm::Painted>(this));
    }

    void Down(TObject*, TMouseButton button, TShiftState shift, int x, int y)
    {
        LastButton = button;
        LastShift = shift;
        LastX = x;
        LastY = y;
    }
    void Move(TObject*, TShiftState shift, int x, int y)
    {
        LastShift = shift;
        LastX = x;
        LastY = y;
    }
    void Painted(TObject*)
    {
        if (ThrowOnPaint)
            throw std::runtime_error("paint failed");
    }

    TMouseButton LastButton = mbMiddle;
    TShiftState LastShift = 0;
    int LastX = 0;
    int LastY = 0;
    bool ThrowOnPaint = false;

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TForm::CreateParams(Params);
        Params.ExStyle |= WS_EX_TOOLWINDOW;
    }
};

class FailingForm : public TForm {
public:
    explicit FailingForm(TComponent* AOwner) : TForm(AOwner) { throw EInvalidOperation(L"no"); }
};

// Counts its OnDestroy, and how often the form was still whole when it came.
class CountingForm : public TForm {
public:
    explicit CountingForm(TComponent* AOwner, bool fail = false) : TForm(AOwner)
    {
        SetOnDestroy(TNotifyEvent::Bind<&CountingForm::Destroyed>(this));
        if (fail)
            throw EInvalidOperation(L"no");
    }
    void Destroyed(TObject* Sender)
    {
        ++Raised;
        if (dynamic_cast<CountingForm*>(Sender))
            ++RaisedWhole;
    }
    static int Raised;
    static int RaisedWhole;
};
int CountingForm::Raised = 0;
int CountingForm::RaisedWhole = 0;

class FailingCountingForm : public CountingForm {
public:
    explicit FailingCountingForm(TComponent* AOwner) : CountingForm(AOwner, true) {}
};

TEST(TApplication, CreateFormStoresTheReferenceBeforeTheConstructorRuns)
{
    Application->CreateForm(Probe);
    EXPECT_TRUE(ReferenceSetDuringConstruction);
    EXPECT_EQ(Probe, Application->MainForm());
    delete Probe;
    EXPECT_EQ(nullptr, Application->MainForm()) << "a deleted form is forgotten";
    Probe = nullptr;

    FailingForm* failing = reinterpret_cast<FailingForm*>(1);
    EXPECT_THROW(Application->CreateForm(failing), EInvalidOperation);
    EXPECT_EQ(nullptr, failing) << "cleared when the constructor throws";
}

TEST(TForm, WindowClassIsTheClassNameAndCreateParamsIsHonoured)
{
    Application->CreateForm(Probe);
    HWND window = Probe->Handle();
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(L"ProbeForm", className);
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    EXPECT_STREQ(L"probe", caption);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_POPUP) << "borderless";
    Probe->SetClientWidth(123);
    Probe->SetClientHeight(45);
    EXPECT_EQ(123, Probe->ClientWidth());
    EXPECT_EQ(45, Probe->ClientHeight());
    delete Probe;
    Probe = nullptr;
}

TEST(TForm, MouseMessagesBecomeEventsWithButtonShiftAndClientPoint)
{
    Application->CreateForm(Probe);
    HWND window = Probe->Handle();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(7, 9));
    EXPECT_EQ(mbLeft, Probe->LastButton);
    EXPECT_EQ(ssLeft | ssShift, Probe->LastShift);
    EXPECT_EQ(7, Probe->LastX);
    EXPECT_EQ(9, Probe->LastY);
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(static_cast<WORD>(-3), 4));
    EXPECT_EQ(mbRight, Probe->LastButton);
    EXPECT_EQ(ssRight, Probe->LastShift);
    EXPECT_EQ(-3, Probe->LastX) << "coordinates are signed";
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 1));
    EXPECT_EQ(ssLeft | ssDouble, Probe->LastShift);
    SendMessageW(window, WM_MOUSEMOVE, MK_CONTROL, MAKELPARAM(2, 3));
    EXPECT_EQ(ssCtrl, Probe->LastShift);
    delete Probe;
    Probe = nullptr;
}

TEST(TApplication, AnExceptionInAHandlerEndsRunAndIsRaisedThere)
{
    Application->CreateForm(Probe);
    Probe->ThrowOnPaint = true;
    Probe->SetBounds(0, 0, 40, 30); // something to paint
    EXPECT_THROW(Application->Run(), std::runtime_error);
    EXPECT_EQ(nullptr, Application->MainForm()) << "forms destroyed at the end of the loop";
    Probe = nullptr;
}

TEST(TForm, OnDestroyIsRaisedOnlyWhileTheWholeFormLives)
{
    FailingCountingForm* failing = nullptr;
    EXPECT_THROW(Application->CreateForm(failing), EInvalidOperation);
    EXPECT_EQ(0, CountingForm::Raised) << "a form whose constructor threw";

    CountingForm* form = nullptr;
    Application->CreateForm(form);
    delete form;
    EXPECT_EQ(0, CountingForm::Raised) << "a form deleted without BeforeDestruction";

    Application->CreateForm(form);
    form->BeforeDestruction();
    form->BeforeDestruction();
    delete form;
    EXPECT_EQ(1, CountingForm::Raised) << "once, by BeforeDestruction";
    EXPECT_EQ(1, CountingForm::RaisedWhole);
}
