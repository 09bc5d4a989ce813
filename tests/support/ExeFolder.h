#pragma once
// Test helper: the folder of the running test program, without a trailing
// backslash; empty when the path cannot be read.

#include <windows.h>

#include <string>

namespace testsupport {

inline std::wstring ExeFolder()
{
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\'));
}

} // namespace testsupport
