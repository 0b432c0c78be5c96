#include "hostile_cases.h"

#include "bitmap_bytes.h"
#include "bitmap_file.h"
#include "item_list.h"
#include "new_skin.h"
#include "picture_bytes.h"
#include "picture_file.h"
#include "preview.h"
#include "skin_file.h"

#include <QtEndian>

namespace {

// A maximised editor window on a full-HD desktop.
const QSize EditorArea(1920, 1080);

TSkinDocument Skin(int w, int h) {
    TSkinDocument doc;
    NewSkin(doc);
    doc.ScreenWidth = w;
    doc.ScreenHeight = h;
    return doc;
}

QImage Solid(int w, int h, QRgb color) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(color);
    return img;
}

// One item of every kind spread over the screen, the last ones far out.
void AddEveryKind(TSkinDocument& doc, int x, int y) {
    for (int kind = 0; kind < ItemKindCount; ++kind)
        AddItem(doc, kind, "item");
    doc.Images.back().X = x;
    doc.Images.back().Y = y;
    doc.Texts.back().Width = 200;
    doc.Texts.back().Height = 40;
    doc.Texts.back().FontSize = 40;
    doc.Wheels.back().BallCount = 8;
    doc.Wheels.back().BallDist = 30;
    doc.Trackbars.back().Width = 150;
    doc.Trackbars.back().Height = 20;
    doc.Trackbars.back().ShowScroller = true;
}

QByteArray Baseline() {
    TSkinDocument doc = Skin(240, 268);
    AddEveryKind(doc, 10, 10);
    return EncodeSkin(doc);
}

QByteArray HugeScreen() {
    TSkinDocument doc = Skin(65535, 65535);
    AddEveryKind(doc, 65000, 65000);
    AddItem(doc, ikImage, "corner");
    doc.Images.back().Picture.Image = Solid(535, 535, qRgb(0, 90, 200));
    doc.Images.back().X = doc.Images.back().Y = 65000;
    return EncodeSkin(doc);
}

// A skin whose one image's picture record has the given header and data.
QByteArray PictureClaim(quint16 w, quint16 h, quint32 dataSize, const QByteArray& data) {
    TSkinDocument doc = Skin(240, 268);
    AddItem(doc, ikImage, "i");
    const QByteArray bytes = EncodeSkin(doc);
    // version 4, screen 4, count 2, entry 1 + 2 + 2 + 1, image count 2, x and y 4, trigger 1
    const qsizetype at = 23;
    QByteArray head(8, '\0');
    qToLittleEndian<quint16>(w, head.data());
    qToLittleEndian<quint16>(h, head.data() + 2);
    qToLittleEndian<quint32>(dataSize, head.data() + 4);
    return bytes.left(at) + head + data + bytes.mid(at + 8 + 480);
}

QByteArray PictureBeyondTheFile() {
    return PictureClaim(65535, 65535, 0xFFFFFFFFu, {});
}
QByteArray PictureWithoutItsRows() {
    return PictureClaim(65535, 65535, 16, QByteArray(16, 'x'));
}

// The longest and the tallest pictures the file can keep, and a wide band.
QByteArray LongestPictures() {
    TSkinDocument doc = Skin(480, 536);
    AddItem(doc, ikImage, "wide");
    AddItem(doc, ikButton, "tall");
    AddItem(doc, ikImage, "band");
    doc.Images[0].Picture.Image = Solid(65535, 1, qRgb(255, 255, 0));
    doc.Buttons[0].Pictures[0].Image = Solid(1, 65535, qRgb(0, 255, 255));
    doc.Images[1].Picture.Image = Solid(65535, 64, qRgb(90, 0, 90));
    doc.Images[1].Y = 100;
    return EncodeSkin(doc);
}

