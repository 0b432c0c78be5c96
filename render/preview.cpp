#include "preview.h"

#include "player_screen.h"
#include "playlist_screen.h"
#include "presentation.h"

#include <new>

namespace {
template <class F> QImage NullWithoutMemory(F render) {
    try {
        return render();
    } catch (const std::bad_alloc&) {
        return QImage();
    }
}
} // namespace

QImage RenderPlayerPreview(const TSkinDocument& doc, int selected, const TPreviewView& view,
                           const TDeviceState& state) {
    return NullWithoutMemory([&] {
        return ComposeAndPresent(doc.ScreenWidth, doc.ScreenHeight, view, [&](QImage& composition) {
            PaintPlayerScreen(composition, doc, selected, state);
        });
    });
}

QImage RenderPlayerPreview(const TSkinDocument& doc, const TScreenMarks& marks,
                           const TPreviewView& view, const TDeviceState& state) {
    return NullWithoutMemory([&] {
        return ComposeAndPresent(doc.ScreenWidth, doc.ScreenHeight, view, [&](QImage& composition) {
            PaintPlayerScreen(composition, doc, marks, state);
        });
    });
}

QImage RenderPlaylistPreview(const TSkinDocument& doc, const TPreviewView& view) {
    return NullWithoutMemory([&] {
        return ComposeAndPresent(doc.ScreenWidth, doc.ScreenHeight, view, [&](QImage& composition) {
            PaintPlaylistScreen(composition, doc);
        });
    });
}
