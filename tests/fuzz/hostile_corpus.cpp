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

QByteArray PngWithTextBombs() {
    const QByteArray text =
        "Comment" + QByteArray(2, '\0') + qCompress(QByteArray(64 << 20, ' '), 9).mid(4);
    return PngFile(8, 8, 8, 0, QByteArray(8 * 9, '\0'),
                   QList<TPngChunk>(8, TPngChunk{"zTXt", text}));
}

QByteArray PngWithDataAfterItsRows() {
    QList<TPngChunk> after;
    const QByteArray junk(1 << 20, char(0x5A));
    for (int i = 0; i < 20; ++i)
        after.append({"IDAT", junk});
    return PngFile(64, 64, 8, 2, QByteArray(64 * (1 + 64 * 3), '\0'), {}, after);
}

QByteArray TiffWithBogusStrips() {
    const int side = 64;
    QByteArray tiff = GreyTiffPages(side, side, 1);
    // The directory follows the strip: its entries 5 (StripOffsets) and 8
    // (StripByteCounts), each value 8 bytes into its 12.
    const qsizetype entries = 8 + side * side + 2;
    const auto put = [&](int entry, quint32 value) {
        for (int b = 0; b < 4; ++b)
            tiff[entries + 12 * entry + 8 + b] = char((value >> (8 * b)) & 0xFF);
    };
    put(5, 0x7FFFFFF0u);
    put(8, 0);
    return tiff;
}

std::vector<THostileInput> HostileInputs() {
    const auto skin = [](const char* name, const TSkinDocument& doc) {
        return THostileInput{QLatin1String(name), EncodeSkin(doc), {}, 0};
    };
    const auto folder = [](const char* name, const QByteArray& picture, int slotCount,
                           qint64 decodedPixels = 0, qint64 sparseTail = 0) {
        return THostileInput{QLatin1String(name),      {},        picture, slotCount,
                             decodedPixels * 4 / 1024, sparseTail};
    };
    QImage flat(8000, 6000, QImage::Format_Grayscale8);
    flat.fill(128);
    QImage noise(512, 512, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x * y) & 0xFF));
    const QByteArray cutJpeg = JpegFile(noise, 90);
    const QByteArray cutGif =
        GifFile(256, 256, {qRgb(0, 0, 0), qRgb(0, 90, 200)}, -1, {QByteArray(256 * 256, '\1')});
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
        folder("png_bomb_beyond_the_limit", ZeroPng(16385, 16384, 0), 1),
        folder("png_text_bombs", PngWithTextBombs(), 1),
        folder("png_data_after_its_rows", PngWithDataAfterItsRows(), 1),
        // Small and sparse on disk: a reader that reads it whole reads 5 GB.
        folder("png_before_a_5_gb_hole", ZeroPng(64, 64, 64), 1, 0, qint64(5) << 30),
        // 1-bit grey: some 18 MB of rows that decode to 576 MB.
        folder("png_12000_square",
               PngFile(12000, 12000, 1, 0, QByteArray(qsizetype(12000) * 1501, '\0')), 1,
               qint64(12000) * 12000),
        folder("jpeg_48_megapixels", JpegFile(flat, 75), 1, qint64(8000) * 6000),
        folder("jpeg_of_20000_scans", ProgressiveJpeg(1024, 1024, 20000), 1),
        folder("jpeg_cut_short", cutJpeg.left(cutJpeg.size() / 2), 1),
        folder("gif_cut_short", cutGif.left(cutGif.size() / 2), 1),
        folder("tiff_with_bogus_strips", TiffWithBogusStrips(), 1),
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
    const QString picture = folder.filePath(QStringLiteral("picture.bmp"));
    return QDir().mkpath(folder.path()) &&
           WriteFile(folder.filePath(QStringLiteral("skin.json")),
                     FolderJsonNamingPicture(input.Slots)) &&
           WriteFile(picture, input.Picture) &&
           (input.SparseTail == 0 ||
            QFile::resize(picture, input.Picture.size() + input.SparseTail)) &&
           WriteFile(folder.filePath(QStringLiteral("dot.bmp")), DotBitmap());
}
