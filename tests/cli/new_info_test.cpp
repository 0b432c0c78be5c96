// skntool new and info: the default skin, the presets, and the whole document as JSON.
#include "code_page.h"
#include "item_list.h"
#include "sample_skin.h"
#include "skin_file.h"
#include "skntool_process.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {
QSet<QString> KeysOf(const QJsonValue& v) {
    const QStringList keys = v.toObject().keys();
    return QSet<QString>(keys.begin(), keys.end());
}
QSet<QString> Set(std::initializer_list<const char*> names) {
    QSet<QString> s;
    for (const char* n : names)
        s.insert(QLatin1String(n));
    return s;
}
QJsonObject Size(int w, int h) {
    return QJsonObject{{"Width", w}, {"Height", h}};
}
} // namespace

TEST_F(SkntoolTest, NewWritesThe1034ByteDefaultSkin) {
    const TToolRun run = Run({"new", "a.skn"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_TRUE(run.Out.isEmpty());
    EXPECT_TRUE(run.Err.isEmpty());
    const QByteArray bytes = Bytes("a.skn");
    ASSERT_EQ(bytes.size(), 1034);
    EXPECT_EQ(bytes.left(8), QByteArray::fromHex("E8030000F0000C01"));
    EXPECT_EQ(bytes, EncodeSkin(MakeDefaultSkin()));
}

TEST_F(SkntoolTest, NewTakesAPresetOrAFreeSize) {
    ASSERT_EQ(Run({"new", "--preset", "5", "landscape.skn"}).Status, 0);
    EXPECT_EQ(Bytes("landscape.skn").mid(4, 4), QByteArray::fromHex("80028C01")); // 640 x 396
    ASSERT_EQ(Run({"new", "--preset", "2", "square.skn"}).Status, 0);
    EXPECT_EQ(Bytes("square.skn").mid(4, 4), QByteArray::fromHex("F000C600")); // 240 x 198

    ASSERT_EQ(Run({"new", "--size", "120x1200", "tall.skn"}).Status, 0);
    const TSkinDocument tall = ReadSkin("tall.skn");
    EXPECT_EQ(tall.ScreenWidth, 120);
    EXPECT_EQ(tall.ScreenHeight, 1200);
    TSkinDocument expected = MakeDefaultSkin();
    expected.ScreenWidth = 120;
    expected.ScreenHeight = 1200;
    EXPECT_EQ(Bytes("tall.skn"), EncodeSkin(expected));
}

TEST_F(SkntoolTest, InfoPrintsEveryKindWithTheSchemaKeys) {
    WriteSkin("rich.skn", MakeRichSkin());
    const TToolRun run = Run({"info", "rich.skn"});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.isEmpty());
    QJsonParseError error{};
    const QJsonObject json = QJsonDocument::fromJson(run.Out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);

    EXPECT_EQ(KeysOf(json), Set({"ScreenWidth", "ScreenHeight", "Items", "Images", "Texts",
                                 "Buttons", "Wheels", "Trackbars", "Playlist"}));
    EXPECT_EQ(json["ScreenWidth"].toInt(), 240);
    EXPECT_EQ(json["ScreenHeight"].toInt(), 268);

    // The entries in list order, the logo moved above the artist text.
    const QJsonArray items = json["Items"].toArray();
    ASSERT_EQ(items.size(), 10);
    EXPECT_EQ(KeysOf(items[0]), Set({"Kind", "Index", "Name"}));
    EXPECT_EQ(items[0].toObject(),
              (QJsonObject{{"Kind", 0}, {"Index", 0}, {"Name", "background"}}));
    EXPECT_EQ(items[8].toObject(), (QJsonObject{{"Kind", 0}, {"Index", 1}, {"Name", "logo"}}));
    EXPECT_EQ(items[9].toObject(), (QJsonObject{{"Kind", 1}, {"Index", 1}, {"Name", "artist"}}));
    EXPECT_EQ(items[5]["Name"].toString(), QString(255, 'n'));
    EXPECT_EQ(items[6]["Name"].toString(), QString());
    EXPECT_EQ(items[7]["Name"].toString(), QStringLiteral("vol\u20AC\u00FF")); // bytes 80 FF

    const QJsonObject logo = json["Images"][1].toObject();
    EXPECT_EQ(KeysOf(logo), Set({"X", "Y", "RepaintWhen", "Picture"}));
    EXPECT_EQ(logo["X"].toInt(), 65526); // -10 as the file keeps it
    EXPECT_EQ(logo["Picture"].toObject(), Size(17, 9));
    EXPECT_EQ(json["Images"][0]["RepaintWhen"].toInt(), 1);

    const QJsonObject text = json["Texts"][0].toObject();
    EXPECT_EQ(KeysOf(text), Set({"X", "Y", "Width", "Height", "VAlign", "HAlign", "FontSize",
                                 "Color", "Bold", "TextType"}));
    EXPECT_EQ(text["Color"].toInteger(), 0x123456);
    EXPECT_EQ(text["Bold"], QJsonValue(true));
    EXPECT_EQ(text["TextType"].toInt(), 4);
    EXPECT_EQ(text["HAlign"].toInt(), 1);
    EXPECT_EQ(text["VAlign"].toInt(), 2);

    const QJsonObject play = json["Buttons"][0].toObject();
    EXPECT_EQ(KeysOf(play), Set({"X", "Y", "Command", "Pictures"}));
    EXPECT_EQ(play["Command"].toInt(), 6);
    EXPECT_EQ(play["Pictures"].toArray(),
              (QJsonArray{Size(21, 13), Size(22, 13), Size(23, 13), Size(24, 13)}));
    // A one-state button's second pair is not in the file: placeholders.
    EXPECT_EQ(json["Buttons"][1]["Pictures"].toArray(),
              (QJsonArray{Size(1, 1), Size(2, 2), Size(15, 15), Size(15, 15)}));

    const QJsonObject wheel = json["Wheels"][0].toObject();
    EXPECT_EQ(KeysOf(wheel),
              Set({"X", "Y", "BallDist", "BallCount", "CenterCommand", "LeftCommand",
                   "RightCommand", "TopHalfAction", "BottomHalfAction", "Pictures"}));
    EXPECT_EQ(wheel["BallCount"].toInt(), 4);
    EXPECT_EQ(wheel["BallDist"].toInt(), 40);
    EXPECT_EQ(wheel["CenterCommand"].toInt(), 10);
    EXPECT_EQ(wheel["Pictures"][7].toObject(), Size(23, 14));
    EXPECT_EQ(json["Wheels"][1]["TopHalfAction"].toInt(), 2);
    EXPECT_EQ(json["Wheels"][1]["LeftCommand"].toInt(), 4);
    EXPECT_EQ(json["Wheels"][1]["Pictures"][4].toObject(), Size(15, 15));

    const QJsonObject bar = json["Trackbars"][0].toObject();
    EXPECT_EQ(KeysOf(bar), Set({"X", "Y", "Width", "Height", "ProgressStretch", "ShowScroller",
                                "TrackType", "Pictures"}));
    EXPECT_EQ(bar["ShowScroller"], QJsonValue(true));
    EXPECT_EQ(bar["Pictures"].toArray(), (QJsonArray{Size(60, 10), Size(9, 15)}));
    EXPECT_EQ(json["Trackbars"][1]["TrackType"].toInt(), 1);
    EXPECT_EQ(json["Trackbars"][1]["ShowScroller"], QJsonValue(false));

    const QJsonObject playlist = json["Playlist"].toObject();
    EXPECT_EQ(KeysOf(playlist), Set({"TitleHeight", "ItemHeight", "TitleFontSize", "ItemFontSize",
                                     "TitleBold", "ItemBold", "Colors", "FolderIcon", "SongIcon"}));
    EXPECT_EQ(playlist["Colors"].toArray(),
              (QJsonArray{0xFFFFFF, 0xC0C0C0, 0, 0, 0x800000, 0xFFFFFF, 0x808080}));
    EXPECT_EQ(playlist["TitleBold"], QJsonValue(true));
    EXPECT_EQ(playlist["FolderIcon"].toObject(), Size(13, 11));
    EXPECT_EQ(playlist["SongIcon"].toObject(), Size(15, 15));
}

TEST_F(SkntoolTest, InfoShowsEveryNameByteAsWindows1252) {
    TSkinDocument doc = MakeDefaultSkin();
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    doc.Items.append({ikText, 0, all});
    doc.Texts.push_back({});
    WriteSkin("names.skn", doc);
    const TToolRun run = Run({"info", "names.skn"});
    ASSERT_EQ(run.Status, 0);
    const QString name = QJsonDocument::fromJson(run.Out)["Items"][0]["Name"].toString();
    EXPECT_EQ(name, DecodeName(all));
    EXPECT_EQ(name[0x80], QChar(0x20AC)); // the euro sign of Windows-1252
    EXPECT_EQ(EncodeName(name), all);
}

// info writes its JSON as it goes, in chunks once it is long; the text is
// what QJsonDocument prints: keys sorted, four spaces a level, empty lists
// on two lines, names escaped as Qt escapes them.
TEST_F(SkntoolTest, InfoPrintsTheJsonAsQtPrintsIt) {
    TSkinDocument names = MakeDefaultSkin(); // every list empty
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    names.Items.append({ikText, 0, all});
    names.Texts.push_back({});
    TSkinDocument many = MakeRichSkin();
    for (int i = 0; i < 2000; ++i)
        AddItem(many, ikButton, "b");
    const std::pair<const char*, TSkinDocument> skins[] = {
        {"default.skn", MakeDefaultSkin()}, {"names.skn", names}, {"many.skn", many}};
    for (const auto& [file, doc] : skins) {
        WriteSkin(file, doc);
        const TToolRun run = Run({"info", file});
        ASSERT_EQ(run.Status, 0) << file;
        EXPECT_EQ(run.Out, QJsonDocument::fromJson(run.Out).toJson()) << file;
    }
    EXPECT_GT(Run({"info", "many.skn"}).Out.size(), 1 << 16); // more than one chunk
}
