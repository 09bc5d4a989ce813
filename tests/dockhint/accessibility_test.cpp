// The help panel as assistive technology and the keyboard meet it: built in
// this process (the client object of the form and its three children, hit
// testing, the default action, focus, closing, no object left behind by
// queries), and the real program read and driven from this process.
#include <gtest/gtest.h>

#include "BuiltPanel.h"
#include "DockHintProcess.h"
#include "Director.h"
#include "Panel.h"
#include "TApplication.h"
#include "support/ProcessUsage.h"

#include <oleacc.h>

#include <string>
#include <vector>

namespace {

const wchar_t Title[] = L"Tavrin Portica Dock Help";

class ComApartment {
public:
    ComApartment() : FResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(FResult))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    HRESULT Result() const { return FResult; }

private:
    HRESULT FResult;
};

// The client object of a window; released at the end of the scope.
class ClientObject {
public:
    explicit ClientObject(HWND window)
    {
        FResult = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&FObject));
    }
    ~ClientObject()
    {
        if (FObject)
            FObject->Release();
    }
    ClientObject(const ClientObject&) = delete;
    ClientObject& operator=(const ClientObject&) = delete;
    HRESULT Result() const { return FResult; }
    IAccessible* operator->() const { return FObject; }
    IAccessible* Get() const { return FObject; }

private:
    IAccessible* FObject = nullptr;
    HRESULT FResult = E_FAIL;
};

