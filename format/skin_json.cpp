#include "skin_json.h"

#include "code_page.h"
#include "item_list.h"
#include "record_fields.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <numeric>
#include <utility>
#include <vector>

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

template <class R>
void WriteObject(TJsonText& text, const R& record, const QString& where,
                 const TPictureToJson& picture);

// A record's JSON form, built in one walk of its description: its members in
// the description's order, each field with its value or list of values, and
// each list or block of records it holds (only the skin's top level holds
// them) with the writer of its text, so that the text of a large skin is
// written a record at a time and never held whole. Pictures are asked for in
// the walk's order, which within a record is also the order of their keys.
class TJsonForm {
  public:
    struct TMember {
        const char* Key;
        QJsonValue Value;
        std::vector<QJsonValue> List;           // a list of values: colours, pictures
        std::function<void(TJsonText&)> Nested; // a list or block of records
    };
    std::vector<TMember> Members;

    TJsonForm(const QString& where, const TPictureToJson& picture) : Where(where), ToJson(picture) {
        Members.reserve(12); // room for any record's fields
    }

    template <class T> void Number(TNumberField f, const T& value) {
        Members.push_back({f.Key, qint64(value), {}, {}});
    }
    void Flag(const char* key, bool value, TFlagRead) { Members.push_back({key, value, {}, {}}); }
    void Name(const char* key, const QByteArray& name) {
        Members.push_back({key, DecodeName(name), {}, {}});
    }
    template <std::size_t N> void Colors(const char* key, const std::array<TColor, N>& colors) {
        Values(key, N, [&colors](std::size_t c) { return QJsonValue(qint64(colors[c])); });
    }
    void Picture(const char* key, const TPicture& picture, bool) {
        Members.push_back({key, ToJson(picture, Place(Where, key)), {}, {}});
    }
    // Every slot, stored in the file or not.
    template <std::size_t N, class Stored>
    void Pictures(const char* key, const std::array<TPicture, N>& pictures, Stored) {
        static_assert(N <= 10, "slot numbers of one digit");
        Values(key, N, [this, &pictures](std::size_t s) {
            return ToJson(pictures[s], Where + QLatin1String("-picture-") + QChar(u'0' + int(s)));
        });
    }
    template <class L> void Records(TListNames names, const L& records) {
        Members.push_back(
            {names.Key, {}, {}, [&records, names, &picture = ToJson](TJsonText& text) {
                 text.BeginArray();
                 for (qsizetype i = 0; i < qsizetype(records.size()); ++i)
                     WriteObject(text, records[std::size_t(i)],
                                 QLatin1String(names.Place) + u'-' + QString::number(i), picture);
                 text.EndArray();
             }});
    }
    template <class R> void Block(TListNames names, const R& block) {
        Members.push_back({names.Key, {}, {}, [&block, names, &picture = ToJson](TJsonText& text) {
                               WriteObject(text, block, QLatin1String(names.Place), picture);
                           }});
    }

  private:
    template <class F> void Values(const char* key, std::size_t size, F value) {
        std::vector<QJsonValue> list;
        list.reserve(size);
        for (std::size_t i = 0; i < size; ++i)
            list.push_back(value(i));
        Members.push_back({key, {}, std::move(list), {}});
    }

    const QString& Where;
    const TPictureToJson& ToJson;
};

template <class R>
TJsonForm FormOf(const R& record, const QString& where, const TPictureToJson& picture) {
    TJsonForm form(where, picture);
    VisitFields(form, record);
    return form;
}

// The fields as an object; lists and blocks are left out.
template <class R>
QJsonObject BuildObject(const R& record, const QString& where, const TPictureToJson& picture) {
    QJsonObject object;
    for (const TJsonForm::TMember& m : FormOf(record, where, picture).Members) {
        if (m.Nested) continue;
        if (m.List.empty()) {
            object.insert(QLatin1String(m.Key), m.Value);
            continue;
        }
        QJsonArray list;
        for (const QJsonValue& v : m.List)
            list.append(v);
        object.insert(QLatin1String(m.Key), list);
    }
    return object;
}

