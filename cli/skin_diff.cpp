#include "skin_diff.h"

#include "code_page.h"
#include "record_fields.h"
#include "skin_json.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <cstring>

namespace {

// One record's JSON form, built when it is compared, never the whole
// skin's; each picture stands as its place, looked up in Pictures.
struct TRecordForm {
    QJsonObject Json;
    QHash<QString, const TPicture*> Pictures;

    TPictureToJson Recorder() {
        return [this](const TPicture& picture, const QString& place) {
            Pictures.insert(place, &picture);
            return QJsonValue(place);
        };
    }
    const TPicture* PictureOf(const QJsonValue& v) const {
        return v.isString() ? Pictures.value(v.toString()) : nullptr;
    }
};

// Whether two records of one kind hold equal fields and pictures as the
// JSON form compares them. Most records of two versions of a skin do, and
// need no JSON form at all. The first record's fields are listed, then the
// second's are walked in the same order against them.
class TFieldList {
  public:
    std::vector<const void*> Fields;
    template <class T> void Number(TNumberField, const T& v) { Fields.push_back(&v); }
    void Flag(const char*, const bool& v, TFlagRead) { Fields.push_back(&v); }
    void Name(const char*, const QByteArray& v) { Fields.push_back(&v); }
    template <std::size_t N> void Colors(const char*, const std::array<TColor, N>& v) {
        Fields.push_back(&v);
    }
    void Picture(const char*, const TPicture& v, bool) { Fields.push_back(&v); }
    template <std::size_t N, class Stored>
    void Pictures(const char*, const std::array<TPicture, N>& v, Stored) {
        Fields.push_back(&v);
    }
    template <class L> void Records(TListNames, const L&) {}
    template <class R> void Block(TListNames, const R&) {}
};

bool SamePicture(const TPicture& a, const TPicture& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           (a.Image.cacheKey() == b.Image.cacheKey() || DifferingPixels(a.Image, b.Image) == 0);
}

class TFieldMatch {
  public:
    explicit TFieldMatch(const std::vector<const void*>& fields) : Fields(fields) {}
    bool Equal = true;
    template <class T> void Number(TNumberField, const T& v) { Same(v); }
    void Flag(const char*, const bool& v, TFlagRead) { Same(v); }
    void Name(const char*, const QByteArray& v) { Same(v); }
    template <std::size_t N> void Colors(const char*, const std::array<TColor, N>& v) { Same(v); }
    void Picture(const char*, const TPicture& v, bool) {
        Equal = Equal && SamePicture(*static_cast<const TPicture*>(Fields[At++]), v);
    }
    template <std::size_t N, class Stored>
    void Pictures(const char*, const std::array<TPicture, N>& v, Stored) {
        const auto& other = *static_cast<const std::array<TPicture, N>*>(Fields[At++]);
        for (std::size_t s = 0; s < N && Equal; ++s)
            Equal = SamePicture(other[s], v[s]);
    }
    template <class L> void Records(TListNames, const L&) {}
    template <class R> void Block(TListNames, const R&) {}

  private:
    template <class T> void Same(const T& v) {
        Equal = Equal && *static_cast<const T*>(Fields[At++]) == v;
    }
    const std::vector<const void*>& Fields;
    std::size_t At = 0;
};

template <class R> bool EqualRecords(const R& a, const R& b) {
    TFieldList list;
    VisitFields(list, a);
    TFieldMatch match(list.Fields);
    VisitFields(match, b);
    return match.Equal;
}

bool EqualRecords(const TSkinDocument& a, const TDocItem& x, const TSkinDocument& b,
                  const TDocItem& y) {
    const auto i = std::size_t(x.Index), j = std::size_t(y.Index);
    switch (x.Kind) {
    case ikImage:
        return EqualRecords(a.Images[i], b.Images[j]);
    case ikText:
        return EqualRecords(a.Texts[i], b.Texts[j]);
    case ikButton:
        return EqualRecords(a.Buttons[i], b.Buttons[j]);
    case ikWheel:
        return EqualRecords(a.Wheels[i], b.Wheels[j]);
    default:
        return EqualRecords(a.Trackbars[i], b.Trackbars[j]);
    }
}

QImage Rgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
               ? image
               : image.convertToFormat(QImage::Format_RGB32);
}

