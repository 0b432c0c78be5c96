#include "skin_json.h"

#include "code_page.h"

#include <QJsonArray>

#include <cmath>

namespace {

constexpr qint64 U8Max = 0xFF, U16Max = 0xFFFF, U32Max = 0xFFFFFFFF;

QString Place(const char* kind, std::size_t index) {
    return QStringLiteral("%1-%2-picture").arg(QLatin1String(kind)).arg(index);
}

template <std::size_t N>
QJsonArray PictureList(const std::array<TPicture, N>& pictures, const QString& place,
                       const TPictureToJson& picture) {
    QJsonArray list;
    for (std::size_t s = 0; s < N; ++s)
        list.append(picture(pictures[s], QStringLiteral("%1-%2").arg(place).arg(s)));
    return list;
}

// ---- reading ----

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

QJsonObject ObjectOf(const QJsonValue& v, const QString& key) {
    if (!v.isObject()) Fail(QStringLiteral("%1 must be an object.").arg(Quoted(key)));
    return v.toObject();
}

// The fields of one JSON object, each looked up by name with its full key
// ("Wheels[1].BallCount") ready for the message.
class TFields {
  public:
    TFields(const QJsonValue& v, QString where)
        : Object(where.isEmpty() ? v.toObject() : ObjectOf(v, where)), Where(std::move(where)) {}

