#pragma once
// Test helper: writes a UTF-16LE text file with a byte-order mark, the form
// of the translation files.

#include <windows.h>

#include <string>

namespace testsupport {

inline HANDLE CreateForWriting(const std::wstring& path)
{
    return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

inline HANDLE CreateForWriting(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

template <typename Path>
bool WriteUtf16File(const Path& path, const std::wstring& text)
{
    HANDLE file = CreateForWriting(path);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::wstring content = L"\xFEFF" + text;
    DWORD written = 0;
    BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size() * sizeof(wchar_t);
}

} // namespace testsupport
