#include "hostile_corpus.h"

#include "bitmap_bytes.h"
#include "item_list.h"
#include "new_skin.h"
#include "picture_bytes.h"
#include "skin_file.h"
#include "skin_json.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace {

TSkinDocument Skin(int width, int height) {
    TSkinDocument doc;
    NewSkin(doc);
    doc.ScreenWidth = width;
    doc.ScreenHeight = height;
    return doc;
}

QImage Dot() {
    QImage img(1, 1, QImage::Format_RGB32);
    img.fill(qRgb(200, 200, 200));
    return img;
}

template <std::size_t N> void DotPictures(std::array<TPicture, N>& pictures) {
    for (TPicture& p : pictures)
        p.Image = Dot();
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

} // namespace

TSkinDocument ManyAlikeTexts(int fontSize, int width, int height) {
    TSkinDocument doc = Skin(width, height);
    for (int i = 0; i < MostEntries; ++i)
        AddItem(doc, ikText, "t");
    for (TiText& t : doc.Texts) {
        t.Width = t.Height = 65535;
        t.FontSize = fontSize;
        t.Bold = true;
    }
    return doc;
}

TSkinDocument ManyDifferentTexts() {
    TSkinDocument doc = ManyAlikeTexts(2000, 2048, 2048);
    for (std::size_t i = 0; i < doc.Texts.size(); ++i)
        doc.Texts[i].X = int(i);
    return doc;
}

TSkinDocument ManyAlikeWheels() {
    TSkinDocument doc = Skin(240, 268);
    for (int i = 0; i < MostEntries; ++i)
        AddItem(doc, ikWheel, "w");
    for (TiWheel& w : doc.Wheels) {
        w.X = w.Y = 100;
        w.BallCount = 255;
        w.BallDist = 80;
        DotPictures(w.Pictures);
    }
    return doc;
}

TSkinDocument ManyDifferentWheels() {
    TSkinDocument doc = ManyAlikeWheels();
    for (std::size_t i = 0; i < doc.Wheels.size(); ++i) {
        doc.Wheels[i].X = int(i % 240);
        doc.Wheels[i].Y = int(i / 240 % 268);
    }
    return doc;
}

TSkinDocument ManySlotsSharingOnePicture() {
    TSkinDocument doc = Skin(240, 268);
    QImage picture(1024, 1024, QImage::Format_RGB32);
    picture.fill(qRgb(40, 80, 120));
    for (int i = 0; i < 160; ++i)
        AddItem(doc, ikImage, "i");
    for (TiImage& r : doc.Images)
        r.Picture.Image = picture;
    return doc;
}

TSkinDocument EveryKindInBulk() {
    TSkinDocument doc = Skin(240, 268);
    const QByteArray name(30, 'n');
    for (int i = 0; i < MostEntries; ++i)
        AddItem(doc, i % ItemKindCount, name);
    // Records beyond the entries' share: the file holds 65535 of each.
    for (int kind = 0; kind < ItemKindCount; ++kind)
        while (RecordCount(doc, kind) < MostEntries) {
            AddItem(doc, kind, name);
            doc.Items.removeLast();
        }
    for (TiImage& r : doc.Images)
        r.Picture.Image = Dot();
    for (TiButton& r : doc.Buttons)
        DotPictures(r.Pictures);
    for (TiWheel& r : doc.Wheels)
        DotPictures(r.Pictures);
    for (TiTrackbar& r : doc.Trackbars) {
        DotPictures(r.Pictures);
        r.ShowScroller = true;
    }
    return doc;
}

QByteArray RleBombBitmap(int width, int height) {
    // One "end of bitmap" escape: every pixel keeps index 0.
    return BmpFile({40, width, height, 8, 1, {0x336699}, {}, QByteArray::fromHex("0001")});
}

QByteArray Paletted8Bitmap(int width, int height) {
    const int stride = (width + 3) / 4 * 4;
    QByteArray rows(qsizetype(stride) * height, '\0');
    for (int y = 0; y < height; ++y)
        rows[qsizetype(y) * stride + y % width] = char(y % 256);
    return BmpFile({40, width, height, 8, 0, Palette(256), {}, rows});
}

