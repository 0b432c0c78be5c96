// The zoomed presentation both previews share: the area filled with the
// button-shadow grey, every screen pixel a square block of device pixels
// (BlockSizeOf) and the screen shifted by the view's offset (at the area's
// top-left corner when the offset is (0, 0)). Hit tests, panning and
// whatever is drawn over the preview use this one mapping.
#pragma once

#include "preview.h"

#include <QRect>

#include <functional>

// The zoom index cut to 0..3.
int ZoomIndexOf(const TPreviewView& view);

// The side, in device pixels, of the block a screen pixel becomes:
// round(2^z x scale), halves up, at least 1 (at 125 %: 1, 3, 5 and 10).
int BlockSizeOf(const TPreviewView& view);

// A point in the area's own coordinates (as a pointer gives it) as the
// device pixel under it, the one ScreenPixelAt goes by.
QPoint DevicePointOf(QPointF areaPoint, const TPreviewView& view);

// A distance in the area's own coordinates (a pointer's movement, a wheel's
// pixels) in device pixels, rounded.
QPoint DeviceDistance(QPointF areaDistance, const TPreviewView& view);

// The view's offset held between (0, 0) and the farthest that still fills
// the area with a width x height screen: (0, 0) when the screen fits. In
// device pixels, as the offset is.
QPoint ClampedOffset(int width, int height, const TPreviewView& view);

// The screen pixel under a point of the area, in the area's own coordinates
// as a pointer gives them (the point may lie outside it).
QPoint ScreenPixelAt(QPointF areaPoint, const TPreviewView& view);

// The screen pixels of a width x height screen that the area shows at the
// view's zoom and offset (partly shown ones included): the only part worth
// composing. Empty for a screen of no size.
QRect VisibleScreenRect(int width, int height, const TPreviewView& view);

// The preview raster: area-sized, grey, with every composition pixel as a
// block, cut at the area's edges. The composition holds the screen pixels
// from its offset() on. A composition with alpha gives a raster with alpha,
// whose background is the view's Background as it is (0: transparent), for
// what is drawn over the preview.
QImage PresentComposition(const QImage& composition, const TPreviewView& view);

// Composes the visible part of a width x height screen with compose (given
// a raster of that part whose offset() is the part's top-left screen pixel,
// black-filled by compose itself) and presents it. The offset is clamped
// first. At 100 % the part is composed straight into the preview raster.
QImage ComposeAndPresent(int width, int height, const TPreviewView& view,
                         const std::function<void(QImage&)>& compose);
