// Hovers the help panel's close button 10,000 times: the mouse moves onto
// the button and back onto the background through the form's mouse-move
// handler, and each move is followed by the repaint the form then does (the
// button's change invalidates the form; its paint message reaches the
// panel's paint handler). The process's GDI objects and private memory must
// not grow.

#include "BenchTiming.h"
#include "support/ProcessUsage.h"

#include "Director.h"
#include "Panel.h"
#include "TApplication.h"

#include <windows.h>

#include <psapi.h>

#include <cstdio>

namespace {

const int WarmUpMoves = 400;
const int Moves = 10000;
const int ReportEvery = 2000;

struct Usage {
    DWORD GdiObjects = 0; // GetGuiResources
    int GdiHandles = 0; // live entries of the GDI handle table
    SIZE_T PrivateUsage = 0; // GetProcessMemoryInfo
    SIZE_T PrivateCommit = 0; // committed private pages, by VirtualQuery
    SIZE_T HeapBusy = 0; // allocated bytes in the process's heaps
    SIZE_T WorkingSet = 0;
};

SIZE_T HeapBusyBytes()
{
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    SIZE_T total = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

bool Measure(Usage& usage)
{
    HANDLE self = GetCurrentProcess();
    usage.GdiObjects = GetGuiResources(self, GR_GDIOBJECTS);
    usage.GdiHandles = CountGdiHandles();
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters))) {
        std::printf("GetProcessMemoryInfo failed (error %lu)\n", GetLastError());
        return false;
    }
    usage.PrivateUsage = counters.PrivateUsage;
    usage.WorkingSet = counters.WorkingSetSize;
    usage.PrivateCommit = CommittedPrivateBytes();
    usage.HeapBusy = HeapBusyBytes();
    return true;
}

long long KiB(SIZE_T bytes)
{
    return static_cast<long long>(bytes / 1024);
}

} // namespace

int main()
{
    Application->CreateForm(PanelForm);
    Director* d = PanelForm->PanelDirector();
    if (!d || !d->CloseButton() || d->CloseButton()->Width() == 0) {
        std::printf("the panel was not built (missing artwork beside the program?)\n");
        return 1;
    }
    // The real pointer stays off the panel: its own moves would unhover
    // the button between a move and its repaint.
    if (!SetCursorPos(0, 0))
        std::printf("SetCursorPos failed (error %lu)\n", GetLastError());
    PanelForm->Show();
    MSG shown;
    while (PeekMessageW(&shown, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&shown);
        DispatchMessageW(&shown);
    }

    gs::WdgButton* button = d->CloseButton();
    const int onButtonX = button->Left() + button->Width() / 2;
    const int onButtonY = button->Top() + button->Height() / 2;
    // Left of the paragraphs, above the first: background only.
    const int offX = 5 * d->Scale();
    const int offY = 20 * d->Scale();

    // Printed first: the output's buffer is made at the first print.
    std::printf("hover repaints of the close button at s = %d, frame %d x %d, %d moves after %d of warm-up\n",
                d->Scale(), d->Background()->Width(), d->Background()->Height(), Moves, WarmUpMoves);
    std::printf("%8s %9s %9s %13s %13s %13s %13s\n", "moves", "GDI objs", "GDI table", "PrivateUsage", "private KiB",
                "heap bytes", "working KiB");

    int wrongStates = 0;
    int firstWrongMove = 0;
    int failedPaints = 0;
    // Moves are counted from 1 over the warm-up and the measured ones; odd
    // moves go onto the button, even ones back onto the background.
    auto hover = [&](int move) {
        const bool onButton = move % 2 == 1;
        d->OnFormMouseMove(PanelForm, TShiftState(), onButton ? onButtonX : offX, onButton ? onButtonY : offY);
        // The host's repaint, then its other messages (under Wine also the
        // display's events that the layered update brings back).
        if (!UpdateWindow(PanelForm->Handle()))
            ++failedPaints;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (button->State() != (onButton ? gs::WdgButton::StateHovered : gs::WdgButton::StateRaised))
            if (++wrongStates == 1)
                firstWrongMove = move;
    };

    for (int move = 1; move <= WarmUpMoves; ++move)
        hover(move);
    Usage before;
    if (!Measure(before))
        return 1;

    auto printRow = [](int move, const Usage& u) {
        std::printf("%8d %9lu %9d %13lld %13lld %13lld %13lld\n", move, u.GdiObjects, u.GdiHandles, KiB(u.PrivateUsage),
                    KiB(u.PrivateCommit), static_cast<long long>(u.HeapBusy), KiB(u.WorkingSet));
    };
    printRow(0, before);
    const double start = NowMs();
    Usage after = before;
    for (int n = 1; n <= Moves; ++n) {
        hover(WarmUpMoves + n);
        if (n % ReportEvery == 0) {
            if (!Measure(after))
                return 1;
            printRow(n, after);
        }
    }
    const double elapsed = NowMs() - start;
    std::printf("(GDI objs and PrivateUsage from GetGuiResources and GetProcessMemoryInfo; private KiB: committed "
                "private pages; heap bytes: allocated in the process heaps)\n");

    auto growth = [](SIZE_T from, SIZE_T to) { return static_cast<long long>(to) - static_cast<long long>(from); };
    // Where the system gives no GDI count or no private usage (Wine), the
    // handle table and the committed pages stand in.
    const bool gdiCounted = before.GdiObjects != 0;
    const long long gdiBefore = gdiCounted ? before.GdiObjects : before.GdiHandles;
    const long long gdiAfter = gdiCounted ? after.GdiObjects : after.GdiHandles;
    const bool privateCounted = before.PrivateUsage != 0;
    const SIZE_T privateBefore = privateCounted ? before.PrivateUsage : before.PrivateCommit;
    const SIZE_T privateAfter = privateCounted ? after.PrivateUsage : after.PrivateCommit;
    const long long privateGrowth = growth(privateBefore, privateAfter);
    const bool met = gdiAfter <= gdiBefore && privateGrowth <= 0;
    std::printf("%.3f ms a hover repaint; of %d moves %d painted a wrong button state (first: move %d) and %d failed "
                "to paint; heap in use %+lld bytes, working set %+lld KiB\n",
                elapsed / Moves, Moves + WarmUpMoves, wrongStates, firstWrongMove, failedPaints,
                growth(before.HeapBusy, after.HeapBusy), growth(before.WorkingSet, after.WorkingSet) / 1024);
    std::printf("10,000 hover repaints: GDI objects %lld -> %lld%s, private memory %lld -> %lld KiB (%+lld bytes)%s "
                "(target no growth: %s)\n",
                gdiBefore, gdiAfter, gdiCounted ? "" : " (handle table)", KiB(privateBefore), KiB(privateAfter),
                privateGrowth, privateCounted ? "" : " (committed private pages)", met ? "met" : "MISSED");

    delete PanelForm;
    PanelForm = nullptr;
    return wrongStates == 0 && failedPaints == 0 ? 0 : 1;
}