class TDiffer {
  public:
    TDiffer(const TSkinDocument& a, const TSkinDocument& b) : A(a), B(b) {}

    std::vector<TSkinDifference> Run() {
        const QJsonObject numbersA = SkinNumbersToJson(A), numbersB = SkinNumbersToJson(B);
        for (auto it = numbersA.constBegin(); it != numbersA.constEnd(); ++it)
            if (*it != numbersB[it.key()])
                Add({TSkinDifference::dsScreen,
                     QStringLiteral("changed"),
                     -1,
                     {},
                     -1,
                     it.key(),
                     *it,
                     numbersB[it.key()]});
        DiffItems();
        Scope = TSkinDifference::dsPlaylist;
        Row = -1;
        NewForms();
        FormA.Json = PlaylistToJson(A, FormA.Recorder());
        FormB.Json = PlaylistToJson(B, FormB.Recorder());
        CompareObjects(FormA.Json, FormB.Json, QString());
        return std::move(Differences);
    }

  private:
    void Add(TSkinDifference d) { Differences.push_back(std::move(d)); }
    void NewForms() {
        FormA = TRecordForm();
        FormB = TRecordForm();
    }

    void ItemChange(const char* change, const TDocItem& item, int row, QJsonValue old = {},
                    QJsonValue now = {}) {
        Add({TSkinDifference::dsItem,
             QLatin1String(change),
             row,
             DecodeName(item.Name),
             item.Kind,
             {},
             std::move(old),
             std::move(now)});
    }

    void DiffItems() {
        const int na = int(A.Items.size()), nb = int(B.Items.size());
        std::vector<int> partner(std::size_t(na), -1), partnerB(std::size_t(nb), -1);
        // Same kind and name: the k-th such item of A with the k-th of B.
        QHash<QPair<int, QByteArray>, QList<int>> rowsB;
        for (int j = nb - 1; j >= 0; --j)
            rowsB[{B.Items[j].Kind, B.Items[j].Name}].append(j);
        for (int i = 0; i < na; ++i) {
            QList<int>& rows = rowsB[{A.Items[i].Kind, A.Items[i].Name}];
            if (rows.isEmpty()) continue;
            partner[std::size_t(i)] = rows.takeLast();
            partnerB[std::size_t(partner[std::size_t(i)])] = i;
        }
        // What is left at the same row with the same kind was renamed.
        for (int i = 0; i < std::min(na, nb); ++i)
            if (partner[std::size_t(i)] < 0 && partnerB[std::size_t(i)] < 0 &&
                A.Items[i].Kind == B.Items[i].Kind) {
                partner[std::size_t(i)] = i;
                partnerB[std::size_t(i)] = i;
            }

        for (int i = 0; i < na; ++i)
            if (partner[std::size_t(i)] < 0) ItemChange("removed", A.Items[i], i);
        const std::vector<bool> moved = MovedRows(partnerB);
        Scope = TSkinDifference::dsItem;
        for (int j = 0; j < nb; ++j) {
            const int i = partnerB[std::size_t(j)];
            if (i < 0) {
                ItemChange("added", B.Items[j], j);
                continue;
            }
            if (moved[std::size_t(j)]) ItemChange("moved", B.Items[j], j, i, j);
            Row = j;
            if (A.Items[i].Name != B.Items[j].Name)
                Add({TSkinDifference::dsItem, QStringLiteral("changed"), j,
                     DecodeName(B.Items[j].Name), B.Items[j].Kind, QStringLiteral("Name"),
                     DecodeName(A.Items[i].Name), DecodeName(B.Items[j].Name)});
            if (EqualRecords(A, A.Items[i], B, B.Items[j])) continue;
            NewForms();
            FormA.Json = RecordToJson(A, A.Items[i].Kind, A.Items[i].Index, FormA.Recorder());
            FormB.Json = RecordToJson(B, B.Items[j].Kind, B.Items[j].Index, FormB.Recorder());
            CompareObjects(FormA.Json, FormB.Json, QString());
        }
    }

