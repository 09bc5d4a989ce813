#pragma once
// Plain pictures that the panel draws itself where its artwork failed to
// load, so that a damaged installation still shows a panel that can be read,
// moved and closed.

#include "GsButtonAppearance.h"
#include "TBitmap.h"

// Makes Picture an opaque dark background of the given size with a thin
// lighter edge.
void DrawPlainBackground(TBitmap* Picture, int Width, int Height);

// Makes Picture a Size x Size close look: a light cross for Raised, on a
// faint disc for Hovered, on a blue disc for Sunken. Premultiplied alpha.
void DrawCloseCross(TBitmap* Picture, int Size, int State);

// Gives the Raised, Hovered and Sunken states of a close button a drawn
// cross where the appearance's fallbacks end without a picture; a state that
// shows a loaded picture, its own or through a fallback, keeps it.
void DrawMissingCloseLooks(gs::GsButtonAppearance* Appearance, int Size);
