#include "GsAccessible.h"

#include <oleacc.h>

namespace gs {

namespace {

void CollectChildren(GsWidget* Widget, std::vector<GsWidget*>& List)
{
    for (int i = 0; i < Widget->ChildCount(); ++i) {
        GsWidget* child = (*Widget->Children())[i];
        if (!child->Visible())
            continue;
        if (child->AccessibleRole() != 0)
            List.push_back(child);
        CollectChildren(child, List);
    }
}

// A string result: S_FALSE and null when there is none.
HRESULT ReturnString(const UnicodeString& Text, BSTR* Result)
{
    if (!Result)
        return E_POINTER;
    *Result = nullptr;
    if (Text.empty())
        return S_FALSE;
    *Result = SysAllocStringLen(Text.data(), static_cast<UINT>(Text.size()));
    return *Result ? S_OK : E_OUTOFMEMORY;
}

void SetChildId(VARIANT* Result, LONG Id)
{
    Result->vt = VT_I4;
    Result->lVal = Id;
}

} // namespace

// The client object. Children are simple elements, reached by child id.
class GsAccessibleObject final : public IAccessible {
public:
    GsAccessibleObject(GsWidget* Root, HWND Window) : FRoot(Root), FWindow(Window) {}

    void SetWindow(HWND Window) { FWindow = Window; }
    void Disconnect() { FRoot = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
            *ppv = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&FReferences)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG count = InterlockedDecrement(&FReferences);
        if (count == 0)
            delete this;
        return static_cast<ULONG>(count);
    }

