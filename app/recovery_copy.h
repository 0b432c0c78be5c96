// The recovery copy of an unsaved skin: a skin file in the user's state
// folder, with a small note of the name and untitled flag it had and when it
// was written. Each running editor holds a lock on its own copy for its whole
// life, so that two editors never touch each other's copy and a copy whose
// lock nobody holds is one left behind by an editor that ended.
#pragma once

#include "skin_document.h"

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
    // state folder cannot be made or locked, and then nothing is written.
    bool Begin();
    QString SkinPath() const { return Skin; }

    // Writes the note, then the document through the file layer; called from
    // a worker thread with a snapshot. Returns the failure's text or empty.
    QString Write(const TSkinDocument& doc) const;
    void Remove() const;

    // The copies whose lock nobody holds, newest first; each stays locked
    // by this process while it lives. Lock files left without a copy go.
    std::vector<TLeftCopy> TakeLeftCopies();
    // Removes a left copy's files.
    static void Discard(const TLeftCopy& copy);
    // Renames a damaged copy's skin (and note) out of the way, keeping them;
    // returns the skin's new path.
    static QString SetAside(const TLeftCopy& copy);

  private:
    QString Skin, Note, LockPath;
    int LockFd = -1;
    std::vector<int> HeldLocks; // of the left copies being offered
};
