#include "TObject.h"

#include <cxxabi.h>
#include <cstdlib>
#include <typeinfo>

UnicodeString TObject::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    const char* name = (status == 0 && plain) ? plain : mangled;
    UnicodeString result(name, name + std::char_traits<char>::length(name));
    std::free(plain);
    return result;
}
