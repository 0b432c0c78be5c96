#include "picture_input.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 ReadSize = 64 * 1024;

} // namespace

TPictureInput::TPictureInput(QByteArrayView bytes)
    : Memory(bytes), FromMemory(true), Seekable_(true) {}

TPictureInput::TPictureInput(int fd) : Fd(fd) {
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        const off_t at = ::lseek(fd, 0, SEEK_CUR);
        if (at >= 0) {
            Seekable_ = true;
            Start = at;
        }
    }
}

bool TPictureInput::Fill(qint64 want) {
    if (HeldAt > 0 && HeldAt >= Held.size() / 2) {
        Held.remove(0, HeldAt);
        HeldAt = 0;
    }
    while (Held.size() - HeldAt < want && !Ended && !Failure_) {
        const qsizetype filled = Held.size();
        const qint64 room = std::max(ReadSize, want - (filled - HeldAt));
        Held.resize(filled + qsizetype(room));
        const ssize_t got = ::read(Fd, Held.data() + filled, std::size_t(room));
        Held.truncate(filled + std::max<ssize_t>(got, 0));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) Failure_ = errno;
        if (got <= 0) Ended = true;
    }
    return Held.size() - HeldAt >= want;
}

qint64 TPictureInput::Read(void* into, qint64 n) {
    if (n <= 0) return 0;
    if (FromMemory) {
        const qint64 got = std::clamp<qint64>(Memory.size() - Position, 0, n);
        if (got > 0) std::memcpy(into, Memory.data() + Position, std::size_t(got));
        Position += got;
        return got;
    }
    char* out = static_cast<char*>(into);
    qint64 done = 0;
    while (done < n) {
        if (HeldAt == Held.size()) {
            Held.clear();
            HeldAt = 0;
            // A large request goes straight into place, past the buffer.
            if (n - done >= ReadSize) {
                const ssize_t got = ::read(Fd, out + done, std::size_t(n - done));
                if (got < 0 && errno == EINTR) continue;
                if (got < 0) Failure_ = errno;
                if (got <= 0) {
                    Ended = true;
                    break;
                }
                done += got;
                continue;
            }
            if (!Fill(1)) break;
        }
        const qint64 take = std::min<qint64>(n - done, Held.size() - HeldAt);
        std::memcpy(out + done, Held.constData() + HeldAt, std::size_t(take));
        HeldAt += take;
        done += take;
    }
    Position += done;
    return done;
}

qint64 TPictureInput::ReadSome(void* into, qint64 n) {
    if (FromMemory || n <= 0) return Read(into, n);
    if (HeldAt == Held.size() && !Fill(1)) return 0;
    const qint64 take = std::min<qint64>(n, Held.size() - HeldAt);
    std::memcpy(into, Held.constData() + HeldAt, std::size_t(take));
    HeldAt += take;
    Position += take;
    return take;
}

void TPictureInput::Skip(qint64 n) {
    if (n <= 0) return;
    if (FromMemory) {
        Position += n;
        return;
    }
    const qint64 held = std::min<qint64>(n, Held.size() - HeldAt);
    HeldAt += held;
    Position += held;
    n -= held;
    if (n == 0) return;
    if (Seekable_) {
        // Past the end is allowed: the next read finds nothing there.
        Held.clear();
        HeldAt = 0;
        Position += n;
        if (::lseek(Fd, off_t(Start + Position), SEEK_SET) < 0) Failure_ = errno;
        return;
    }
    char sink[16384];
    while (n > 0) {
        const qint64 got = Read(sink, std::min<qint64>(n, sizeof sink));
        if (got <= 0) return;
        n -= got;
    }
}

QByteArrayView TPictureInput::Peek(qint64 n) {
    if (FromMemory) {
        const qint64 from = std::min<qint64>(Position, Memory.size());
        return Memory.sliced(from, std::min<qint64>(n, Memory.size() - from));
    }
    Fill(n);
    return QByteArrayView(Held.constData() + HeldAt, std::min<qint64>(n, Held.size() - HeldAt));
}

QByteArrayView TPictureInput::Buffered() const {
    if (FromMemory) return Memory.sliced(std::min<qint64>(Position, Memory.size()));
    return QByteArrayView(Held.constData() + HeldAt, Held.size() - HeldAt);
}

qint64 TPictureInput::Size() const {
    if (FromMemory) return Memory.size();
    struct stat st {};
    return ::fstat(Fd, &st) == 0 ? std::max<qint64>(st.st_size - Start, 0) : 0;
}

qint64 TPictureInput::ReadAt(void* into, qint64 n, qint64 at) {
    if (n <= 0 || at < 0) return 0;
    if (FromMemory) {
        if (at >= Memory.size()) return 0;
        const qint64 got = std::min<qint64>(n, Memory.size() - at);
        std::memcpy(into, Memory.data() + at, std::size_t(got));
        return got;
    }
    char* out = static_cast<char*>(into);
    qint64 done = 0;
    while (done < n) {
        const ssize_t got =
            ::pread(Fd, out + done, std::size_t(n - done), off_t(Start + at + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) Failure_ = errno;
        if (got <= 0) break;
        done += got;
    }
    return done;
}
