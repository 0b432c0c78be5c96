#include "skin_file.h"

#include "file_errors.h"
#include "file_source.h"
#include "item_list.h"
#include "record_fields.h"
#include "skin_picture.h"
#include "whole_file.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TReadFailure {
    QString Message;
};

const QString BeyondEnd = QStringLiteral("Read beyond end of file.");

QString Damaged(const QString& what) {
    return QStringLiteral("The skin file is damaged: %1.").arg(what);
}

// The longest name the 16-bit length holds; a longer one is cut so that the
// file stays readable.
qsizetype StoredNameLength(const QByteArray& name) {
    return std::min<qsizetype>(name.size(), 0xFFFF);
}

// ---- reading ----

// Takes the file's bytes as the fields want them, so that a pipe or a device
// is judged as it arrives and only one picture's bytes are held at a time.
class TReader {
  public:
    explicit TReader(TByteSource& source) : Source(source) {}

    // Valid until the next call.
    const uchar* Take(quint64 n) {
        const uchar* p = Source.Take(n);
        if (!p && Source.ReadError() != 0)
            throw TReadFailure{FileErrorText(Source.ReadError()) + QLatin1Char('.')};
        if (!p) throw TReadFailure{BeyondEnd};
        return p;
    }
    quint32 Unsigned(int bytes) {
        const uchar* p = Take(quint64(bytes));
        return bytes == 1   ? *p
               : bytes == 2 ? qFromLittleEndian<quint16>(p)
                            : qFromLittleEndian<quint32>(p);
    }

    template <class T> void Number(TNumberField f, T& value) { value = T(Unsigned(f.Bytes)); }
    void Flag(const char*, bool& value, TFlagRead read) {
        const quint32 byte = Unsigned(1);
        value = read == TFlagRead::OnlyOne ? byte == 1 : byte != 0;
    }
    void Name(const char*, QByteArray& name) {
        const int length = int(Unsigned(2));
        name = QByteArray(reinterpret_cast<const char*>(Take(quint64(length))), length);
    }
    template <std::size_t N> void Colors(const char*, std::array<TColor, N>& colors) {
        for (TColor& c : colors)
            c = Unsigned(4);
    }
    template <std::size_t N, class Stored>
    void Pictures(const char*, std::array<TPicture, N>& pictures, Stored stored) {
        for (std::size_t s = 0; s < N; ++s) {
            if (stored(s))
                Picture(nullptr, pictures[s], Keyed);
            else
                CreatePic(pictures[s], true, true);
        }
    }
    template <class L> void Records(TListNames, L& records) {
        records.resize(Unsigned(2));
        for (auto& r : records)
            VisitFields(*this, r);
    }
    template <class R> void Block(TListNames, R& record) { VisitFields(*this, record); }

    void Skip(quint64 n) {
        if (Source.Skip(n)) return;
        if (Source.ReadError() != 0)
            throw TReadFailure{FileErrorText(Source.ReadError()) + QLatin1Char('.')};
        throw TReadFailure{BeyondEnd};
    }

    void Picture(const char*, TPicture& pic, bool transparent) {
        const quint32 w = Unsigned(2), h = Unsigned(2), size = Unsigned(4);
        // Bytes a picture declares beyond its rows are passed over, never
        // held: a 1 x 1 picture may claim 4 GB.
        const quint64 need = StoredRowBytes(w) * h;
        const uchar* data = Take(std::min<quint64>(size, need));
        if (size < need)
            throw TReadFailure{Damaged(QStringLiteral("a picture of %1 x %2 pixels holds only %3 "
                                                      "bytes")
                                           .arg(w)
                                           .arg(h)
                                           .arg(size))};
        pic.Transparent = transparent;
        if (w == 0 || h == 0) {
            pic.Image = QImage();
            pic.EmptySides = QSize(int(w), int(h));
        } else {
            pic.Image = Stored.Decode(data, w, h);
            if (pic.Image.isNull()) throw TReadFailure{QStringLiteral("Out of memory.")};
        }
        Skip(size - need);
    }

