// Reads the help panel's accessible tree 1,000 times, as a screen reader in
// another apartment does: a client thread asks the form's window for its
// client object and reads every child's name, role and place, hit-tests the
// close button and releases everything, while the panel's thread serves the
// calls from its message loop. The client object's reference count, the
// process's GDI objects, kernel handles and private memory must end where
// they began.

#include "BenchTiming.h"
#include "support/ProcessUsage.h"

#include "Director.h"
#include "Panel.h"
#include "TApplication.h"

#include <windows.h>

#include <oleacc.h>

#include <cstdio>

namespace {

const int WarmUpQueries = 50;
const int Queries = 1000;

struct Usage {
    int GdiHandles = 0;
    int KernelHandles = 0;
    SIZE_T PrivateCommit = 0;
};

Usage Measure()
{
    Usage u;
    u.GdiHandles = CountGdiHandles();
    u.KernelHandles = CountKernelHandles();
    u.PrivateCommit = CommittedPrivateBytes();
    return u;
}

VARIANT Child(LONG id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// One screen reader's look at the window; false if a call failed.
bool Query(HWND window, POINT button)
{
    IAccessible* client = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&client))))
        return false;
    bool ok = true;
    LONG count = 0;
    ok = ok && SUCCEEDED(client->get_accChildCount(&count)) && count == 3;
    for (LONG id = 0; ok && id <= count; ++id) {
        BSTR name = nullptr;
        VARIANT role;
        VariantInit(&role);
        LONG x, y, cx, cy;
        ok = client->get_accName(Child(id), &name) == S_OK && client->get_accRole(Child(id), &role) == S_OK &&
             client->accLocation(&x, &y, &cx, &cy, Child(id)) == S_OK;
        SysFreeString(name);
    }
    VARIANT hit;
    VariantInit(&hit);
    ok = ok && client->accHitTest(button.x, button.y, &hit) == S_OK && hit.vt == VT_I4 && hit.lVal == 3;
    client->Release();
    return ok;
}

struct Run {
    HWND Window;
    POINT Button;
    Usage Before;
    Usage After;
    int Failed = 0;
    double Elapsed = 0;
};

DWORD WINAPI ClientThread(void* parameter)
{
    auto* run = static_cast<Run*>(parameter);
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
        run->Failed = -1;
        return 1;
    }
    for (int i = 0; i < WarmUpQueries; ++i)
        run->Failed += Query(run->Window, run->Button) ? 0 : 1;
    run->Before = Measure();
    const double start = NowMs();
    for (int i = 0; i < Queries; ++i)
        run->Failed += Query(run->Window, run->Button) ? 0 : 1;
    run->Elapsed = NowMs() - start;
    run->After = Measure();
    CoUninitialize();
    return 0;
}

// The client object's reference count, read through this thread's own
// query (which gets the object itself).
ULONG References(HWND window)
{
    IAccessible* client = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&client))))
        return 0;
    client->AddRef();
    client->Release();
    return client->Release();
}

} // namespace

int main()
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::printf("COM could not be started\n");
        return 1;
    }
    Application->SetTitle(L"Tavrin Portica Dock Help");
    Application->CreateForm(PanelForm);
    Director* d = PanelForm->PanelDirector();
    if (!d || !d->CloseButton() || d->CloseButton()->Width() == 0) {
        std::printf("the panel was not built (missing artwork beside the program?)\n");
        return 1;
    }
    PanelForm->Show();
    HWND window = PanelForm->Handle();
    Run run{};
    run.Window = window;
    gs::WdgButton* button = d->CloseButton();
    run.Button = POINT{button->Left() + button->Width() / 2, button->Top() + button->Height() / 2};
    ClientToScreen(window, &run.Button);

    const ULONG referencesBefore = References(window);
    HANDLE thread = CreateThread(nullptr, 0, &ClientThread, &run, 0, nullptr);
    if (!thread) {
        std::printf("CreateThread failed (error %lu)\n", GetLastError());
        return 1;
    }
    // Serve the client's calls until it is done.
    for (;;) {
        DWORD wait = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT);
        if (wait != WAIT_OBJECT_0 + 1)
            break;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    CloseHandle(thread);
    const ULONG referencesAfter = References(window);

    const Usage& b = run.Before;
    const Usage& a = run.After;
    const long long privateGrowth = static_cast<long long>(a.PrivateCommit) - static_cast<long long>(b.PrivateCommit);
    const bool met = run.Failed == 0 && referencesAfter == referencesBefore && a.GdiHandles <= b.GdiHandles &&
                     a.KernelHandles <= b.KernelHandles && privateGrowth <= 0;
    std::printf("%d queries of the accessible tree from another apartment after %d of warm-up: %.3f ms a query, "
                "%d failed\n",
                Queries, WarmUpQueries, run.Elapsed / Queries, run.Failed);
    std::printf("client object references %lu -> %lu, GDI objects %d -> %d (handle table), kernel handles %d -> %d, "
                "private memory %lld -> %lld KiB (%+lld bytes) (target no growth: %s)\n",
                referencesBefore, referencesAfter, b.GdiHandles, a.GdiHandles, b.KernelHandles, a.KernelHandles,
                static_cast<long long>(b.PrivateCommit / 1024), static_cast<long long>(a.PrivateCommit / 1024),
                privateGrowth, met ? "met" : "MISSED");

    delete PanelForm;
    PanelForm = nullptr;
    CoUninitialize();
    return run.Failed == 0 ? 0 : 1;
}