// The most entries the file can list, every kind in turn, small pictures.
QByteArray MostItems() {
    TSkinDocument doc = Skin(240, 268);
    const QImage dot = Solid(1, 1, qRgb(200, 200, 200));
    for (int i = 0; i < 65535; ++i) {
        AddItem(doc, i % ItemKindCount, "n");
        switch (i % ItemKindCount) {
        case ikImage:
            doc.Images.back().Picture.Image = dot;
            break;
        case ikButton:
            for (TPicture& p : doc.Buttons.back().Pictures)
                p.Image = dot;
            break;
        case ikWheel:
            for (TPicture& p : doc.Wheels.back().Pictures)
                p.Image = dot;
            break;
        case ikTrackbar:
            for (TPicture& p : doc.Trackbars.back().Pictures)
                p.Image = dot;
            break;
        default:
            break;
        }
    }
    return EncodeSkin(doc);
}

// Text boxes of 60000 x 60000, one in a small font and one in the largest.
QByteArray HugeTextBoxes() {
    TSkinDocument doc = Skin(65535, 65535);
    for (int fontSize : {12, 65535}) {
        AddItem(doc, ikText, "text");
        TiText& t = doc.Texts.back();
        t.Width = t.Height = 60000;
        t.FontSize = fontSize;
        t.Bold = fontSize > 12;
        t.HAlign = haCenter;
        t.VAlign = vaCenter;
        t.TextType = ttSongTitle;
        t.PreviewText = PreviewTextFor(t.TextType);
    }
    return EncodeSkin(doc);
}

// 255 balls on the widest circle, and 255 balls on none.
QByteArray WheelOf255Balls() {
    TSkinDocument doc = Skin(480, 536);
    for (int dist : {65535, 0}) {
        AddItem(doc, ikWheel, "wheel");
        TiWheel& w = doc.Wheels.back();
        w.BallCount = 255;
        w.BallDist = dist;
        w.X = w.Y = 100;
        w.Pictures[0].Image = Solid(200, 200, qRgb(40, 40, 40));
        w.Pictures[7].Image = Solid(9, 9, qRgb(255, 255, 255));
    }
    return EncodeSkin(doc);
}

// The playlist look at its extremes on the largest screen, and a trackbar
// stretching a picture over 65535 pixels.
QByteArray ExtremePlaylistAndTrackbar() {
    TSkinDocument doc = Skin(65535, 65535);
    TPlaylistSettings& p = doc.Playlist;
    p.TitleHeight = p.ItemHeight = 65535;
    p.TitleFontSize = p.ItemFontSize = 65535;
    p.TitleBold = p.ItemBold = true;
    p.FolderIcon.Image = Solid(65535, 2, qRgb(255, 0, 0));
    p.SongIcon.Image = Solid(2, 65535, qRgb(0, 255, 0));
    AddItem(doc, ikTrackbar, "bar");
    TiTrackbar& t = doc.Trackbars.back();
    t.Width = t.Height = 65535;
    t.ProgressStretch = true;
    t.ShowScroller = true;
    t.Pictures[0].Image = Solid(3, 65535, qRgb(0, 0, 255));
    return EncodeSkin(doc);
}

// A bitmap header claiming 65535 x 65535 in a file of a few dozen bytes.
QByteArray SquareBitmapClaim() {
    return BmpFile({40, 65535, 65535, 1, 0, {0, 0xFFFFFF}, {}, {}});
}

// The largest picture a few bytes of RLE8 give under the reader's limit:
// 65535 x 2048, every pixel index 0.
QByteArray LargestRleBitmap() {
    return BmpFile({40, 65535, 2048, 8, 1, {0x336699}, {}, QByteArray::fromHex("0001")});
}

// A few kilobytes of PNG claiming 65535 x 65535 pixels of RGBA.
QByteArray PngHugeClaim() {
    return ZeroPng(65535, 65535, 0);
}

// A PNG of 4096 x 4096 RGBA zeros, 64 MB decoded from some 70 KB, and one
// just beyond the picture limit.
QByteArray PngBomb() {
    return ZeroPng(4096, 4096, 4096);
}
QByteArray PngBombBeyondTheLimit() {
    return ZeroPng(16385, 16384, 0);
}

