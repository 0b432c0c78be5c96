// Whole files read and written for every caller (skins, bitmaps, skntool),
// with the editor's texts for failures. A save either writes every byte or
// leaves what was there. A file is replaced through a temporary file when the
// new one keeps everything the old one had (one link, owner, group, mode,
// extended attributes and ACLs, a folder that lets the rename happen);
// otherwise it is written in place once its complete new content is on disk
// beside it (or in the user's state folder) and its new length is reserved.
// Pipes and devices take the bytes as they come. A save holds an advisory
// lock on the file: a second save waits for it up to 5 s.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

struct TFileRead {
    QByteArray Bytes;
    QString Error; // empty on success; the editor's text without its full stop
};

// Refuses a file whose save in place was interrupted (see
// InterruptedSaveError), as a damaged file is refused.
TFileRead ReadWholeFile(const QString& path);

// The text refusing the file when a save in place was interrupted and left
// the complete new content in a copy, naming the copy; or the text of a save
// that holds the file for longer than a reader waits; empty otherwise (also
// when the copy turns out to hold what the file holds: it is removed). Every
// path that reads a file the editor saves calls it before trusting the bytes.
QString InterruptedSaveError(const QString& path);
// The same for a file already open (standard input, a file opened by its
// caller): a regular file is checked whichever name it was opened by.
QString InterruptedSaveError(int fd);
// An open descriptor read to its end, e.g. standard input; it stays open. A
// regular file is checked first (InterruptedSaveError(fd)).
TFileRead ReadWholeDescriptor(int fd);

// Writes every byte of the file's new content to the device; a failed write
// needs no checking there, the file layer notices it.
using TFileProducer = std::function<void(QIODevice&)>;

// size: the exact number of bytes produce writes, or -1 when not known in
// advance; a size beyond the process's file size limit fails before any file
// is touched. produce may throw (out of memory): a plain file written in
// place is built in memory first, so that it stays as it was. Returns the
// text of the failure without its full stop, or an empty string.
QString WriteWholeFile(const QString& path, qint64 size, const TFileProducer& produce);
QString WriteWholeFile(const QString& path, const QByteArray& bytes);