QByteArray Monochrome1Bitmap(int width, int height) {
    const int stride = (width + 31) / 32 * 4;
    QByteArray rows(qsizetype(stride) * height, char(0x55));
    return BmpFile({40, width, height, 1, 0, {0x000000, 0xFFFFFF}, {}, rows});
}

QByteArray ShortHugeClaimBitmap() {
    return BmpFile({40, 65535, 65535, 1, 0, {0, 0xFFFFFF}, {}, {}});
}

QByteArray DotBitmap() {
    return BmpFile({40, 1, 1, 24, 0, {}, {}, QByteArray(4, char(0x80))});
}

QByteArray FolderJsonNamingPicture(int slotCount) {
    TSkinDocument doc = Skin(240, 268);
    for (int i = 0; i < (slotCount + 3) / 4; ++i) {
        AddItem(doc, ikButton, "b");
        doc.Buttons.back().Command = pcPlayPause; // all four pictures in the file
    }
    int named = 0;
    const QJsonObject json = SkinToJson(doc, [&](const TPicture&, const QString& place) {
        const bool picture = place.startsWith(QLatin1String("button")) && named++ < slotCount;
        return QJsonValue(QLatin1String(picture ? "picture.bmp" : "dot.bmp"));
    });
    return QJsonDocument(json).toJson();
}

std::vector<THostileInput> HostileInputs() {
    const auto skin = [](const char* name, const TSkinDocument& doc) {
        return THostileInput{QLatin1String(name), EncodeSkin(doc), {}, 0};
    };
    const auto folder = [](const char* name, const QByteArray& picture, int slotCount) {
        return THostileInput{QLatin1String(name), {}, picture, slotCount};
    };
    return {
        skin("alike_texts_65535_small_screen", ManyAlikeTexts(65535, 240, 268)),
        skin("alike_texts_2000_small_screen", ManyAlikeTexts(2000, 240, 268)),
        skin("alike_texts_65535_large_screen", ManyAlikeTexts(65535, 2048, 2048)),
        skin("alike_texts_2000_large_screen", ManyAlikeTexts(2000, 2048, 2048)),
        skin("different_texts", ManyDifferentTexts()),
        skin("alike_wheels", ManyAlikeWheels()),
        skin("different_wheels", ManyDifferentWheels()),
        skin("every_kind_in_bulk", EveryKindInBulk()),
        skin("one_picture_in_160_slots", ManySlotsSharingOnePicture()),
        folder("rle_bomb", RleBombBitmap(65535, 2048), 1),
        folder("rle_bombs_in_18_slots", RleBombBitmap(4096, 1024), 18),
        folder("paletted_5800", Paletted8Bitmap(5800, 5800), 1),
        folder("monochrome_8000", Monochrome1Bitmap(8000, 8000), 1),
        folder("short_huge_claim", ShortHugeClaimBitmap(), 1),
        // Read by content, whatever the folder names them.
        folder("png_huge_claim", ZeroPng(65535, 65535, 0), 1),
        folder("png_bomb_in_18_slots", ZeroPng(2896, 2896, 2896), 18),
        folder("png_bomb_beyond_the_limit", ZeroPng(8192, 4097, 0), 1),
        folder("tiff_of_a_thousand_pages", GreyTiffPages(256, 256, 1000), 1),
        folder("gif_of_a_thousand_frames",
               GifFile(256, 256, {qRgb(0, 0, 0), qRgb(0, 90, 200)}, 0,
                       QList<QByteArray>(1000, QByteArray(256 * 256, '\1'))),
               1),
    };
}

bool WriteHostileInput(const THostileInput& input, const QString& dir) {
    if (!input.Skin.isEmpty())
        return WriteFile(QDir(dir).filePath(input.Name + QStringLiteral(".skn")), input.Skin);
    const QDir folder(QDir(dir).filePath(input.Name));
    return QDir().mkpath(folder.path()) &&
           WriteFile(folder.filePath(QStringLiteral("skin.json")),
                     FolderJsonNamingPicture(input.Slots)) &&
           WriteFile(folder.filePath(QStringLiteral("picture.bmp")), input.Picture) &&
           WriteFile(folder.filePath(QStringLiteral("dot.bmp")), DotBitmap());
}
