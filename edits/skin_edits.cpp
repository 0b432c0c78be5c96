#include "skin_edits.h"

#include "record_steps.h"

#include <vector>

// What the stack holds: a step shared with the door, so that the door can
// take the newer steps out and build the stack again without its oldest
// ones, which QUndoStack cannot drop by itself.
class TSkinEdits::THolder : public QUndoCommand {
  public:
    THolder(TSkinEdits& edits, std::shared_ptr<TEditStep> step)
        : QUndoCommand(step->text()), Edits(edits), Step(std::move(step)) {
        setObsolete(Step->isObsolete());
    }
    ~THolder() override { Edits.Held -= Counted; }
    void redo() override {
        if (Edits.Replaying) return;
        const bool reload = !Edits.Pushing;
        Step->Run(false, [this, reload](TEditChange change) {
            change.Reload = change.Reload || reload;
            Edits.Announce(change);
        });
        Count(false);
    }
    void undo() override {
        if (Edits.Replaying) return;
        Step->Run(true, [this](TEditChange change) {
            change.Reload = true;
            Edits.Announce(change);
        });
        Count(true);
    }
    int id() const override { return Edits.Replaying ? -1 : Step->id(); }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = dynamic_cast<const THolder*>(other);
        if (!next || !Step->mergeWith(next->Step.get())) return false;
        setText(Step->text());
        setObsolete(Step->isObsolete());
        Count(false);
        return true;
    }
    // Keeps the door's sum of held bytes up to date for the state given.
    void Count(bool undone) {
        const qint64 bytes = Step->HeldBytes(undone);
        Edits.Held += bytes - Counted;
        Counted = bytes;
    }

    TSkinEdits& Edits;
    std::shared_ptr<TEditStep> Step;
    qint64 Counted = 0; // what this holder adds to the door's sum
};

TSkinEdits::TSkinEdits(TSkinDocument& doc) : Doc(doc) {
    // The stack's own news also comes while it is rebuilt (Bound, Clear),
    // when it means nothing for the file.
    connect(&Stack, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (!Replaying) Q_EMIT SavedChanged(clean);
    });
}

void TSkinEdits::MarkSaved() {
    // The next edit is a step of its own, never merged into the saved one.
    EndMerge();
    Stack.setClean();
}

void TSkinEdits::MarkUnsaved() {
    Stack.resetClean();
}

TSkinEdits::~TSkinEdits() {
    Replaying = true; // the stack's steps go without touching the document
    Stack.clear();
}

void TSkinEdits::SetCurrentRow(int row) {
    if (row != Row) EndMerge();
    Row = row;
}

void TSkinEdits::Announce(TEditChange change) {
    if (Quiet) return;
    Q_EMIT Changed(change);
}

void TSkinEdits::Push(std::unique_ptr<TEditStep> step) {
    // A step that changes nothing is none: QUndoStack would still drop the
    // steps to redo before discarding it.
    if (!step || step->isObsolete()) return;
    Pushing = true;
    Stack.push(new THolder(*this, std::shared_ptr<TEditStep>(std::move(step))));
    Pushing = false;
    Bound();
}

void TSkinEdits::Undo() {
    EndMerge();
    Stack.undo();
    EndMerge();
}

void TSkinEdits::Redo() {
    EndMerge();
    Stack.redo();
    EndMerge();
}

void TSkinEdits::Clear() {
    const bool wasUnsaved = Unsaved();
    Row = -1;
    MoveBefore.reset();
    MoveRow = -1;
    Replaying = true;
    Stack.clear();
    Replaying = false;
    EndMerge();
    if (wasUnsaved) Q_EMIT SavedChanged(true);
}

bool TSkinEdits::BeginMove(int row) {
    MoveBefore.reset();
    if (row < 0 || row >= Doc.Items.size()) return false;
    MoveRow = row;
    MoveEntry = Doc.Items[row];
    MoveBefore = RecordAt(Doc, MoveEntry);
    EndMerge();
    return MoveBefore.has_value();
}

std::optional<TAnyRecord> TSkinEdits::MovingRecord() const {
    if (!MoveBefore || MoveRow >= Doc.Items.size() || !(Doc.Items[MoveRow] == MoveEntry))
        return std::nullopt;
    return RecordAt(Doc, MoveEntry);
}

void TSkinEdits::MoveTo(QPoint position) {
    std::optional<TAnyRecord> record = MovingRecord();
    if (!record || PositionOf(*record) == position) return;
    SetPosition(*record, position);
    StoreRecord(Doc, MoveEntry, *record);
    Announce({TEditChange::Moved, MoveRow, -1, 1, true});
}

void TSkinEdits::EndMove(const QString& text) {
    const std::optional<TAnyRecord> now = MovingRecord();
    std::optional<TAnyRecord> before = std::move(MoveBefore);
    MoveBefore.reset();
    if (now && before && !(*now == *before)) {
        // The document and the views already show where it went: the step
        // joins the history without news.
        Quiet = true;
        Push(std::make_unique<TRecordStep>(Doc, MoveRow, *before, *now, text));
        Quiet = false;
    }
    EndMerge();
}

void TSkinEdits::CancelMove() {
    if (MovingRecord() && !(*MovingRecord() == *MoveBefore)) {
        StoreRecord(Doc, MoveEntry, *MoveBefore);
        Announce({TEditChange::Moved, MoveRow, -1, 1, true});
    }
    MoveBefore.reset();
    EndMerge();
}

void TSkinEdits::Bound() {
    // Only steps already done can go: an undone step's successors need it.
    int drop = 0;
    qint64 bytes = Held;
    while (bytes > HeldBound && drop < Stack.index() && Stack.count() - drop > 1) {
        bytes -= static_cast<const THolder*>(Stack.command(drop))->Counted;
        ++drop;
    }
    if (drop == 0) return;
    std::vector<std::shared_ptr<TEditStep>> kept;
    for (int i = drop; i < Stack.count(); ++i)
        kept.push_back(static_cast<const THolder*>(Stack.command(i))->Step);
    const int index = Stack.index() - drop;
    // The state that matches the file on disk moves with the steps; one among
    // the dropped steps can no longer be reached.
    const int clean = Stack.cleanIndex() - drop;
    const bool wasUnsaved = Unsaved();
    Replaying = true;
    Stack.clear();
    for (std::size_t i = 0; i < kept.size(); ++i) {
        auto* holder = new THolder(*this, kept[i]);
        holder->Count(int(i) >= index);
        Stack.push(holder);
    }
    if (clean >= 0) {
        Stack.setIndex(clean);
        Stack.setClean();
    } else {
        Stack.resetClean();
    }
    Stack.setIndex(index);
    Replaying = false;
    if (Unsaved() != wasUnsaved) Q_EMIT SavedChanged(!Unsaved());
}