VARIANT Child(LONG id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring Name(IAccessible* object, LONG id, decltype(&IAccessible::get_accName) get = &IAccessible::get_accName)
{
    BSTR name = nullptr;
    if (FAILED((object->*get)(Child(id), &name)) || !name)
        return L"(none)";
    std::wstring text(name, SysStringLen(name));
    SysFreeString(name);
    return text;
}

LONG Role(IAccessible* object, LONG id)
{
    VARIANT role;
    VariantInit(&role);
    if (FAILED(object->get_accRole(Child(id), &role)) || role.vt != VT_I4)
        return -1;
    return role.lVal;
}

RECT Location(IAccessible* object, LONG id)
{
    LONG x = 0, y = 0, cx = 0, cy = 0;
    object->accLocation(&x, &y, &cx, &cy, Child(id));
    return RECT{x, y, x + cx, y + cy};
}

// A widget's rectangle on the screen.
RECT ScreenRect(const gs::GsWidget* widget)
{
    POINT p{widget->Left(), widget->Top()};
    ClientToScreen(PanelForm->Handle(), &p);
    return RECT{p.x, p.y, p.x + widget->Width(), p.y + widget->Height()};
}

std::string Text(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

int ScreenScale()
{
    return GetSystemMetrics(SM_CXSCREEN) >= 3840 ? 2 : 1;
}

// Keys sent to the help window through the X server, as a keyboard sends
// them; false when the tool is not there.
bool SendKeys(const std::wstring& keys)
{
    const wchar_t tool[] = L"Z:\\usr\\bin\\xdotool";
    if (GetFileAttributesW(tool) == INVALID_FILE_ATTRIBUTES)
        return false;
    std::wstring line = std::wstring(tool) + L" search --name PorticaDockHelperForm key --window %@ " + keys;
    std::vector<wchar_t> commandLine(line.begin(), line.end());
    commandLine.push_back(0);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

// Events of assistive technology raised for the help windows, recorded
// by a hook of this thread.
struct WinEvent {
    DWORD Event;
    HWND Window;
    LONG Object;
    LONG Child;
};
std::vector<WinEvent> RecordedEvents;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    RecordedEvents.push_back(WinEvent{event, window, object, child});
}

class EventRecorder {
public:
    EventRecorder()
    {
        RecordedEvents.clear();
        FHook = SetWinEventHook(EVENT_SYSTEM_DIALOGSTART, EVENT_OBJECT_LOCATIONCHANGE, nullptr, &RecordEvent, 0, 0,
                                WINEVENT_OUTOFCONTEXT);
    }
    ~EventRecorder()
    {
        if (FHook)
            UnhookWinEvent(FHook);
    }
    EventRecorder(const EventRecorder&) = delete;
    EventRecorder& operator=(const EventRecorder&) = delete;
    bool Valid() const { return FHook != nullptr; }
    // Waits (pumping this thread's messages) for the event on the window's
    // client object.
    bool WaitFor(DWORD event, HWND window, LONG child) const
    {
        return ::WaitFor(
            [&] {
                for (const WinEvent& e : RecordedEvents)
                    if (e.Event == event && e.Window == window && e.Object == OBJID_CLIENT && e.Child == child)
                        return true;
                return false;
            },
            10000);
    }

private:
    HWINEVENTHOOK FHook = nullptr;
};

// The program, started in English, with its help window shown: its first
// frame is on the screen. Wine makes the window's X window anew for that
// frame, and keys sent to the X window before it are lost.
struct ShownProgram {
    testsupport::LanguageChoice English{"English"};
    EventRecorder Events;
    DockHintProcess Process{StageFolder()};
    HWND Window = nullptr;

    ShownProgram()
    {
        Window = Process.WaitForWindow();
        if (Window && !Events.WaitFor(EVENT_OBJECT_SHOW, Window, CHILDID_SELF))
            Window = nullptr;
    }
    // An activated window takes about 2 s to go under Xvfb without a
    // window manager.
    DWORD ExitCode()
    {
        DWORD code = 99;
        return Process.WaitForExit(10000, &code) ? code : 99;
    }
};

} // namespace

TEST(AccessibleProgram, TreeReadAndButtonPressedFromAnotherProcess)
{
    ComApartment com;
    ShownProgram program;
    ASSERT_NE(nullptr, program.Window);
    ClientObject client(program.Window);
    ASSERT_EQ(S_OK, client.Result());
    EXPECT_EQ(Title, Name(client.Get(), CHILDID_SELF));
    EXPECT_EQ(ROLE_SYSTEM_DIALOG, Role(client.Get(), CHILDID_SELF));
    LONG count = 0;
    EXPECT_EQ(S_OK, client->get_accChildCount(&count));
    EXPECT_EQ(3, count);
    EXPECT_EQ(ROLE_SYSTEM_STATICTEXT, Role(client.Get(), 1));
    EXPECT_NE(std::wstring::npos, Name(client.Get(), 1).find(L"display ports are disabled")) << "first paragraph";
    EXPECT_EQ(ROLE_SYSTEM_STATICTEXT, Role(client.Get(), 2));
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, Role(client.Get(), 3));
    EXPECT_EQ(L"Close", Name(client.Get(), 3));

    int s = ScreenScale();
    RECT window{};
    GetWindowRect(program.Window, &window);
    RECT button{window.left + 321 * s, window.top, window.left + 365 * s, window.top + 44 * s};
    EXPECT_EQ(Text(button), Text(Location(client.Get(), 3)));
    VARIANT hit;
    VariantInit(&hit);
    EXPECT_EQ(S_OK, client->accHitTest(button.left + 22 * s, button.top + 22 * s, &hit));
    EXPECT_EQ(3, hit.vt == VT_I4 ? hit.lVal : -1) << "the button at its centre";

    EXPECT_EQ(S_OK, client->accDoDefaultAction(Child(3)));
    EXPECT_EQ(0u, program.ExitCode()) << "pressed across processes";
}

TEST(AccessibleProgram, EscapeEndsTheProgram)
{
    ShownProgram program;
    ASSERT_NE(nullptr, program.Window);
    if (!SendKeys(L"Escape"))
        GTEST_SKIP() << "no xdotool";
    EXPECT_EQ(0u, program.ExitCode());
}

