#include "skin_file.h"

#include "whole_file.h"

#include <QtEndian>

#include <cstring>

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
    quint8 U8() { return *Take(1); }
    quint16 U16() { return qFromLittleEndian<quint16>(Take(2)); }
    quint32 U32() { return qFromLittleEndian<quint32>(Take(4)); }
    qint32 I32() { return qFromLittleEndian<qint32>(Take(4)); }
    bool Flag() { return U8() != 0; }

    void Picture(TPicture& pic, bool transparent) {
        const quint32 w = U16(), h = U16(), size = U32();
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
        pic.Image = std::move(img);
    }

  private:
    const uchar* Pos;
    const uchar* End;
};

void ReadDocument(TReader& in, TSkinDocument& doc) {
    doc.ScreenWidth = in.U16();
    doc.ScreenHeight = in.U16();

    const int itemCount = in.U16();
    doc.Items.resize(itemCount);
    for (TDocItem& item : doc.Items) {
        item.Kind = in.U8();
        item.Index = in.U16();
        const int length = in.U16();
        item.Name = QByteArray(reinterpret_cast<const char*>(in.Take(length)), length);
    }

    doc.Images.resize(in.U16());
    for (TiImage& r : doc.Images) {
        r.X = in.U16();
        r.Y = in.U16();
        r.RepaintWhen = in.U8();
        in.Picture(r.Picture, false);
    }

    doc.Texts.resize(in.U16());
    for (TiText& r : doc.Texts) {
        r.X = in.U16();
        r.Y = in.U16();
        r.Width = in.U16();
        r.Height = in.U16();
        r.VAlign = in.U8();
        r.HAlign = in.U8();
        r.FontSize = in.U16();
        r.Color = in.U32();
        r.Bold = in.Flag();
        r.TextType = in.U8();
        r.PreviewText = PreviewTextFor(r.TextType);
    }

    doc.Buttons.resize(in.U16());
    for (TiButton& r : doc.Buttons) {
        r.X = in.U16();
        r.Y = in.U16();
        r.Command = in.U16();
        const bool two = HasTwoStates(r.Command);
        for (int s = 0; s < 4; ++s) {
            if (s < 2 || two)
                in.Picture(r.Pictures[s], true);
            else
                CreatePic(r.Pictures[s], true, true);
        }
    }

    doc.Wheels.resize(in.U16());
    for (TiWheel& r : doc.Wheels) {
        r.X = in.U16();
        r.Y = in.U16();
        r.BallDist = in.U16();
        r.BallCount = in.U8();
        r.CenterCommand = in.U16();
        r.LeftCommand = in.U16();
        r.RightCommand = in.U16();
        r.TopHalfAction = in.U16();
        r.BottomHalfAction = in.U16();
        const bool two = HasTwoStates(r.CenterCommand);
        for (int s = 0; s < 8; ++s) {
            if (s != 4 || two)
                in.Picture(r.Pictures[s], true);
            else
                CreatePic(r.Pictures[s], true, true);
        }
    }

    doc.Trackbars.resize(in.U16());
    for (TiTrackbar& r : doc.Trackbars) {
        r.X = in.U16();
        r.Y = in.U16();
        r.Width = in.U16();
        r.Height = in.U16();
        r.ProgressStretch = in.Flag();
        // The scroller picture follows only a 1; any other value reads as
        // off, so that the next save writes 0 and no scroller picture.
        r.ShowScroller = in.U8() == 1;
        r.TrackType = in.U8();
        in.Picture(r.Pictures[0], true);
        if (r.ShowScroller)
            in.Picture(r.Pictures[1], true);
        else
            CreatePic(r.Pictures[1], true, true);
    }

    TPlaylistSettings& p = doc.Playlist;
    p.TitleHeight = in.U16();
    p.ItemHeight = in.U16();
    p.TitleFontSize = in.U16();
    p.ItemFontSize = in.U16();
    p.TitleBold = in.Flag();
    p.ItemBold = in.Flag();
    for (TColor& c : p.Colors)
        c = in.U32();
    in.Picture(p.FolderIcon, true);
    in.Picture(p.SongIcon, true);
}

