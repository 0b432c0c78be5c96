// Bytes of a file taken as a reader asks for them: from memory, or from an
// open descriptor read only as far as the reader has got. A pipe or a device
// is judged as it arrives, and a large file is never held whole; what is
// held grows with what has been read, never with what the file claims.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

class TByteSource {
  public:
    explicit TByteSource(QByteArrayView bytes);
    // The descriptor stays open and is read from where it stands.
    explicit TByteSource(int fd);

    // The next n bytes, valid until the next call; nullptr when the file
    // ends first or a read fails (ReadError tells which). May throw
    // std::bad_alloc.
    const uchar* Take(quint64 n);
    // Passes over the next n bytes without holding them: a regular file is
    // seeked, a stream read a chunk at a time. False when the file ends
    // first or a read fails.
    bool Skip(quint64 n);
    // The system's error of the read that failed, else 0.
    int ReadError() const { return Error; }

  private:
    bool Fill(quint64 n);

    int Fd = -1;
    // Bytes a regular file still holds past what was read; -1 when unknown.
    qint64 FileLeft = -1;
    QByteArray Buffer; // from a descriptor: what was read and not yet taken
    const uchar* At = nullptr;
    const uchar* End = nullptr;
    int Error = 0;
};