TEST(AccessibleProgram, AnnouncedAsADialogAndTabThenEnterPressesTheButton)
{
    ComApartment com;
    ShownProgram program;
    ASSERT_NE(nullptr, program.Window) << "shown, aloud";
    const EventRecorder& events = program.Events;
    EXPECT_TRUE(events.WaitFor(EVENT_SYSTEM_DIALOGSTART, program.Window, CHILDID_SELF));

    if (!SendKeys(L"Tab"))
        GTEST_SKIP() << "no xdotool";
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_FOCUS, program.Window, 3)) << "focus on the close button";
    {
        ClientObject client(program.Window);
        ASSERT_EQ(S_OK, client.Result());
        VARIANT state;
        VariantInit(&state);
        EXPECT_EQ(S_OK, client->get_accState(Child(3), &state));
        EXPECT_EQ(STATE_SYSTEM_FOCUSED, state.lVal & STATE_SYSTEM_FOCUSED) << "state 0x" << std::hex << state.lVal;
    }
    SendKeys(L"Return");
    EXPECT_EQ(0u, program.ExitCode());
}

TEST(Accessibility, ClientObjectIsTheDialogWithBothParagraphsAndTheCloseButton)
{
    ComApartment com;
    ASSERT_HRESULT_SUCCEEDED(com.Result());
    struct Case {
        const char* Language;
        const wchar_t* Close;
        const wchar_t* Press;
    } cases[] = {{"English", L"Close", L"Press"}, {"German", L"Schlie\u00dfen", L"Dr\u00fccken"}};
    for (const Case& c : cases) {
        BuiltPanel built(c.Language);
        Director* d = built.Panel();
        ASSERT_NE(nullptr, d);
        ClientObject client(PanelForm->Handle());
        ASSERT_EQ(S_OK, client.Result()) << c.Language;
        EXPECT_EQ(Title, Name(client.Get(), CHILDID_SELF)) << c.Language;
        EXPECT_EQ(ROLE_SYSTEM_DIALOG, Role(client.Get(), CHILDID_SELF)) << c.Language;
        LONG count = 0;
        EXPECT_EQ(S_OK, client->get_accChildCount(&count));
        ASSERT_EQ(3, count) << c.Language;

        struct Expected {
            gs::GsWidget* Widget;
            LONG Role;
            std::wstring Name;
        } children[] = {
            {d->PortsLabel(), ROLE_SYSTEM_STATICTEXT, d->PortsLabel()->Text()},
            {d->ModelsLabel(), ROLE_SYSTEM_STATICTEXT, d->ModelsLabel()->Text()},
            {d->CloseButton(), ROLE_SYSTEM_PUSHBUTTON, c.Close},
        };
        for (LONG id = 1; id <= 3; ++id) {
            const Expected& e = children[id - 1];
            EXPECT_EQ(e.Role, Role(client.Get(), id)) << c.Language << " child " << id;
            EXPECT_EQ(e.Name, Name(client.Get(), id)) << c.Language << " child " << id;
        }
        EXPECT_EQ(Text(ScreenRect(d->CloseButton())), Text(Location(client.Get(), 3))) << "paragraphs: director_test";
        EXPECT_EQ(c.Press, Name(client.Get(), 3, &IAccessible::get_accDefaultAction)) << c.Language;
        VARIANT empty{}, role{};
        EXPECT_TRUE(client->get_accRole(empty, &role) == S_OK && role.lVal == ROLE_SYSTEM_DIALOG) << "empty: self";
        VARIANT past = Child(4), shortId = Child(3);
        shortId.vt = VT_I2;
        EXPECT_EQ(E_INVALIDARG, client->get_accRole(past, &role)) << "past the last child";
        EXPECT_EQ(E_INVALIDARG, client->get_accRole(shortId, &role)) << "not VT_I4";
        if (std::string(c.Language) == "German") {
            EXPECT_NE(std::wstring::npos, Name(client.Get(), 1).find(L"deaktiviert")) << "translated paragraph";
        }
    }
}

