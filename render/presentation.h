// The zoomed presentation both previews share: the area filled with the
// button-shadow grey, the screen scaled by 2^z and shifted by the view's
// offset (at the area's top-left corner when the offset is (0, 0)).
#pragma once

#include "preview.h"

#include <QRect>

#include <functional>

// The zoom index cut to 0..3.
int ZoomIndexOf(const TPreviewView& view);

// The view's offset held between (0, 0) and the farthest that still fills
// the area with a width x height screen: (0, 0) when the screen fits.
QPoint ClampedOffset(int width, int height, const TPreviewView& view);

// The screen pixel under a point of the area (the point may lie outside it).
QPoint ScreenPixelAt(QPoint areaPoint, const TPreviewView& view);

// The screen pixels of a width x height screen that the area shows at the
// view's zoom and offset (partly shown ones included): the only part worth
// composing. Empty for a screen of no size.
QRect VisibleScreenRect(int width, int height, const TPreviewView& view);

// The preview raster: area-sized, grey, with every composition pixel as a
// 2^z x 2^z block, cut at the area's edges. The composition holds the
// screen pixels from its offset() on.
QImage PresentComposition(const QImage& composition, const TPreviewView& view);

// Composes the visible part of a width x height screen with compose (given
// a raster of that part whose offset() is the part's top-left screen pixel,
// black-filled by compose itself) and presents it. The offset is clamped
// first. At 100 % the part is composed straight into the preview raster.
QImage ComposeAndPresent(int width, int height, const TPreviewView& view,
                         const std::function<void(QImage&)>& compose);
