// The binary .skn format the devices read: little-endian, narrowed 16/8-bit
// fields, pictures as 16-bit 5-5-5 bottom-up rows. Reading builds a fresh
// document and hands it back only when the whole file was read.
#pragma once

#include "item_list.h"
#include "skin_document.h"

#include <QByteArrayView>

#include <optional>

inline constexpr qint32 SkinFileVersion = 1000;

inline const QString VersionMismatchText =
    QStringLiteral("The version of the skin file is not compatible with the editor.");

struct TSkinReadResult {
    std::optional<TSkinDocument> Document; // set only when the whole file was read
    QString Error;                         // the message to show, full stop included
    bool WrongVersion = false;
};

// Decodes a whole file's bytes; FileName and Untitled are left at their defaults.
TSkinReadResult DecodeSkin(QByteArrayView data);

// Reads a file as a stream, never holding it whole: a pipe or a device is
// judged as it arrives. On success FileName is the path and Untitled is false.
TSkinReadResult ReadSkinFile(const QString& path);
// The same from an open descriptor (standard input), which stays open;
// FileName is left at its default.
TSkinReadResult ReadSkinDescriptor(int fd);

// Where the writer puts a file's bytes, a piece at a time, so that a file can
// be written as it is encoded.
class TByteSink {
  public:
    virtual ~TByteSink() = default;
    // Room for the next n bytes, all filled before the next call.
    virtual uchar* Extend(qsizetype n) = 0;
};

// A file's item list, and each list of records, holds at most MaxItems
// entries (a 16-bit count).
inline const QString TooManyItemsText = QString::fromLatin1(FullItemListText);

// TooManyItemsText when a list of the document holds more than a file keeps,
// else an empty string: the writer refuses such a document rather than
// narrow its counts into a file that no longer opens.
QString SkinFileRefusal(const TSkinDocument& doc);

// Writes nothing and returns false when SkinFileRefusal refuses the document.
bool WriteSkin(const TSkinDocument& doc, TByteSink& sink);

// The exact number of bytes WriteSkin writes.
quint64 SkinFileSize(const TSkinDocument& doc);

// Empty when SkinFileRefusal refuses the document.
QByteArray EncodeSkin(const TSkinDocument& doc);

// Writes through the file layer (whole_file.h): a failed save leaves the old
// file as it was.
// Returns the message to show (full stop included), or an empty string; a
// document SkinFileRefusal refuses leaves the file untouched.
QString WriteSkinFile(const TSkinDocument& doc, const QString& path);

// 5-bit channel to 8 bits: 0 gives 0, 31 gives 255.
inline constexpr int Widen5(int v) {
    return (v << 3) | (v >> 2);
}
