#include "hidden_items.h"

#include <QHash>

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

std::vector<bool> RepaintedLater(const TSkinDocument& doc, int selected) {
    std::vector<bool> skip(std::size_t(doc.Items.size()), false);
    std::unordered_map<size_t, std::vector<int>> later;
    for (int i = int(doc.Items.size()) - 1; i >= 0; --i) {
        const TDocItem& item = doc.Items[i];
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