// The members in QJsonObject's order, sorted by key. A kind of record always
// gives the same keys in the same order, so the order is found once.
template <class R>
void WriteObject(TJsonText& text, const R& record, const QString& where,
                 const TPictureToJson& picture) {
    const TJsonForm form = FormOf(record, where, picture);
    static const std::vector<std::size_t> byKey = [&form] {
        std::vector<std::size_t> order(form.Members.size());
        std::iota(order.begin(), order.end(), std::size_t(0));
        std::sort(order.begin(), order.end(), [&form](std::size_t a, std::size_t b) {
            return std::strcmp(form.Members[a].Key, form.Members[b].Key) < 0;
        });
        return order;
    }();
    text.BeginObject();
    for (const std::size_t i : byKey) {
        const TJsonForm::TMember& m = form.Members[i];
        text.Key(m.Key);
        if (m.Nested) {
            m.Nested(text);
        } else if (!m.List.empty()) {
            text.BeginArray();
            for (const QJsonValue& v : m.List)
                text.Value(v);
            text.EndArray();
        } else {
            text.Value(m.Value);
        }
    }
    text.EndObject();
}

// ---- reading ----

constexpr qint64 U16Max = 0xFFFF, U32Max = 0xFFFFFFFF;

[[noreturn]] void Fail(const QString& text) {
    throw TSchemaError{text};
}

// A problem with the value at key, e.g. "\"Texts[0].Bold\" must be true or false."
[[noreturn]] void FailAt(const TJsonKey& key, const QString& problem) {
    Fail(QLatin1Char('"') + QString(key) + QLatin1Char('"') + problem);
}

qint64 WholeNumber(const QJsonValue& v, const TJsonKey& key, qint64 min, qint64 max) {
    const double d = v.toDouble();
    if (!v.isDouble() || d != std::floor(d) || d < double(min) || d > double(max))
        FailAt(key, QStringLiteral(" must be a whole number from %1 to %2.").arg(min).arg(max));
    return qint64(d);
}

// The fields of one JSON object, each looked up by name, read as the
// descriptions walk them. Lists cut out of the text are parsed a record at a time.
class TJsonReader {
  public:
    TJsonReader(const QJsonValue& v, const TJsonKey& where, const TPictureFromJson& picture,
                const TJsonLists* lists = nullptr)
        : Where(where), FromJson(picture), Lists(lists) {
        if (!Where.IsWhole() && !v.isObject()) FailAt(Where, QStringLiteral(" must be an object."));
        Object = v.toObject();
    }

    template <class T> void Number(TNumberField f, T& value) {
        value = T(WholeNumber(Value(f.Key), {Where, f.Key}, 0, f.Max));
    }
    void Flag(const char* key, bool& value, TFlagRead) {
        const QJsonValue v = Value(key);
        if (!v.isBool()) FailAt({Where, key}, QStringLiteral(" must be true or false."));
        value = v.toBool();
    }
    void Name(const char* key, QByteArray& name) {
        const QJsonValue v = Value(key);
        if (!v.isString()) FailAt({Where, key}, QStringLiteral(" must be a string."));
        const QString text = v.toString();
        name = EncodeName(text);
        if (DecodeName(name) != text)
            FailAt({Where, key},
                   QStringLiteral(" holds a character that Windows-1252 cannot store."));
        if (name.size() > U16Max)
            FailAt({Where, key}, QStringLiteral(" is longer than %1 bytes.").arg(U16Max));
    }
    template <std::size_t N> void Colors(const char* key, std::array<TColor, N>& colors) {
        const QJsonArray list = List(key, int(N), "colours");
        const TJsonKey where(Where, key);
        for (std::size_t c = 0; c < N; ++c)
            colors[c] = TColor(WholeNumber(list[qsizetype(c)], {where, c}, 0, U32Max));
    }
    void Picture(const char* key, TPicture& picture, bool transparent) {
        picture = {FromJson(Value(key), {Where, key}), transparent};
    }
    template <std::size_t N, class Stored>
    void Pictures(const char* key, std::array<TPicture, N>& pictures, Stored) {
        const QJsonArray list = List(key, int(N), "pictures");
        const TJsonKey where(Where, key);
        for (std::size_t s = 0; s < N; ++s)
            pictures[s] = {FromJson(list[qsizetype(s)], {where, s}), Keyed};
    }
    template <class L> void Records(TListNames names, L& records) {
        const auto cut = Lists ? Lists->find(names.Key) : TJsonLists::const_iterator();
        const bool isCut = Lists && cut != Lists->end();
        const QJsonArray list = isCut ? QJsonArray() : this->List(names.Key, -1, "");
        const std::size_t count = isCut ? cut->second.size() : std::size_t(list.size());
        const TJsonKey where(Where, names.Key);
        if (count > std::size_t(MaxItems))
            FailAt(where, QStringLiteral(" holds more than %1 entries.").arg(MaxItems));
        records.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            TJsonReader record(isCut ? ParseJsonElement(cut->second[i]) : list[qsizetype(i)],
                               {where, i}, FromJson);
            VisitFields(record, records[i]);
        }
    }
    template <class R> void Block(TListNames names, R& block) {
        TJsonReader inner(Value(names.Key), {Where, names.Key}, FromJson);
        VisitFields(inner, block);
    }

  private:
    QJsonValue Value(const char* name) const {
        const auto it = Object.constFind(QLatin1String(name));
        if (it == Object.constEnd())
            Fail(QStringLiteral("The key \"%1\" is missing.").arg(QString(TJsonKey(Where, name))));
        return *it;
    }
    // size < 0: any length.
    QJsonArray List(const char* name, int size, const char* what) const {
        const QJsonValue v = Value(name);
        const QJsonArray list = v.toArray();
        if (!v.isArray() || (size >= 0 && list.size() != size))
            FailAt(
                {Where, name},
                size >= 0
                    ? QStringLiteral(" must be a list of %1 %2.").arg(size).arg(QLatin1String(what))
                    : QStringLiteral(" must be a list."));
        return list;
    }

    QJsonObject Object;
    const TJsonKey Where;
    const TPictureFromJson& FromJson;
    const TJsonLists* Lists;
};

} // namespace