// A thousand pages or frames, of which only the first is read.
QByteArray TiffOfAThousandPages() {
    return GreyTiffPages(256, 256, 1000);
}
QByteArray GifOfAThousandFrames() {
    const QByteArray frame(256 * 256, '\1');
    return GifFile(256, 256, {qRgb(0, 0, 0), qRgb(0, 90, 200)}, 0, QList<QByteArray>(1000, frame));
}

const char* const TooLarge =
    "The picture is too large: at most 268,435,456 pixels (for example 16384 x 16384).";

QString RepaintEveryZoom(const TSkinDocument& doc) {
    for (int zoom = 0; zoom < 4; ++zoom) {
        TPreviewView view;
        view.ZoomIndex = zoom;
        view.Area = EditorArea;
        const int selected = doc.Items.isEmpty() ? -1 : int(doc.Items.size() - 1 - zoom);
        if (RenderPlayerPreview(doc, std::max(selected, 0), view).size() != EditorArea ||
            RenderPlaylistPreview(doc, view).size() != EditorArea)
            return QStringLiteral("a preview is not the area's size");
    }
    return QStringLiteral("opened");
}

} // namespace

const std::vector<THostileCase>& HostileCases() {
    static const std::vector<THostileCase> cases{
        {"baseline", false, Baseline, "opened"},
        {"huge_screen", false, HugeScreen, "opened"},
        {"picture_beyond_the_file", false, PictureBeyondTheFile, "Read beyond end of file."},
        {"picture_without_its_rows", false, PictureWithoutItsRows,
         "The skin file is damaged: a picture of 65535 x 65535 pixels holds only 16 bytes."},
        {"longest_pictures", false, LongestPictures, "opened"},
        {"most_items", false, MostItems, "opened"},
        {"huge_text_boxes", false, HugeTextBoxes, "opened"},
        {"wheel_of_255_balls", false, WheelOf255Balls, "opened"},
        {"extreme_playlist_and_trackbar", false, ExtremePlaylistAndTrackbar, "opened"},
        {"square_bitmap_claim", true, SquareBitmapClaim, "Stream read error."},
        // 8 bits a pixel, without alpha: one copy.
        {"largest_rle_bitmap", true, LargestRleBitmap, "opened", 128},
        {"png_huge_claim", true, PngHugeClaim, TooLarge},
        {"png_bomb", true, PngBomb, "opened", 2 * 64},
        {"png_bomb_beyond_the_limit", true, PngBombBeyondTheLimit, TooLarge},
        {"tiff_of_a_thousand_pages", true, TiffOfAThousandPages, "opened"},
        {"gif_of_a_thousand_frames", true, GifOfAThousandFrames, "opened"},
    };
    return cases;
}

const THostileCase* FindHostileCase(const QString& name) {
    for (const THostileCase& c : HostileCases())
        if (name == QLatin1String(c.Name)) return &c;
    return nullptr;
}

QString OpenAndRepaint(const THostileCase& hostile, const QString& path) {
    if (!hostile.IsBitmap) {
        const TSkinReadResult read = ReadSkinFile(path);
        if (!read.Document) return read.Error;
        return RepaintEveryZoom(*read.Document);
    }
    TBitmapReadResult read = ReadPictureFile(path);
    if (!read.Error.isEmpty()) return read.Error;
    // Loaded into an image, a button and both playlist icons, as Open does,
    // each slot with its alpha rule.
    TSkinDocument doc = Skin(240, 268);
    AddItem(doc, ikImage, "image");
    AddItem(doc, ikButton, "button");
    const QImage keyed = ApplyAlphaRule(read.Image, true);
    doc.Images[0].Picture.Image = ApplyAlphaRule(std::move(read.Image), false);
    doc.Buttons[0].Pictures[0].Image = keyed;
    doc.Playlist.FolderIcon.Image = keyed;
    doc.Playlist.SongIcon.Image = keyed;
    return RepaintEveryZoom(doc);
}
