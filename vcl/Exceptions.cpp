#include "Exceptions.h"

#include <cstdio>

Exception::Exception(UnicodeString message) : FMessage(std::move(message))
{
    FNarrow.reserve(FMessage.size());
    for (wchar_t c : FMessage)
        FNarrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
}

void RaiseLastOSError(const wchar_t* call)
{
    wchar_t text[160];
    std::swprintf(text, 160, L"%ls failed (error %lu)", call, GetLastError());
    throw EOutOfResources(text);
}