    QString Key(const char* name) const {
        return Where.isEmpty() ? QLatin1String(name)
                               : Where + QLatin1Char('.') + QLatin1String(name);
    }
    QJsonValue Value(const char* name) const {
        const auto it = Object.constFind(QLatin1String(name));
        if (it == Object.constEnd())
            Fail(QStringLiteral("The key %1 is missing.").arg(Quoted(Key(name))));
        return *it;
    }
    int Number(const char* name, qint64 max) const {
        return int(WholeNumber(Value(name), Key(name), 0, max));
    }
    TColor Color(const char* name) const {
        return TColor(WholeNumber(Value(name), Key(name), 0, U32Max));
    }
    bool Flag(const char* name) const {
        const QJsonValue v = Value(name);
        if (!v.isBool()) Fail(QStringLiteral("%1 must be true or false.").arg(Quoted(Key(name))));
        return v.toBool();
    }
    QString Text(const char* name) const {
        const QJsonValue v = Value(name);
        if (!v.isString()) Fail(QStringLiteral("%1 must be a string.").arg(Quoted(Key(name))));
        return v.toString();
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
    template <std::size_t N>
    void Pictures(std::array<TPicture, N>& slotPictures, const TPictureFromJson& picture) const {
        const QJsonArray list = List("Pictures", int(N), "pictures");
        for (std::size_t s = 0; s < N; ++s) {
            slotPictures[s].Image =
                picture(list[qsizetype(s)], Key("Pictures") + QStringLiteral("[%1]").arg(s));
            slotPictures[s].Transparent = true;
        }
    }

  private:
    QJsonObject Object;
    QString Where;
};

QByteArray NameBytes(const TFields& f) {
    const QString name = f.Text("Name");
    const QByteArray bytes = EncodeName(name);
    if (DecodeName(bytes) != name)
        Fail(QStringLiteral("%1 holds a character that Windows-1252 cannot store.")
                 .arg(Quoted(f.Key("Name"))));
    if (bytes.size() > U16Max)
        Fail(QStringLiteral("%1 is longer than %2 bytes.").arg(Quoted(f.Key("Name"))).arg(U16Max));
    return bytes;
}

// Reads each element of a top-level list into a record of the kind's array.
template <class T, class Fill>
void ReadRecords(const TFields& top, const char* name, std::vector<T>& records, Fill fill) {
    const QJsonArray list = top.List(name, -1, "");
    records.resize(std::size_t(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i)
        fill(TFields(list[i], QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(i)),
             records[std::size_t(i)]);
}

const char* const ArrayNames[ItemKindCount] = {"Images", "Texts", "Buttons", "Wheels", "Trackbars"};

// Every entry must designate its own existing record, or the editor refuses the file.
void CheckItems(const TSkinDocument& doc) {
    std::vector<int> owner[ItemKindCount];
    for (int k = 0; k < ItemKindCount; ++k)
        owner[k].assign(std::size_t(RecordCount(doc, k)), -1);
    for (qsizetype i = 0; i < doc.Items.size(); ++i) {
        const TDocItem& item = doc.Items[i];
        auto& owners = owner[item.Kind];
        if (std::size_t(item.Index) >= owners.size())
            Fail(QStringLiteral("\"Items[%1].Index\" is %2, but \"%3\" holds %4 records.")
                     .arg(i)
                     .arg(item.Index)
                     .arg(QLatin1String(ArrayNames[item.Kind]))
                     .arg(owners.size()));
        int& first = owners[std::size_t(item.Index)];
        if (first >= 0)
            Fail(QStringLiteral("\"Items[%1]\" and \"Items[%2]\" designate the same record.")
                     .arg(first)
                     .arg(i));
        first = int(i);
    }
}

} // namespace

QJsonValue PictureSizeJson(const TPicture& picture) {
    return QJsonObject{{"Width", picture.Width()}, {"Height", picture.Height()}};
}

QJsonObject SkinToJson(const TSkinDocument& doc, const TPictureToJson& picture) {
    QJsonArray items;
    for (const TDocItem& item : doc.Items)
        items.append(QJsonObject{
            {"Kind", item.Kind}, {"Index", item.Index}, {"Name", DecodeName(item.Name)}});

    QJsonArray images;
    for (std::size_t i = 0; i < doc.Images.size(); ++i) {
        const TiImage& r = doc.Images[i];
        images.append(QJsonObject{{"X", r.X},
                                  {"Y", r.Y},
                                  {"RepaintWhen", r.RepaintWhen},
                                  {"Picture", picture(r.Picture, Place("image", i))}});
    }

    QJsonArray texts;
    for (const TiText& r : doc.Texts)
        texts.append(QJsonObject{{"X", r.X},
                                 {"Y", r.Y},
                                 {"Width", r.Width},
                                 {"Height", r.Height},
                                 {"VAlign", r.VAlign},
                                 {"HAlign", r.HAlign},
                                 {"FontSize", r.FontSize},
                                 {"Color", qint64(r.Color)},
                                 {"Bold", r.Bold},
                                 {"TextType", r.TextType}});

    QJsonArray buttons;
    for (std::size_t i = 0; i < doc.Buttons.size(); ++i) {
        const TiButton& r = doc.Buttons[i];
        buttons.append(
            QJsonObject{{"X", r.X},
                        {"Y", r.Y},
                        {"Command", r.Command},
                        {"Pictures", PictureList(r.Pictures, Place("button", i), picture)}});
    }

    QJsonArray wheels;
    for (std::size_t i = 0; i < doc.Wheels.size(); ++i) {
        const TiWheel& r = doc.Wheels[i];
        wheels.append(
            QJsonObject{{"X", r.X},
                        {"Y", r.Y},
                        {"BallDist", r.BallDist},
                        {"BallCount", r.BallCount},
                        {"CenterCommand", r.CenterCommand},
                        {"LeftCommand", r.LeftCommand},
                        {"RightCommand", r.RightCommand},
                        {"TopHalfAction", r.TopHalfAction},
                        {"BottomHalfAction", r.BottomHalfAction},
                        {"Pictures", PictureList(r.Pictures, Place("wheel", i), picture)}});
    }

    QJsonArray trackbars;
    for (std::size_t i = 0; i < doc.Trackbars.size(); ++i) {
        const TiTrackbar& r = doc.Trackbars[i];
        trackbars.append(
            QJsonObject{{"X", r.X},
                        {"Y", r.Y},
                        {"Width", r.Width},
                        {"Height", r.Height},
                        {"ProgressStretch", r.ProgressStretch},
                        {"ShowScroller", r.ShowScroller},
                        {"TrackType", r.TrackType},
                        {"Pictures", PictureList(r.Pictures, Place("trackbar", i), picture)}});
    }

    const TPlaylistSettings& p = doc.Playlist;
    QJsonArray colors;
    for (TColor c : p.Colors)
        colors.append(qint64(c));
    const QJsonObject playlist{
        {"TitleHeight", p.TitleHeight},
        {"ItemHeight", p.ItemHeight},
        {"TitleFontSize", p.TitleFontSize},
        {"ItemFontSize", p.ItemFontSize},
        {"TitleBold", p.TitleBold},
        {"ItemBold", p.ItemBold},
        {"Colors", colors},
        {"FolderIcon", picture(p.FolderIcon, QStringLiteral("playlist-folder-icon"))},
        {"SongIcon", picture(p.SongIcon, QStringLiteral("playlist-song-icon"))}};

    return QJsonObject{{"ScreenWidth", doc.ScreenWidth},
                       {"ScreenHeight", doc.ScreenHeight},
                       {"Items", items},
                       {"Images", images},
                       {"Texts", texts},
                       {"Buttons", buttons},
                       {"Wheels", wheels},
                       {"Trackbars", trackbars},
                       {"Playlist", playlist}};
}

TSkinDocument SkinFromJson(const QJsonObject& json, const TPictureFromJson& picture) {
    TSkinDocument doc;
    const TFields top(json, QString());
    doc.ScreenWidth = top.Number("ScreenWidth", U16Max);
    doc.ScreenHeight = top.Number("ScreenHeight", U16Max);

    const QJsonArray items = top.List("Items", -1, "");
    for (qsizetype i = 0; i < items.size(); ++i) {
        const TFields f(items[i], QStringLiteral("Items[%1]").arg(i));
        TDocItem item;
        item.Kind = quint8(f.Number("Kind", ItemKindCount - 1));
        item.Index = f.Number("Index", U16Max);
        item.Name = NameBytes(f);
        doc.Items.append(item);
    }

    ReadRecords(top, "Images", doc.Images, [&](const TFields& f, TiImage& r) {
        r.X = f.Number("X", U16Max);
        r.Y = f.Number("Y", U16Max);
        r.RepaintWhen = f.Number("RepaintWhen", U8Max);
        r.Picture.Image = picture(f.Value("Picture"), f.Key("Picture"));
        r.Picture.Transparent = false;
    });
    ReadRecords(top, "Texts", doc.Texts, [&](const TFields& f, TiText& r) {
        r.X = f.Number("X", U16Max);
        r.Y = f.Number("Y", U16Max);
        r.Width = f.Number("Width", U16Max);
        r.Height = f.Number("Height", U16Max);
        r.VAlign = f.Number("VAlign", U8Max);
        r.HAlign = f.Number("HAlign", U8Max);
        r.FontSize = f.Number("FontSize", U16Max);
        r.Color = f.Color("Color");
        r.Bold = f.Flag("Bold");
        r.TextType = f.Number("TextType", U8Max);
        r.PreviewText = PreviewTextFor(r.TextType);
    });
    ReadRecords(top, "Buttons", doc.Buttons, [&](const TFields& f, TiButton& r) {
        r.X = f.Number("X", U16Max);
        r.Y = f.Number("Y", U16Max);
        r.Command = f.Number("Command", U16Max);
        f.Pictures(r.Pictures, picture);
    });
    ReadRecords(top, "Wheels", doc.Wheels, [&](const TFields& f, TiWheel& r) {
        r.X = f.Number("X", U16Max);
        r.Y = f.Number("Y", U16Max);
        r.BallDist = f.Number("BallDist", U16Max);
        r.BallCount = f.Number("BallCount", U8Max);
        r.CenterCommand = f.Number("CenterCommand", U16Max);
        r.LeftCommand = f.Number("LeftCommand", U16Max);
        r.RightCommand = f.Number("RightCommand", U16Max);
        r.TopHalfAction = f.Number("TopHalfAction", U16Max);
        r.BottomHalfAction = f.Number("BottomHalfAction", U16Max);
        f.Pictures(r.Pictures, picture);
    });
    ReadRecords(top, "Trackbars", doc.Trackbars, [&](const TFields& f, TiTrackbar& r) {
        r.X = f.Number("X", U16Max);
        r.Y = f.Number("Y", U16Max);
        r.Width = f.Number("Width", U16Max);
        r.Height = f.Number("Height", U16Max);
        r.ProgressStretch = f.Flag("ProgressStretch");
        r.ShowScroller = f.Flag("ShowScroller");
        r.TrackType = f.Number("TrackType", U8Max);
        f.Pictures(r.Pictures, picture);
    });

    const TFields f(top.Value("Playlist"), QStringLiteral("Playlist"));
    TPlaylistSettings& p = doc.Playlist;
    p.TitleHeight = f.Number("TitleHeight", U16Max);
    p.ItemHeight = f.Number("ItemHeight", U16Max);
    p.TitleFontSize = f.Number("TitleFontSize", U16Max);
    p.ItemFontSize = f.Number("ItemFontSize", U16Max);
    p.TitleBold = f.Flag("TitleBold");
    p.ItemBold = f.Flag("ItemBold");
    const QJsonArray colors = f.List("Colors", int(p.Colors.size()), "colours");
    for (std::size_t c = 0; c < p.Colors.size(); ++c)
        p.Colors[c] = TColor(WholeNumber(
            colors[qsizetype(c)], f.Key("Colors") + QStringLiteral("[%1]").arg(c), 0, U32Max));
    p.FolderIcon = {picture(f.Value("FolderIcon"), f.Key("FolderIcon")), true};
    p.SongIcon = {picture(f.Value("SongIcon"), f.Key("SongIcon")), true};

    CheckItems(doc);
    return doc;
}
