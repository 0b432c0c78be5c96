// Which entries of the item list a repaint can leave out without changing a
// pixel: an entry whose record (same kind, equal fields, equal pictures) is
// painted again by a later entry, since every painter writes the same pixels
// with the same values whatever lies beneath. The selected entry is always
// painted, for its marker.
#pragma once

#include "skin_document.h"

#include <vector>

// One flag per entry of Items: true where painting the entry can be skipped.
std::vector<bool> RepaintedLater(const TSkinDocument& doc, int selected);
