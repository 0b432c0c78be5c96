#include "any_record.h"

#include "item_pictures.h"

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

qint64 PictureBytes(const TPicture& picture) {
    return picture.Image.sizeInBytes();
}

qint64 PictureBytes(const TAnyRecord& record) {
    return std::visit(
        [](const auto& r) {
            qint64 bytes = 0;
            for (const TPicture& p : PictureSlots(r))
                bytes += PictureBytes(p);
            return bytes;
        },
        record);
}
