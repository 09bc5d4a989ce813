#pragma once
// The framework's exception classes.

#include "Types.h"

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(UnicodeString message);
    const UnicodeString& Message() const { return FMessage; }
    const char* what() const noexcept override { return FNarrow.c_str(); }

private:
    UnicodeString FMessage;
    std::string FNarrow;
};

// An assignment between unrelated classes.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A typecast to a class that the object is not.
class EInvalidCast : public Exception {
public:
    using Exception::Exception;
};

// The system could not provide a GDI or window resource.
class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

// An operation on a picture that it cannot carry out.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// An operation that the object's state does not allow.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// Raises EOutOfResources naming the failed call and the system's error code.
[[noreturn]] void RaiseLastOSError(const wchar_t* call);
