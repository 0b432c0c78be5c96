// The complete new content of a file saved in place, kept on disk while the
// old bytes are written over: beside the file, or in the user's state folder
// ($XDG_STATE_HOME/lumoraskin, by default ~/.local/state/lumoraskin) where the
// file's folder takes no new file. A save that ends removes it; a save that
// was interrupted leaves it, and the next open of the file names it.
#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

class TSaveCopy {
  public:
    // Writes and flushes the copy of the regular file st describes at its
    // canonical path. Where neither place takes it, no copy is kept.
    TSaveCopy(const QString& canonicalPath, const struct stat& st, const QByteArray& bytes);
    ~TSaveCopy() = default;
    TSaveCopy(const TSaveCopy&) = delete;
    TSaveCopy& operator=(const TSaveCopy&) = delete;

    bool Kept() const { return !Path.isEmpty(); }
    // Once the file holds the new bytes, or still holds every old one.
    void Remove();

  private:
    QString Path;
};

// The copy an interrupted save left for the file, found by the names a save
// gives it; empty when there is none. The caller holds the file open as fd,
// described by st, so that it is the file the path names.
QString InterruptedSaveCopy(const QString& canonicalPath, const struct stat& st);

// Whether the copy holds exactly what the file (open as fd) holds: the save
// wrote every byte and ended just before removing its copy.
bool CopyMatchesFile(const QString& copyPath, int fd);
