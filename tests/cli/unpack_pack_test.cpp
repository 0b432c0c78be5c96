// skntool unpack and pack: the folder's files, byte identity, hand-written folders.
#include "sample_skin.h"
#include "skin_file.h"
#include "skin_folder.h"
#include "skin_json.h"
#include "skntool_process.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>

namespace {
QStringList FolderEntries(const QString& path) {
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}
int BitmapBitCount(const QByteArray& bmp) {
    return qFromLittleEndian<quint16>(bmp.constData() + 28);
}
// Slot place ("button-0-picture-2") -> the file name skin.json gives it.
QJsonObject SkinToJsonNames(const QJsonObject& json) {
    QJsonObject names;
    const auto list = [&](const char* key, const char* kind) {
        const QJsonArray records = json[key].toArray();
        for (qsizetype i = 0; i < records.size(); ++i) {
            const QJsonObject r = records[i].toObject();
            const QString place = QStringLiteral("%1-%2-picture").arg(kind).arg(i);
            if (r.contains("Picture")) names[place] = r["Picture"];
            const QJsonArray slots_ = r["Pictures"].toArray();
            for (qsizetype s = 0; s < slots_.size(); ++s)
                names[place + QStringLiteral("-%1").arg(s)] = slots_[s];
        }
    };
    list("Images", "image");
    list("Buttons", "button");
    list("Wheels", "wheel");
    list("Trackbars", "trackbar");
    names["playlist-folder-icon"] = json["Playlist"]["FolderIcon"];
    names["playlist-song-icon"] = json["Playlist"]["SongIcon"];
    return names;
}
} // namespace

TEST_F(SkntoolTest, UnpackWritesEachDistinctPictureOnceAsA24BitBitmapNamedAfterItsFirstSlot) {
    TSkinDocument rich = MakeRichSkin();
    // Equal pixels in pictures of their own, as a skin file gives them.
    rich.Images[1].Picture.Image = rich.Wheels[0].Pictures[7].Image.copy();
    WriteSkin("rich.skn", rich);
    const TToolRun run = Run({"unpack", "rich.skn", "folder"});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.isEmpty());

    // The slots in the order unpack meets them, with the pictures the skin file gives.
    const TSkinDocument read = ReadSkin("rich.skn");
    QStringList places;
    QList<QImage> pictures;
    SkinToJson(read, [&](const TPicture& picture, const QString& place) {
        places << place;
        pictures << picture.Image.convertToFormat(QImage::Format_RGB32);
        return QJsonValue();
    });
    const QJsonObject json = QJsonDocument::fromJson(Bytes("folder/skin.json")).object();
    const QJsonObject names = SkinToJsonNames(json);
    QStringList expected{"skin.json"};
    for (qsizetype i = 0; i < places.size(); ++i) {
        const qsizetype first = pictures.indexOf(pictures[i]);
        const QString name = places[first] + ".bmp";
        EXPECT_EQ(names[places[i]].toString(), name) << places[i].toStdString();
        if (first == i) expected << name;
    }
    EXPECT_LT(expected.size(), places.size()); // placeholders and the copied ball are shared
    EXPECT_EQ(names["wheel-0-picture-7"].toString(), "image-1-picture.bmp");
    expected.sort();
    EXPECT_EQ(FolderEntries(Path("folder")), expected); // and no staging folder left behind

    // Every bitmap is 24-bit and holds the picture exactly as the skin file gives it.
    for (qsizetype i = 0; i < places.size(); ++i) {
        const QString name = names[places[i]].toString();
        EXPECT_EQ(BitmapBitCount(Bytes("folder/" + name)), 24) << name.toStdString();
        EXPECT_EQ(QImage(Path("folder/" + name)).convertToFormat(QImage::Format_RGB32), pictures[i])
            << places[i].toStdString();
    }
    EXPECT_EQ(json["Images"][1]["X"].toInt(), 65526);

    // Packed again, the shared files give the same bytes.
    ASSERT_EQ(Run({"pack", "folder", "again.skn"}).Status, 0);
    EXPECT_EQ(Bytes("again.skn"), Bytes("rich.skn"));
}

