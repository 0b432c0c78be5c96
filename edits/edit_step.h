// A step of the history: one change of the document that undo takes back
// exactly and redo makes again, and what it tells the views it changed.
#pragma once

#include "skin_document.h"

#include <QUndoCommand>

#include <functional>
#include <memory>
#include <vector>

// What a step (or its undo) changed, for the item list, the inspector, the
// playlist page and the preview to reload.
struct TEditChange {
    enum TWhat {
        Record,         // values of Row's record
        Picture,        // a picture of Row's record (Row -1: a playlist icon)
        ItemsAdded,     // Count rows from Row on are new
        ItemsRemoved,   // Count rows from Row on are gone
        ItemsSwapped,   // the item now at Row came from OtherRow, and back
        ItemRenamed,    // Row's name
        Playlist,       // the playlist look
        Pictures,       // the pictures of every item (dithering)
        Moved,          // the position of Row's record, while a drag goes on
        ItemsReordered, // rows Row .. Row + Count - 1 hold the items of rows From
    };
    TWhat What = Record;
    int Row = -1;
    int OtherRow = -1;
    int Count = 1;
    // The inspector and the playlist page show the document again: true for
    // undo and redo and for gestures, false for an edit the inspector made.
    bool Reload = false;
    // One of the changes of a step made of several, told in the order they
    // are made; Part counts them from 0.
    bool Grouped = false;
    int Part = 0;
    int Parts = 1;
    // For ItemsReordered, one per row of the list: the row each item held
    // before.
    QList<int> From = {};
};

class TEditStep : public QUndoCommand {
  public:
    explicit TEditStep(TSkinDocument& doc, const QString& text) : QUndoCommand(text), Doc(doc) {}

    // What the last redo (undone false) or undo (true) changed.
    virtual TEditChange Change(bool undone) const = 0;

    // Makes the step (undo: takes it back) and tells each change right after
    // making it, so that a listener sees the document as the change left it.
    virtual void Run(bool undo, const std::function<void(TEditChange)>& tell) {
        if (undo)
            this->undo();
        else
            redo();
        tell(Change(undo));
    }

    // Bytes of pictures that only this step keeps alive in the state given
    // (after a redo: what undo would bring back; after an undo: the reverse).
    virtual qint64 HeldBytes(bool undone) const {
        Q_UNUSED(undone);
        return 0;
    }

  protected:
    TSkinDocument& Doc;
};

// Ids of the steps that merge with the next one of their kind.
enum TStepId { RecordStepId = 1, PlaylistStepId = 2 };

// Several steps made as one, in their order, and taken back in the reverse
// order; each part's change is told as it happens.
class TStepGroup : public TEditStep {
  public:
    TStepGroup(TSkinDocument& doc, const QString& text) : TEditStep(doc, text) {
        setObsolete(true);
    }
    // A part that changes nothing is left out.
    void Add(std::unique_ptr<TEditStep> step) {
        if (!step || step->isObsolete()) return;
        Parts.push_back(std::move(step));
        setObsolete(false);
    }
    bool Empty() const { return Parts.empty(); }
    void redo() override {
        for (auto& part : Parts)
            part->redo();
    }
    void undo() override {
        for (auto it = Parts.rbegin(); it != Parts.rend(); ++it)
            (*it)->undo();
    }
    void Run(bool undo, const std::function<void(TEditChange)>& tell) override {
        const int n = int(Parts.size());
        for (int i = 0; i < n; ++i) {
            TEditStep& part = *Parts[std::size_t(undo ? n - 1 - i : i)];
            part.Run(undo, [&tell, i, n](TEditChange change) {
                change.Grouped = true;
                change.Part = i;
                change.Parts = n;
                tell(change);
            });
        }
    }
    TEditChange Change(bool undone) const override {
        if (Parts.empty()) return {};
        return (undone ? Parts.front() : Parts.back())->Change(undone);
    }
    qint64 HeldBytes(bool undone) const override {
        qint64 bytes = 0;
        for (const auto& part : Parts)
            bytes += part->HeldBytes(undone);
        return bytes;
    }

  private:
    std::vector<std::unique_ptr<TEditStep>> Parts;
};
