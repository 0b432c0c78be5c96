#include "any_record.h"

namespace {
template <class T> void Store(TSkinDocument& doc, const TDocItem& item, const T& record) {
    if (T* r = RecordOf<T>(doc, item)) *r = record;
}

template <class T> void Insert(TSkinDocument& doc, int index, const T& record) {
    auto& records = RecordsOf<T>(doc);
    index = std::clamp(index, 0, int(records.size()));
    records.insert(records.begin() + index, record);
    for (TDocItem& item : doc.Items)
        if (item.Kind == TRecordKind<T>::Kind && item.Index >= index) ++item.Index;
}

template <std::size_t N> TPicture* At(std::array<TPicture, N>& pictures, int slot) {
    return slot >= 0 && std::size_t(slot) < N ? &pictures[std::size_t(slot)] : nullptr;
}
} // namespace

std::optional<TAnyRecord> RecordAt(const TSkinDocument& doc, const TDocItem& item) {
    switch (item.Kind) {
    case ikImage:
        if (const auto* r = RecordOf<TiImage>(doc, item)) return *r;
        break;
    case ikText:
        if (const auto* r = RecordOf<TiText>(doc, item)) return *r;
        break;
    case ikButton:
        if (const auto* r = RecordOf<TiButton>(doc, item)) return *r;
        break;
    case ikWheel:
        if (const auto* r = RecordOf<TiWheel>(doc, item)) return *r;
        break;
    case ikTrackbar:
        if (const auto* r = RecordOf<TiTrackbar>(doc, item)) return *r;
        break;
    default:
        break;
    }
    return std::nullopt;
}

void StoreRecord(TSkinDocument& doc, const TDocItem& item, const TAnyRecord& record) {
    std::visit([&](const auto& r) { Store(doc, item, r); }, record);
}

void InsertRecord(TSkinDocument& doc, int index, const TAnyRecord& record) {
    std::visit([&](const auto& r) { Insert(doc, index, r); }, record);
}

TItemKind KindOf(const TAnyRecord& record) {
    return std::visit([](const auto& r) { return TRecordKind<std::decay_t<decltype(r)>>::Kind; },
                      record);
}

QPoint PositionOf(const TAnyRecord& record) {
    return std::visit([](const auto& r) { return QPoint(r.X, r.Y); }, record);
}

void SetPosition(TAnyRecord& record, QPoint position) {
    std::visit(
        [&](auto& r) {
            r.X = position.x();
            r.Y = position.y();
        },
        record);
}

TPicture* PictureSlot(TAnyRecord& record, int slot) {
    if (auto* image = std::get_if<TiImage>(&record)) return slot == 0 ? &image->Picture : nullptr;
    if (auto* button = std::get_if<TiButton>(&record)) return At(button->Pictures, slot);
    if (auto* wheel = std::get_if<TiWheel>(&record)) return At(wheel->Pictures, slot);
    if (auto* bar = std::get_if<TiTrackbar>(&record)) return At(bar->Pictures, slot);
    return nullptr;
}

qint64 PictureBytes(const TPicture& picture) {
    return picture.Image.sizeInBytes();
}

qint64 PictureBytes(const TAnyRecord& record) {
    TAnyRecord copy = record; // shares the pictures; nothing is written
    qint64 bytes = 0;
    for (int slot = 0; const TPicture* p = PictureSlot(copy, slot); ++slot)
        bytes += PictureBytes(*p);
    return bytes;
}