TEST_F(SkntoolTest, UnpackThenPackGivesTheSameBytes) {
    WriteSkin("rich.skn", MakeRichSkin());
    ASSERT_EQ(Run({"unpack", "rich.skn", "folder"}).Status, 0);
    const TToolRun run = Run({"pack", "folder", "again.skn"});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    EXPECT_EQ(Bytes("again.skn"), Bytes("rich.skn"));

    // Every byte of a name survives the JSON on the way.
    TSkinDocument doc = MakeDefaultSkin();
    QByteArray all;
    for (int b = 255; b >= 0; --b)
        all.append(char(b));
    doc.Items.append({ikImage, 0, all});
    doc.Images.push_back({});
    doc.Images[0].Picture.Image = PatternImage(3, 2);
    WriteSkin("names.skn", doc);
    ASSERT_EQ(Run({"unpack", "names.skn", "names"}).Status, 0);
    ASSERT_EQ(Run({"pack", "names", "names2.skn"}).Status, 0);
    EXPECT_EQ(Bytes("names2.skn"), Bytes("names.skn"));
    EXPECT_EQ(ReadSkin("names2.skn").Items[0].Name, all);
}

TEST_F(SkntoolTest, UnpackOfAnEmptyPictureWritesNullAndPacksItBack) {
    TSkinDocument doc = MakeDefaultSkin();
    doc.Items.append({ikButton, 0, "b"});
    doc.Buttons.push_back({});
    for (TPicture& p : doc.Buttons[0].Pictures)
        CreatePic(p, true, true);
    doc.Buttons[0].Pictures[1].Image = QImage(); // a file may hold a 0 x 0 picture
    WriteSkin("empty.skn", doc);
    ASSERT_EQ(Run({"unpack", "empty.skn", "f"}).Status, 0);
    const QJsonObject json = QJsonDocument::fromJson(Bytes("f/skin.json")).object();
    EXPECT_TRUE(json["Buttons"][0]["Pictures"][1].isNull());
    EXPECT_FALSE(Exists("f/button-0-picture-1.bmp"));
    ASSERT_EQ(Run({"pack", "f", "again.skn"}).Status, 0);
    EXPECT_EQ(Bytes("again.skn"), Bytes("empty.skn"));
}

TEST_F(SkntoolTest, UnpackIntoAnExistingFolderReplacesOnlyItsOwnFiles) {
    Write("folder/notes.txt", "mine");
    Write("folder/skin.json", "old");
    ASSERT_EQ(Run({"new", "a.skn"}).Status, 0);
    ASSERT_EQ(Run({"unpack", "a.skn", "folder"}).Status, 0);
    EXPECT_EQ(Bytes("folder/notes.txt"), "mine");
    EXPECT_TRUE(Bytes("folder/skin.json").startsWith("{"));
    // The two placeholder icons are one file.
    EXPECT_EQ(FolderEntries(Path("folder")),
              (QStringList{"notes.txt", "playlist-folder-icon.bmp", "skin.json"}));
}

