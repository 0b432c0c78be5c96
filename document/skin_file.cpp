#include "skin_file.h"

#include "item_list.h"
#include "record_fields.h"
#include "whole_file.h"

#include <QtEndian>

#include <cstring>
#include <new>
#include <unordered_map>

namespace {

struct TReadFailure {
    QString Message;
};

const QString BeyondEnd = QStringLiteral("Read beyond end of file.");

QString Damaged(const QString& what) {
    return QStringLiteral("The skin file is damaged: %1.").arg(what);
}

// Bytes of one picture row: 16-bit pixels padded to a multiple of 4.
constexpr quint64 RowBytes(quint32 width) {
    return quint64(width + 1) / 2 * 4;
}

// The longest name the 16-bit length holds; a longer one is cut so that the
// file stays readable.
qsizetype StoredNameLength(const QByteArray& name) {
    return std::min<qsizetype>(name.size(), 0xFFFF);
}

// ---- reading ----

class TReader {
  public:
    explicit TReader(QByteArrayView data)
        : Pos(reinterpret_cast<const uchar*>(data.data())), End(Pos + data.size()) {}

    const uchar* Take(quint64 n) {
        if (n > quint64(End - Pos)) throw TReadFailure{BeyondEnd};
        const uchar* p = Pos;
        Pos += n;
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

    void Picture(const char*, TPicture& pic, bool transparent) {
        const quint32 w = Unsigned(2), h = Unsigned(2), size = Unsigned(4);
        const uchar* data = Take(size);
        const quint64 rowBytes = RowBytes(w);
        if (size < rowBytes * h)
            throw TReadFailure{Damaged(QStringLiteral("a picture of %1 x %2 pixels holds only %3 "
                                                      "bytes")
                                           .arg(w)
                                           .arg(h)
                                           .arg(size))};
        pic.Transparent = transparent;
        if (w == 0 || h == 0) {
            pic.Image = QImage();
            pic.EmptySides = QSize(int(w), int(h));
            return;
        }
        const QByteArrayView rows(data, qsizetype(rowBytes * h));
        const size_t hash = qHashBits(rows.data(), size_t(rows.size()), qHashMulti(0, w, h));
        if (const QImage* seen = Seen(hash, rows, w)) {
            pic.Image = *seen;
            return;
        }
        QImage img(int(w), int(h), QImage::Format_RGB32);
        if (img.isNull()) throw TReadFailure{QStringLiteral("Out of memory.")};
        for (quint32 y = 0; y < h; ++y) {
            const uchar* src = data + (h - 1 - y) * rowBytes;
            auto* dst = reinterpret_cast<quint32*>(img.scanLine(int(y)));
            for (quint32 x = 0; x < w; ++x) {
                const quint32 v = qFromLittleEndian<quint16>(src + 2 * x);
                const quint32 r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                dst[x] = 0xFF000000u | (quint32(Widen5(int(r))) << 16) |
                         (quint32(Widen5(int(g))) << 8) | quint32(Widen5(int(b)));
            }
        }
        Read.emplace(hash, TSeenPicture{rows, w, img});
        pic.Image = std::move(img);
    }

  private:
    // Equal pictures in the file are read into one shared image, so that a
    // file of many alike slots (the placeholder, a dot) holds one copy; a
    // slot's first edit detaches its own. A few candidates per hash bound
    // the comparisons a crafted file can ask for.
    struct TSeenPicture {
        QByteArrayView Rows;
        quint32 Width;
        QImage Image;
    };
    const QImage* Seen(size_t hash, QByteArrayView rows, quint32 width) const {
        const auto [first, last] = Read.equal_range(hash);
        int tries = 0;
        for (auto it = first; it != last && tries < 4; ++it, ++tries)
            if (it->second.Width == width && it->second.Rows == rows) return &it->second.Image;
        return nullptr;
    }
    std::unordered_multimap<size_t, TSeenPicture> Read;

  private:
    const uchar* Pos;
    const uchar* End;
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

class TWriter {
  public:
    explicit TWriter(TByteSink& sink) : Sink(sink) {}

    void Unsigned(int bytes, quint32 v) {
        uchar* p = Sink.Extend(bytes);
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
        if (length > 0) std::memcpy(Sink.Extend(length), name.constData(), std::size_t(length));
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
        const QImage& source = pic.Image;
        const int w = pic.Width(), h = pic.Height();
        const quint64 rowBytes = RowBytes(quint32(w));
        Unsigned(2, quint32(w));
        Unsigned(2, quint32(h));
        Unsigned(4, quint32(rowBytes * quint64(h)));
        if (source.isNull() || w == 0 || h == 0) return;
        // Other formats are converted a band of rows at a time, so that a
        // large picture never needs a second whole copy in memory; the sink
        // gets a row at a time, so that a file sink holds no more.
        const bool direct =
            source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32;
        constexpr int Band = 64;
        for (int bottom = h; bottom > 0; bottom -= Band) {
            const int top = std::max(0, bottom - Band);
            QImage band;
            if (!direct) {
                band = source.copy(0, top, w, bottom - top).convertToFormat(QImage::Format_RGB32);
                if (band.isNull()) throw std::bad_alloc();
            }
            for (int y = bottom - 1; y >= top; --y) {
                const auto* src = reinterpret_cast<const quint32*>(
                    direct ? source.constScanLine(y) : band.constScanLine(y - top));
                uchar* dst = Sink.Extend(qsizetype(rowBytes));
                for (int x = 0; x < w; ++x) {
                    const quint32 p = src[x];
                    const quint32 v =
                        ((p >> 9) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 3) & 0x001F);
                    qToLittleEndian<quint16>(quint16(v), dst + 2 * x);
                }
                std::memset(dst + 2 * w, 0, std::size_t(rowBytes) - 2 * std::size_t(w));
            }
        }
    }

  private:
    TByteSink& Sink;
};

// Counts the bytes the writer would write, walking the same descriptions.
class TSizer {
  public:
    quint64 Bytes = 0;

