#pragma once
// Root of the framework's classes.

#include "Types.h"

class TObject {
public:
    virtual ~TObject() = default;
    // The class's name as written in the source, for messages.
    UnicodeString ClassName() const;
};
