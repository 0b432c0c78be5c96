// Files only this user's program may have made: created new, never through
// an entry someone else planted at the name, and read only when they are the
// user's own regular files, so that no link, FIFO or foreign file at a known
// name can steer a write or hang a read.
#pragma once

#include <QByteArray>
#include <QString>

// A new regular file, mode 0600, opened write-only; never through an existing
// entry (a link or a file already at the name fails with EEXIST or ELOOP).
// -1 with errno otherwise.
int CreatePrivateFile(const QByteArray& native);

// Whether the entry itself (not a link's target) is a regular file owned by
// this process's user.
bool IsOwnRegularFile(const QByteArray& native);

// Removes the entry only when it is the user's own regular file; a link or
// another user's file at the name stays. True when it was removed.
bool RemoveOwnFile(const QString& path);

// The user's own regular file opened read-only (at most maxSize bytes when
// maxSize >= 0), else -1 with errno: a link, a FIFO, a device, someone
// else's file or a larger one is refused. Opening never blocks on a FIFO.
int OpenOwnRegularFile(const QByteArray& native, qint64 maxSize = -1);
