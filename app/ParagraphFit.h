#pragma once
// Room for the panel's two paragraphs: the first one's text ends above the
// second one's first line, and both end inside the panel, at every scale
// and with any font the machine draws them in.

#include "WdgLabel.h"

// Puts Second at SecondTop, or Gap below the text of First where that
// reaches further down, as long as the text of Second then ends above
// Bottom; where it would not, both fonts are made one pixel smaller at a
// time, from SecondTop again, down to MinimumFontPixels. Each label is
// made as tall as its text where that is taller, so that nothing is cut
// off. A layout whose texts fit already is left exactly as it is.
void FitParagraphs(gs::WdgLabel* First, gs::WdgLabel* Second, int SecondTop, int Bottom, int Gap);

constexpr int MinimumFontPixels = 6;
