#include "TApplication.h"

#include "TForm.h"

namespace {
TApplication TheApplication;
}

TApplication* Application = &TheApplication;

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication()
{
    DestroyForms();
}

UnicodeString TApplication::ExeName() const
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return UnicodeString();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void TApplication::AddForm(TForm* form)
{
    FForms.push_back(form);
    if (!FMainForm)
        FMainForm = form;
}

void TApplication::Run()
{
    if (FMainForm && !FTerminated) {
        // A failure to show ends the run like a failure inside the loop:
        // the forms are still destroyed here, not at static destruction.
        try {
            FMainForm->Show();
        } catch (...) {
            if (!FPendingException)
                FPendingException = std::current_exception();
        }
    }
    MSG msg;
    while (!FTerminated && !FPendingException) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    FTerminated = true;
    std::exception_ptr error = FPendingException;
    FPendingException = nullptr;
    DestroyForms();
    if (error)
        std::rethrow_exception(error);
}

void TApplication::Terminate()
{
    if (FTerminated)
        return;
    FTerminated = true;
    PostQuitMessage(0);
}

void TApplication::HandleException(std::exception_ptr error)
{
    if (!FPendingException)
        FPendingException = error;
    PostQuitMessage(0);
}

void TApplication::RemoveForm(TForm* form)
{
    for (auto it = FForms.begin(); it != FForms.end(); ++it)
        if (*it == form) {
            FForms.erase(it);
            break;
        }
    if (FMainForm == form)
        FMainForm = nullptr;
}

void TApplication::DestroyForms()
{
    while (!FForms.empty()) {
        TForm* form = FForms.back();
        FForms.pop_back();
        if (form == FMainForm)
            FMainForm = nullptr;
        form->BeforeDestruction();
        delete form;
    }
}
