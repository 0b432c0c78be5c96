#include "text_painter.h"

#include "device_look.h"
#include "item_painters.h"
#include "marker_box.h"
#include "raster_ops.h"
#include "row_coverage.h"
#include "selection_marker.h"
#include "skin_text.h"

#include <QHash>

#include <algorithm>
#include <new>
#include <unordered_map>
#include <utility>

namespace {

constexpr QRgb RgbMask = 0x00FFFFFF;

// The shared layers together may cover this many times the composition,
// plus a little for small ones (their ink runs take as much again); beyond,
// each text renders its own part.
constexpr qint64 SharedLayerFactor = 4;
constexpr qint64 SharedLayerSlack = qint64(1) << 20;
constexpr qint64 SharedLayerMost = qint64(1) << 25;

TBox Moved(const TBox& b, qint64 dx, qint64 dy) {
    return {b.Left + dx, b.Top + dy, b.Right + dx, b.Bottom + dy};
}
qint64 Area(const TBox& b) {
    return b.IsEmpty() ? 0 : (b.Right - b.Left) * (b.Bottom - b.Top);
}

// What the glyphs of a text depend on, besides where they go.
struct TLookKey {
    int Points = 0;
    bool Bold = false;
    TColor Color = 0;
    QString Text;
    bool operator==(const TLookKey&) const = default;
};
struct TLookKeyHash {
    size_t operator()(const TLookKey& k) const {
        return qHashMulti(0, k.Points, k.Bold, k.Color, k.Text);
    }
};

// One string in one font and colour, with the layer its texts share.
struct TLook {
    QString Text;
    QFont Font;
    TTextExtent Extent;
    qint64 Margin = 0;
    // Look-ahead: the parts the texts show, relative to their cell's corner.
    TBox Union;
    qint64 Count = 0, SumArea = 0; // Count: the texts still to paint
    bool Shared = false;           // decided after the look-ahead
    // The shared layer over Union, and per row the column runs of its ink.
    QImage Layer;
    std::vector<int> RowStart;
    std::vector<std::pair<int, int>> Runs;
};

// Where a text's cell goes, and the part of the screen its layer must cover
// to hold every pixel the text can change there.
struct TPlace {
    qint64 X = 0, Y = 0;
    TBox Part;
};

TPlace Place(const TiText& text, const TLook& look, const TBox& shown) {
    const TBox box = MarkerBox(text);
    // Alignment is worked out on the whole box, but the layer covers only
    // what is on screen and near the text: everywhere else it would hold key
    // grey, which the copy skips. A 60000 x 60000 box costs no more than a
    // small one.
    TPlace p;
    p.X = box.Left + AlignedStart(text.HAlign, text.Width, look.Extent.Width);
    p.Y = box.Top + AlignedStart(text.VAlign, text.Height, look.Extent.CellHeight);
    const qint64 m = look.Margin;
    const TBox near{p.X - m, p.Y - m, p.X + look.Extent.Width + m,
                    p.Y + look.Extent.CellHeight + m};
    p.Part = Intersect(Intersect(box, near), shown);
    return p;
}

// The layer over region (relative to the cell's corner): key grey with the
// glyphs on it.
QImage RenderLayer(const TiText& text, const TLook& look, const TBox& region) {
    QImage layer(int(region.Right - region.Left), int(region.Bottom - region.Top),
                 QImage::Format_RGB32);
    if (layer.isNull()) throw std::bad_alloc(); // region is never empty
    layer.fill(TextLayerKey);
    DrawTextCell(layer, -region.Left, -region.Top, look.Text, look.Font, ColorToRgb(text.Color),
                 TextLayerKey);
    return layer;
}

void FindRuns(TLook& look) {
    const QImage& layer = look.Layer;
    const QRgb key = TextLayerKey & RgbMask;
    look.RowStart.assign(std::size_t(layer.height()) + 1, 0);
    for (int r = 0; r < layer.height(); ++r) {
        look.RowStart[std::size_t(r)] = int(look.Runs.size());
        const auto* in = reinterpret_cast<const QRgb*>(layer.constScanLine(r));
        for (int c = 0; c < layer.width();) {
            while (c < layer.width() && (in[c] & RgbMask) == key)
                ++c;
            const int start = c;
            while (c < layer.width() && (in[c] & RgbMask) != key)
                ++c;
            if (c > start) look.Runs.emplace_back(start, c);
        }
    }
    look.RowStart.back() = int(look.Runs.size());
}

// The layer's ink on layer row r within columns [c0, c1), moved by dx.
void InkSpans(const TLook& look, int r, int c0, int c1, int dx, std::vector<TColumnSpan>& spans) {
    auto run = look.Runs.begin() + look.RowStart[std::size_t(r)];
    const auto end = look.Runs.begin() + look.RowStart[std::size_t(r) + 1];
    run = std::partition_point(run, end, [&](const auto& s) { return s.second <= c0; });
    for (; run != end && run->first < c1; ++run)
        spans.push_back({std::max(run->first, c0) + dx, std::min(run->second, c1) + dx});
}

// Where a text's layer (0, 0) lands in the composition's own pixels.
QPoint LayerOrigin(const QImage& composition, const TLook& look, const TPlace& place) {
    const QPoint o = composition.offset();
    return {int(place.X + look.Union.Left - o.x()), int(place.Y + look.Union.Top - o.y())};
}

} // namespace

