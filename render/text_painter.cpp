#include "text_painter.h"

#include "item_painters.h"
#include "marker_box.h"
#include "raster_ops.h"
#include "selection_marker.h"
#include "skin_text.h"

#include <QHash>

#include <algorithm>
#include <new>
#include <unordered_map>
#include <utility>

namespace {

constexpr QRgb RgbMask = 0x00FFFFFF;

// A layer shared by its texts may cover this many times the composition,
// plus a little for small ones; beyond, each text renders its own part.
constexpr qint64 SharedLayerFactor = 4;
constexpr qint64 SharedLayerSlack = qint64(1) << 20;
constexpr qint64 SharedLayerMost = qint64(1) << 25;

TBox Intersect(const TBox& a, const TBox& b) {
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
}
TBox Union(const TBox& a, const TBox& b) {
    if (a.IsEmpty()) return b;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}
bool Contains(const TBox& outer, const TBox& inner) {
    return outer.Left <= inner.Left && outer.Top <= inner.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}
TBox Moved(const TBox& b, qint64 dx, qint64 dy) {
    return {b.Left + dx, b.Top + dy, b.Right + dx, b.Bottom + dy};
}
qint64 Area(const TBox& b) {
    return b.IsEmpty() ? 0 : (b.Right - b.Left) * (b.Bottom - b.Top);
}

TBox Shown(const QImage& composition) {
    const QPoint o = composition.offset();
    return {o.x(), o.y(), qint64(o.x()) + composition.width(),
            qint64(o.y()) + composition.height()};
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
    QFont Font;
    TTextExtent Extent;
    qint64 Margin = 0;
    // Look-ahead: the parts the texts show, relative to their cell's corner.
    TBox Union;
    qint64 Count = 0, SumArea = 0;
    bool Shared = false; // decided after the look-ahead
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
    DrawTextCell(layer, -region.Left, -region.Top, text.PreviewText, look.Font,
                 ColorToRgb(text.Color), TextLayerKey);
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

// The ink of the text's part, from the shared layer.
void CopyRuns(QImage& composition, const TLook& look, const TPlace& place) {
    const QPoint o = composition.offset();
    // Screen pixel of the layer's pixel (0, 0).
    const qint64 lx = place.X + look.Union.Left, ly = place.Y + look.Union.Top;
    const int c0 = int(place.Part.Left - lx), c1 = int(place.Part.Right - lx);
    const int r0 = int(place.Part.Top - ly), r1 = int(place.Part.Bottom - ly);
    const qint64 dx = lx - o.x(), dy = ly - o.y();
    for (int r = r0; r < r1; ++r) {
        auto run = look.Runs.begin() + look.RowStart[std::size_t(r)];
        const auto end = look.Runs.begin() + look.RowStart[std::size_t(r) + 1];
        run = std::partition_point(run, end, [&](const auto& s) { return s.second <= c0; });
        if (run == end || run->first >= c1) continue;
        const auto* in = reinterpret_cast<const QRgb*>(look.Layer.constScanLine(r));
        auto* out = reinterpret_cast<QRgb*>(composition.scanLine(int(r + dy))) + dx;
        for (; run != end && run->first < c1; ++run) {
            const int a = std::max(run->first, c0), b = std::min(run->second, c1);
            for (int c = a; c < b; ++c)
                out[c] = 0xFF000000u | in[c];
        }
    }
}

} // namespace

struct TTextPainter::TImpl {
    std::unordered_map<TLookKey, TLook, TLookKeyHash> Looks;

    // The look of a text that draws glyphs; nothing for one that cannot.
    TLook* LookOf(const TiText& text) {
        const int points = PointSizeFor(text.FontSize);
        if (points <= 0 || text.PreviewText.isEmpty()) return nullptr;
        auto [it, added] = Looks.try_emplace({points, text.Bold, text.Color, text.PreviewText});
        TLook& look = it->second;
        if (added) {
            look.Font = SkinFont(points, text.Bold);
            look.Extent = MeasureText(look.Font, text.PreviewText);
            look.Margin = InkMargin(look.Font);
        }
        return &look;
    }
};

TTextPainter::TTextPainter() : D(std::make_unique<TImpl>()) {}

TTextPainter::TTextPainter(const TSkinDocument& doc, const std::vector<bool>& skip,
                           const QImage& composition)
    : TTextPainter() {
    const TBox shown = Shown(composition);
    for (int i = 0; i < doc.Items.size(); ++i) {
        if (std::size_t(i) < skip.size() && skip[std::size_t(i)]) continue;
        const TiText* text =
            doc.Items[i].Kind == ikText ? RecordOf<TiText>(doc, doc.Items[i]) : nullptr;
        if (!text || text->Width <= 0 || text->Height <= 0) continue;
        if (Intersect(MarkerBox(*text), shown).IsEmpty()) continue;
        TLook* look = D->LookOf(*text);
        if (!look) continue;
        const TPlace place = Place(*text, *look, shown);
        if (place.Part.IsEmpty()) continue;
        look->Union = Union(look->Union, Moved(place.Part, -place.X, -place.Y));
        look->Count += 1;
        look->SumArea += Area(place.Part);
    }
    const qint64 most =
        std::min(SharedLayerMost, SharedLayerFactor * Area(shown) + SharedLayerSlack);
    for (auto& [key, look] : D->Looks) {
        const qint64 area = Area(look.Union);
        look.Shared = look.Count >= 2 && area <= look.SumArea && area <= most;
    }
}

TTextPainter::~TTextPainter() = default;

void TTextPainter::Paint(QImage& composition, const TiText& text, bool selected) {
    if (text.Width <= 0 || text.Height <= 0) return;
    const TBox box = MarkerBox(text);
    const TBox shown = Shown(composition);
    TLook* look = Intersect(box, shown).IsEmpty() ? nullptr : D->LookOf(text);
    const TPlace place = look ? Place(text, *look, shown) : TPlace();
    if (!place.Part.IsEmpty()) {
        const TBox inCell = Moved(place.Part, -place.X, -place.Y);
        if (look->Shared && Contains(look->Union, inCell)) {
            if (look->Layer.isNull()) {
                look->Layer = RenderLayer(text, *look, look->Union);
                FindRuns(*look);
            }
            CopyRuns(composition, *look, place);
        } else {
            const QImage layer = RenderLayer(text, *look, inCell);
            CopyWithKey(composition, place.Part.Left, place.Part.Top, layer, layer.rect(),
                        TextLayerKey);
        }
    }
    if (selected) DrawSelectionMarker(composition, box);
}
