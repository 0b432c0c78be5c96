// Steps that change values in place: an item's record replaced, one of its
// pictures (or a playlist icon) replaced, the playlist look changed. A
// record or playlist step merges with the next one on the same field of the
// same item, so typing, holding an arrow or a run of nudges is one step.
#pragma once

#include "any_record.h"
#include "edit_step.h"

// What a run of merging edits changes: a number typed into one field, or a
// run of nudges from the keyboard. None merges with nothing.
enum class TMergeField {
    None,
    X,
    Y,
    Width,
    Height,
    FontSize,
    BallDistance,
    BallCount,
    Nudge,
    TitleHeight,
    ItemHeight,
    TitleFontSize,
    ItemFontSize,
};

// Merging runs: a step merges with the one before it when both change the
// same field and carry the same generation of the door (a field left or
// another item chosen starts a new one).
struct TMergeRun {
    TMergeField Field = TMergeField::None;
    quint64 Generation = 0;
    bool Joins(const TMergeRun& next) const {
        return Field != TMergeField::None && Field == next.Field && Generation == next.Generation;
    }
};

class TRecordStep : public TEditStep {
  public:
    // row: the entry whose record changes from before to after.
    TRecordStep(TSkinDocument& doc, int row, TAnyRecord before, TAnyRecord after,
                const QString& text, TMergeRun run = {}, bool reload = false);
    void redo() override;
    void undo() override;
    int id() const override { return RecordStepId; }
    bool mergeWith(const QUndoCommand* other) override;
    TEditChange Change(bool undone) const override;
    qint64 HeldBytes(bool undone) const override;

  private:
    int Row;
    TDocItem Entry;
    TAnyRecord Before, After;
    TMergeRun Run;
    bool Reload;
};

// slot: the picture's place in the record (an image's picture is 0), or for
// row -1 the playlist icon (0 folder, 1 song). Only the pixels change; the
// slot's transparency stays.
class TPictureStep : public TEditStep {
  public:
    TPictureStep(TSkinDocument& doc, int row, int slot, QImage after, const QString& text);
    void redo() override;
    void undo() override;
    TEditChange Change(bool undone) const override;
    qint64 HeldBytes(bool undone) const override;

  private:
    int Row, SlotNumber;
    QImage Before, After;
};

class TPlaylistStep : public TEditStep {
  public:
    TPlaylistStep(TSkinDocument& doc, TPlaylistSettings after, const QString& text,
                  TMergeRun run = {});
    void redo() override;
    void undo() override;
    int id() const override { return PlaylistStepId; }
    bool mergeWith(const QUndoCommand* other) override;
    TEditChange Change(bool undone) const override;

  private:
    TPlaylistSettings Before, After;
    TMergeRun Run;
};

// The picture a picture step reaches: slot of row's record, or for row -1
// the playlist icon; nullptr when there is no such slot.
TPicture* PictureAt(TSkinDocument& doc, int row, int slot);

// Pictures of the two sides that the other side does not share.
qint64 UnsharedBytes(const QImage& mine, const QImage& other);
