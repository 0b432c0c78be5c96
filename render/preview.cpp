#include "preview.h"

#include "player_screen.h"
#include "playlist_screen.h"
#include "presentation.h"

QImage RenderPlayerPreview(const TSkinDocument& doc, int selected, const TPreviewView& view) {
    return ComposeAndPresent(doc.ScreenWidth, doc.ScreenHeight, view, [&](QImage& composition) {
        PaintPlayerScreen(composition, doc, selected);
    });
}

QImage RenderPlaylistPreview(const TSkinDocument& doc, const TPreviewView& view) {
    return ComposeAndPresent(doc.ScreenWidth, doc.ScreenHeight, view,
                             [&](QImage& composition) { PaintPlaylistScreen(composition, doc); });
}
