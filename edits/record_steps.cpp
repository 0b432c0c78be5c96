#include "record_steps.h"

#include "item_pictures.h"

namespace {
// Bytes of mine's pictures that other does not hold in the same slot.
qint64 UnsharedRecordBytes(const TAnyRecord& mine, const TAnyRecord& other) {
    if (mine.index() != other.index()) return PictureBytes(mine);
    return std::visit(
        [&other](const auto& r) {
            const auto own = PictureSlots(r);
            const auto theirs = PictureSlots(std::get<std::decay_t<decltype(r)>>(other));
            qint64 bytes = 0;
            for (std::size_t i = 0; i < own.size(); ++i)
                bytes += UnsharedBytes(own[i].Image, theirs[i].Image);
            return bytes;
        },
        mine);
}
} // namespace

qint64 UnsharedBytes(const QImage& mine, const QImage& other) {
    return mine.cacheKey() == other.cacheKey() ? 0 : mine.sizeInBytes();
}

TRecordStep::TRecordStep(TSkinDocument& doc, int row, TAnyRecord before, TAnyRecord after,
                         const QString& text, TMergeRun run, bool reload)
    : TEditStep(doc, text), Row(row),
      Entry(row >= 0 && row < doc.Items.size() ? doc.Items[row] : TDocItem{}),
      Before(std::move(before)), After(std::move(after)), Run(std::move(run)), Reload(reload) {
    setObsolete(Before == After);
}

void TRecordStep::redo() {
    StoreRecord(Doc, Entry, After);
}

void TRecordStep::undo() {
    StoreRecord(Doc, Entry, Before);
}

bool TRecordStep::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const TRecordStep*>(other);
    if (!next || next->Row != Row || !(next->Entry == Entry) || !Run.Joins(next->Run)) return false;
    After = next->After;
    setObsolete(Before == After);
    return true;
}

TEditChange TRecordStep::Change(bool) const {
    TEditChange change;
    change.What = TEditChange::Record;
    change.Row = Row;
    change.Reload = Reload;
    return change;
}

qint64 TRecordStep::HeldBytes(bool undone) const {
    return undone ? UnsharedRecordBytes(After, Before) : UnsharedRecordBytes(Before, After);
}

TPictureStep::TPictureStep(TSkinDocument& doc, int row, int slot, QImage after, const QString& text)
    : TEditStep(doc, text), Row(row), SlotNumber(slot), After(std::move(after)) {
    if (TPicture* p = PictureAt(doc, row, slot))
        Before = p->Image;
    else
        setObsolete(true);
}

TPicture* PictureAt(TSkinDocument& doc, int row, int slot) {
    if (row < 0) {
        TPlaylistSettings& look = doc.Playlist;
        return slot == 0 ? &look.FolderIcon : slot == 1 ? &look.SongIcon : nullptr;
    }
    if (row >= doc.Items.size()) return nullptr;
    const TDocItem& item = doc.Items[row];
    TPicture* found = nullptr;
    const auto in = [&found, slot](auto* record) {
        if (record) found = PictureInSlot(*record, slot);
    };
    in(RecordOf<TiImage>(doc, item));
    in(RecordOf<TiButton>(doc, item));
    in(RecordOf<TiWheel>(doc, item));
    in(RecordOf<TiTrackbar>(doc, item));
    return found;
}

void TPictureStep::redo() {
    if (TPicture* p = PictureAt(Doc, Row, SlotNumber)) p->Image = After;
}

void TPictureStep::undo() {
    if (TPicture* p = PictureAt(Doc, Row, SlotNumber)) p->Image = Before;
}

TEditChange TPictureStep::Change(bool) const {
    TEditChange change;
    change.What = TEditChange::Picture;
    change.Row = Row;
    return change;
}

qint64 TPictureStep::HeldBytes(bool undone) const {
    return undone ? UnsharedBytes(After, Before) : UnsharedBytes(Before, After);
}

TPlaylistStep::TPlaylistStep(TSkinDocument& doc, TPlaylistSettings after, const QString& text,
                             TMergeRun run)
    : TEditStep(doc, text), Before(doc.Playlist), After(std::move(after)), Run(std::move(run)) {
    setObsolete(Before == After);
}

void TPlaylistStep::redo() {
    Doc.Playlist = After;
}

void TPlaylistStep::undo() {
    Doc.Playlist = Before;
}

bool TPlaylistStep::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const TPlaylistStep*>(other);
    if (!next || !Run.Joins(next->Run)) return false;
    After = next->After;
    setObsolete(Before == After);
    return true;
}

TEditChange TPlaylistStep::Change(bool) const {
    TEditChange change;
    change.What = TEditChange::Playlist;
    return change;
}
