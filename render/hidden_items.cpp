#include "hidden_items.h"

#include "device_look.h"
#include "marker_box.h"
#include "wheel_geometry.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>

#include <unordered_map>

namespace {

// Collisions are settled by comparing the records, so the hash looks only at
// what is cheap: numbers and picture sizes, never pixels.
struct THasher {
    size_t Seed;
    void Add(qint64 v) { Seed = qHashMulti(Seed, v); }
    void Add(const TPicture& p) {
        Add(p.Width());
        Add(p.Height());
        Add(p.Transparent);
    }
    template <std::size_t N> void Add(const std::array<TPicture, N>& pictures) {
        for (const TPicture& p : pictures)
            Add(p);
    }
};

size_t HashOf(const TiImage& r, THasher h) {
    h.Add(r.X), h.Add(r.Y), h.Add(r.Picture);
    return h.Seed;
}
size_t HashOf(const TiText& r, THasher h) {
    h.Add(r.X), h.Add(r.Y), h.Add(r.Width), h.Add(r.Height), h.Add(r.FontSize), h.Add(r.Color);
    h.Add(r.HAlign), h.Add(r.VAlign), h.Add(r.Bold), h.Add(qHash(r.PreviewText));
    return h.Seed;
}
size_t HashOf(const TiButton& r, THasher h) {
    h.Add(r.X), h.Add(r.Y), h.Add(r.Pictures);
    return h.Seed;
}
size_t HashOf(const TiWheel& r, THasher h) {
    h.Add(r.X), h.Add(r.Y), h.Add(r.BallDist), h.Add(r.BallCount), h.Add(r.Pictures);
    return h.Seed;
}
size_t HashOf(const TiTrackbar& r, THasher h) {
    h.Add(r.X), h.Add(r.Y), h.Add(r.Width), h.Add(r.Height), h.Add(r.ShowScroller);
    h.Add(r.ProgressStretch), h.Add(r.Pictures);
    return h.Seed;
}

// The entry's record, looked at by kind; false for an entry that draws nothing.
template <class Visit> bool WithRecord(const TSkinDocument& doc, const TDocItem& item, Visit v) {
    switch (item.Kind) {
    case ikImage:
        if (const auto* r = RecordOf<TiImage>(doc, item)) return v(*r), true;
        break;
    case ikText:
        if (const auto* r = RecordOf<TiText>(doc, item)) return v(*r), true;
        break;
    case ikButton:
        if (const auto* r = RecordOf<TiButton>(doc, item)) return v(*r), true;
        break;
    case ikWheel:
        if (const auto* r = RecordOf<TiWheel>(doc, item)) return v(*r), true;
        break;
    case ikTrackbar:
        if (const auto* r = RecordOf<TiTrackbar>(doc, item)) return v(*r), true;
        break;
    default:
        break;
    }
    return false;
}

bool Alike(const TSkinDocument& doc, const TDocItem& a, const TDocItem& b) {
    if (a.Kind != b.Kind) return false;
    bool same = false;
    WithRecord(doc, a, [&](const auto& ra) {
        using T = std::decay_t<decltype(ra)>;
        same = ra == *RecordOf<T>(doc, b);
    });
    return same;
}

// Later entries kept per hash for comparison: enough for any real skin,
// and a bound on the comparisons a crafted one can ask for.
constexpr std::size_t MaxKeptPerHash = 4;

} // namespace

std::vector<bool> RepaintedLater(const TSkinDocument& doc, int selected,
                                 const TDeviceState& state) {
    std::vector<bool> skip(std::size_t(doc.Items.size()), false);
    std::unordered_map<size_t, std::vector<int>> later;
    for (int i = int(doc.Items.size()) - 1; i >= 0; --i) {
        const TDocItem& item = doc.Items[i];
        // A row drawn otherwise than its record neither repaints an alike
        // earlier one nor is repainted by an alike later one.
        if (state.ChangesRow(i)) continue;
        size_t hash = 0;
        if (!WithRecord(doc, item, [&](const auto& r) { hash = HashOf(r, THasher{item.Kind}); }))
            continue;
        std::vector<int>& kept = later[hash];
        bool repainted = false;
        for (int j : kept)
            if (Alike(doc, item, doc.Items[j])) {
                repainted = true;
                break;
            }
        if (repainted)
            skip[std::size_t(i)] = i != selected;
        else if (kept.size() < MaxKeptPerHash)
            kept.push_back(i);
    }
    return skip;
}

