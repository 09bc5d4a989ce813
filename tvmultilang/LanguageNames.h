#pragma once
// The language names that TvMultiLang.dll reports, and the mapping of a
// Windows UI language to them.

#include <windows.h>

// The name of the translation language for a Windows language identifier:
// "TChinese", "SChinese", "Danish", "Japanese", "Poland", "Portuguese",
// "Brazil", "Spanish", "Dutch", "Turkish", "Vietnamese", "Indonesian",
// "Croatian", "Hungarian", "French", "German", "Italian", "Korean",
// "Russian", or "English" for every other language.
const char* LanguageNameForLangId(LANGID id);

// True when name can name a language (and so a file "<name>.ini"): 1 to 64
// characters, each an ASCII letter, digit, '_' or '-'.
bool IsValidLanguageName(const char* name);
