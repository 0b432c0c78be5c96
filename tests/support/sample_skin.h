// Skins and pictures the tests of every layer build on.
#pragma once

#include "skin_document.h"

// A w x h picture whose pixels vary with position (and seed), so that row
// order, column order and channel order all show in a comparison.
QImage PatternImage(int w, int h, int seed = 0);

// A skin with at least two records of every kind: one- and two-state
// commands, scroller on and off, odd picture widths, a 255-byte name, an
// empty name, a coordinate of -10, entries listed out of array order.
TSkinDocument MakeRichSkin();

// NewSkin at 240 x 268, as the editor starts.
TSkinDocument MakeDefaultSkin();
