#include "item_list.h"

#include <cctype>

#include <vector>

namespace {
template <class T> int Append(TSkinDocument& doc, T record) {
    auto& records = RecordsOf<T>(doc);
    records.push_back(std::move(record));
    return int(records.size()) - 1;
}

template <std::size_t N> void CreatePics(std::array<TPicture, N>& pictures) {
    for (TPicture& slot : pictures)
        CreatePic(slot, true, true);
}

template <class T> void EraseRecord(TSkinDocument& doc, int index) {
    auto& records = RecordsOf<T>(doc);
    if (index >= 0 && std::size_t(index) < records.size()) records.erase(records.begin() + index);
}
} // namespace

int AddItem(TSkinDocument& doc, int kind, const QByteArray& name) {
    int index = -1;
    switch (kind) {
    case ikImage: {
        TiImage r;
        CreatePic(r.Picture, true, false);
        index = Append(doc, std::move(r));
        break;
    }
    case ikText: {
        TiText r;
        r.Width = 200;
        r.Height = 40;
        r.FontSize = 14;
        r.TextType = ttSongTitle;
        r.Color = 0xFFFFFF;
        r.PreviewText = PreviewTextFor(ttSongTitle);
        index = Append(doc, std::move(r));
        break;
    }
    case ikButton: {
        TiButton r;
        CreatePics(r.Pictures);
        index = Append(doc, std::move(r));
        break;
    }
    case ikWheel: {
        TiWheel r;
        r.BallDist = 10;
        r.BallCount = 2;
        CreatePics(r.Pictures);
        index = Append(doc, std::move(r));
        break;
    }
    case ikTrackbar: {
        TiTrackbar r;
        r.Width = 100;
        r.Height = 30;
        r.ProgressStretch = true;
        r.ShowScroller = false;
        CreatePics(r.Pictures);
        index = Append(doc, std::move(r));
        break;
    }
    default:
        return -1;
    }
    doc.Items.append(TDocItem{quint8(kind), index, name});
    return int(doc.Items.size()) - 1;
}

bool MoveItemUp(TSkinDocument& doc, int p) {
    if (p <= 0 || p >= doc.Items.size()) return false;
    doc.Items.swapItemsAt(p, p - 1);
    return true;
}

bool MoveItemDown(TSkinDocument& doc, int p) {
    if (p < 0 || p >= doc.Items.size() - 1) return false;
    doc.Items.swapItemsAt(p, p + 1);
    return true;
}

std::optional<int> DeleteItem(TSkinDocument& doc, int p) {
    if (p < 0 || p >= doc.Items.size()) return std::nullopt;
    const TDocItem gone = doc.Items[p];
    switch (gone.Kind) {
    case ikImage:
        EraseRecord<TiImage>(doc, gone.Index);
        break;
    case ikText:
        EraseRecord<TiText>(doc, gone.Index);
        break;
    case ikButton:
        EraseRecord<TiButton>(doc, gone.Index);
        break;
    case ikWheel:
        EraseRecord<TiWheel>(doc, gone.Index);
        break;
    case ikTrackbar:
        EraseRecord<TiTrackbar>(doc, gone.Index);
        break;
    default:
        break;
    }
    for (TDocItem& item : doc.Items)
        if (item.Kind == gone.Kind && item.Index > gone.Index) --item.Index;
    doc.Items.removeAt(p);
    return std::min<int>(p, int(doc.Items.size()) - 1);
}

TItemProblem CheckItems(const TSkinDocument& doc) {
    std::vector<int> owner[ItemKindCount];
    for (int k = 0; k < ItemKindCount; ++k)
        owner[k].assign(std::size_t(RecordCount(doc, k)), -1);
    for (int i = 0; i < int(doc.Items.size()); ++i) {
        const TDocItem& item = doc.Items[i];
        if (item.Kind >= ItemKindCount) return {TItemProblem::UnknownKind, i};
        auto& owners = owner[item.Kind];
        if (item.Index < 0 || std::size_t(item.Index) >= owners.size())
            return {TItemProblem::MissingRecord, i};
        int& first = owners[std::size_t(item.Index)];
        if (first >= 0) return {TItemProblem::SharedRecord, i, first};
        first = i;
    }
    return {};
}

namespace {
constexpr qsizetype MaxItemNameBytes = 255; // what a name field keeps
} // namespace

QByteArray UniqueItemName(const QByteArray& name, const QSet<QByteArray>& taken) {
    if (!taken.contains(name)) return name;
    QByteArray base = name;
    qint64 number = 2;
    // A trailing space and up to nine digits count; more are part of the name.
    qsizetype digits = 0;
    while (digits < name.size() && digits < 10 &&
           std::isdigit(static_cast<unsigned char>(name[name.size() - 1 - digits])))
        ++digits;
    if (digits > 0 && digits <= 9 && name.size() > digits &&
        name[name.size() - 1 - digits] == ' ') {
        number = name.right(digits).toLongLong() + 1;
        base = name.left(name.size() - 1 - digits);
    }
    for (;; ++number) {
        const QByteArray suffix = ' ' + QByteArray::number(number);
        const QByteArray candidate = base.left(MaxItemNameBytes - suffix.size()) + suffix;
        if (!taken.contains(candidate)) return candidate;
    }
}
