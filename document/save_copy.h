// The complete new content of a file saved in place, kept on disk while the
// old bytes are written over: beside the file (.NAME.lumoraskin-save) or, when
// that name is taken or the folder takes no new file, in the user's private
// state folder (DEVICE-INODE.lumoraskin-save). A save that ends removes it; a
// save that was interrupted leaves it, and the next open of the file names it.
//
// The copy carries a record (extended attribute) of the file it belongs to,
// its device, inode and birth, and of the new content's length and SHA-256;
// the file carries the copy's path. So the copy is found through any name of
// the file, or from a descriptor, and never attaches to another file that
// later reuses the inode. A copy that cannot carry its record is not kept.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class TSaveCopy {
  public:
    // Writes and flushes the copy of the regular file open as fd, whose
    // canonical path is given, and points the file at it. Where no place
    // takes it, no copy is kept. Older copies of the same file go once the
    // new one is on disk.
    TSaveCopy(int fd, const QString& canonicalPath, const QByteArray& bytes);
    ~TSaveCopy() = default;
    TSaveCopy(const TSaveCopy&) = delete;
    TSaveCopy& operator=(const TSaveCopy&) = delete;

    QString CopyPath() const { return Path; }
    // Once the file holds the new bytes, or still holds every old one.
    void Remove();

  private:
    int Fd;
    QString Path;
};

// What tells a file from every other, even one that later reuses its inode:
// "DEVICE INODE BIRTH", BIRTH being the birth time ("b:SECONDS.NANOSECONDS")
// where the file system records one, else the inode's generation number
// ("g:N"), else "-". Empty when fd cannot be examined.
QByteArray FileIdentity(int fd);

// Every copy an interrupted save left for the regular file open as fd (its
// canonical path when known, else empty), the newest first: only copies whose
// record names this very file, owned by this user or by one who may write the
// file anyway (a copy's only power is to have the file refused).
QStringList InterruptedSaveCopies(int fd, const QString& canonicalPath);

// Whether the file open as fd holds the content the copy records (length and
// SHA-256): the save wrote every byte and ended just before removing it.
bool FileHoldsRecordedContent(const QString& copyPath, int fd);

// Removes a copy found for the file open as fd, and the file's pointer to it.
void DropSaveCopy(const QString& copyPath, int fd);
