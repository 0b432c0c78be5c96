#include "skin_edits.h"

#include "record_steps.h"

#include <algorithm>
#include <limits>
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
    Moving.clear();
    Replaying = true;
    Stack.clear();
    Replaying = false;
    EndMerge();
    if (wasUnsaved) Q_EMIT SavedChanged(true);
}

bool TSkinEdits::BeginMove(int row) {
    return BeginMove(QList<int>{row});
}

bool TSkinEdits::BeginMove(const QList<int>& rows) {
    Moving.clear();
    for (int row : rows) {
        if (row < 0 || row >= Doc.Items.size()) continue;
        if (std::optional<TAnyRecord> before = RecordAt(Doc, Doc.Items[row]))
            Moving.push_back({row, Doc.Items[row], std::move(*before)});
    }
    EndMerge();
    return !Moving.empty();
}

std::optional<TAnyRecord> TSkinEdits::MovingRecord(const TMoving& moving) const {
    if (moving.Row >= Doc.Items.size() || !(Doc.Items[moving.Row] == moving.Entry))
        return std::nullopt;
    return RecordAt(Doc, moving.Entry);
}

void TSkinEdits::MoveTo(QPoint position) {
    if (Moving.empty()) return;
    const QPoint start = PositionOf(Moving.front().Before);
    MoveBy(qint64(position.x()) - start.x(), qint64(position.y()) - start.y());
}

namespace {
int Shifted(int start, qint64 delta) {
    return int(std::clamp<qint64>(qint64(start) + delta, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}
} // namespace

void TSkinEdits::MoveBy(qint64 dx, qint64 dy) {
    for (const TMoving& moving : Moving) {
        std::optional<TAnyRecord> record = MovingRecord(moving);
        if (!record) continue;
        const QPoint start = PositionOf(moving.Before);
        const QPoint position(Shifted(start.x(), dx), Shifted(start.y(), dy));
        if (PositionOf(*record) == position) continue;
        SetPosition(*record, position);
        StoreRecord(Doc, moving.Entry, *record);
        Announce({TEditChange::Moved, moving.Row, -1, 1, true});
    }
}

void TSkinEdits::EndMove(const QString& text) {
    std::vector<std::unique_ptr<TEditStep>> steps;
    steps.reserve(Moving.size());
    for (TMoving& m : Moving) {
        const std::optional<TAnyRecord> now = MovingRecord(m);
        if (now && !(*now == m.Before))
            steps.push_back(std::make_unique<TRecordStep>(Doc, m.Row, m.Before, *now, text));
    }
    Moving.clear();
    // The document and the views already show where they went: the step
    // joins the history without news. Several items make one step.
    Quiet = true;
    if (steps.size() == 1) {
        Push(std::move(steps.front()));
    } else if (steps.size() > 1) {
        auto group = std::make_unique<TStepGroup>(Doc, text);
        for (auto& step : steps)
            group->Add(std::move(step));
        Push(std::move(group));
    }
    Quiet = false;
    EndMerge();
}

void TSkinEdits::CancelMove() {
    for (const TMoving& moving : Moving) {
        const std::optional<TAnyRecord> now = MovingRecord(moving);
        if (!now || *now == moving.Before) continue;
        StoreRecord(Doc, moving.Entry, moving.Before);
        Announce({TEditChange::Moved, moving.Row, -1, 1, true});
    }
    Moving.clear();
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
