// Writes the seed corpora of the fuzz targets: skins of every kind made by
// the document's own code, bitmaps of every depth and header the
// platform's reader knows, and pictures of each other format, sound, cut
// short and hostile. Usage: make_corpus <corpus dir>, which gets skin/,
// bitmap/, png/, jpeg/, gif/, webp/ and tiff/.
#include "bitmap_bytes.h"
#include "hostile_corpus.h"
#include "item_list.h"
#include "new_skin.h"
#include "picture_bytes.h"
#include "sample_skin.h"
#include "skin_file.h"
#include "tool_arguments.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

QString CorpusDir, SkinDir, BitmapDir;

void Save(const QString& dir, const QString& name, const QByteArray& bytes) {
    QFile f(QDir(dir).filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
}

void SaveSkin(const QString& name, const TSkinDocument& doc) {
    Save(SkinDir, name + ".skn", EncodeSkin(doc));
}

TSkinDocument SkinOf(int w, int h) {
    TSkinDocument doc;
    NewSkin(doc);
    doc.ScreenWidth = w;
    doc.ScreenHeight = h;
    return doc;
}

// The rich sample with its full-screen background made small, so that the
// fuzzer's inputs stay short.
TSkinDocument SmallRichSkin() {
    TSkinDocument doc = MakeRichSkin();
    doc.Images[0].Picture.Image = PatternImage(24, 27, 5);
    return doc;
}

void WriteSkins() {
    SaveSkin("default", MakeDefaultSkin());
    const TSkinDocument rich = SmallRichSkin();
    SaveSkin("rich", rich);
    for (int p = 0; p < CustomPreset; p += 2) {
        const TResolutionPreset& preset = ResolutionPresets[std::size_t(p)];
        SaveSkin(QStringLiteral("preset_%1").arg(p), SkinOf(preset.Width, preset.Height));
    }
    for (int kind = 0; kind < ItemKindCount; ++kind) {
        TSkinDocument doc = MakeDefaultSkin();
        AddItem(doc, kind, "only");
        SaveSkin(QStringLiteral("one_of_kind_%1").arg(kind), doc);
    }

    TSkinDocument texts = MakeDefaultSkin();
    for (int t = 0; t < 6; ++t) {
        AddItem(texts, ikText, QByteArray("text") + char('0' + t));
        TiText& r = texts.Texts.back();
        r.TextType = t;
        r.PreviewText = PreviewTextFor(t);
        r.HAlign = t % 3;
        r.VAlign = (t + 1) % 3;
        r.FontSize = 1 + 9 * t;
        r.Bold = t % 2;
        r.Y = 40 * t;
        r.Width = t == 5 ? 7 : 120;
    }
    SaveSkin("texts", texts);

    TSkinDocument wheels = MakeDefaultSkin();
    const int balls[] = {0, 1, 3, 8, 255};
    for (int i = 0; i < 5; ++i) {
        AddItem(wheels, ikWheel, "wheel");
        TiWheel& w = wheels.Wheels.back();
        w.BallCount = balls[i];
        w.BallDist = 10 * i;
        w.CenterCommand = i * 3;
        w.X = 30 * i;
        w.Pictures[0].Image = PatternImage(30 + i, 30 - i, i);
        w.Pictures[7].Image = PatternImage(3, 3, i);
    }
    SaveSkin("wheels", wheels);

    TSkinDocument bars = MakeDefaultSkin();
    for (int i = 0; i < 4; ++i) {
        AddItem(bars, ikTrackbar, "bar");
        TiTrackbar& b = bars.Trackbars.back();
        b.ProgressStretch = i & 1;
        b.ShowScroller = i & 2;
        b.Width = i == 3 ? 2 : 100 + 60 * i;
        b.Height = 20;
        b.Y = 30 * i;
        b.Pictures[0].Image = PatternImage(40, 9, i);
    }
    SaveSkin("trackbars", bars);

    TSkinDocument empty = rich;
    for (TiImage& r : empty.Images)
        r.Picture.Image = QImage();
    for (TiButton& r : empty.Buttons)
        for (TPicture& p : r.Pictures)
            p.Image = QImage();
    empty.Playlist.FolderIcon.Image = QImage();
    SaveSkin("zero_pictures", empty);

    TSkinDocument far = rich;
    for (TiImage& r : far.Images)
        r.X = r.Y = 65500;
    for (TiText& r : far.Texts)
        r.Width = r.Height = 0;
    far.Playlist.TitleHeight = 0;
    far.Playlist.ItemHeight = 65535;
    far.Playlist.ItemFontSize = 300;
    SaveSkin("far_and_odd", far);

    TSkinDocument tiny = rich;
    tiny.ScreenWidth = tiny.ScreenHeight = 1;
    SaveSkin("one_pixel_screen", tiny);
    TSkinDocument none = MakeDefaultSkin();
    none.ScreenWidth = none.ScreenHeight = 0;
    SaveSkin("zero_screen", none);
    TSkinDocument huge = MakeDefaultSkin();
    huge.ScreenWidth = huge.ScreenHeight = 65535;
    AddItem(huge, ikImage, "corner");
    huge.Images[0].X = huge.Images[0].Y = 65530;
    SaveSkin("huge_screen", huge);

    // Damaged files, refused with their messages.
    const QByteArray bytes = EncodeSkin(rich);
    Save(SkinDir, "wrong_version.skn", QByteArray::fromHex("E9030000") + bytes.mid(4));
    Save(SkinDir, "cut_short.skn", bytes.left(bytes.size() / 2));
    TSkinDocument damaged = MakeDefaultSkin();
    AddItem(damaged, ikImage, "i");
    QByteArray bad = EncodeSkin(damaged);
    bad[10] = 7; // the entry's kind
    Save(SkinDir, "unknown_kind.skn", bad);
    bad = EncodeSkin(damaged);
    bad[11] = 1; // the entry's index
    Save(SkinDir, "missing_record.skn", bad);
}

void WriteBitmaps() {
    const int w = 13, h = 7;
    auto save = [](const QString& name, const QByteArray& bytes) { Save(BitmapDir, name, bytes); };
    auto saveQt = [](const QString& name, const QImage& img) {
        if (!img.save(QDir(BitmapDir).filePath(name), "BMP")) std::exit(1);
    };
    const QImage pattern = PatternImage(w, h, 3);
    saveQt("qt_rgb32.bmp", pattern);
    saveQt("qt_argb32.bmp", pattern.convertToFormat(QImage::Format_ARGB32));
    saveQt("qt_indexed8.bmp", pattern.convertToFormat(QImage::Format_Indexed8));
    saveQt("qt_mono.bmp", pattern.convertToFormat(QImage::Format_Mono));
    saveQt("placeholder.bmp", PlaceholderPicture());
    saveQt("one_pixel.bmp", PatternImage(1, 1));
    saveQt("odd_width.bmp", PatternImage(3, 2));
    QImage keyed = pattern;
    keyed.setPixel(2, 2, TransparentKey);
    saveQt("with_key_colour.bmp", keyed);

    for (int bpp : {1, 4, 8}) {
        TBmp b{40, w, h, bpp, 0, Palette(1 << bpp), {}, {}};
        b.Pixels =
            PackRows(w, h, bpp, [bpp](int x, int y) { return quint32(x + y) % (1u << bpp); });
        save(QStringLiteral("depth%1.bmp").arg(bpp), BmpFile(b));
    }
    save("depth8_rle.bmp", BmpFile({40, w, h, 8, 1, Palette(256), {}, Rle(w, h, false)}));
    save("depth4_rle.bmp", BmpFile({40, w, h, 4, 2, Palette(16), {}, Rle(w, h, true)}));
    auto rgb = [](int x, int y) {
        return quint32(x * 19) << 16 | quint32(y * 37) << 8 | quint32(x * y);
    };
    save("depth16_555.bmp", BmpFile({40, w, h, 16, 0, {}, {}, PackRows(w, h, 16, [](int x, int y) {
                                         return quint32(x << 10 | y << 5 | (x ^ y));
                                     })}));
    save("depth16_565.bmp",
         BmpFile(
             {40, w, h, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, PackRows(w, h, 16, [](int x, int y) {
                  return quint32(x << 11 | y << 6 | x);
              })}));
    save("depth24.bmp", BmpFile({40, w, h, 24, 0, {}, {}, PackRows(w, h, 24, rgb)}));
    save("depth24_top_down.bmp", BmpFile({40, w, -h, 24, 0, {}, {}, PackRows(w, h, 24, rgb)}));
    save("depth24_os2.bmp", BmpFile({12, w, h, 24, 0, {}, {}, PackRows(w, h, 24, rgb)}));
    save("depth8_os2.bmp",
         BmpFile({12, w, h, 8, 0, Palette(256), {}, PackRows(w, h, 8, [](int x, int y) {
                      return quint32(x * y);
                  })}));
    save("depth32.bmp", BmpFile({40, w, h, 32, 0, {}, {}, PackRows(w, h, 32, rgb)}));
    save("depth32_bit_fields.bmp",
         BmpFile({40, w, h, 32, 3, {}, {0xFF00, 0xFF0000, 0xFF000000}, PackRows(w, h, 32, rgb)}));
    save("depth32_v4_alpha.bmp", BmpFile({108,
                                          w,
                                          h,
                                          32,
                                          3,
                                          {},
                                          {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
                                          PackRows(w, h, 32, [&](int x, int y) {
                                              return rgb(x, y) | quint32(x * 20) << 24;
                                          })}));
    save("depth24_v5.bmp", BmpFile({124, w, h, 24, 0, {}, {}, PackRows(w, h, 24, rgb)}));

    // Damaged: cut inside the pixels, cut inside the header, not a bitmap.
    const QByteArray whole = BmpFile({40, w, h, 24, 0, {}, {}, PackRows(w, h, 24, rgb)});
    save("cut_in_pixels.bmp", whole.left(whole.size() - 20));
    save("cut_in_header.bmp", whole.left(10));
    save("not_a_bitmap.bmp", "This is a text file, not a picture.\n");
}

// The other formats a slot reads, small, with alpha of every kind of value.
void WritePictures() {
    QImage alpha(13, 7, QImage::Format_ARGB32);
    for (int y = 0; y < alpha.height(); ++y)
        for (int x = 0; x < alpha.width(); ++x)
            alpha.setPixel(x, y, qRgba(x * 19, y * 37, 255 - x * y, (x * 23 + y * 41) % 256));
    const auto saveQt = [](const QString& name, const QImage& img, const char* format) {
        if (!img.save(QDir(BitmapDir).filePath(name), format, 100)) std::exit(1);
    };
    saveQt("alpha.png", alpha, "PNG");
    saveQt("indexed_alpha.png", alpha.convertToFormat(QImage::Format_Indexed8), "PNG");
    saveQt("grey16.png", alpha.convertToFormat(QImage::Format_Grayscale16), "PNG");
    saveQt("rgba64.png", alpha.convertToFormat(QImage::Format_RGBA64), "PNG");
    saveQt("alpha.webp", alpha, "WEBP");
    saveQt("alpha.tiff", alpha, "TIFF");
    saveQt("opaque.jpg", PatternImage(13, 7, 3), "JPEG");
    Save(BitmapDir, "two_frames.gif",
         GifFile(4, 2, {qRgb(255, 0, 255), qRgb(0, 0, 0), qRgb(9, 99, 199)}, 2,
                 {QByteArray("\0\1\2\1\0\1\2\1", 8), QByteArray(8, '\2')}));
    Save(BitmapDir, "three_pages.tiff", GreyTiffPages(5, 3, 3));
    Save(BitmapDir, "huge_claim.png", ZeroPng(65535, 65535, 0));
}

// Each format's own target: its pictures whole, cut short, and shaped as
// the hostile ones are, kept small.
void WriteFormatSeeds() {
    QImage alpha(13, 7, QImage::Format_ARGB32);
    for (int y = 0; y < alpha.height(); ++y)
        for (int x = 0; x < alpha.width(); ++x)
            alpha.setPixel(x, y, qRgba(x * 19, y * 37, 255 - x * y, (x * 23 + y * 41) % 256));
    const auto dirOf = [](const char* format) {
        const QString dir = QDir(CorpusDir).filePath(QLatin1String(format));
        QDir().mkpath(dir);
        return dir;
    };
    // Every seed also cut in half: the decoders' paths for a file that ends early.
    const auto save = [&](const char* format, const QString& name, const QByteArray& bytes) {
        Save(dirOf(format), name, bytes);
        Save(dirOf(format), QStringLiteral("cut_") + name, bytes.left(bytes.size() / 2));
    };
    const auto written = [](const QImage& img, const char* format, int quality = 100) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!img.save(&buffer, format, quality)) std::exit(1);
        return bytes;
    };

    save("png", "alpha.png", written(alpha, "PNG"));
    save("png", "indexed_alpha.png",
         written(alpha.convertToFormat(QImage::Format_Indexed8), "PNG"));
    save("png", "grey16.png", written(alpha.convertToFormat(QImage::Format_Grayscale16), "PNG"));
    save("png", "rgba64.png", written(alpha.convertToFormat(QImage::Format_RGBA64), "PNG"));
    save("png", "mono.png", written(alpha.convertToFormat(QImage::Format_Mono), "PNG"));
    save("png", "rgb16_transparent_colour.png",
         PngFile(2, 1, 16, 2, QByteArray::fromHex("00123456789abcffff00000000"),
                 {{"tRNS", QByteArray::fromHex("123456789abc")}}));
    save("png", "grey_interlaced.png",
         PngFile(2, 2, 8, 0, QByteArray::fromHex("00100020003040"), {}, {}, 1));
    save("png", "text_chunk.png",
         PngFile(4, 4, 8, 0, QByteArray(4 * 5, '\0'),
                 {{"zTXt",
                   "Comment" + QByteArray(2, '\0') + qCompress(QByteArray(1 << 20, ' ')).mid(4)}}));
    save("png", "data_after_its_rows.png",
         PngFile(4, 4, 8, 0, QByteArray(4 * 5, '\0'), {}, {{"IDAT", QByteArray(64, 'Z')}}));
    save("png", "huge_claim.png", ZeroPng(65535, 65535, 0));

    save("jpeg", "opaque.jpg", written(PatternImage(13, 7, 3), "JPEG"));
    save("jpeg", "grey.jpg", JpegFile(alpha.convertToFormat(QImage::Format_Grayscale8), 90));
    save("jpeg", "progressive.jpg", ProgressiveJpeg(16, 16, 12));
    save("jpeg", "101_scans.jpg", ProgressiveJpeg(16, 16, 101));

    save("gif", "two_frames.gif",
         GifFile(4, 2, {qRgb(255, 0, 255), qRgb(0, 0, 0), qRgb(9, 99, 199)}, 2,
                 {QByteArray("\0\1\2\1\0\1\2\1", 8), QByteArray(8, '\2')}));
    save("gif", "opaque.gif",
         GifFile(3, 3, {qRgb(1, 2, 3), qRgb(200, 100, 0)}, -1,
                 {QByteArray("\0\1\0\1\0\1\0\1\0", 9)}));

    save("webp", "lossless_alpha.webp", written(alpha, "WEBP"));
    save("webp", "lossy.webp", written(PatternImage(13, 7, 3), "WEBP", 50));
    save("webp", "lossy_alpha.webp", written(alpha, "WEBP", 50));
    save("webp", "animation.webp", AnimatedWebp({alpha, PatternImage(13, 7, 3)}));

    save("tiff", "alpha.tiff", written(alpha, "TIFF"));
    save("tiff", "opaque.tiff", written(PatternImage(13, 7, 3), "TIFF"));
    save("tiff", "three_pages.tiff", GreyTiffPages(5, 3, 3));
    save("tiff", "rgb16.tiff", Tiff16(2, 2, 3, {0xff00, 0, 0x00ff, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    save("tiff", "bogus_strips.tiff", TiffWithBogusStrips());
}

} // namespace

int main(int argc, char** argv) {
    if (const int status = CheckToolArguments(argc, argv, "make_corpus <corpus dir>", 1);
        status >= 0)
        return status;
    QGuiApplication app(argc, argv);
    CorpusDir = QString::fromLocal8Bit(argv[1]);
    SkinDir = QDir(CorpusDir).filePath(QStringLiteral("skin"));
    BitmapDir = QDir(CorpusDir).filePath(QStringLiteral("bitmap"));
    QDir().mkpath(SkinDir);
    QDir().mkpath(BitmapDir);
    WriteSkins();
    WriteBitmaps();
    WritePictures();
    WriteFormatSeeds();
    return 0;
}
