#include "file_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr qsizetype Chunk = qsizetype(1) << 16;
} // namespace

TByteSource::TByteSource(QByteArrayView bytes)
    : At(reinterpret_cast<const uchar*>(bytes.data())), End(At + bytes.size()) {}

TByteSource::TByteSource(int fd) : Fd(fd) {
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        const off_t at = ::lseek(fd, 0, SEEK_CUR);
        if (at >= 0) FileLeft = std::max<qint64>(0, qint64(st.st_size) - at);
    }
}

const uchar* TByteSource::Take(quint64 n) {
    if (n > quint64(End - At) && !Fill(n)) return nullptr;
    const uchar* p = At;
    At += n;
    return p;
}

// Reads until n bytes are there past At, reading ahead a chunk. From a
// stream the buffer grows only with the bytes that arrived; a regular
// file's size says in advance whether the bytes are there at all.
bool TByteSource::Fill(quint64 n) {
    if (Fd < 0 || Error != 0) return false;
    const qsizetype held = End - At;
    const quint64 missing = n - quint64(held);
    if (FileLeft >= 0 && missing > quint64(FileLeft)) return false;
    Buffer.remove(0, At ? At - reinterpret_cast<const uchar*>(Buffer.constData()) : 0);
    // A large picture's bytes are not kept once the next ones are wanted.
    if (Buffer.capacity() > 4 * Chunk && Buffer.size() < Chunk) Buffer.squeeze();
    const qsizetype fileRoom =
        FileLeft >= 0
            ? held +
                  qsizetype(std::min<quint64>(quint64(FileLeft), std::max<quint64>(missing, Chunk)))
            : 0;
    while (quint64(Buffer.size()) < n) {
        const qsizetype filled = Buffer.size();
        // From a stream, a few KB at first, more as more arrives.
        const qsizetype room =
            FileLeft >= 0 ? fileRoom : filled + std::clamp<qsizetype>(filled, 4096, Chunk);
        if (room > Buffer.capacity())
            Buffer.reserve(std::max(room, FileLeft >= 0 ? room : 2 * filled));
        Buffer.resize(room);
        const ssize_t got = ::read(Fd, Buffer.data() + filled, std::size_t(room - filled));
        Buffer.truncate(filled + std::max<ssize_t>(got, 0));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got < 0) Error = errno;
            break;
        }
        if (FileLeft >= 0) FileLeft = std::max<qint64>(0, FileLeft - got);
    }
    At = reinterpret_cast<const uchar*>(Buffer.constData());
    End = At + Buffer.size();
    return quint64(Buffer.size()) >= n;
}

bool TByteSource::Skip(quint64 n) {
    const quint64 held = quint64(End - At);
    if (n <= held) {
        At += n;
        return true;
    }
    if (Fd < 0 || Error != 0) return false;
    n -= held;
    Buffer.clear();
    At = End = nullptr;
    if (FileLeft >= 0) {
        if (n > quint64(FileLeft)) return false;
        if (::lseek(Fd, off_t(n), SEEK_CUR) >= 0) {
            FileLeft -= qint64(n);
            return true;
        }
    }
    char scratch[Chunk];
    while (n > 0) {
        const ssize_t got = ::read(Fd, scratch, std::size_t(std::min<quint64>(n, sizeof scratch)));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got < 0) Error = errno;
            return false;
        }
        n -= quint64(got);
        if (FileLeft >= 0) FileLeft = std::max<qint64>(0, FileLeft - got);
    }
    return true;
}
