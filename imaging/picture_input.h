// The bytes of a picture file as a decoder asks for them: from memory, or
// from a descriptor read as decoding goes, never ahead of it by more than
// one buffer, so a file's size or what follows its picture costs nothing.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

class TPictureInput {
  public:
    explicit TPictureInput(QByteArrayView bytes);
    // The descriptor stays open and is read from where it stands.
    explicit TPictureInput(int fd);

    // Up to n bytes; fewer only at the end or on a read error.
    qint64 Read(void* into, qint64 n);
    // Up to n bytes, at least one unless at the end: what is held, or what
    // one read brings, for a decoder that keeps a buffer of its own.
    qint64 ReadSome(void* into, qint64 n);
    // Passes over n bytes: a file that seeks is not read there.
    void Skip(qint64 n);
    // At least n bytes held for Read to give again (fewer at the end).
    QByteArrayView Peek(qint64 n);
    // What was read from the descriptor and not given yet, reading nothing.
    QByteArrayView Buffered() const;
    // Whether ReadAt and Size can be used: memory, or a regular file.
    bool Seekable() const { return Seekable_; }
    qint64 Size() const;
    qint64 ReadAt(void* into, qint64 n, qint64 at);
    // The errno of a read that failed, 0 while none did.
    int Failure() const { return Failure_; }

  private:
    bool Fill(qint64 want);

    QByteArrayView Memory;
    bool FromMemory = false;
    int Fd = -1;
    bool Seekable_ = false;
    qint64 Start = 0; // the descriptor's offset where reading began
    qint64 Position = 0;
    QByteArray Held; // read from the descriptor and not yet given
    qint64 HeldAt = 0;
    bool Ended = false;
    int Failure_ = 0;
};
