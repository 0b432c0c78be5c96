// The recovery copy of an unsaved skin: a skin file in the user's state
// folder, with a small note of the name and untitled flag it had and when it
// was written. Each running editor holds a lock on its own copy for its whole
// life, so that two editors never touch each other's copy and a copy whose
// lock nobody holds is one left behind by an editor that ended.
//
// The folder is used only when it is the user's alone, and every file in it
// is created new and read, replaced or removed only when it is the user's own
// regular file: nothing planted there can be offered, followed or destroyed.
#pragma once

#include "skin_document.h"
#include "skin_file.h"

#include <QDateTime>
#include <QString>

#include <vector>

// A copy left behind: where its files are, what its note says.
struct TLeftCopy {
    QString Skin, Note, Lock; // paths
    QString FileName;         // the document's file name when it was written
    bool Untitled = true;
    QDateTime Written;
    bool NoteRead = false; // false: the note is missing or damaged
};

class TRecoveryCopy {
  public:
    TRecoveryCopy() = default;
    ~TRecoveryCopy();
    TRecoveryCopy(const TRecoveryCopy&) = delete;
    TRecoveryCopy& operator=(const TRecoveryCopy&) = delete;

    // Names this process's copy and takes its lock, once; false when the
    // state folder is not the user's alone or the lock cannot be made, and
    // then nothing is written and Refusal() says why.
    bool Begin();
    QString Refusal() const { return Refused; }
    QString SkinPath() const { return Skin; }

    // Writes the note, then the document, each to a new file put in place of
    // the last; called from a worker thread with a snapshot. Returns the
    // reason of a failure (no full stop) or empty.
    QString Write(const TSkinDocument& doc) const;
    void Remove() const;

    // The user's own copies whose lock nobody holds, newest first; each
    // stays locked by this process while it lives. Lock files left without
    // a copy go.
    std::vector<TLeftCopy> TakeLeftCopies();
    // The left copy's skin, read only as the user's own regular file.
    static TSkinReadResult Read(const TLeftCopy& copy);
    // Removes a left copy's files.
    static void Discard(const TLeftCopy& copy);
    // Renames a damaged copy's skin (and note) out of the way, keeping them;
    // returns the skin's path then.
    static QString SetAside(const TLeftCopy& copy);

  private:
    QString Skin, Note, LockPath, Refused;
    int LockFd = -1;
    std::vector<int> HeldLocks; // of the left copies being offered
};
