// Whole files read and written for every caller (skins, bitmaps, skntool),
// with the editor's texts for failures. A save either writes every byte or
// leaves what was there: a plain file is replaced through a temporary file;
// a pipe, a device, a hard-linked file or one in a folder that takes no new
// file is written in place once its new length is reserved.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

struct TFileRead {
    QByteArray Bytes;
    QString Error; // empty on success; the editor's text without its full stop
};

TFileRead ReadWholeFile(const QString& path);
// An open descriptor read to its end, e.g. standard input; it stays open.
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