TEST_F(SkntoolTest, PackReadsAHandWrittenFolder) {
    // Bitmaps as a paint program might leave them: 8-bit with a palette, and 32-bit.
    QImage logo(4, 3, QImage::Format_Indexed8);
    logo.setColorTable({qRgb(255, 0, 255), qRgb(0, 0, 255)});
    logo.fill(0);
    logo.setPixel(1, 1, 1);
    ASSERT_TRUE(QDir().mkpath(Path("hand")));
    ASSERT_TRUE(logo.save(Path("hand/logo.bmp"), "BMP"));
    QImage key(6, 2, QImage::Format_RGB32);
    key.fill(qRgb(255, 0, 255));
    key.setPixel(0, 0, qRgb(0, 255, 0));
    ASSERT_TRUE(key.save(Path("hand/key.bmp"), "BMP"));
    Write("hand/skin.json", R"({
        "ScreenWidth": 100, "ScreenHeight": 80,
        "Items": [ {"Kind": 2, "Index": 0, "Name": "Stop \u00e9"},
                   {"Kind": 0, "Index": 0, "Name": "logo"},
                   {"Kind": 1, "Index": 0, "Name": ""} ],
        "Images": [ {"X": 10, "Y": 20, "RepaintWhen": 0, "Picture": "logo.bmp"} ],
        "Texts": [ {"X": 0, "Y": 50, "Width": 100, "Height": 20, "VAlign": 1, "HAlign": 2,
                    "FontSize": 14, "Color": 255, "Bold": false, "TextType": 5} ],
        "Buttons": [ {"X": 2, "Y": 3, "Command": 7,
                      "Pictures": ["key.bmp", "key.bmp", "logo.bmp", null]} ],
        "Wheels": [], "Trackbars": [],
        "Playlist": {"TitleHeight": 20, "ItemHeight": 16, "TitleFontSize": 10, "ItemFontSize": 9,
                     "TitleBold": false, "ItemBold": true,
                     "Colors": [1, 2, 3, 4, 5, 6, 4294967295],
                     "FolderIcon": "key.bmp", "SongIcon": "logo.bmp"}
    })");
    const TToolRun run = Run({"pack", "hand", "hand.skn"});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    const TSkinDocument doc = ReadSkin("hand.skn");
    EXPECT_EQ(doc.ScreenWidth, 100);
    EXPECT_EQ(doc.ScreenHeight, 80);
    ASSERT_EQ(doc.Items.size(), 3);
    EXPECT_EQ(doc.Items[0].Name, QByteArray("Stop \xE9"));
    EXPECT_EQ(doc.Items[1].Kind, ikImage);
    EXPECT_EQ(doc.Images[0].X, 10);
    EXPECT_EQ(doc.Images[0].Picture.Image.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(doc.Images[0].Picture.Image.pixel(0, 0), qRgb(255, 0, 255));
    EXPECT_EQ(doc.Texts[0].TextType, 5);
    EXPECT_EQ(doc.Texts[0].FontSize, 14);
    EXPECT_EQ(doc.Buttons[0].Command, 7);
    EXPECT_EQ(doc.Buttons[0].Pictures[0].Image.size(), QSize(6, 2));
    EXPECT_EQ(doc.Buttons[0].Pictures[0].Image.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(doc.Buttons[0].Pictures[2].Image.size(), QSize(15, 15)); // one state: not stored
    EXPECT_EQ(doc.Playlist.Colors[6], 0xFFFFFFFFu);
    EXPECT_TRUE(doc.Playlist.ItemBold);
    EXPECT_EQ(doc.Playlist.SongIcon.Image.size(), QSize(4, 3));
}

TEST(SkinJson, PackedSlotsAreKeyedExceptImagePictures) {
    TSkinDocument rich = MakeRichSkin();
    rich.Images[0].Picture.Transparent = true; // whatever the source said
    rich.Buttons[0].Pictures[1].Transparent = false;
    rich.Images[1].X = 5; // as a file holds it: no negative numbers
    const QJsonObject json =
        SkinToJson(rich, [](const TPicture&, const QString& place) { return QJsonValue(place); });
    const TSkinDocument doc =
        SkinFromJson(json, [](const QJsonValue&, const QString&) { return PatternImage(2, 2); });
    for (const TiImage& r : doc.Images)
        EXPECT_FALSE(r.Picture.Transparent);
    for (const TiButton& r : doc.Buttons)
        for (const TPicture& p : r.Pictures)
            EXPECT_TRUE(p.Transparent);
    for (const TiWheel& r : doc.Wheels)
        for (const TPicture& p : r.Pictures)
            EXPECT_TRUE(p.Transparent);
    for (const TiTrackbar& r : doc.Trackbars)
        for (const TPicture& p : r.Pictures)
            EXPECT_TRUE(p.Transparent);
    EXPECT_TRUE(doc.Playlist.FolderIcon.Transparent);
    EXPECT_TRUE(doc.Playlist.SongIcon.Transparent);
    EXPECT_EQ(doc.Texts[0].PreviewText, "00:35");
    EXPECT_EQ(json["Wheels"][1]["Pictures"][4].toString(), "wheel-1-picture-4");
    EXPECT_EQ(json["Images"][0]["Picture"].toString(), "image-0-picture");
}

TEST_F(SkntoolTest, PackDecodesEachBitmapOnceAndSharesItsPicture) {
    WriteSkin("rich.skn", MakeRichSkin());
    ASSERT_EQ(Run({"unpack", "rich.skn", "folder"}).Status, 0);
    const TSkinDocument doc = PackSkin(Path("folder"));
    // Both slots hold the placeholder, so skin.json names one file for them.
    const QImage& a = doc.Buttons[1].Pictures[2].Image;
    const QImage& b = doc.Buttons[1].Pictures[3].Image;
    EXPECT_EQ(a, PlaceholderPicture().convertToFormat(a.format()));
    EXPECT_EQ(a.cacheKey(), b.cacheKey()); // one picture in memory, not two
}