  private:
    TByteSource& Source;
    TStoredPictures Stored;
};

QString ItemProblemText(const TItemProblem& problem, const TSkinDocument& doc) {
    switch (problem.What) {
    case TItemProblem::UnknownKind:
        return Damaged(QStringLiteral("item %1 has the unknown kind %2")
                           .arg(problem.Item + 1)
                           .arg(doc.Items[problem.Item].Kind));
    case TItemProblem::MissingRecord:
        return Damaged(QStringLiteral("item %1 refers to a missing record").arg(problem.Item + 1));
    case TItemProblem::SharedRecord:
        return Damaged(QStringLiteral("items %1 and %2 refer to the same record")
                           .arg(problem.Other + 1)
                           .arg(problem.Item + 1));
    case TItemProblem::None:
        break;
    }
    return QString();
}

// ---- writing ----

// Writes to the sink; without one, only counts the bytes.
class TWriter {
  public:
    explicit TWriter(TByteSink* sink) : Sink(sink) {}
    quint64 Size = 0;

    void Unsigned(int bytes, quint32 v) {
        Size += quint64(bytes);
        if (!Sink) return;
        uchar* p = Sink->Extend(bytes);
        if (bytes == 1)
            *p = uchar(v);
        else if (bytes == 2)
            qToLittleEndian<quint16>(quint16(v), p);
        else
            qToLittleEndian<quint32>(v, p);
    }

    template <class T> void Number(TNumberField f, const T& value) {
        Unsigned(f.Bytes, quint32(value));
    }
    void Flag(const char*, bool value, TFlagRead) { Unsigned(1, value ? 1 : 0); }
    void Name(const char*, const QByteArray& name) {
        const qsizetype length = StoredNameLength(name);
        Unsigned(2, quint32(length));
        Size += quint64(length);
        if (Sink && length > 0)
            std::memcpy(Sink->Extend(length), name.constData(), std::size_t(length));
    }
    template <std::size_t N> void Colors(const char*, const std::array<TColor, N>& colors) {
        for (TColor c : colors)
            Unsigned(4, c);
    }
    template <std::size_t N, class Stored>
    void Pictures(const char*, const std::array<TPicture, N>& pictures, Stored stored) {
        for (std::size_t s = 0; s < N; ++s)
            if (stored(s)) Picture(nullptr, pictures[s], Keyed);
    }
    template <class L> void Records(TListNames, const L& records) {
        Unsigned(2, quint32(records.size()));
        for (const auto& r : records)
            VisitFields(*this, r);
    }
    template <class R> void Block(TListNames, const R& record) { VisitFields(*this, record); }

    void Picture(const char*, const TPicture& pic, bool) {
        const int w = pic.Width(), h = pic.Height();
        const quint64 rows = StoredRowBytes(quint32(w)) * quint64(h);
        Unsigned(2, quint32(w));
        Unsigned(2, quint32(h));
        Unsigned(4, quint32(rows));
        Size += rows;
        if (Sink && !pic.Image.isNull() && w > 0 && h > 0) WriteStoredRows(pic.Image, *Sink);
    }

  private:
    TByteSink* Sink;
};

// Gathers the writer's bytes in a buffer; with a device, hands them on a
// chunk at a time, so that a save holds about one chunk, not the whole file.
class TBufferSink : public TByteSink {
  public:
    TBufferSink(QByteArray& buffer, QIODevice* out) : Buffer(buffer), Out(out) {}
    uchar* Extend(qsizetype n) override {
        if (Used + n > Buffer.size()) {
            Flush();
            Buffer.resize(std::max(Used + n, Buffer.size()));
        }
        Used += n;
        return reinterpret_cast<uchar*>(Buffer.data()) + Used - n;
    }
    void Flush() {
        if (!Out) return;
        Out->write(Buffer.constData(), Used);
        Used = 0;
    }

  private:
    QByteArray& Buffer;
    QIODevice* Out;
    qsizetype Used = 0;
};

} // namespace

