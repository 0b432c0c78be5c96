// The zoomed presentation both previews share: the area filled with the
// button-shadow grey, the screen scaled by 2^z at its top-left corner.
#pragma once

#include "preview.h"

#include <functional>

// The zoom index cut to 0..3.
int ZoomIndexOf(const TPreviewView& view);

// The top-left part of a width x height screen that the area shows at the
// view's zoom: the only part worth composing. Empty for a screen of no size.
QSize VisibleScreenPart(int width, int height, const TPreviewView& view);

// The preview raster: area-sized, grey, with every composition pixel as a
// 2^z x 2^z block from the top-left corner, cut at the area's edges.
QImage PresentComposition(const QImage& composition, const TPreviewView& view);

// Composes the visible part of a width x height screen with compose (given
// a raster of that part, black-filled by compose itself) and presents it.
// At 100 % the part is composed straight into the preview raster.
QImage ComposeAndPresent(int width, int height, const TPreviewView& view,
                         const std::function<void(QImage&)>& compose);
