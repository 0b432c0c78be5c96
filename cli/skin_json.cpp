#include "skin_json.h"

#include "code_page.h"
#include "item_list.h"
#include "record_fields.h"

#include <QJsonArray>

#include <cmath>

namespace {

// A picture's place in a file name: "FolderIcon" of "playlist" gives
// "playlist-folder-icon", slot 2 of "button-0" "button-0-picture-2".
QString Place(const QString& record, const char* key) {
    QString place = record;
    for (const char* c = key; *c; ++c) {
        const bool upper = *c >= 'A' && *c <= 'Z';
        if (upper) place += QLatin1Char('-');
        place += QLatin1Char(upper ? char(*c - 'A' + 'a') : *c);
    }
    return place;
}

class TJsonWriter {
  public:
    TJsonWriter(QString place, const TPictureToJson& picture)
        : Where(std::move(place)), ToJson(picture) {}
    QJsonObject Object;

    template <class T> void Number(TNumberField f, const T& value) {
        Object.insert(QLatin1String(f.Key), qint64(value));
    }
    void Flag(const char* key, bool value, TFlagRead) { Object.insert(QLatin1String(key), value); }
    void Name(const char* key, const QByteArray& name) {
        Object.insert(QLatin1String(key), DecodeName(name));
    }
    template <std::size_t N> void Colors(const char* key, const std::array<TColor, N>& colors) {
        QJsonArray list;
        for (TColor c : colors)
            list.append(qint64(c));
        Object.insert(QLatin1String(key), list);
    }
    void Picture(const char* key, const TPicture& picture, bool) {
        Object.insert(QLatin1String(key), ToJson(picture, Place(Where, key)));
    }
    // Every slot, stored in the file or not.
    template <std::size_t N, class Stored>
    void Pictures(const char* key, const std::array<TPicture, N>& pictures, Stored) {
        QJsonArray list;
        for (std::size_t s = 0; s < N; ++s)
            list.append(ToJson(pictures[s], QStringLiteral("%1-picture-%2").arg(Where).arg(s)));
        Object.insert(QLatin1String(key), list);
    }
    template <class L> void Records(TListNames names, const L& records) {
        QJsonArray list;
        for (qsizetype i = 0; i < qsizetype(records.size()); ++i) {
            TJsonWriter record(QStringLiteral("%1-%2").arg(QLatin1String(names.Place)).arg(i),
                               ToJson);
            VisitFields(record, records[std::size_t(i)]);
            list.append(record.Object);
        }
        Object.insert(QLatin1String(names.Key), list);
    }
    template <class R> void Block(TListNames names, const R& block) {
        TJsonWriter inner(QLatin1String(names.Place), ToJson);
        VisitFields(inner, block);
        Object.insert(QLatin1String(names.Key), inner.Object);
    }

  private:
    QString Where;
    const TPictureToJson& ToJson;
};

// ---- reading ----

constexpr qint64 U16Max = 0xFFFF, U32Max = 0xFFFFFFFF;

[[noreturn]] void Fail(const QString& text) {
    throw TSchemaError{text};
}

QString Quoted(const QString& key) {
    return QLatin1Char('"') + key + QLatin1Char('"');
}

qint64 WholeNumber(const QJsonValue& v, const QString& key, qint64 min, qint64 max) {
    const double d = v.toDouble();
    if (!v.isDouble() || d != std::floor(d) || d < double(min) || d > double(max))
        Fail(QStringLiteral("%1 must be a whole number from %2 to %3.")
                 .arg(Quoted(key))
                 .arg(min)
                 .arg(max));
    return qint64(d);
}

// The fields of one JSON object, each looked up by name with its full key
// ("Wheels[1].BallCount") ready for the message, read as the descriptions
// walk them.
class TJsonReader {
  public:
    TJsonReader(const QJsonValue& v, QString where, const TPictureFromJson& picture)
        : Where(std::move(where)), FromJson(picture) {
        if (!Where.isEmpty() && !v.isObject())
            Fail(QStringLiteral("%1 must be an object.").arg(Quoted(Where)));
        Object = v.toObject();
    }

