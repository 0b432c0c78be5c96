// Which entries of the item list a repaint can leave out without changing a
// pixel: an entry whose record (same kind, equal fields, equal pictures) is
// painted again by a later entry, since every painter writes the same pixels
// with the same values whatever lies beneath. The selected entry is always
// painted, for its marker. Rows the device state draws otherwise than their
// record (held, second state, a progress of their own) are judged by what
// they draw.
#pragma once

#include "device_state.h"
#include "raster_ops.h"
#include "skin_document.h"

#include <vector>

// One flag per entry of Items: true where painting the entry can be skipped.
std::vector<bool> RepaintedLater(const TSkinDocument& doc, int selected,
                                 const TDeviceState& state = PlainDeviceState());

// Adds to skip the entries that change no pixel of the shown part of the
// screen: those drawing nothing there, and those whose pictures all lie
// under a later opaque image item, which paints every pixel of its box. The
// selected entry is always painted, for its marker.
void HiddenInPart(const TSkinDocument& doc, int selected, const TBox& shown,
                  std::vector<bool>& skip, const TDeviceState& state = PlainDeviceState());

// Per entry of Items, a box holding every pixel its painter can write in
// the state (its marker aside); empty for an entry that draws nothing.
std::vector<TBox> PaintedBoxes(const TSkinDocument& doc,
                               const TDeviceState& state = PlainDeviceState());