TEST(Accessibility, ThousandQueriesLeaveReferencesHandlesAndMemoryAsTheyWere)
{
    ComApartment com;
    BuiltPanel built("English");
    ASSERT_NE(nullptr, built.Panel());
    HWND window = PanelForm->Handle();
    ClientObject held(window);
    ASSERT_EQ(S_OK, held.Result());
    auto references = [&] {
        held->AddRef();
        return held->Release();
    };
    ULONG referencesBefore = references();
    // Wine leaves about 2 KiB of private memory behind each time it
    // exports an object afresh.
    int handlesBefore = CountKernelHandles();
    SIZE_T privateBefore = CommittedPrivateBytes();
    for (int i = 0; i < 1000; ++i) {
        ClientObject client(window);
        ASSERT_EQ(S_OK, client.Result()) << "query " << i;
        LONG count = 0;
        client->get_accChildCount(&count);
        for (LONG id = 0; id <= count; ++id) {
            Name(client.Get(), id);
            Location(client.Get(), id);
        }
    }
    EXPECT_EQ(referencesBefore, references());
    EXPECT_EQ(handlesBefore, CountKernelHandles());
    EXPECT_LT(0, handlesBefore) << "handles not counted";
    long long grown = static_cast<long long>(CommittedPrivateBytes()) - static_cast<long long>(privateBefore);
    EXPECT_GT(256 * 1024, grown) << "private memory grew by that many bytes";
}

// The focus follows the window's activation, aloud when it comes back;
// taking it activates the window first; a held Enter presses nothing;
// disabling the focused button gives the dialog the focus, aloud. The panel
// gone: the dialog ends aloud, the form's events are unbound, and a client
// still holding the object gets RPC_E_DISCONNECTED from every call.
TEST(Accessibility, FocusFollowsTheWindowAndAClientOutlivingThePanelIsDisconnected)
{
    ComApartment com;
    EventRecorder events;
    IAccessible* held = nullptr;
    {
        BuiltPanel built("English");
        HWND window = PanelForm->Handle();
        PanelForm->Show();
        ASSERT_TRUE(WaitFor([&] { return GetFocus() == window; }));
        ClientObject client(window);
        VARIANT focus{};
        SendMessageW(window, WM_KEYDOWN, VK_TAB, 1);
        EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_FOCUS, window, 3));
        SendMessageW(window, WM_KEYDOWN, VK_RETURN, 1 | (1 << 30));
        EXPECT_FALSE(Application->Terminated()) << "a held Enter is no press";
        SetActiveWindow(nullptr);
        RecordedEvents.clear();
        built.Panel()->OnFormPaint(PanelForm);
        EXPECT_EQ(S_FALSE, client->get_accFocus(&focus)) << "an inactive window has no focused child";
        EXPECT_EQ(gs::WdgButton::StateRaised, built.Panel()->CloseButton()->State()) << "nor a focused look";
        SetActiveWindow(window);
        EXPECT_TRUE(client->get_accFocus(&focus) == S_OK && focus.lVal == 3) << "back where it was";
        EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_FOCUS, window, 3)) << "and said so";
        SetActiveWindow(nullptr);
        EXPECT_EQ(S_OK, client->accSelect(SELFLAG_TAKEFOCUS, Child(3)));
        EXPECT_EQ(window, GetFocus()) << "the window takes the focus first";
        EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_FOCUS, window, 3));
        RecordedEvents.clear();
        built.Panel()->CloseButton()->SetEnabled(false);
        EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_FOCUS, window, CHILDID_SELF)) << "disabled: the dialog has it";

        (held = client.Get())->AddRef();
        PanelForm->BeforeDestruction();
        // This thread receives it under Wine only while the window exists.
        EXPECT_TRUE(events.WaitFor(EVENT_SYSTEM_DIALOGEND, window, CHILDID_SELF));
        EXPECT_FALSE(PanelForm->OnPaint() || PanelForm->OnMouseMove() || PanelForm->OnMouseDown() ||
                     PanelForm->OnMouseUp() || PanelForm->OnKeyDown() || PanelForm->OnKeyUp() || PanelForm->OnEnter() ||
                     PanelForm->OnExit() || PanelForm->OnGetObject() || PanelForm->OnDisplayChange() ||
                     PanelForm->OnDpiChange());
    }
    VARIANT self = Child(CHILDID_SELF), v;
    BSTR s = nullptr;
    LONG n;
    IDispatch* p;
    for (HRESULT hr : {held->get_accParent(&p),
                       held->get_accChildCount(&n),
                       held->get_accChild(self, &p),
                       held->get_accName(self, &s),
                       held->get_accValue(self, &s),
                       held->get_accDescription(self, &s),
                       held->get_accRole(self, &v),
                       held->get_accState(self, &v),
                       held->get_accHelp(self, &s),
                       held->get_accHelpTopic(&s, self, &n),
                       held->get_accKeyboardShortcut(self, &s),
                       held->get_accFocus(&v),
                       held->get_accSelection(&v),
                       held->get_accDefaultAction(self, &s),
                       held->accSelect(SELFLAG_TAKEFOCUS, self),
                       held->accLocation(&n, &n, &n, &n, self),
                       held->accNavigate(NAVDIR_FIRSTCHILD, self, &v),
                       held->accHitTest(0, 0, &v),
                       held->accDoDefaultAction(self),
                       held->put_accName(self, s),
                       held->put_accValue(self, s)})
        EXPECT_EQ(RPC_E_DISCONNECTED, hr);
    held->Release();
}

