#pragma once
// The help panel built in the test's own process as the program builds it:
// titled like the program, its host form made by the application, and
// destroyed the way the program destroys it. With a language name, that
// language is chosen while the panel lives.

#include "support/LanguageChoice.h"

#include "Director.h"
#include "Panel.h"
#include "TApplication.h"

#include <memory>

class BuiltPanel {
public:
    explicit BuiltPanel(const char* Language = nullptr)
    {
        if (Language)
            FLanguage = std::make_unique<testsupport::LanguageChoice>(Language);
        Application->SetTitle(L"Tavrin Portica Dock Help");
        Application->CreateForm(PanelForm);
    }
    ~BuiltPanel()
    {
        delete PanelForm;
        PanelForm = nullptr;
    }
    BuiltPanel(const BuiltPanel&) = delete;
    BuiltPanel& operator=(const BuiltPanel&) = delete;

    Director* Panel() const { return PanelForm->PanelDirector(); }

private:
    std::unique_ptr<testsupport::LanguageChoice> FLanguage;
};
