// Snapping a dragged selection: its box's left edge, centre and right edge
// (and top, middle, bottom) meet those of the other shown items and of the
// screen when they come close. Guides only: nothing here is ever drawn
// into a render.
#pragma once

#include "raster_ops.h"
#include "skin_document.h"

#include <vector>

// The lines a dragged selection can snap to, sorted: every entry's marker
// box's three lines along each axis, but for the entries flagged in
// exclude (the dragged ones and the hidden ones), and the screen's.
struct TSnapLines {
    std::vector<qint64> X, Y;
};
TSnapLines SnapLinesOf(const TSkinDocument& doc, const std::vector<bool>& exclude);

// The dragged box moved by (dx, dy), then along each axis by the smallest
// correction (at most tolerance screen pixels) that puts one of its three
// lines on a snap line; Held are the snap lines that its lines then meet.
struct TSnapped {
    qint64 Dx = 0, Dy = 0;
    std::vector<qint64> HeldX, HeldY;
};
TSnapped Snap(const TSnapLines& lines, const TBox& box, qint64 dx, qint64 dy, qint64 tolerance);
