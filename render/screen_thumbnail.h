// A screen scaled down to fit a square, never up: the picture a file manager
// shows for a skin. Only what the smaller picture needs is composed, so a
// skin that claims a 65535 x 65535 screen costs no more than its items.
#pragma once

#include "device_state.h"
#include "skin_document.h"

#include <QImage>
#include <QSize>

#include <functional>

// The size a width x height screen takes within size x size: the screen's
// own when it fits, else scaled down keeping its shape, each side at least 1.
QSize FittedSize(int width, int height, int size);

// The width x height screen that compose paints (given a raster whose
// offset() is its top-left screen pixel, black-filled by compose itself),
// scaled down to FittedSize. A screen of up to composedWholeMost pixels is
// composed whole and scaled smoothly; a larger one is sampled (each picture
// pixel the screen pixel at its centre), composing only the screen rows the
// picture shows. A null image for a screen of no size; throws
// std::bad_alloc when the memory cannot be had.
inline constexpr qint64 ComposedWholeMost = qint64(1) << 24;
QImage FitScreen(int width, int height, int size, const std::function<void(QImage&)>& compose,
                 qint64 composedWholeMost = ComposedWholeMost);

// The player screen as the state shows it, fitted into size x size.
QImage FitPlayerScreen(const TSkinDocument& doc, int selected, int size,
                       const TDeviceState& state = PlainDeviceState(),
                       qint64 composedWholeMost = ComposedWholeMost);
