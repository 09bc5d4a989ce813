#pragma once
// Loading of the help window's artwork: picture files into 32-bit bitmaps,
// and the image and button widgets built from them.

#include "TBitmap.h"
#include "WdgButton.h"
#include "WdgImage.h"

// The program's folder followed by the artwork folder for a panel laid out
// at Factor times its design size: "images\1920\" at 1, else "images\4k\"
// (made for 2, and resampled by LoadArtwork at any other factor).
UnicodeString GetImageFolderPath(double Factor);

// Decodes the file into Target as a pf32bit bitmap with premultiplied
// alpha; tells the user in a message box when it cannot, and leaves Target
// empty then.
void LoadImageFromFile(const wchar_t* Path, TBitmap* Target);

// Resamples a premultiplied pf32bit picture to Width x Height with GDI+'s
// high-quality filter, in premultiplied form, so that no dark fringe
// appears where it is translucent. An empty picture stays empty.
void ResamplePicture(TBitmap* Picture, int Width, int Height);

// Loads the named picture of the artwork folder for Factor into Target, at
// Factor times its design size: the 4k picture, made for 2, is resampled
// to Factor / 2 of its size at a factor other than 1 and 2. A picture that
// cannot be loaded is told and left empty, as LoadImageFromFile does.
void LoadArtwork(const wchar_t* FileName, double Factor, TBitmap* Target);

// A new image widget showing the named picture for Factor.
gs::WdgImage* CreateImageWidget(const wchar_t* FileName, double Factor);

// A new button with pictures for Raised, Sunken, Hovered and Disabled, in
// that order, for Factor; an empty name leaves that state without a picture.
gs::WdgButton* CreateImageButton(const wchar_t* const FileNames[4], double Factor);
