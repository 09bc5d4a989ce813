#pragma once
// The host form of the help window: a borderless, topmost form that starts
// GDI+ and hands everything it shows to the Director.

#include "TForm.h"

class Director;

class TPanelForm : public TForm {
public:
    explicit TPanelForm(TComponent* AOwner);
    // Deleting the form raises FormDestroy first, while the form still lives.
    ~TPanelForm() override;

    void FormDestroy(TObject* Sender);
    // The panel's director; null before it is built and after FormDestroy.
    Director* PanelDirector() const { return FDirector; }

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    Director* FDirector = nullptr;
};

// The one host form, exported from the program as "_PanelForm".
extern "C" TPanelForm* PanelForm;

// The identity of a running instance.
constexpr const wchar_t* PanelFormClassName = L"TPanelForm";
constexpr const wchar_t* PanelFormCaption = L"PorticaDockHelperForm";
