#pragma once
// Objects that can copy their settings from one another.

#include "Events.h"
#include "TObject.h"

class TPersistent : public TObject {
public:
    // Copies Source into this object: Source decides how, through AssignTo.
    // Classes that know how to take a certain source override Assign.
    virtual void Assign(TPersistent* Source);
    // Copies this object into Dest. The base raises EConvertError: the two
    // classes do not know each other.
    virtual void AssignTo(TPersistent* Dest);

protected:
    [[noreturn]] void AssignError(TPersistent* Source);
};