    // IDispatch: callers use the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override
    {
        if (!pctinfo)
            return E_POINTER;
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** ppdispParent) override
    {
        if (!ppdispParent)
            return E_POINTER;
        *ppdispParent = nullptr;
        if (!FRoot)
            return RPC_E_DISCONNECTED;
        // The window object that the system makes for the host window.
        HRESULT hr = AccessibleObjectFromWindow(FWindow, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                                reinterpret_cast<void**>(ppdispParent));
        return SUCCEEDED(hr) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* pcountChildren) override
    {
        if (!pcountChildren)
            return E_POINTER;
        *pcountChildren = 0;
        if (!FRoot)
            return RPC_E_DISCONNECTED;
        *pcountChildren = static_cast<LONG>(GsAccessible::Children(FRoot).size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT varChild, IDispatch** ppdispChild) override
    {
        if (!ppdispChild)
            return E_POINTER;
        *ppdispChild = nullptr;
        GsWidget* widget;
        HRESULT hr = Resolve(varChild, &widget);
        if (FAILED(hr))
            return hr;
        // Children are simple elements: no object of their own.
        return widget == FRoot ? E_INVALIDARG : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT varChild, BSTR* pszName) override
    {
        GsWidget* widget;
        HRESULT hr = Resolve(varChild, &widget, pszName);
        return FAILED(hr) ? hr : ReturnString(widget->AccessibleName(), pszName);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT varChild, BSTR* pszValue) override
    {
        GsWidget* widget;
        HRESULT hr = Resolve(varChild, &widget, pszValue);
        return FAILED(hr) ? hr : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT varChild, BSTR* pszDescription) override
    {
        GsWidget* widget;
        HRESULT hr = Resolve(varChild, &widget, pszDescription);
        return FAILED(hr) ? hr : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT varChild, VARIANT* pvarRole) override
    {
        if (!pvarRole)
            return E_POINTER;
        VariantInit(pvarRole);
        GsWidget* widget;
        HRESULT hr = Resolve(varChild, &widget);
        if (FAILED(hr))
            return hr;
        int role = widget->AccessibleRole();
        SetChildId(pvarRole, role != 0 ? role : ROLE_SYSTEM_CLIENT);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT varChild, VARIANT* pvarState) override
    {
        if (!pvarState)
            return E_POINTER;
        VariantInit(pvarState);
        GsWidget* widget;
        HRESULT hr = Resolve(varChild, &widget);
        if (FAILED(hr))
            return hr;
        unsigned state = widget->AccessibleState();
        if (widget == FRoot) {
            // The client object has the focus while the window has it and
            // no widget does.
            state |= STATE_SYSTEM_FOCUSABLE;
            if (!FRoot->FocusedWidget() && GetFocus() == FWindow)
                state |= STATE_SYSTEM_FOCUSED;
        }
        SetChildId(pvarState, static_cast<LONG>(state));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT varChild, BSTR* pszHelp) override
    {
        GsWidget* widget;
        HRESULT hr = Resolve(varChild, &widget, pszHelp);
        return FAILED(hr) ? hr : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* pszHelpFile, VARIANT, LONG* pidTopic) override
    {
        if (pszHelpFile)
            *pszHelpFile = nullptr;
        if (pidTopic)
            *pidTopic = 0;
        return FRoot ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override
    {
        GsWidget* widget;
        HRESULT hr = Resolve(varChild, &widget, pszKeyboardShortcut);
        return FAILED(hr) ? hr : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* pvarChild) override
    {
        if (!pvarChild)
            return E_POINTER;
        VariantInit(pvarChild);
        if (!FRoot)
            return RPC_E_DISCONNECTED;
        if (GsWidget* focused = FRoot->FocusedWidget()) {
            LONG id = GsAccessible::ChildId(FRoot, focused);
            if (id > 0) {
                SetChildId(pvarChild, id);
                return S_OK;
            }
        }
        if (GetFocus() == FWindow) {
            SetChildId(pvarChild, CHILDID_SELF);
            return S_OK;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* pvarChildren) override
    {
        if (!pvarChildren)
            return E_POINTER;
        VariantInit(pvarChildren);
        return FRoot ? S_FALSE : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override
    {
        GsWidget* widget;
        HRESULT hr = Resolve(varChild, &widget, pszDefaultAction);
        return FAILED(hr) ? hr : ReturnString(widget->AccessibleDefaultAction(), pszDefaultAction);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flagsSelect, VARIANT varChild) override
    {
        GsWidget* widget;
        HRESULT hr = Resolve(varChild, &widget);
        if (FAILED(hr))
            return hr;
        if (flagsSelect != SELFLAG_TAKEFOCUS || (widget != FRoot && !widget->CanFocus()))
            return DISP_E_MEMBERNOTFOUND;
        // The window first: a widget has the focus only while it has.
        if (GetFocus() != FWindow) {
            SetFocus(FWindow);
            if (GetFocus() != FWindow)
                return E_FAIL;
        }
        FRoot->SetFocusedWidget(widget == FRoot ? nullptr : widget);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                          VARIANT varChild) override
    {
        if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
            return E_POINTER;
        *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
        GsWidget* widget;
        HRESULT hr = Resolve(varChild, &widget);
        if (FAILED(hr))
            return hr;
        // Asked afresh each time: the window moves, the widgets change.
        TRect place = widget->AccessibleRect();
        POINT p{place.Left, place.Top};
        if (!ClientToScreen(FWindow, &p))
            return HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
        *pxLeft = p.x;
        *pyTop = p.y;
        *pcxWidth = place.Width();
        *pcyHeight = place.Height();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override
    {
        if (!pvarEndUpAt)
            return E_POINTER;
        VariantInit(pvarEndUpAt);
        GsWidget* widget;
        HRESULT hr = Resolve(varStart, &widget);
        if (FAILED(hr))
            return hr;
        LONG count = static_cast<LONG>(GsAccessible::Children(FRoot).size());
        LONG from = GsAccessible::ChildId(FRoot, widget);
        LONG to = 0;
        switch (navDir) {
        case NAVDIR_FIRSTCHILD: to = from == CHILDID_SELF ? 1 : 0; break;
        case NAVDIR_LASTCHILD: to = from == CHILDID_SELF ? count : 0; break;
        case NAVDIR_NEXT: to = from == CHILDID_SELF ? 0 : from + 1; break;
        case NAVDIR_PREVIOUS: to = from == CHILDID_SELF ? 0 : from - 1; break;
        default: return DISP_E_MEMBERNOTFOUND;
        }
        if (to < 1 || to > count)
            return S_FALSE;
        SetChildId(pvarEndUpAt, to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override
    {
        if (!pvarChild)
            return E_POINTER;
        VariantInit(pvarChild);
        if (!FRoot)
            return RPC_E_DISCONNECTED;
        POINT p{xLeft, yTop};
        if (!ScreenToClient(FWindow, &p))
            return HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
        // The topmost child whose place holds the point, by the places that
        // accLocation gives; else the client object within the window.
        std::vector<GsWidget*> children = GsAccessible::Children(FRoot);
        for (size_t i = children.size(); i-- > 0;) {
            RECT place = children[i]->AccessibleRect().ToRECT();
            if (PtInRect(&place, p)) {
                SetChildId(pvarChild, static_cast<LONG>(i + 1));
                return S_OK;
            }
        }
        RECT whole = FRoot->AccessibleRect().ToRECT();
        if (!PtInRect(&whole, p))
            return S_FALSE;
        SetChildId(pvarChild, CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT varChild) override
    {
        GsWidget* widget;
        HRESULT hr = Resolve(varChild, &widget);
        if (FAILED(hr))
            return hr;
        return widget->DoDefaultAction() ? S_OK : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return FRoot ? E_NOTIMPL : RPC_E_DISCONNECTED; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return FRoot ? E_NOTIMPL : RPC_E_DISCONNECTED; }

private:
    ~GsAccessibleObject() = default;

    // The widget of a child id; clears a string result first.
    HRESULT Resolve(const VARIANT& Child, GsWidget** Widget, BSTR* Result = nullptr)
    {
        *Widget = nullptr;
        if (Result)
            *Result = nullptr;
        if (!FRoot)
            return RPC_E_DISCONNECTED;
        // An empty variant names the object itself, as for the system's
        // own objects.
        if (Child.vt == VT_EMPTY) {
            *Widget = FRoot;
            return S_OK;
        }
        if (Child.vt != VT_I4)
            return E_INVALIDARG;
        if (Child.lVal == CHILDID_SELF) {
            *Widget = FRoot;
            return S_OK;
        }
        std::vector<GsWidget*> children = GsAccessible::Children(FRoot);
        if (Child.lVal < 1 || Child.lVal > static_cast<LONG>(children.size()))
            return E_INVALIDARG;
        *Widget = children[Child.lVal - 1];
        return S_OK;
    }

    LONG FReferences = 1;
    GsWidget* FRoot;
    HWND FWindow;
};

GsAccessible::GsAccessible(GsWidget* Root) : FRoot(Root) {}

GsAccessible::~GsAccessible()
{
    if (FObject) {
        FObject->Disconnect();
        // Callers in other apartments lose their connection now; there is
        // nothing to do about a failure here.
        CoLockObjectExternal(static_cast<IAccessible*>(FObject), FALSE, TRUE);
        CoDisconnectObject(static_cast<IAccessible*>(FObject), 0);
        FObject->Release();
    }
    if (FComStarted)
        CoUninitialize();
}

LRESULT GsAccessible::AnswerGetObject(HWND Window, WPARAM wParam, LPARAM lParam)
{
    // The id arrives sign-extended or not, depending on the sender.
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT)
        return 0;
    if (!FComTried) {
        FComTried = true;
        FComStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    if (!FObject) {
        FObject = new GsAccessibleObject(FRoot, Window);
        // Kept exported for the life of the tree, so that every answer
        // reuses one stub: Wine makes a new IAccessible stub for each export
        // of an object that is not, and leaves about 2 KiB behind each time.
        // Without the lock the answers still work.
        CoLockObjectExternal(static_cast<IAccessible*>(FObject), TRUE, FALSE);
    }
    FObject->SetWindow(Window);
    LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(FObject));
    return result > 0 ? result : 0;
}

void GsAccessible::NotifyShown(HWND Window)
{
    NotifyWinEvent(EVENT_SYSTEM_DIALOGSTART, Window, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_SHOW, Window, OBJID_CLIENT, CHILDID_SELF);
}

void GsAccessible::NotifyClosed(HWND Window)
{
    NotifyWinEvent(EVENT_SYSTEM_DIALOGEND, Window, OBJID_CLIENT, CHILDID_SELF);
}

void GsAccessible::NotifyFocus(HWND Window)
{
    // Only the window with the keyboard focus speaks of focus.
    if (GetFocus() != Window)
        return;
    LONG id = CHILDID_SELF;
    if (GsWidget* focused = FRoot->FocusedWidget())
        id = ChildId(FRoot, focused);
    if (id >= 0)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, Window, OBJID_CLIENT, id);
}

void GsAccessible::NotifyLayoutChanged(HWND Window, bool Rebuilt)
{
    NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, Window, OBJID_CLIENT, CHILDID_SELF);
    if (Rebuilt)
        NotifyWinEvent(EVENT_OBJECT_REORDER, Window, OBJID_CLIENT, CHILDID_SELF);
}

std::vector<GsWidget*> GsAccessible::Children(GsWidget* Root)
{
    std::vector<GsWidget*> list;
    CollectChildren(Root, list);
    return list;
}

LONG GsAccessible::ChildId(GsWidget* Root, GsWidget* Widget)
{
    if (Widget == Root)
        return CHILDID_SELF;
    std::vector<GsWidget*> children = Children(Root);
    for (size_t i = 0; i < children.size(); ++i)
        if (children[i] == Widget)
            return static_cast<LONG>(i + 1);
    return -1;
}

} // namespace gs
