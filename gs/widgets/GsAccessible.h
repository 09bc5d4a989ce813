#pragma once
// Shows a widget tree to assistive technology. The host window answers
// WM_GETOBJECT through AnswerGetObject: its client object is the root
// widget, and every visible widget below it that has a role is one of the
// client object's children (child ids 1, 2, ... in painting order). Names,
// roles, states, places and default actions come from the widgets.

#include "GsWidget.h"

#include <windows.h>

#include <vector>

namespace gs {

class GsAccessibleObject;

class GsAccessible {
public:
    explicit GsAccessible(GsWidget* Root);
    // Cuts the object it handed out from the tree: callers that still hold
    // it get RPC_E_DISCONNECTED from then on.
    ~GsAccessible();
    GsAccessible(const GsAccessible&) = delete;
    GsAccessible& operator=(const GsAccessible&) = delete;

    // The answer to WM_GETOBJECT sent to Window: for OBJID_CLIENT the
    // client object through LresultFromObject (COM is started on this
    // thread the first time if it is not yet); 0 for other objects or on
    // failure, which leaves them to the system.
    LRESULT AnswerGetObject(HWND Window, WPARAM wParam, LPARAM lParam);
    // The events that make a screen reader read a newly opened dialog.
    void NotifyShown(HWND Window);
    // The dialog is closing: the event that pairs the dialog-start event.
    void NotifyClosed(HWND Window);
    // The keyboard focus moved: to the focused widget, or to the client
    // object when no widget has it. Nothing while the window has not the
    // keyboard focus.
    void NotifyFocus(HWND Window);
    // The widgets took new places on the screen; with Rebuilt, the client
    // object's children were replaced by new ones.
    void NotifyLayoutChanged(HWND Window, bool Rebuilt);

    // The client object's children.
    static std::vector<GsWidget*> Children(GsWidget* Root);
    // CHILDID_SELF for the root, the child id of a child, -1 for a widget
    // that is not shown to assistive technology.
    static LONG ChildId(GsWidget* Root, GsWidget* Widget);

private:
    GsWidget* FRoot;
    GsAccessibleObject* FObject = nullptr;
    bool FComTried = false;
    bool FComStarted = false;
};

} // namespace gs
