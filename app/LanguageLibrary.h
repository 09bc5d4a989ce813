#pragma once
// Binding of the maker's translation library TvMultiLang.dll and lookups in
// the current language's translation file.
//
// The library is loaded from "<executable folder>\images\TvMultiLang.dll".
// It is asked once, when it is loaded, for the current language's name and
// the path of its translation file (an INI file with a section
// "Translations", keys are the English texts). UI thread only.
//
// Calling order: LoadLanguageLibrary once, then CopyLanguageName and any
// number of TranslateText, then ReleaseLanguageLibrary once.

// Loads the library and asks it for the language name and file path, handing
// it languageFolder unchanged. Returns 0 when the library was loaded and
// bound, 1 otherwise (missing, not loadable, or without
// TvGetLangNameAndPath); nothing stays bound after a failure.
int LoadLanguageLibrary(const char* languageFolder);

// Copies the current language name with its terminating zero into
// destination (at least 65 characters) when it is not null. Returns the
// name's length in characters (0 when no library is bound).
int CopyLanguageName(char* destination);

// Looks key (the English text) up in the translation file. Returns the
// translated text, or the key when the file has no translation for it; the
// key itself when no library is bound; null for a null key. A returned
// translation lives in one shared buffer: it is valid until the next
// TranslateText or ReleaseLanguageLibrary and must be copied at once.
const wchar_t* TranslateText(const wchar_t* key);

// Frees the lookup buffer and the library. Returns the result of
// FreeLibrary when a library was bound, else 1. Afterwards the unit is
// unbound again and may be loaded anew.
int ReleaseLanguageLibrary();
