#pragma once

#include <windows.h>
#include <taskschd.h>

// The logon trigger interface of the Task Scheduler 2.0 API. The MinGW-w64
// headers declare ITrigger but not this descendant; its layout is the
// documented one: the ITrigger methods, then Delay and UserId.
#ifndef __ILogonTrigger_INTERFACE_DEFINED__
#define __ILogonTrigger_INTERFACE_DEFINED__

MIDL_INTERFACE("72dade38-fae4-4b3e-baf4-5d009af02b1c")
ILogonTrigger : public ITrigger
{
    virtual HRESULT STDMETHODCALLTYPE get_Delay(BSTR * Delay) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Delay(BSTR Delay) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_UserId(BSTR * User) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_UserId(BSTR User) = 0;
};
__CRT_UUID_DECL(ILogonTrigger, 0x72dade38, 0xfae4, 0x4b3e, 0xba, 0xf4, 0x5d, 0x00, 0x9a, 0xf0, 0x2b, 0x1c)

#endif