// Every entry must designate its own existing record; records no entry
// designates are kept as they are.
void CheckItems(const TSkinDocument& doc) {
    std::vector<int> owner[ItemKindCount];
    for (int k = 0; k < ItemKindCount; ++k)
        owner[k].assign(std::size_t(RecordCount(doc, k)), -1);
    for (int i = 0; i < doc.Items.size(); ++i) {
        const TDocItem& item = doc.Items[i];
        if (item.Kind >= ItemKindCount)
            throw TReadFailure{Damaged(
                QStringLiteral("item %1 has the unknown kind %2").arg(i + 1).arg(item.Kind))};
        auto& owners = owner[item.Kind];
        if (item.Index < 0 || std::size_t(item.Index) >= owners.size())
            throw TReadFailure{
                Damaged(QStringLiteral("item %1 refers to a missing record").arg(i + 1))};
        int& first = owners[std::size_t(item.Index)];
        if (first >= 0)
            throw TReadFailure{Damaged(QStringLiteral("items %1 and %2 refer to the same record")
                                           .arg(first + 1)
                                           .arg(i + 1))};
        first = i;
    }
}

class TWriter {
  public:
    explicit TWriter(QByteArray& out) : Out(out) {}
    void U8(int v) { Out.append(char(quint8(v))); }
    void U16(int v) {
        char b[2];
        qToLittleEndian<quint16>(quint16(v), b);
        Out.append(b, 2);
    }
    void U32(quint32 v) {
        char b[4];
        qToLittleEndian<quint32>(v, b);
        Out.append(b, 4);
    }
    void Flag(bool v) { U8(v ? 1 : 0); }

    void Picture(const TPicture& pic) {
        const QImage& source = pic.Image;
        const int w = pic.Width(), h = pic.Height();
        const quint64 rowBytes = RowBytes(quint32(w));
        U16(w);
        U16(h);
        U32(quint32(rowBytes * quint64(h)));
        if (source.isNull() || w == 0 || h == 0) return;
        // Other formats are converted a band of rows at a time, so that a
        // large picture never needs a second whole copy in memory.
        const bool direct =
            source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32;
        constexpr int Band = 64;
        const qsizetype start = Out.size();
        Out.resize(start + qsizetype(rowBytes) * h);
        auto* dst = reinterpret_cast<uchar*>(Out.data()) + start;
        for (int bottom = h; bottom > 0; bottom -= Band) {
            const int top = std::max(0, bottom - Band);
            const QImage band =
                direct ? QImage()
                       : source.copy(0, top, w, bottom - top).convertToFormat(QImage::Format_RGB32);
            for (int y = bottom - 1; y >= top; --y) {
                const auto* src = reinterpret_cast<const quint32*>(
                    direct ? source.constScanLine(y) : band.constScanLine(y - top));
                for (int x = 0; x < w; ++x) {
                    const quint32 p = src[x];
                    const quint32 v =
                        ((p >> 9) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 3) & 0x001F);
                    qToLittleEndian<quint16>(quint16(v), dst + 2 * x);
                }
                std::memset(dst + 2 * w, 0, std::size_t(rowBytes) - 2 * std::size_t(w));
                dst += rowBytes;
            }
        }
    }

  private:
    QByteArray& Out;
};

quint64 PictureBytes(const TPicture& pic) {
    return 8 + RowBytes(quint32(pic.Width())) * quint64(pic.Height());
}

quint64 EstimateSize(const TSkinDocument& doc) {
    quint64 n = 64 + 38;
    for (const TDocItem& item : doc.Items)
        n += 5 + quint64(item.Name.size());
    for (const TiImage& r : doc.Images)
        n += 5 + PictureBytes(r.Picture);
    n += 18 * doc.Texts.size();
    for (const TiButton& r : doc.Buttons)
        for (const TPicture& p : r.Pictures)
            n += 6 + PictureBytes(p);
    for (const TiWheel& r : doc.Wheels)
        for (const TPicture& p : r.Pictures)
            n += 17 + PictureBytes(p);
    for (const TiTrackbar& r : doc.Trackbars)
        for (const TPicture& p : r.Pictures)
            n += 11 + PictureBytes(p);
    return n + PictureBytes(doc.Playlist.FolderIcon) + PictureBytes(doc.Playlist.SongIcon);
}

} // namespace

