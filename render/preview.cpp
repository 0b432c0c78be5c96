#include "preview.h"

#include "file_colours.h"
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

QImage RenderSaveChangeMarks(const TSkinDocument& doc, const TPreviewView& view,
                             const TDeviceState& state, QRgb mark,
                             const std::vector<bool>& hidden) {
    return NullWithoutMemory([&] {
        TPreviewView clamped = view;
        clamped.Offset = ClampedOffset(doc.ScreenWidth, doc.ScreenHeight, view);
        clamped.Background = 0; // transparent around the screen
        const QRect part = VisibleScreenRect(doc.ScreenWidth, doc.ScreenHeight, clamped);
        if (part.isEmpty()) {
            QImage none(view.Area, QImage::Format_ARGB32_Premultiplied);
            if (none.isNull() && !view.Area.isEmpty()) throw std::bad_alloc();
            none.fill(0);
            return none;
        }
        QImage marks(part.size(), QImage::Format_ARGB32_Premultiplied);
        if (marks.isNull()) throw std::bad_alloc();
        marks.fill(0);
        // The part composed as memory holds the pictures and as a save keeps
        // them; a pixel changes only where a picture's pixel shows.
        TDeviceState held = state, kept = state;
        held.FileColours = false;
        kept.FileColours = true;
        QImage asHeld(part.size(), QImage::Format_RGB32), asKept(part.size(), QImage::Format_RGB32);
        if (asHeld.isNull() || asKept.isNull()) throw std::bad_alloc();
        asHeld.setOffset(part.topLeft());
        asKept.setOffset(part.topLeft());
        TScreenMarks unmarked;
        unmarked.Hidden = hidden;
        PaintPlayerScreen(asHeld, doc, unmarked, held);
        PaintPlayerScreen(asKept, doc, unmarked, kept);
        const QRgb value = qPremultiply(mark);
        for (int y = 0; y < part.height(); ++y) {
            const auto* a = reinterpret_cast<const QRgb*>(asHeld.constScanLine(y));
            const auto* b = reinterpret_cast<const QRgb*>(asKept.constScanLine(y));
            auto* out = reinterpret_cast<QRgb*>(marks.scanLine(y));
            for (int x = 0; x < part.width(); ++x)
                if (a[x] != b[x] && SaveChangesVisibly(a[x])) out[x] = value;
        }
        marks.setOffset(part.topLeft());
        return PresentComposition(marks, clamped);
    });
}
