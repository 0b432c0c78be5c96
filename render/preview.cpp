#include "preview.h"

#include "player_screen.h"
#include "playlist_screen.h"
#include "presentation.h"

QImage RenderPlayerPreview(const TSkinDocument& doc, int selected, const TPreviewView& view) {
    const QSize part = VisibleScreenPart(doc.ScreenWidth, doc.ScreenHeight, view);
    return PresentComposition(ComposePlayerScreen(doc, selected, part), view);
}

QImage RenderPlaylistPreview(const TSkinDocument& doc, const TPreviewView& view) {
    const QSize part = VisibleScreenPart(doc.ScreenWidth, doc.ScreenHeight, view);
    return PresentComposition(ComposePlaylistScreen(doc, part), view);
}