namespace {

TSkinReadResult ReadSkin(TByteSource& source) {
    TSkinReadResult result;
    try {
        TReader in(source);
        if (qint32(in.Unsigned(4)) != SkinFileVersion) {
            result.WrongVersion = true;
            result.Error = VersionMismatchText;
            return result;
        }
        TSkinDocument doc;
        VisitFields(in, doc);
        if (const TItemProblem problem = CheckItems(doc); problem.What != TItemProblem::None)
            throw TReadFailure{ItemProblemText(problem, doc)};
        result.Document = std::move(doc);
    } catch (const TReadFailure& failure) {
        result.Error = failure.Message;
    } catch (const std::bad_alloc&) {
        result.Error = QStringLiteral("Out of memory.");
    }
    return result;
}

} // namespace

TSkinReadResult DecodeSkin(QByteArrayView data) {
    TByteSource source(data);
    return ReadSkin(source);
}

TSkinReadResult ReadSkinDescriptor(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        TSkinReadResult result;
        result.Error = FileErrorText(S_ISDIR(st.st_mode) ? EISDIR : errno) + QLatin1Char('.');
        return result;
    }
    // A file whose save in place was interrupted is refused, naming the copy,
    // whichever name or descriptor it is read through.
    if (QString refused = InterruptedSaveError(fd); !refused.isEmpty()) {
        TSkinReadResult result;
        result.Error = refused + QLatin1Char('.');
        return result;
    }
    TByteSource source(fd);
    return ReadSkin(source);
}

TSkinReadResult ReadSkinFile(const QString& path) {
    TSkinReadResult result;
    const QByteArray native = QFile::encodeName(path);
    const int fd = native.isEmpty() ? -1 : ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.Error = FileErrorText(native.isEmpty() ? ENOENT : errno) + QLatin1Char('.');
        return result;
    }
    result = ReadSkinDescriptor(fd);
    ::close(fd);
    if (result.Document) {
        result.Document->FileName = path;
        result.Document->Untitled = false;
    }
    return result;
}

quint64 SkinFileSize(const TSkinDocument& doc) {
    TWriter counter(nullptr);
    counter.Unsigned(4, quint32(SkinFileVersion));
    VisitFields(counter, doc);
    return counter.Size;
}

QString SkinFileRefusal(const TSkinDocument& doc) {
    const std::size_t most =
        std::max({std::size_t(doc.Items.size()), doc.Images.size(), doc.Texts.size(),
                  doc.Buttons.size(), doc.Wheels.size(), doc.Trackbars.size()});
    return most > std::size_t(MaxItems) ? TooManyItemsText : QString();
}

bool WriteSkin(const TSkinDocument& doc, TByteSink& sink) {
    if (!SkinFileRefusal(doc).isEmpty()) return false;
    TWriter out(&sink);
    out.Unsigned(4, quint32(SkinFileVersion));
    VisitFields(out, doc);
    return true;
}

QByteArray EncodeSkin(const TSkinDocument& doc) {
    if (!SkinFileRefusal(doc).isEmpty()) return {};
    QByteArray bytes(qsizetype(SkinFileSize(doc)), Qt::Uninitialized);
    TBufferSink sink(bytes, nullptr);
    WriteSkin(doc, sink);
    return bytes;
}

QString WriteSkinFile(const TSkinDocument& doc, const QString& path) {
    if (QString refused = SkinFileRefusal(doc); !refused.isEmpty()) return refused;
    // Taken before the file is touched: running out of memory here changes nothing.
    QByteArray buffer(qsizetype(1) << 18, Qt::Uninitialized); // more than the longest row
    const QString error =
        WriteWholeFile(path, qint64(SkinFileSize(doc)), [&doc, &buffer](QIODevice& out) {
            TBufferSink sink(buffer, &out);
            WriteSkin(doc, sink);
            sink.Flush();
        });
    return error.isEmpty() ? error : error + QLatin1Char('.');
}
