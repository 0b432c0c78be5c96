// Which control of the player screen a press at a screen pixel reaches, and
// which part of it: a button, a wheel's ring or its centre icon's box, or a
// place along a track bar. Only buttons, wheels and track bars take presses:
// images and texts are pictures on the device, so a press goes through them
// to the topmost control (later in Items covers earlier) whose box (the one
// the preview marks, from its normal picture) holds the pixel.
#pragma once

#include "skin_document.h"

#include <vector>

enum class TDevicePart { None, Button, WheelRing, WheelCenter, TrackbarPosition };

struct TDeviceHit {
    int Row = -1; // in Items; -1 with None
    TDevicePart Part = TDevicePart::None;
    int Position = 0; // TrackbarPosition: the progress a press there sets, 0..Width
    bool operator==(const TDeviceHit&) const = default;
};

// Entries flagged in hidden (one flag per entry; fewer: none hidden) are not
// on the screen and take no press.
TDeviceHit DevicePartAt(const TSkinDocument& doc, qint64 x, qint64 y,
                        const std::vector<bool>& hidden = {});

// The progress a press or a drag at screen column x sets: the distance from
// the bar's left, held within 0..Width.
int ProgressAt(const TiTrackbar& trackbar, qint64 x);
