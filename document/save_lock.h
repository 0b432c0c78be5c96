// An advisory lock (flock) on a file while it is saved, so that two saves
// never write one file at once and a reader can wait for a save to end.
#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// The text of a save that found the file locked for longer than it waits.
QString BeingSavedText();

// Waits, up to the same 5 s, until no save holds the file open as fd;
// returns BeingSavedText() when the wait ran out, else an empty string.
QString WaitForSave(int fd);

class TSaveLock {
  public:
    TSaveLock() = default;
    ~TSaveLock();
    TSaveLock(const TSaveLock&) = delete;
    TSaveLock& operator=(const TSaveLock&) = delete;

    // Locks the regular file the path names (links followed), waiting up to
    // 5 s while another program holds it. On success st describes the file
    // that is locked, which the path still names. A file this process may
    // not open, or a file system without locks, goes unlocked: nothing else
    // of this user can write it either. Returns BeingSavedText() when the
    // wait ran out, the system's text when the path cannot be examined, or
    // an empty string.
    QString Take(const QByteArray& native, bool exclusive, struct stat& st);

  private:
    void Release();
    int Fd = -1;
};
