// Stand-ins for TvMultiLang.dll, built once per behaviour:
//   LANGUAGE_DOUBLE_NAMED         reports "Testish" and "<folder>Testish.ini";
//   LANGUAGE_DOUBLE_NO_ENTRY      exports no TvGetLangNameAndPath;
//   LANGUAGE_DOUBLE_UNTERMINATED  fills both buffers to their ends without a
//                                 terminating zero: 65 name characters, and a
//                                 259-character path
//                                 "<folder>uuu...u.ini" followed by "XY".
#include <cstdio>
#include <cstring>

#define EXPORT extern "C" __declspec(dllexport)

EXPORT int __cdecl TvTranslateStr(const char*, char*, int)
{
    return -1;
}

#if defined(LANGUAGE_DOUBLE_NAMED)
EXPORT int __cdecl TvGetLangNameAndPath(const char* folder, char* name, char* path)
{
    std::snprintf(name, 65, "%s", "Testish");
    std::snprintf(path, 260, "%sTestish.ini", folder);
    return 0;
}
#elif defined(LANGUAGE_DOUBLE_UNTERMINATED)
EXPORT int __cdecl TvGetLangNameAndPath(const char* folder, char* name, char* path)
{
    for (int i = 0; i < 65; ++i)
        name[i] = static_cast<char>('A' + i % 26);
    size_t folderLength = std::strlen(folder);
    std::memcpy(path, folder, folderLength);
    for (size_t i = folderLength; i < 255; ++i)
        path[i] = 'u';
    std::memcpy(path + 255, ".iniXY", 6); // no zero anywhere
    return 0;
}
#endif
