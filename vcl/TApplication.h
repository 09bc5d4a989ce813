#pragma once
// The application object: creates the forms and runs the message loop.

#include "TComponent.h"

#include <exception>
#include <new>
#include <vector>

class TForm;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize() {}
    const UnicodeString& Title() const { return FTitle; }
    void SetTitle(const UnicodeString& value) { FTitle = value; }
    // Full path of the running program.
    UnicodeString ExeName() const;
    TForm* MainForm() const { return FMainForm; }
    bool Terminated() const { return FTerminated; }

    // Allocates a form, stores it in Reference, then runs its constructor
    // (which may rely on Reference); the first form becomes the main form.
    // If the constructor throws, Reference is cleared again.
    template <typename T>
    void CreateForm(T*& Reference)
    {
        void* memory = ::operator new(sizeof(T));
        Reference = static_cast<T*>(memory);
        try {
            new (memory) T(this);
        } catch (...) {
            Reference = nullptr;
            ::operator delete(memory);
            throw;
        }
        AddForm(Reference);
    }

    // Shows the main form and dispatches messages until Terminate; then
    // destroys the forms. An exception from showing the form or taken from
    // a window procedure ends the loop and is raised here, after the forms
    // are destroyed.
    void Run();
    void Terminate();
    // Takes an exception that a window procedure could not let through.
    void HandleException(std::exception_ptr error);
    // Forgets a form that is being destroyed.
    void RemoveForm(TForm* form);

private:
    void AddForm(TForm* form);
    void DestroyForms();

    UnicodeString FTitle;
    TForm* FMainForm = nullptr;
    std::vector<TForm*> FForms;
    bool FTerminated = false;
    std::exception_ptr FPendingException;
};

extern TApplication* Application;
