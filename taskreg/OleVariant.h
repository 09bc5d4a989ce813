#pragma once

#include <windows.h>
#include <oleauto.h>

// An automation variant, initialized empty (VT_EMPTY) or holding a copy of
// a string (VT_BSTR), and cleared when the object goes out of scope.
class OleVariant {
public:
    OleVariant();
    explicit OleVariant(const wchar_t* Text);
    ~OleVariant();
    OleVariant(const OleVariant&) = delete;
    OleVariant& operator=(const OleVariant&) = delete;

    const VARIANT& Get() const { return FValue; }
    // False when the string could not be allocated.
    bool Valid() const;

private:
    VARIANT FValue;
};
