// A step of the history: one change of the document that undo takes back
// exactly and redo makes again, and what it tells the views it changed.
#pragma once

#include "skin_document.h"

#include <QUndoCommand>

// What a step (or its undo) changed, for the item list, the inspector, the
// playlist page and the preview to reload.
struct TEditChange {
    enum TWhat {
        Record,       // values of Row's record
        Picture,      // a picture of Row's record (Row -1: a playlist icon)
        ItemsAdded,   // Count rows from Row on are new
        ItemsRemoved, // Count rows from Row on are gone
        ItemsSwapped, // the item now at Row came from OtherRow, and back
        ItemRenamed,  // Row's name
        Playlist,     // the playlist look
        Pictures,     // the pictures of every item (dithering)
        Moved,        // the position of Row's record, while a drag goes on
    };
    TWhat What = Record;
    int Row = -1;
    int OtherRow = -1;
    int Count = 1;
    // The inspector and the playlist page show the document again: true for
    // undo and redo and for gestures, false for an edit the inspector made.
    bool Reload = false;
};

class TEditStep : public QUndoCommand {
  public:
    explicit TEditStep(TSkinDocument& doc, const QString& text) : QUndoCommand(text), Doc(doc) {}

    // What the last redo (undone false) or undo (true) changed.
    virtual TEditChange Change(bool undone) const = 0;

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