// A new layout is told: the places moved, and the children are new ones.
TEST(Accessibility, ANewLayoutIsToldToAssistiveTechnology)
{
    EventRecorder events;
    BuiltPanel built("English");
    HWND window = PanelForm->Handle();
    RECT none{};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&none));
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_LOCATIONCHANGE, window, CHILDID_SELF));
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_REORDER, window, CHILDID_SELF));
}

// Last: the default action ends this process's application loop.
TEST(Accessibility, HitTestAndDefaultActionFollowTheMouse)
{
    ComApartment com;
    BuiltPanel built("English");
    Director* d = built.Panel();
    ASSERT_NE(nullptr, d);
    ClientObject client(PanelForm->Handle());
    ASSERT_EQ(S_OK, client.Result());
    struct Case {
        gs::GsWidget* Widget;
        LONG Id;
    } cases[] = {{d->CloseButton(), 3}, {d->PortsLabel(), 1}, {d->Background(), CHILDID_SELF}};
    for (const Case& c : cases) {
        RECT r = ScreenRect(c.Widget);
        POINT at{(r.left + r.right) / 2, c.Widget == d->Background() ? r.bottom - 5 : (r.top + r.bottom) / 2};
        VARIANT hit;
        VariantInit(&hit);
        EXPECT_EQ(S_OK, client->accHitTest(at.x, at.y, &hit)) << c.Id;
        EXPECT_EQ(VT_I4, hit.vt) << c.Id;
        EXPECT_EQ(c.Id, hit.lVal) << "at " << at.x << "," << at.y;
    }

    BSTR action = nullptr;
    EXPECT_EQ(S_OK, client->get_accDefaultAction(Child(3), &action));
    EXPECT_EQ(std::wstring(L"Press"), action ? std::wstring(action) : L"(none)");
    SysFreeString(action);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, client->accDoDefaultAction(Child(1))) << "a paragraph has no action";
    EXPECT_FALSE(Application->Terminated());
    EXPECT_EQ(S_OK, client->accDoDefaultAction(Child(3)));
    EXPECT_TRUE(Application->Terminated()) << "pressing the close button ends the loop";
}