    // Rows of B whose item left the order of the others: those outside the
    // longest run of matched items that keeps its order.
    static std::vector<bool> MovedRows(const std::vector<int>& partnerB) {
        std::vector<int> rows; // rows of B with a partner, in B's order
        for (std::size_t j = 0; j < partnerB.size(); ++j)
            if (partnerB[j] >= 0) rows.push_back(int(j));
        // Longest increasing run of partner rows (patience sorting).
        std::vector<int> tails, tailAt, previous(rows.size(), -1);
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const int v = partnerB[std::size_t(rows[k])];
            const auto pos = std::lower_bound(tails.begin(), tails.end(), v) - tails.begin();
            if (pos > 0) previous[k] = tailAt[std::size_t(pos - 1)];
            if (std::size_t(pos) == tails.size()) {
                tails.push_back(v);
                tailAt.push_back(int(k));
            } else {
                tails[std::size_t(pos)] = v;
                tailAt[std::size_t(pos)] = int(k);
            }
        }
        std::vector<bool> moved(partnerB.size(), false);
        for (int row : rows)
            moved[std::size_t(row)] = true;
        for (int k = tailAt.empty() ? -1 : tailAt.back(); k >= 0; k = previous[std::size_t(k)])
            moved[std::size_t(rows[std::size_t(k)])] = false;
        return moved;
    }

    void CompareValues(const QJsonValue& a, const QJsonValue& b, const QString& field) {
        const TPicture* pa = FormA.PictureOf(a);
        const TPicture* pb = FormB.PictureOf(b);
        if (pa && pb) {
            const qint64 pixels = DifferingPixels(pa->Image, pb->Image);
            // Pictures without pixels still have sides ("5 x 0") that may differ.
            if (pixels > 0 || pa->Width() != pb->Width() || pa->Height() != pb->Height())
                Add(Change(field, PictureSizeJson(*pa), PictureSizeJson(*pb), pixels));
        } else if (a.isObject() && b.isObject()) {
            CompareObjects(a.toObject(), b.toObject(), field + QLatin1Char('.'));
        } else if (a.isArray() && b.isArray() && a.toArray().size() == b.toArray().size()) {
            const QJsonArray la = a.toArray(), lb = b.toArray();
            for (qsizetype k = 0; k < la.size(); ++k)
                CompareValues(la[k], lb[k], field + QStringLiteral("[%1]").arg(k));
        } else if (a != b) {
            Add(Change(field, a, b, -1));
        }
    }

    void CompareObjects(const QJsonObject& a, const QJsonObject& b, const QString& prefix) {
        QStringList keys = a.keys() + b.keys();
        keys.removeDuplicates();
        keys.sort();
        for (const QString& key : keys)
            CompareValues(a[key], b[key], prefix + key);
    }

    TSkinDifference Change(const QString& field, QJsonValue old, QJsonValue now, qint64 pixels) {
        TSkinDifference d{
            Scope, QStringLiteral("changed"), Row, {}, -1, field, std::move(old), std::move(now),
            pixels};
        if (Row >= 0) {
            d.Name = DecodeName(B.Items[Row].Name);
            d.Kind = B.Items[Row].Kind;
        }
        return d;
    }

    const TSkinDocument &A, &B;
    TRecordForm FormA, FormB; // the records being compared
    TSkinDifference::TScope Scope = TSkinDifference::dsItem;
    int Row = -1;
    std::vector<TSkinDifference> Differences;
};

} // namespace

qint64 DifferingPixels(const QImage& a, const QImage& b) {
    const QImage ra = Rgb32(a), rb = Rgb32(b);
    const int w = std::min(ra.width(), rb.width()), h = std::min(ra.height(), rb.height());
    const qint64 overlap = qint64(w) * h;
    qint64 count =
        qint64(ra.width()) * ra.height() - overlap + qint64(rb.width()) * rb.height() - overlap;
    for (int y = 0; y < h; ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(ra.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(rb.constScanLine(y));
        if (std::memcmp(la, lb, std::size_t(w) * sizeof(QRgb)) == 0) continue;
        for (int x = 0; x < w; ++x)
            count += ((la[x] ^ lb[x]) & 0xFFFFFF) != 0;
    }
    return count;
}

std::vector<TSkinDifference> DiffSkins(const TSkinDocument& a, const TSkinDocument& b) {
    return TDiffer(a, b).Run();
}