    template <class T> void Number(TNumberField f, const T&) { Bytes += quint64(f.Bytes); }
    void Flag(const char*, bool, TFlagRead) { Bytes += 1; }
    void Name(const char*, const QByteArray& name) { Bytes += 2 + quint64(StoredNameLength(name)); }
    template <std::size_t N> void Colors(const char*, const std::array<TColor, N>&) {
        Bytes += 4 * N;
    }
    template <std::size_t N, class Stored>
    void Pictures(const char*, const std::array<TPicture, N>& pictures, Stored stored) {
        for (std::size_t s = 0; s < N; ++s)
            if (stored(s)) Picture(nullptr, pictures[s], Keyed);
    }
    template <class L> void Records(TListNames, const L& records) {
        Bytes += 2;
        for (const auto& r : records)
            VisitFields(*this, r);
    }
    template <class R> void Block(TListNames, const R& record) { VisitFields(*this, record); }
    void Picture(const char*, const TPicture& pic, bool) {
        Bytes += 8 + RowBytes(quint32(pic.Width())) * quint64(pic.Height());
    }
};

class TByteArraySink : public TByteSink {
  public:
    explicit TByteArraySink(QByteArray& out) : Out(out) {}
    uchar* Extend(qsizetype n) override {
        const qsizetype start = Out.size();
        Out.resize(start + n);
        return reinterpret_cast<uchar*>(Out.data()) + start;
    }

  private:
    QByteArray& Out;
};

// Hands the writer's bytes to the device a chunk at a time: a save holds
// about one chunk, not the whole file.
class TDeviceSink : public TByteSink {
  public:
    TDeviceSink(QIODevice& out, QByteArray& buffer) : Out(out), Buffer(buffer) {}
    uchar* Extend(qsizetype n) override {
        if (Used + n > Buffer.size()) {
            Flush();
            if (n > Buffer.size()) Buffer.resize(n);
        }
        Used += n;
        return reinterpret_cast<uchar*>(Buffer.data()) + Used - n;
    }
    void Flush() {
        Out.write(Buffer.constData(), Used);
        Used = 0;
    }

  private:
    QIODevice& Out;
    QByteArray& Buffer;
    qsizetype Used = 0;
};

} // namespace

TSkinReadResult DecodeSkin(QByteArrayView data) {
    TSkinReadResult result;
    try {
        TReader in(data);
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

TSkinReadResult ReadSkinFile(const QString& path) {
    TSkinReadResult result;
    TFileRead read = ReadWholeFile(path);
    if (!read.Error.isEmpty()) {
        result.Error = read.Error + QLatin1Char('.');
        return result;
    }
    result = DecodeSkin(read.Bytes);
    if (result.Document) {
        result.Document->FileName = path;
        result.Document->Untitled = false;
    }
    return result;
}

quint64 SkinFileSize(const TSkinDocument& doc) {
    TSizer sizer;
    sizer.Bytes = 4; // the version
    VisitFields(sizer, doc);
    return sizer.Bytes;
}

void WriteSkin(const TSkinDocument& doc, TByteSink& sink) {
    TWriter out(sink);
    out.Unsigned(4, quint32(SkinFileVersion));
    VisitFields(out, doc);
}

QByteArray EncodeSkin(const TSkinDocument& doc) {
    QByteArray bytes;
    bytes.reserve(qsizetype(SkinFileSize(doc)));
    TByteArraySink sink(bytes);
    WriteSkin(doc, sink);
    return bytes;
}

QString WriteSkinFile(const TSkinDocument& doc, const QString& path) {
    // Taken before the file is touched: running out of memory here changes nothing.
    QByteArray buffer(qsizetype(1) << 18, Qt::Uninitialized); // more than the longest row
    const QString error =
        WriteWholeFile(path, qint64(SkinFileSize(doc)), [&doc, &buffer](QIODevice& out) {
            TDeviceSink sink(out, buffer);
            WriteSkin(doc, sink);
            sink.Flush();
        });
    return error.isEmpty() ? error : error + QLatin1Char('.');
}
