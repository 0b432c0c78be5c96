// What each state of the device shows, decided here and nowhere else: the
// record a row is drawn as while held or in its second state, where a track
// bar's progress ends, the text a text item draws, and a colour as a saved
// file gives it back (file_colours.h). The painters draw the records these give unchanged.
#pragma once

#include "device_state.h"
#include "file_colours.h"
#include "skin_document.h"

// The button as drawn: picture 0 becomes "Image (1) pressed" while held,
// "Image (2) normal" in the second state and "Image (2) pressed" held in it.
// Only a command with two states (HasTwoStates) has a second state. Returns
// button itself when nothing changes, else the copy made in scratch.
const TiButton& ShownButton(const TiButton& button, const TDeviceState& state, int row,
                            TiButton& scratch);

// The wheel as drawn: its body (picture 0) becomes "Image wheel pressed"
// while its ring is held and "Image center pressed" while its centre is; its
// icon (picture 3) becomes "Image button (1) icon" while its centre command
// is in its second state. Icon, balls and side buttons are placed on the
// body drawn.
const TiWheel& ShownWheel(const TiWheel& wheel, const TDeviceState& state, int row,
                          TiWheel& scratch);

// Where the progress of a track bar ends, in pixels from its left: the
// state's progress held within 0..Width, or DefaultProgressEnd without one.
qint64 ProgressEnd(const TiTrackbar& trackbar, const TDeviceState& state, int row);

// Where the progress ends when nothing plays: Width div 3, truncated, as the
// preview has always shown it.
qint64 DefaultProgressEnd(const TiTrackbar& trackbar);

// The string a text draws: the state's sample of its type when that differs
// from the editor's own (a time's "W"s as its size's widest digit,
// SampleAtSize), else PreviewText. The document is never changed.
QString ShownText(const TiText& text, const TDeviceState& state);