    template <class T> void Number(TNumberField f, T& value) {
        value = T(WholeNumber(Value(f.Key), Key(f.Key), 0, f.Max));
    }
    void Flag(const char* key, bool& value, TFlagRead) {
        const QJsonValue v = Value(key);
        if (!v.isBool()) Fail(QStringLiteral("%1 must be true or false.").arg(Quoted(Key(key))));
        value = v.toBool();
    }
    void Name(const char* key, QByteArray& name) {
        const QJsonValue v = Value(key);
        if (!v.isString()) Fail(QStringLiteral("%1 must be a string.").arg(Quoted(Key(key))));
        const QString text = v.toString();
        name = EncodeName(text);
        if (DecodeName(name) != text)
            Fail(QStringLiteral("%1 holds a character that Windows-1252 cannot store.")
                     .arg(Quoted(Key(key))));
        if (name.size() > U16Max)
            Fail(QStringLiteral("%1 is longer than %2 bytes.").arg(Quoted(Key(key))).arg(U16Max));
    }
    template <std::size_t N> void Colors(const char* key, std::array<TColor, N>& colors) {
        const QJsonArray list = List(key, int(N), "colours");
        for (std::size_t c = 0; c < N; ++c)
            colors[c] = TColor(WholeNumber(list[qsizetype(c)], Item(key, c), 0, U32Max));
    }
    void Picture(const char* key, TPicture& picture, bool transparent) {
        picture = {FromJson(Value(key), Key(key)), transparent};
    }
    template <std::size_t N, class Stored>
    void Pictures(const char* key, std::array<TPicture, N>& pictures, Stored) {
        const QJsonArray list = List(key, int(N), "pictures");
        for (std::size_t s = 0; s < N; ++s)
            pictures[s] = {FromJson(list[qsizetype(s)], Item(key, s)), Keyed};
    }
    template <class L> void Records(TListNames names, L& records) {
        const QJsonArray list = this->List(names.Key, -1, "");
        records.resize(list.size());
        for (qsizetype i = 0; i < list.size(); ++i) {
            TJsonReader record(list[i], Item(names.Key, std::size_t(i)), FromJson);
            VisitFields(record, records[i]);
        }
    }
    template <class R> void Block(TListNames names, R& block) {
        TJsonReader inner(Value(names.Key), Key(names.Key), FromJson);
        VisitFields(inner, block);
    }

  private:
    QString Key(const char* name) const {
        return Where.isEmpty() ? QLatin1String(name)
                               : Where + QLatin1Char('.') + QLatin1String(name);
    }
    QString Item(const char* name, std::size_t i) const {
        return Key(name) + QStringLiteral("[%1]").arg(i);
    }
    QJsonValue Value(const char* name) const {
        const auto it = Object.constFind(QLatin1String(name));
        if (it == Object.constEnd())
            Fail(QStringLiteral("The key %1 is missing.").arg(Quoted(Key(name))));
        return *it;
    }
    // size < 0: any length up to the file's 16-bit counts.
    QJsonArray List(const char* name, int size, const char* what) const {
        const QJsonValue v = Value(name);
        const QJsonArray list = v.toArray();
        if (!v.isArray() || (size >= 0 && list.size() != size))
            Fail(size >= 0 ? QStringLiteral("%1 must be a list of %2 %3.")
                                 .arg(Quoted(Key(name)))
                                 .arg(size)
                                 .arg(QLatin1String(what))
                           : QStringLiteral("%1 must be a list.").arg(Quoted(Key(name))));
        if (list.size() > U16Max)
            Fail(QStringLiteral("%1 holds more than %2 entries.")
                     .arg(Quoted(Key(name)))
                     .arg(U16Max));
        return list;
    }

    QJsonObject Object;
    QString Where;
    const TPictureFromJson& FromJson;
};

} // namespace

QJsonValue PictureSizeJson(const TPicture& picture) {
    return QJsonObject{{"Width", picture.Width()}, {"Height", picture.Height()}};
}

QJsonObject SkinToJson(const TSkinDocument& doc, const TPictureToJson& picture) {
    TJsonWriter top(QString(), picture);
    VisitFields(top, doc);
    return top.Object;
}

TSkinDocument SkinFromJson(const QJsonObject& json, const TPictureFromJson& picture) {
    TSkinDocument doc;
    TJsonReader top(json, QString(), picture);
    VisitFields(top, doc);

    // Every entry must designate its own existing record, or the editor refuses the file.
    const TItemProblem problem = CheckItems(doc);
    if (problem.What == TItemProblem::MissingRecord) {
        const TDocItem& item = doc.Items[problem.Item];
        Fail(QStringLiteral("\"Items[%1].Index\" is %2, but \"%3\" holds %4 records.")
                 .arg(problem.Item)
                 .arg(item.Index)
                 .arg(QLatin1String(RecordListNames[item.Kind].Key))
                 .arg(RecordCount(doc, item.Kind)));
    }
    if (problem.What == TItemProblem::SharedRecord)
        Fail(QStringLiteral("\"Items[%1]\" and \"Items[%2]\" designate the same record.")
                 .arg(problem.Other)
                 .arg(problem.Item));
    return doc;
}
