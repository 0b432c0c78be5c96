// The dotted outline that marks the selected item: its dots invert the
// pixels under them.
#pragma once

#include "raster_ops.h"

// Outlines the box's outermost columns and rows (left, right - 1, top,
// bottom - 1). The dots follow the outline clockwise from the top-left
// corner, 3 on and 3 off around the corners; each outline pixel is inverted
// at most once, also when the box is one pixel wide or high. An empty box
// draws nothing.
void DrawSelectionMarker(QImage& dst, const TBox& box);
