// The painters of the five item kinds. Each draws its record onto the
// composition (screen pixel (0, 0) at raster pixel (0, 0), cut at the
// raster's edges) and, when selected, the selection marker right after it.
#pragma once

#include "skin_document.h"

#include <QImage>

void PaintImage(QImage& composition, const TiImage& image, bool selected);
void PaintText(QImage& composition, const TiText& text, bool selected);
void PaintButton(QImage& composition, const TiButton& button, bool selected);
void PaintWheel(QImage& composition, const TiWheel& wheel, bool selected);
void PaintTrackbar(QImage& composition, const TiTrackbar& trackbar, bool selected);

// Start of a text of the given extent in a box of the given size: 0 for
// "Left"/"Top" and unknown values, (space - extent) div 2 for "Center",
// space - extent for "Right"/"Bottom".
qint64 AlignedStart(int align, qint64 space, qint64 extent);
