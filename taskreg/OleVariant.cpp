#include "OleVariant.h"

OleVariant::OleVariant()
{
    VariantInit(&FValue);
}

OleVariant::OleVariant(const wchar_t* Text)
{
    VariantInit(&FValue);
    FValue.vt = VT_BSTR;
    FValue.bstrVal = SysAllocString(Text);
}

OleVariant::~OleVariant()
{
    // Clearing an empty or string variant cannot fail.
    VariantClear(&FValue);
}

bool OleVariant::Valid() const
{
    return FValue.vt != VT_BSTR || FValue.bstrVal != nullptr;
}
