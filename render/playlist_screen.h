// The playlist browser's sample screen: a title bar with "\Directory\" and
// six fixed rows (three folders, three songs, the third row selected) in the
// skin's playlist look.
#pragma once

#include "skin_document.h"

#include <QImage>
#include <QSize>

// The top-left part (at most part.width() x part.height()) of the 1:1
// composition; its pixels are those of the whole screen's composition.
QImage ComposePlaylistScreen(const TSkinDocument& doc, QSize part);

// The whole screen.
QImage ComposePlaylistScreen(const TSkinDocument& doc);

// Paints the screen onto a composition that is its top-left part.
void PaintPlaylistScreen(QImage& composition, const TSkinDocument& doc);
