#include "record_steps.h"

namespace {
template <std::size_t N>
qint64 Unshared(const std::array<TPicture, N>& mine, const std::array<TPicture, N>& other) {
    qint64 bytes = 0;
    for (std::size_t i = 0; i < N; ++i)
        bytes += UnsharedBytes(mine[i].Image, other[i].Image);
    return bytes;
}

// Bytes of mine's pictures that other does not hold in the same slot.
qint64 UnsharedRecordBytes(const TAnyRecord& mine, const TAnyRecord& other) {
    if (mine.index() != other.index()) return PictureBytes(mine);
    if (const auto* a = std::get_if<TiImage>(&mine))
        return UnsharedBytes(a->Picture.Image, std::get<TiImage>(other).Picture.Image);
    if (const auto* a = std::get_if<TiButton>(&mine))
        return Unshared(a->Pictures, std::get<TiButton>(other).Pictures);
    if (const auto* a = std::get_if<TiWheel>(&mine))
        return Unshared(a->Pictures, std::get<TiWheel>(other).Pictures);
    if (const auto* a = std::get_if<TiTrackbar>(&mine))
        return Unshared(a->Pictures, std::get<TiTrackbar>(other).Pictures);
    return 0;
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
    const auto at = [slot](auto& pictures) -> TPicture* {
        return slot >= 0 && std::size_t(slot) < pictures.size() ? &pictures[std::size_t(slot)]
                                                                : nullptr;
    };
    if (TiImage* r = RecordOf<TiImage>(doc, item)) return slot == 0 ? &r->Picture : nullptr;
    if (TiButton* r = RecordOf<TiButton>(doc, item)) return at(r->Pictures);
    if (TiWheel* r = RecordOf<TiWheel>(doc, item)) return at(r->Pictures);
    if (TiTrackbar* r = RecordOf<TiTrackbar>(doc, item)) return at(r->Pictures);
    return nullptr;
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
