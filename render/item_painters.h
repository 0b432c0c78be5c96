// The painters of the five item kinds. Each draws its record onto the
// composition (screen pixel (0, 0) at raster pixel (0, 0), cut at the
// raster's edges) and, when selected, the selection marker right after it.
#pragma once

#include "file_colours.h"
#include "skin_document.h"

#include <QImage>

// colours: pictures as held in memory, or as a saved file gives them back.
void PaintImage(QImage& composition, const TiImage& image, bool selected,
                TPictureColours colours = TPictureColours::AsHeld);
void PaintText(QImage& composition, const TiText& text, bool selected);
void PaintButton(QImage& composition, const TiButton& button, bool selected,
                 TPictureColours colours = TPictureColours::AsHeld);
void PaintWheel(QImage& composition, const TiWheel& wheel, bool selected,
                TPictureColours colours = TPictureColours::AsHeld);
// The progress ends at DefaultProgressEnd (device_look.h).
void PaintTrackbar(QImage& composition, const TiTrackbar& trackbar, bool selected);
// The progress ends progressEnd pixels right of the bar's left (the preview's
// arithmetic with progressEnd in place of the default).
void PaintTrackbar(QImage& composition, const TiTrackbar& trackbar, bool selected,
                   qint64 progressEnd, TPictureColours colours = TPictureColours::AsHeld);

// Start of a text of the given extent in a box of the given size: 0 for
// "Left"/"Top" and unknown values, (space - extent) div 2 for "Center",
// space - extent for "Right"/"Bottom".
qint64 AlignedStart(int align, qint64 space, qint64 extent);
