// The box an item's selection marker outlines (the picture's box for images,
// buttons and wheels, the item's own box for texts and trackbars): one
// definition for the painters and for whatever judges where an item lies.
#pragma once

#include "raster_ops.h"
#include "skin_document.h"

#include <optional>

TBox MarkerBox(const TiImage& image);
TBox MarkerBox(const TiText& text);
TBox MarkerBox(const TiButton& button);
TBox MarkerBox(const TiWheel& wheel);
TBox MarkerBox(const TiTrackbar& trackbar);

// The box of the record an entry designates; nothing for an entry of an
// unknown kind or whose Index lies outside its array.
std::optional<TBox> MarkerBoxOf(const TSkinDocument& doc, const TDocItem& item);

// The hit test: the topmost entry (later in Items covers earlier) whose box
// holds the screen pixel (x, y), or -1 when there is none.
int ItemAt(const TSkinDocument& doc, qint64 x, qint64 y);