namespace {

// A box holding every pixel the record's painter can write (its marker
// aside); larger than needed is safe, smaller never.
TBox PaintedBox(const TiImage& r) {
    return MarkerBox(r);
}
TBox PaintedBox(const TiText& r) {
    return MarkerBox(r); // the text layer is cut to the box
}
TBox PaintedBox(const TiButton& r) {
    return MarkerBox(r);
}
TBox PaintedBox(const TiWheel& r) {
    const TPicture& ball = r.Pictures[7];
    const TWheelPlaces at = WheelPlaces(r);
    const qint64 cx = at.Cx, cy = at.Cy;
    TBox box = PictureBox(r.Pictures[0], r.X, r.Y);
    box = Join(box, PictureBox(r.Pictures[3], at.IconX, at.IconY));
    box = Join(box, PictureBox(r.Pictures[5], at.LeftX, at.LeftY));
    box = Join(box, PictureBox(r.Pictures[6], at.RightX, at.RightY));
    if (r.BallCount > 0) {
        // Every ball's offset lies within the distance either way.
        const qint64 d = std::abs(qint64(r.BallDist));
        const qint64 bx = cx - ball.Width() / 2, by = cy - ball.Height() / 2;
        const TBox reach{bx - d, by - d, bx + d + ball.Width(), by + d + ball.Height()};
        if (ball.Width() > 0 && ball.Height() > 0) box = Join(box, reach);
    }
    return box;
}
TBox PaintedBox(const TiTrackbar& r, qint64 end) {
    if (r.Width < 0 || r.Height < 0) return {};
    const TPicture &progress = r.Pictures[0], &scroller = r.Pictures[1];
    const qint64 x = r.X, y = r.Y;
    const qint64 top = y + (r.Height - progress.Height()) / 2;
    TBox box{x, top, x + end, top + progress.Height()};
    if (r.ShowScroller)
        box = Join(box, PictureBox(scroller, x + end - scroller.Width() / 2,
                                   y + (r.Height - scroller.Height()) / 2));
    return box;
}

TBox PaintedBox(const TiTrackbar& r) {
    return PaintedBox(r, DefaultProgressEnd(r));
}

// The box of what entry i draws in the state; false for an entry that
// draws nothing.
bool ShownPaintedBox(const TSkinDocument& doc, const TDeviceState& state, int i, TBox& painted) {
    const TDocItem& item = doc.Items[i];
    if (state.ChangesRow(i)) {
        if (const auto* r = RecordOf<TiButton>(doc, item)) {
            TiButton scratch;
            painted = PaintedBox(ShownButton(*r, state, i, scratch));
            return true;
        }
        if (const auto* r = RecordOf<TiWheel>(doc, item)) {
            TiWheel scratch;
            painted = PaintedBox(ShownWheel(*r, state, i, scratch));
            return true;
        }
        if (const auto* r = RecordOf<TiTrackbar>(doc, item)) {
            painted = PaintedBox(*r, ProgressEnd(*r, state, i));
            return true;
        }
    }
    return WithRecord(doc, item, [&](const auto& r) { painted = PaintedBox(r); });
}

// Later opaque image boxes kept for the test; a few suffice for the skins
// that stack many things under one picture, and keep the test cheap.
constexpr std::size_t MostCovers = 16;

} // namespace

void HiddenInPart(const TSkinDocument& doc, int selected, const TBox& shown,
                  std::vector<bool>& skip, const TDeviceState& state) {
    skip.resize(std::size_t(doc.Items.size()), false);
    std::vector<TBox> covers; // within shown, none inside another
    for (int i = int(doc.Items.size()) - 1; i >= 0; --i) {
        if (skip[std::size_t(i)]) continue;
        TBox painted;
        if (!ShownPaintedBox(doc, state, i, painted)) continue;
        painted = Intersect(painted, shown);
        if (i != selected &&
            (painted.IsEmpty() || std::any_of(covers.begin(), covers.end(),
                                              [&](const TBox& c) { return Holds(c, painted); }))) {
            skip[std::size_t(i)] = true;
            continue;
        }
        const auto* image =
            doc.Items[i].Kind == ikImage ? RecordOf<TiImage>(doc, doc.Items[i]) : nullptr;
        if (!image || image->Picture.Transparent || painted.IsEmpty()) continue;
        std::erase_if(covers, [&](const TBox& c) { return Holds(painted, c); });
        covers.push_back(painted);
        if (covers.size() > MostCovers) {
            const auto area = [](const TBox& b) { return (b.Right - b.Left) * (b.Bottom - b.Top); };
            covers.erase(
                std::min_element(covers.begin(), covers.end(),
                                 [&](const TBox& a, const TBox& b) { return area(a) < area(b); }));
        }
    }
}

std::vector<TBox> PaintedBoxes(const TSkinDocument& doc, const TDeviceState& state) {
    std::vector<TBox> boxes(std::size_t(doc.Items.size()));
    for (int i = 0; i < doc.Items.size(); ++i)
        if (!ShownPaintedBox(doc, state, i, boxes[std::size_t(i)])) boxes[std::size_t(i)] = {};
    return boxes;
}