// A stretch of a composition row that a text alone paints.
struct TPiece {
    int Row = 0;
    TColumnSpan Columns;
};

struct TTextPainter::TImpl {
    explicit TImpl(const TDeviceState& state) : State(state) {}
    const TDeviceState& State;
    std::unordered_map<TLookKey, TLook, TLookKeyHash> Looks;
    // Per entry of a shared look: its pieces [first, second) in Pieces.
    std::unordered_map<int, std::pair<std::size_t, std::size_t>> Visible;
    std::vector<TPiece> Pieces;

    // The look of a text that draws glyphs; nothing for one that cannot.
    TLook* LookOf(const TiText& text) {
        const int points = PointSizeFor(text.FontSize);
        const QString shown = ShownText(text, State);
        if (points <= 0 || shown.isEmpty()) return nullptr;
        auto [it, added] = Looks.try_emplace({points, text.Bold, text.Color, shown});
        TLook& look = it->second;
        if (added) {
            look.Text = shown;
            look.Font = SkinFont(points, text.Bold);
            look.Extent = MeasureText(look.Font, shown);
            look.Margin = InkMargin(look.Font);
        }
        return &look;
    }

    // The text of entry i when the repaint paints glyphs of it within shown.
    const TiText* GlyphsOf(const TSkinDocument& doc, const std::vector<bool>& skip, int i,
                           const TBox& shown, TLook*& look, TPlace& place) {
        if (std::size_t(i) < skip.size() && skip[std::size_t(i)]) return nullptr;
        const TiText* text =
            doc.Items[i].Kind == ikText ? RecordOf<TiText>(doc, doc.Items[i]) : nullptr;
        if (!text || text->Width <= 0 || text->Height <= 0) return nullptr;
        if (Intersect(MarkerBox(*text), shown).IsEmpty()) return nullptr;
        look = LookOf(*text);
        if (!look) return nullptr;
        place = Place(*text, *look, shown);
        return place.Part.IsEmpty() ? nullptr : text;
    }

    void EnsureLayer(const TiText& text, TLook& look) {
        if (!look.Layer.isNull()) return;
        look.Layer = RenderLayer(text, look, look.Union);
        FindRuns(look);
    }

