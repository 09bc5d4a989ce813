#pragma once
// TvMultiLang.dll: the translation library of the dock software.
//
// Every function uses the C calling convention and is exported under its
// plain name. Narrow strings are in the system's ANSI code page; language
// names are plain ASCII.
//
// The current language is, in this order of preference:
//   1. the name given to TvSetLangName in this process, if any;
//   2. the string value "Language" of the key
//      HKEY_CURRENT_USER\Software\Tavrinex\MultiLang, when it is a
//      non-empty REG_SZ holding a valid name;
//   3. the user's UI language (GetUserDefaultUILanguage), mapped to
//      "TChinese", "SChinese", "Danish", "Japanese", "Poland", "Portuguese",
//      "Brazil", "Spanish", "Dutch", "Turkish", "Vietnamese", "Indonesian",
//      "Croatian", "Hungarian", "French", "German", "Italian", "Korean" or
//      "Russian", and "English" for every other language.
// A valid name has 1 to 64 characters, each an ASCII letter, digit, '_' or
// '-'; an invalid registry value counts as not set. Nothing is cached: each
// call asks again.
//
// A language's translation file is "<language folder><name>.ini", a UTF-16
// INI file with the section "Translations" whose keys are the English texts
// and whose values are their translations. The language folder is the one
// last given to TvGetLangNameAndPath (empty before the first call, and then
// lookups find nothing).
//
// The library keeps its state per process and is meant to be called from one
// thread.

#include <wchar.h>

#ifdef TVMULTILANG_BUILD
#define TVMULTILANG_API extern "C" __declspec(dllexport)
#else
#define TVMULTILANG_API extern "C" __declspec(dllimport)
#endif

// Writes the current language's name (at most 64 characters and a zero) to
// name, and "<folder><name>.ini" (cut to at most 259 characters and a zero)
// to path; name needs 65 characters and path 260. Remembers folder (null
// counts as empty) as the language folder. Returns 0, or -1 when name or
// path is null (nothing is written then).
TVMULTILANG_API int __cdecl TvGetLangNameAndPath(const char* folder, char* name, char* path);

// Looks key up in the current language's file and writes the translation,
// or key itself when there is none, to text, cut to size - 1 characters and
// zero-terminated. Returns the number of characters written, or -1 when key
// or text is null or size is less than 1.
TVMULTILANG_API int __cdecl TvTranslateStr(const char* key, char* text, int size);
TVMULTILANG_API int __cdecl TvTranslateStrW(const wchar_t* key, wchar_t* text, int size);

// Translates format as TvTranslateStr does, then formats the arguments with
// it as vsnprintf does (a translation must keep the format's conversions, in
// the same order). Returns what vsnprintf returns, or -1 when format or text
// is null or size is less than 1.
TVMULTILANG_API int __cdecl TvTranslateStrF(char* text, int size, const char* format, ...);

// Chooses the language for the rest of the process. Null or an empty name
// returns to the registry's or the system's choice. Returns 0, or -1 for an
// invalid name (the choice is then unchanged).
TVMULTILANG_API int __cdecl TvSetLangName(const char* name);

// Writes the current language's name to name, cut to size - 1 characters and
// zero-terminated (nothing is written when name is null or size is less
// than 1). Returns the full name's length.
TVMULTILANG_API int __cdecl TvGetLangName(char* name, int size);

// Writes the language folder to path in the same way. Returns its full
// length.
TVMULTILANG_API int __cdecl TvGetLangFolderPath(char* path, int size);

// Returns 1 when fileName is a bare language file name: a valid name
// followed by ".ini" (in any letter case), with no folder part; else 0.
TVMULTILANG_API int __cdecl TvCheckLangFileName(const char* fileName);
