#include "OleString.h"

OleString::OleString(const wchar_t* Text) : FText(SysAllocString(Text)) {}

OleString::~OleString()
{
    SysFreeString(FText);
}