    // From the last entry back, the ink of each shared text that no later
    // shared text paints over: only that needs copying. A text behind many
    // others of its look thus costs its spans, not its pixels.
    void FindVisiblePieces(const TSkinDocument& doc, const std::vector<bool>& skip,
                           const QImage& composition) {
        const TBox shown = ShownBox(composition);
        TRowCoverage coverage(composition.height());
        std::vector<TColumnSpan> spans, visible;
        for (int i = int(doc.Items.size()) - 1; i >= 0; --i) {
            TLook* look = nullptr;
            TPlace place;
            const TiText* text = GlyphsOf(doc, skip, i, shown, look, place);
            if (!text || !look->Shared) continue;
            EnsureLayer(*text, *look);
            const QPoint origin = LayerOrigin(composition, *look, place);
            const QPoint o = composition.offset();
            const int c0 = int(place.Part.Left - o.x()) - origin.x();
            const int c1 = int(place.Part.Right - o.x()) - origin.x();
            const std::size_t first = Pieces.size();
            for (qint64 y = place.Part.Top - o.y(); y < place.Part.Bottom - o.y(); ++y) {
                spans.clear();
                visible.clear();
                InkSpans(*look, int(y) - origin.y(), c0, c1, origin.x(), spans);
                coverage.Cover(int(y), spans, visible);
                for (const TColumnSpan& v : visible)
                    Pieces.push_back({int(y), v});
            }
            Visible[i] = {first, Pieces.size()};
        }
    }
};

TTextPainter::TTextPainter(const TDeviceState& state) : D(std::make_unique<TImpl>(state)) {}

TTextPainter::TTextPainter(const TSkinDocument& doc, const std::vector<bool>& skip,
                           const QImage& composition, const TDeviceState& state)
    : TTextPainter(state) {
    const TBox shown = ShownBox(composition);
    for (int i = 0; i < doc.Items.size(); ++i) {
        TLook* look = nullptr;
        TPlace place;
        if (!D->GlyphsOf(doc, skip, i, shown, look, place)) continue;
        look->Union = Join(look->Union, Moved(place.Part, -place.X, -place.Y));
        look->Count += 1;
        look->SumArea += Area(place.Part);
    }
    // The layers together stay within one budget; the looks that save the
    // most rendering get theirs first.
    qint64 budget = std::min(SharedLayerMost, SharedLayerFactor * Area(shown) + SharedLayerSlack);
    std::vector<TLook*> candidates;
    for (auto& [key, look] : D->Looks)
        if (look.Count >= 2 && Area(look.Union) <= look.SumArea) candidates.push_back(&look);
    auto saving = [](const TLook* l) { return l->SumArea - Area(l->Union); };
    std::sort(candidates.begin(), candidates.end(),
              [&](const TLook* a, const TLook* b) { return saving(a) > saving(b); });
    for (TLook* look : candidates)
        if (Area(look->Union) <= budget) {
            look->Shared = true;
            budget -= Area(look->Union);
        }
    if (!candidates.empty()) D->FindVisiblePieces(doc, skip, composition);
}

TTextPainter::~TTextPainter() = default;

void TTextPainter::Paint(QImage& composition, const TiText& text, bool selected, int entry) {
    if (text.Width <= 0 || text.Height <= 0) return;
    const TBox box = MarkerBox(text);
    const TBox shown = ShownBox(composition);
    TLook* look = Intersect(box, shown).IsEmpty() ? nullptr : D->LookOf(text);
    const TPlace place = look ? Place(text, *look, shown) : TPlace();
    if (!place.Part.IsEmpty()) {
        const TBox inCell = Moved(place.Part, -place.X, -place.Y);
        const auto visible = D->Visible.find(entry);
        if (look->Shared && visible != D->Visible.end()) {
            const QPoint origin = LayerOrigin(composition, *look, place);
            for (std::size_t p = visible->second.first; p < visible->second.second; ++p) {
                const TPiece& piece = D->Pieces[p];
                const auto* in = reinterpret_cast<const QRgb*>(
                    look->Layer.constScanLine(piece.Row - origin.y()));
                auto* out = reinterpret_cast<QRgb*>(composition.scanLine(piece.Row));
                for (int c = piece.Columns.Begin; c < piece.Columns.End; ++c)
                    out[c] = 0xFF000000u | in[c - origin.x()];
            }
            if (--look->Count == 0) { // its last text: the memory goes back at once
                look->Layer = QImage();
                look->Runs = {};
                look->RowStart = {};
                look->Shared = false;
            }
        } else {
            const QImage layer = RenderLayer(text, *look, inCell);
            CopyWithKey(composition, place.Part.Left, place.Part.Top, layer, layer.rect(),
                        TextLayerKey);
        }
    }
    if (selected) DrawSelectionMarker(composition, box);
}