TSkinReadResult DecodeSkin(QByteArrayView data) {
    TSkinReadResult result;
    try {
        TReader in(data);
        if (in.I32() != SkinFileVersion) {
            result.WrongVersion = true;
            result.Error = VersionMismatchText;
            return result;
        }
        TSkinDocument doc;
        ReadDocument(in, doc);
        CheckItems(doc);
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

QByteArray EncodeSkin(const TSkinDocument& doc) {
    QByteArray out;
    out.reserve(qsizetype(EstimateSize(doc)));
    TWriter w(out);
    w.U32(quint32(SkinFileVersion));
    w.U16(doc.ScreenWidth);
    w.U16(doc.ScreenHeight);

    w.U16(int(doc.Items.size()));
    for (const TDocItem& item : doc.Items) {
        w.U8(item.Kind);
        w.U16(item.Index);
        // The length field is 16 bits; a longer name is cut so the file stays readable.
        const qsizetype length = std::min<qsizetype>(item.Name.size(), 0xFFFF);
        w.U16(int(length));
        out.append(item.Name.constData(), length);
    }

    w.U16(int(doc.Images.size()));
    for (const TiImage& r : doc.Images) {
        w.U16(r.X);
        w.U16(r.Y);
        w.U8(r.RepaintWhen);
        w.Picture(r.Picture);
    }

    w.U16(int(doc.Texts.size()));
    for (const TiText& r : doc.Texts) {
        w.U16(r.X);
        w.U16(r.Y);
        w.U16(r.Width);
        w.U16(r.Height);
        w.U8(r.VAlign);
        w.U8(r.HAlign);
        w.U16(r.FontSize);
        w.U32(r.Color);
        w.Flag(r.Bold);
        w.U8(r.TextType);
    }

    // Which conditional pictures go in is decided by the value the reader will
    // see, the narrowed one; otherwise a command such as 65542 (read back as 6)
    // would leave the file unreadable.
    w.U16(int(doc.Buttons.size()));
    for (const TiButton& r : doc.Buttons) {
        w.U16(r.X);
        w.U16(r.Y);
        w.U16(r.Command);
        const bool two = HasTwoStates(quint16(r.Command));
        for (int s = 0; s < (two ? 4 : 2); ++s)
            w.Picture(r.Pictures[s]);
    }

    w.U16(int(doc.Wheels.size()));
    for (const TiWheel& r : doc.Wheels) {
        w.U16(r.X);
        w.U16(r.Y);
        w.U16(r.BallDist);
        w.U8(r.BallCount);
        w.U16(r.CenterCommand);
        w.U16(r.LeftCommand);
        w.U16(r.RightCommand);
        w.U16(r.TopHalfAction);
        w.U16(r.BottomHalfAction);
        const bool two = HasTwoStates(quint16(r.CenterCommand));
        for (int s = 0; s < 8; ++s)
            if (s != 4 || two) w.Picture(r.Pictures[s]);
    }

    w.U16(int(doc.Trackbars.size()));
    for (const TiTrackbar& r : doc.Trackbars) {
        w.U16(r.X);
        w.U16(r.Y);
        w.U16(r.Width);
        w.U16(r.Height);
        w.Flag(r.ProgressStretch);
        w.Flag(r.ShowScroller);
        w.U8(r.TrackType);
        w.Picture(r.Pictures[0]);
        if (r.ShowScroller) w.Picture(r.Pictures[1]);
    }

    const TPlaylistSettings& p = doc.Playlist;
    w.U16(p.TitleHeight);
    w.U16(p.ItemHeight);
    w.U16(p.TitleFontSize);
    w.U16(p.ItemFontSize);
    w.Flag(p.TitleBold);
    w.Flag(p.ItemBold);
    for (TColor c : p.Colors)
        w.U32(c);
    w.Picture(p.FolderIcon);
    w.Picture(p.SongIcon);
    return out;
}

QString WriteSkinFile(const TSkinDocument& doc, const QString& path) {
    const QString error = WriteWholeFile(path, EncodeSkin(doc));
    return error.isEmpty() ? error : error + QLatin1Char('.');
}
