#pragma once
// Loading of the help window's artwork: picture files into 32-bit bitmaps,
// and the image and button widgets built from them.

#include "TBitmap.h"
#include "WdgButton.h"
#include "WdgImage.h"

// The program's folder followed by "images\4k\" on a primary screen 3840
// pixels wide or wider, else "images\1920\". The width is read every call.
UnicodeString GetImageFolderPath();

// Decodes the file into Target as a pf32bit bitmap with premultiplied
// alpha; tells the user in a message box when it cannot, and leaves Target
// empty then.
void LoadImageFromFile(const wchar_t* Path, TBitmap* Target);

// A new image widget showing the named picture of the artwork folder.
gs::WdgImage* CreateImageWidget(const wchar_t* FileName);

// A new button with pictures for Raised, Sunken, Hovered and Disabled, in
// that order; an empty name leaves that state without a picture.
gs::WdgButton* CreateImageButton(const wchar_t* const FileNames[4]);
