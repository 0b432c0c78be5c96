// skntool unpack --png and pack of pictures in every format: the alpha rule
// of each slot, and the same skin back byte for byte.
#include "picture.h"
#include "picture_bytes.h"
#include "sample_skin.h"
#include "skin_file.h"
#include "skntool_process.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The pattern with a key pixel at its top-left corner.
QImage Keyed(int w, int h, int seed) {
    QImage img = PatternImage(w, h, seed).convertToFormat(QImage::Format_RGB32);
    img.setPixel(0, 0, TransparentKey);
    return img;
}

template <std::size_t N> void KeyAll(std::array<TPicture, N>& pictures, int& seed) {
    for (TPicture& p : pictures)
        p.Image = Keyed(5, 4, ++seed);
}

} // namespace

TEST_F(SkntoolTest, UnpackPngThenPackGivesTheSameBytes) {
    // The demo skin, packed from its folder of bitmaps.
    ASSERT_EQ(Run({"pack", LUMORA_DEMO_SKIN, "demo.skn"}).Status, 0);
    ASSERT_EQ(Run({"unpack", "--png", "demo.skn", "demo"}).Status, 0);
    TToolRun run = Run({"pack", "demo", "again.skn"});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    EXPECT_EQ(Bytes("again.skn"), Bytes("demo.skn"));
    EXPECT_TRUE(Exists("demo/playlist-folder-icon.png"));

    // Key pixels in every keyed slot, and one picture in an image and a button.
    TSkinDocument doc = MakeRichSkin();
    int seed = 0;
    for (TiButton& r : doc.Buttons)
        KeyAll(r.Pictures, seed);
    for (TiWheel& r : doc.Wheels)
        KeyAll(r.Pictures, seed);
    for (TiTrackbar& r : doc.Trackbars)
        KeyAll(r.Pictures, seed);
    doc.Playlist.FolderIcon.Image = Keyed(3, 3, ++seed);
    doc.Playlist.SongIcon.Image = Keyed(3, 3, ++seed);
    doc.Images[0].Picture.Image = doc.Buttons[0].Pictures[0].Image;
    WriteSkin("keyed.skn", doc);
    ASSERT_EQ(Run({"unpack", "--png", "keyed.skn", "keyed"}).Status, 0);
    run = Run({"pack", "keyed", "again.skn"});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    EXPECT_EQ(Bytes("again.skn"), Bytes("keyed.skn"));

    // Every keyed slot's file shows its key pixel transparent; the image's
    // file, of the same pixels, shows it magenta.
    const QJsonObject json = QJsonDocument::fromJson(Bytes("keyed/skin.json")).object();
    const auto pixel = [&](const QJsonValue& name) {
        return QImage(Path("keyed/" + name.toString())).pixel(0, 0);
    };
    EXPECT_EQ(json["Images"][0]["Picture"].toString(), "image-0-picture.png");
    EXPECT_EQ(pixel(json["Images"][0]["Picture"]), TransparentKey);
    EXPECT_EQ(json["Buttons"][0]["Pictures"][0].toString(), "button-0-picture-0.png");
    EXPECT_EQ(qAlpha(pixel(json["Buttons"][0]["Pictures"][0])), 0);
    EXPECT_EQ(qAlpha(pixel(json["Wheels"][1]["Pictures"][7])), 0);
    EXPECT_EQ(qAlpha(pixel(json["Trackbars"][0]["Pictures"][1])), 0);
    EXPECT_EQ(qAlpha(pixel(json["Playlist"]["SongIcon"])), 0);
    EXPECT_TRUE(QDir(Path("keyed")).entryList({"*.bmp"}).isEmpty());
}

TEST_F(SkntoolTest, PackReadsEveryFormatWithEachSlotsAlphaRule) {
    QImage soft(2, 1, QImage::Format_ARGB32);
    soft.setPixel(0, 0, qRgba(0, 255, 255, 100));
    soft.setPixel(1, 0, qRgba(0, 255, 255, 200));
    ASSERT_EQ(Run({"new", "a.skn"}).Status, 0);
    ASSERT_EQ(Run({"unpack", "a.skn", "f"}).Status, 0);
    ASSERT_TRUE(soft.save(Path("f/soft.webp"), "WEBP", 100));
    Write("f/icon.gif",
          GifFile(2, 1, {qRgb(9, 9, 9), qRgb(0, 0, 255)}, 0, {QByteArray("\0\1", 2)}));
    QJsonObject json = QJsonDocument::fromJson(Bytes("f/skin.json")).object();
    json["Items"] = QJsonArray{QJsonObject{{"Kind", 0}, {"Index", 0}, {"Name", "i"}},
                               QJsonObject{{"Kind", 2}, {"Index", 0}, {"Name", "b"}}};
    json["Images"] =
        QJsonArray{QJsonObject{{"X", 0}, {"Y", 0}, {"RepaintWhen", 0}, {"Picture", "soft.webp"}}};
    json["Buttons"] = QJsonArray{
        QJsonObject{{"X", 0},
                    {"Y", 0},
                    {"Command", 0},
                    {"Pictures", QJsonArray{"soft.webp", "icon.gif", "icon.gif", "icon.gif"}}}};
    QJsonObject playlist = json["Playlist"].toObject();
    playlist["SongIcon"] = "icon.gif";
    json["Playlist"] = playlist;
    Write("f/skin.json", QJsonDocument(json).toJson());
    const TToolRun run = Run({"pack", "f", "b.skn"});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();

    const TSkinDocument doc = ReadSkin("b.skn");
    // Composed over black: 255 at alpha 100 is 100, of which the skin keeps 5 bits.
    const int kept = Widen5(100 >> 3);
    EXPECT_EQ(doc.Images[0].Picture.Image.pixel(0, 0), qRgb(0, kept, kept));
    EXPECT_EQ(doc.Buttons[0].Pictures[0].Image.pixel(0, 0), TransparentKey);
    EXPECT_EQ(doc.Buttons[0].Pictures[0].Image.pixel(1, 0), qRgb(0, 255, 255));
    EXPECT_EQ(doc.Playlist.SongIcon.Image.pixel(0, 0), TransparentKey);
    EXPECT_EQ(doc.Playlist.SongIcon.Image.pixel(1, 0), qRgb(0, 0, 255));
}
