#include "TPersistent.h"

#include "Exceptions.h"

void TPersistent::Assign(TPersistent* Source)
{
    if (Source)
        Source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest)
{
    Dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* Source)
{
    UnicodeString source = Source ? Source->ClassName() : UnicodeString(L"nil");
    throw EConvertError(L"Cannot assign a " + source + L" to a " + ClassName());
}
