// Where a pixel of the player screen comes from: the topmost entry of the
// item list that painted it, and the colour shown there, as the preview
// paints the screen in a device state. Asked on every pointer move, so it
// paints only the entries whose boxes hold the pixel, topmost first, each
// onto that one pixel, and stops at the first that writes it.
#pragma once

#include "device_state.h"
#include "skin_document.h"

#include <QPoint>
#include <QRgb>
#include <QString>

#include <vector>

struct TPixelSource {
    int Item = -1;               // row in Items; -1 where no entry painted the pixel
    QRgb Colour = qRgb(0, 0, 0); // the colour shown: the black screen without an entry
    bool operator==(const TPixelSource&) const = default;
};

// The source of screen pixel p, which must lie on the screen. The selection
// marker is the editor's and counts for nothing; a pixel an entry leaves
// alone (the key colour of its picture, the space between a text's glyphs)
// belongs to whatever lies beneath. hidden flags the entries the preview
// leaves out (one per entry of Items; missing flags are false).
TPixelSource PixelSourceAt(const TSkinDocument& doc, QPoint p,
                           const TDeviceState& state = PlainDeviceState(),
                           const std::vector<bool>& hidden = {});

// The same as one line: x 120, y 64: "play" (button), r 31 g 0 b 12, or
// x 120, y 64: r 0 g 0 b 0 without an entry; r, g and b are the top five
// bits of each channel, what a skin file keeps. Empty off the screen.
QString PixelSourceText(const TSkinDocument& doc, QPoint p,
                        const TDeviceState& state = PlainDeviceState(),
                        const std::vector<bool>& hidden = {});
