#include "player_screen.h"

#include "device_look.h"
#include "hidden_items.h"
#include "item_painters.h"
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

QImage ComposePlayerScreen(const TSkinDocument& doc, int selected, const TDeviceState& state) {
    return ComposePlayerScreen(doc, selected, QSize(doc.ScreenWidth, doc.ScreenHeight), state);
}