TJsonKey::operator QString() const {
    if (!Parent) return QString();
    const QString parent = *Parent;
    if (!Name) return parent + u'[' + QString::number(Index) + u']';
    return parent.isEmpty() ? QString::fromLatin1(Name) : parent + u'.' + QLatin1String(Name);
}

QJsonValue PictureSizeJson(const TPicture& picture) {
    return QJsonObject{{"Width", picture.Width()}, {"Height", picture.Height()}};
}

void WriteSkinJson(const TSkinDocument& doc, const TPictureToJson& picture,
                   const TJsonText::TSink& sink) {
    TJsonText text(sink);
    WriteObject(text, doc, QString(), picture);
    text.Finish();
}

void WriteSkinInfo(const TSkinDocument& doc, const TJsonText::TSink& sink) {
    // Pictures of one size share one value: a skin holds few sizes.
    QHash<QSize, QJsonValue> sizes;
    const auto sizeOf = [&sizes](const TPicture& picture, const QString&) {
        const QSize size(picture.Width(), picture.Height());
        auto it = sizes.find(size);
        if (it == sizes.end()) it = sizes.insert(size, PictureSizeJson(picture));
        return *it;
    };
    WriteSkinJson(doc, sizeOf, sink);
}

QJsonObject SkinToJson(const TSkinDocument& doc, const TPictureToJson& picture) {
    QByteArray text;
    WriteSkinJson(doc, picture, [&text](QByteArrayView piece) { text += piece; });
    return QJsonDocument::fromJson(text).object();
}

QJsonObject SkinNumbersToJson(const TSkinDocument& doc) {
    const QString top;
    return BuildObject(doc, top, [](const TPicture&, const QString&) { return QJsonValue(); });
}

QJsonObject RecordToJson(const TSkinDocument& doc, int kind, int index,
                         const TPictureToJson& picture) {
    const QString where =
        QLatin1String(RecordListNames[kind].Place) + u'-' + QString::number(index);
    const std::size_t i = std::size_t(index);
    switch (kind) {
    case ikImage:
        return BuildObject(doc.Images[i], where, picture);
    case ikText:
        return BuildObject(doc.Texts[i], where, picture);
    case ikButton:
        return BuildObject(doc.Buttons[i], where, picture);
    case ikWheel:
        return BuildObject(doc.Wheels[i], where, picture);
    default:
        return BuildObject(doc.Trackbars[i], where, picture);
    }
}

QJsonObject PlaylistToJson(const TSkinDocument& doc, const TPictureToJson& picture) {
    return BuildObject(doc.Playlist, QStringLiteral("playlist"), picture);
}

TSkinDocument SkinFromJsonText(QByteArrayView text, const TPictureFromJson& picture) {
    std::vector<const char*> lists{ItemListNames.Key};
    for (const TListNames& names : RecordListNames)
        lists.push_back(names.Key);
    const TJsonSplit split = SplitJson(text, lists, MaxItems);
    return SkinFromJson(split.Rest, picture, &split.Lists);
}

TSkinDocument SkinFromJson(const QJsonObject& json, const TPictureFromJson& picture,
                           const TJsonLists* lists) {
    TSkinDocument doc;
    TJsonReader top(json, TJsonKey(), picture, lists);
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
