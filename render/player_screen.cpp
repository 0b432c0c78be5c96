#include "player_screen.h"

#include "device_look.h"
#include "hidden_items.h"
#include "item_painters.h"
#include "marker_box.h"
#include "selection_marker.h"
#include "text_painter.h"

#include <algorithm>

void PaintItem(QImage& composition, const TSkinDocument& doc, int i, bool selected,
               TTextPainter& texts, const TDeviceState& state) {
    const TDocItem& item = doc.Items[i];
    const TPictureColours colours =
        state.FileColours ? TPictureColours::AsFileKeeps : TPictureColours::AsHeld;
    switch (item.Kind) {
    case ikImage:
        if (const auto* r = RecordOf<TiImage>(doc, item))
            PaintImage(composition, *r, selected, colours);
        break;
    case ikText:
        if (const auto* r = RecordOf<TiText>(doc, item)) texts.Paint(composition, *r, selected, i);
        break;
    case ikButton:
        if (const auto* r = RecordOf<TiButton>(doc, item)) {
            if (!state.ChangesRow(i)) {
                PaintButton(composition, *r, selected, colours);
            } else {
                TiButton scratch;
                PaintButton(composition, ShownButton(*r, state, i, scratch), selected, colours);
            }
        }
        break;
    case ikWheel:
        if (const auto* r = RecordOf<TiWheel>(doc, item)) {
            if (!state.ChangesRow(i)) {
                PaintWheel(composition, *r, selected, colours);
            } else {
                TiWheel scratch;
                PaintWheel(composition, ShownWheel(*r, state, i, scratch), selected, colours);
            }
        }
        break;
    case ikTrackbar:
        if (const auto* r = RecordOf<TiTrackbar>(doc, item))
            PaintTrackbar(composition, *r, selected, ProgressEnd(*r, state, i), colours);
        break;
    default:
        break;
    }
}

QImage ComposePlayerScreen(const TSkinDocument& doc, int selected, QSize part,
                           const TDeviceState& state) {
    const int w = std::clamp(doc.ScreenWidth, 0, std::max(part.width(), 0));
    const int h = std::clamp(doc.ScreenHeight, 0, std::max(part.height(), 0));
    QImage composition(w, h, QImage::Format_RGB32);
    if (!composition.isNull()) PaintPlayerScreen(composition, doc, selected, state);
    return composition;
}

void PaintPlayerScreen(QImage& composition, const TSkinDocument& doc, int selected,
                       const TDeviceState& state) {
    PaintPlayerScreen(composition, doc, selected, state, RepaintedLater(doc, selected, state));
}

void PaintPlayerScreen(QImage& composition, const TSkinDocument& doc, int selected,
                       const TDeviceState& state, std::vector<bool> skip) {
    composition.fill(qRgb(0, 0, 0));
    skip.resize(std::size_t(doc.Items.size()), false);
    if (selected >= 0 && selected < doc.Items.size()) skip[std::size_t(selected)] = false;
    HiddenInPart(doc, selected, ShownBox(composition), skip, state);
    TTextPainter texts(doc, skip, composition, state);
    for (int i = 0; i < doc.Items.size(); ++i)
        if (!skip[std::size_t(i)]) PaintItem(composition, doc, i, i == selected, texts, state);
}

void PaintPlayerScreen(QImage& composition, const TSkinDocument& doc, const TScreenMarks& marks,
                       const TDeviceState& state) {
    const auto flag = [](const std::vector<bool>& flags, int i) {
        return std::size_t(i) < flags.size() && flags[std::size_t(i)];
    };
    const auto marked = [&](int i) { return flag(marks.Selected, i) && !flag(marks.Hidden, i); };
    composition.fill(qRgb(0, 0, 0));
    std::vector<bool> skip = marks.Hidden;
    skip.resize(std::size_t(doc.Items.size()), false);
    // What a later entry paints again or covers may be left out, but not
    // when that later entry is hidden: then every shown entry is painted.
    if (std::find(skip.begin(), skip.end(), true) == skip.end()) {
        skip = RepaintedLater(doc, -1, state);
        skip.resize(std::size_t(doc.Items.size()), false);
        HiddenInPart(doc, -1, ShownBox(composition), skip, state);
        // Every marked entry is painted, for its marker.
        for (int i = 0; i < doc.Items.size(); ++i)
            if (marked(i)) skip[std::size_t(i)] = false;
    }
    TTextPainter texts(doc, skip, composition, state);
    for (int i = 0; i < doc.Items.size(); ++i) {
        if (skip[std::size_t(i)]) continue;
        PaintItem(composition, doc, i, marked(i), texts, state);
        if (i != marks.Reference || !marked(i)) continue;
        if (const std::optional<TBox> box = MarkerBoxOf(doc, doc.Items[i]))
            DrawSelectionMarker(composition,
                                {box->Left + 2, box->Top + 2, box->Right - 2, box->Bottom - 2});
    }
}

QImage ComposePlayerScreen(const TSkinDocument& doc, int selected, const TDeviceState& state) {
    return ComposePlayerScreen(doc, selected, QSize(doc.ScreenWidth, doc.ScreenHeight), state);
}
