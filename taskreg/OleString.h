#pragma once

#include <windows.h>
#include <oleauto.h>

// An automation string (BSTR) owned for the lifetime of the object. Get
// returns null when the allocation failed.
class OleString {
public:
    explicit OleString(const wchar_t* Text);
    ~OleString();
    OleString(const OleString&) = delete;
    OleString& operator=(const OleString&) = delete;

    BSTR Get() const { return FText; }
    bool Valid() const { return FText != nullptr; }

private:
    BSTR FText;
};
