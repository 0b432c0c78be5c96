#include "item_steps.h"

#include "item_list.h"

namespace {
template <class T> void PopRecord(TSkinDocument& doc) {
    auto& records = RecordsOf<T>(doc);
    if (!records.empty()) records.pop_back();
}
} // namespace

std::optional<TLooseItem> LooseItemAt(const TSkinDocument& doc, int row) {
    if (row < 0 || row >= doc.Items.size()) return std::nullopt;
    const std::optional<TAnyRecord> record = RecordAt(doc, doc.Items[row]);
    if (!record) return std::nullopt;
    return TLooseItem{doc.Items[row].Name, *record};
}

void AppendItem(TSkinDocument& doc, const TLooseItem& item) {
    const TItemKind kind = KindOf(item.Record);
    const int index = RecordCount(doc, kind);
    InsertRecord(doc, index, item.Record);
    doc.Items.append(TDocItem{quint8(kind), index, item.Name});
}

void RemoveLastItem(TSkinDocument& doc) {
    if (doc.Items.isEmpty()) return;
    switch (doc.Items.back().Kind) {
    case ikImage:
        PopRecord<TiImage>(doc);
        break;
    case ikText:
        PopRecord<TiText>(doc);
        break;
    case ikButton:
        PopRecord<TiButton>(doc);
        break;
    case ikWheel:
        PopRecord<TiWheel>(doc);
        break;
    case ikTrackbar:
        PopRecord<TiTrackbar>(doc);
        break;
    default:
        break;
    }
    doc.Items.removeLast();
}

TAddItemStep::TAddItemStep(TSkinDocument& doc, TLooseItem item, const QString& text)
    : TEditStep(doc, text), Item(std::move(item)) {}

void TAddItemStep::redo() {
    AppendItem(Doc, Item);
}

void TAddItemStep::undo() {
    RemoveLastItem(Doc);
}

TEditChange TAddItemStep::Change(bool undone) const {
    TEditChange change;
    change.What = undone ? TEditChange::ItemsRemoved : TEditChange::ItemsAdded;
    change.Row = int(Doc.Items.size()) - (undone ? 0 : 1);
    return change;
}

qint64 TAddItemStep::HeldBytes(bool undone) const {
    return undone ? PictureBytes(Item.Record) : 0;
}

TDeleteItemStep::TDeleteItemStep(TSkinDocument& doc, int row, const QString& text)
    : TEditStep(doc, text), Row(row) {
    if (row >= 0 && row < doc.Items.size()) {
        Entry = doc.Items[row];
        Record = RecordAt(doc, Entry);
    }
    setObsolete(!Record);
}

void TDeleteItemStep::redo() {
    DeleteItem(Doc, Row);
}

void TDeleteItemStep::undo() {
    if (!Record) return;
    InsertRecord(Doc, Entry.Index, *Record);
    Doc.Items.insert(Row, Entry);
}

TEditChange TDeleteItemStep::Change(bool undone) const {
    TEditChange change;
    change.What = undone ? TEditChange::ItemsAdded : TEditChange::ItemsRemoved;
    change.Row = Row;
    return change;
}

qint64 TDeleteItemStep::HeldBytes(bool undone) const {
    return !undone && Record ? PictureBytes(*Record) : 0;
}

TMoveItemStep::TMoveItemStep(TSkinDocument& doc, int from, int to, const QString& text)
    : TEditStep(doc, text), From(from), To(to) {
    setObsolete(from < 0 || to < 0 || from >= doc.Items.size() || to >= doc.Items.size() ||
                std::abs(from - to) != 1);
}

void TMoveItemStep::redo() {
    Doc.Items.swapItemsAt(From, To);
}

void TMoveItemStep::undo() {
    Doc.Items.swapItemsAt(From, To);
}

TEditChange TMoveItemStep::Change(bool undone) const {
    TEditChange change;
    change.What = TEditChange::ItemsSwapped;
    change.Row = undone ? From : To;
    change.OtherRow = undone ? To : From;
    return change;
}

TRenameItemStep::TRenameItemStep(TSkinDocument& doc, int row, QByteArray name, const QString& text)
    : TEditStep(doc, text), Row(row), After(std::move(name)) {
    if (row >= 0 && row < doc.Items.size()) Before = doc.Items[row].Name;
    setObsolete(row < 0 || row >= doc.Items.size() || Before == After);
}

void TRenameItemStep::redo() {
    Doc.Items[Row].Name = After;
}

void TRenameItemStep::undo() {
    Doc.Items[Row].Name = Before;
}

TEditChange TRenameItemStep::Change(bool) const {
    TEditChange change;
    change.What = TEditChange::ItemRenamed;
    change.Row = Row;
    return change;
}

TPasteItemsStep::TPasteItemsStep(TSkinDocument& doc, std::vector<TLooseItem> items,
                                 const QString& text)
    : TEditStep(doc, text), Items(std::move(items)) {
    setObsolete(Items.empty());
}

void TPasteItemsStep::redo() {
    for (const TLooseItem& item : Items)
        AppendItem(Doc, item);
}

void TPasteItemsStep::undo() {
    for (std::size_t i = 0; i < Items.size(); ++i)
        RemoveLastItem(Doc);
}

TEditChange TPasteItemsStep::Change(bool undone) const {
    TEditChange change;
    change.What = undone ? TEditChange::ItemsRemoved : TEditChange::ItemsAdded;
    change.Count = int(Items.size());
    change.Row = int(Doc.Items.size()) - (undone ? 0 : change.Count);
    return change;
}

qint64 TPasteItemsStep::HeldBytes(bool undone) const {
    qint64 bytes = 0;
    if (undone)
        for (const TLooseItem& item : Items)
            bytes += PictureBytes(item.Record);
    return bytes;
}

TReorderItemsStep::TReorderItemsStep(TSkinDocument& doc, QList<int> from, const QString& text)
    : TEditStep(doc, text), From(std::move(from)) {
    bool valid = From.size() == doc.Items.size();
    bool moves = false;
    Back = QList<int>(From.size(), -1);
    for (int i = 0; valid && i < From.size(); ++i) {
        const int row = From[i];
        valid = row >= 0 && row < From.size() && Back[row] < 0;
        if (valid) Back[row] = i;
        moves = moves || row != i;
    }
    setObsolete(!valid || !moves);
}

namespace {
void Reorder(QList<TDocItem>& items, const QList<int>& from) {
    QList<TDocItem> reordered;
    reordered.reserve(items.size());
    for (int row : from)
        reordered << items[row];
    items = std::move(reordered);
}
} // namespace

void TReorderItemsStep::redo() {
    Reorder(Doc.Items, From);
}

void TReorderItemsStep::undo() {
    Reorder(Doc.Items, Back);
}

TEditChange TReorderItemsStep::Change(bool undone) const {
    TEditChange change;
    change.What = TEditChange::ItemsReordered;
    change.From = undone ? Back : From;
    int first = 0, last = int(change.From.size()) - 1;
    while (first <= last && change.From[first] == first)
        ++first;
    while (last >= first && change.From[last] == last)
        --last;
    change.Row = first;
    change.Count = std::max(0, last - first + 1);
    return change;
}
