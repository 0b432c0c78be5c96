// The two previews as pure functions: document, selection, zoom and the
// preview area's size in, the raster the preview area shows out.
#pragma once

#include "device_state.h"
#include "player_screen.h"
#include "skin_document.h"

#include <QImage>
#include <QPoint>
#include <QSize>

// Everything the presentation needs besides the document.
struct TPreviewView {
    int ZoomIndex = 0;                     // 0..3: the zoom 2^z
    QSize Area;                            // size of the preview area, in device pixels
    QRgb Background = qRgb(128, 128, 128); // the desktop's button-shadow grey
    QPoint Offset = QPoint(0, 0); // the zoomed screen's device pixel at the area's top-left
    // Device pixels per unit of the area's own coordinates: the desktop's
    // scale. Every screen pixel becomes a block of round(2^z x Scale)
    // device pixels, so that blocks stay whole and alike at any scale.
    qreal Scale = 1.0;
};

// Both give a null image when the memory for the preview cannot be had.

// The player screen (every item in list order, the selected row marked),
// scaled and shifted by the view's offset (clamped) on the grey background. Only the part
// of the screen the area shows is composed. The device state says what rows
// show; by default the editor's plain preview.
QImage RenderPlayerPreview(const TSkinDocument& doc, int selected, const TPreviewView& view,
                           const TDeviceState& state = PlainDeviceState());

// The same with several entries marked.
QImage RenderPlayerPreview(const TSkinDocument& doc, const TScreenMarks& marks,
                           const TPreviewView& view,
                           const TDeviceState& state = PlainDeviceState());

// The playlist browser's sample screen, presented the same way.
QImage RenderPlaylistPreview(const TSkinDocument& doc, const TPreviewView& view);

// What the player preview in the state would mark as a save's change: the
// screen pixels a save changes by more than one step (SaveChangesVisibly),
// each shown as the preview's block of mark, everything else transparent;
// area-sized, to be drawn over the preview, never into it. Hidden entries
// (flags as in TScreenMarks) are left out, as the preview leaves them out.
QImage RenderSaveChangeMarks(const TSkinDocument& doc, const TPreviewView& view,
                             const TDeviceState& state, QRgb mark,
                             const std::vector<bool>& hidden = {});
