// The one door through which every change of the document goes: it keeps
// the document, the current row and the history of steps, runs each step,
// and tells the views what changed so that they reload themselves.
#pragma once

#include "any_record.h"
#include "edit_step.h"

#include <QObject>
#include <QUndoStack>

#include <vector>

#include <memory>
#include <optional>

class TSkinEdits : public QObject {
    Q_OBJECT

  public:
    explicit TSkinEdits(TSkinDocument& doc);
    ~TSkinEdits() override;

    TSkinDocument& Doc;
    QUndoStack& History() { return Stack; }

    // The row the views show as current: a new row ends a merging run.
    void SetCurrentRow(int row);

    // Runs the step and keeps it in the history; merges with the step
    // before it when both say so.
    void Push(std::unique_ptr<TEditStep> step);

    // Ends the run of edits that merge into one step (a field left, another
    // item chosen, another action): the next edit is a step of its own.
    void EndMerge() { ++Generation; }
    quint64 MergeGeneration() const { return Generation; }

    void Undo();
    void Redo();

    // Whether the document differs from what its file holds, as far as the
    // history knows: undoing back to the saved state makes it saved again.
    bool Unsaved() const { return !Stack.isClean(); }
    // The document now is what its file holds (New, Open, Save, reload).
    void MarkSaved();
    // No state of the history is what the file holds (a restored recovery
    // copy that differs from its file).
    void MarkUnsaved();
    // An empty history, for a document replaced by New or Open.
    void Clear();

    // A drag: positions written straight into the records while the pointer
    // moves, then one step from the press to the release, or none. An entry
    // that changed meanwhile is forgotten, its record left alone.
    bool BeginMove(int row);
    // Several items dragged together, each by the same amount.
    bool BeginMove(const QList<int>& rows);
    // The first row's item to the position, the others by as much.
    void MoveTo(QPoint position);
    // Every item by the amount from where it stood at the press (held
    // within the 32 bits a field takes).
    void MoveBy(qint64 dx, qint64 dy);
    void EndMove(const QString& text);
    void CancelMove();

    // The oldest steps are dropped while the pictures that only the history
    // holds take more than this; the newest step is always kept.
    void SetHeldBytesBound(qint64 bytes) { HeldBound = bytes; }
    qint64 HeldBytes() const { return Held; }

  Q_SIGNALS:
    void Changed(const TEditChange& change);
    // Unsaved() changed; never for the history's own rebuilding.
    void SavedChanged(bool saved);

  private:
    struct TMoving {
        int Row;
        TDocItem Entry;
        TAnyRecord Before;
    };
    // The record of a dragged row while it still is the drag's entry.
    std::optional<TAnyRecord> MovingRecord(const TMoving& moving) const;
    class THolder;
    friend class THolder;
    void Announce(TEditChange change);
    void Bound();

    QUndoStack Stack;
    int Row = -1;
    quint64 Generation = 0;
    bool Pushing = false;
    bool Replaying = false;
    bool Quiet = false; // a step whose change every view already shows
    std::vector<TMoving> Moving;
    qint64 HeldBound = qint64(256) << 20;
    qint64 Held = 0; // kept up to date by the stack's steps
};
