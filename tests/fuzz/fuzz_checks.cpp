#include "fuzz_checks.h"

#include "bitmap_file.h"
#include "dither.h"
#include "item_list.h"
#include "new_skin.h"
#include "picture_file.h"
#include "preview.h"
#include "skin_file.h"
#include "skin_fonts.h"

#include <QImageReader>

namespace {

// The editor's preview area is about this size; the repaint must cost what
// the area shows, not what the skin claims.
const QSize PreviewArea(640, 480);

constexpr int FuzzPictureLimitMb = 16;

// FNV-1a: the zoom and the selection come from the input itself, so a
// replayed finding repaints exactly as it did in the fuzzer.
quint32 InputHash(QByteArrayView data) {
    quint32 h = 2166136261u;
    for (char c : data)
        h = (h ^ quint8(c)) * 16777619u;
    return h;
}

QString Size(const QImage& img) {
    return QStringLiteral("%1 x %2").arg(img.width()).arg(img.height());
}

QString CheckRepaints(const TSkinDocument& doc, int selected, int zoomIndex) {
    TPreviewView view;
    view.ZoomIndex = zoomIndex;
    view.Area = PreviewArea;
    const QImage player = RenderPlayerPreview(doc, selected, view);
    if (player.size() != view.Area)
        return QStringLiteral("the player preview is %1, not the area's size").arg(Size(player));
    const QImage playlist = RenderPlaylistPreview(doc, view);
    if (playlist.size() != view.Area)
        return QStringLiteral("the playlist preview is %1, not the area's size")
            .arg(Size(playlist));
    return QString();
}

// What was written must read back as the very same document.
QString CheckRewrite(const TSkinDocument& doc) {
    const QByteArray written = EncodeSkin(doc);
    const TSkinReadResult again = DecodeSkin(written);
    if (!again.Document)
        return QStringLiteral("the written file does not read back: %1").arg(again.Error);
    if (!(*again.Document == doc)) {
        if (EncodeSkin(*again.Document) != written)
            return QStringLiteral("writing the file read back gives other bytes");
        return QStringLiteral("the written file reads back as another document");
    }
    return QString();
}

// The 5-bit value the skin file keeps of an 8-bit channel, widened back.
QRgb Kept(QRgb p) {
    return qRgb(Widen5(qRed(p) >> 3), Widen5(qGreen(p) >> 3), Widen5(qBlue(p) >> 3));
}

QString CheckKeptPixels(const QImage& loaded, const QImage& read) {
    if (loaded.size() != read.size())
        return QStringLiteral("a %1 picture reads back as %2").arg(Size(loaded), Size(read));
    if (loaded.isNull() || loaded.hasAlphaChannel()) return QString();
    const QImage rgb = loaded.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            if (Kept(rgb.pixel(x, y)) != read.pixel(x, y))
                return QStringLiteral("pixel (%1, %2) of a %3 picture changes colour")
                    .arg(x)
                    .arg(y)
                    .arg(Size(loaded));
    return QString();
}

} // namespace

void PrepareFuzzChecks() {
    RegisterSkinFonts();
    // A picture near the picture limit runs the same code as a small one,
    // only for seconds: a few bytes of RLE make 100 million pixels to
    // convert, repaint and dither. The fuzzers spend their time on shapes
    // instead; the hostile-size test loads the largest picture.
    SetPictureLimitPixels(qint64(FuzzPictureLimitMb) * 1024 * 1024 / 4);
}

QString CheckSkinInput(QByteArrayView data) {
    const TSkinReadResult read = DecodeSkin(data);
    if (!read.Document) {
        if (read.Error.isEmpty()) return QStringLiteral("a refused file has no message");
        return QString();
    }
    if (!read.Error.isEmpty()) return QStringLiteral("a file that opened has a message");
    const TSkinDocument& doc = *read.Document;

    const quint32 h = InputHash(data);
    const int selected = int((h >> 2) % quint32(doc.Items.size() + 1)) - 1;
    if (QString fault = CheckRepaints(doc, selected, int(h & 3)); !fault.isEmpty()) return fault;
    return CheckRewrite(doc);
}

QString CheckBitmapInput(QByteArrayView data) {
    const TBitmapReadResult read = DecodePicture(data);
    if (!read.Error.isEmpty()) return QString();

    // The picture as Open puts it into a slot: an opaque image, a keyed
    // button and a keyed icon.
    const QImage picture = ApplyAlphaRule(read.Image, true);
    const QImage opaque = ApplyAlphaRule(read.Image, false);
    if (picture.hasAlphaChannel() || opaque.hasAlphaChannel())
        return QStringLiteral("the alpha rule leaves alpha in a slot's picture");
    if (picture.size() != read.Image.size() || opaque.size() != read.Image.size())
        return QStringLiteral("the alpha rule changes a picture's size");
    // Applied as the rows arrive, the rule gives the very same pictures.
    if (DecodeSlotPicture(data, true).Image != picture ||
        DecodeSlotPicture(data, false).Image != opaque)
        return QStringLiteral("the rule applied while decoding gives another picture");
    TSkinDocument doc;
    NewSkin(doc);
    doc.ScreenWidth = 240;
    doc.ScreenHeight = 268;
    AddItem(doc, ikImage, "image");
    const int button = AddItem(doc, ikButton, "button");
    doc.Images[0].Picture.Image = opaque;
    doc.Buttons[0].Pictures[0].Image = picture;
    doc.Playlist.FolderIcon.Image = picture;

    const quint32 h = InputHash(data);
    if (QString fault = CheckRepaints(doc, button, int(h & 3)); !fault.isEmpty()) return fault;

    // One copy of a large picture in the file is enough to check the writer.
    doc.Images[0].Picture.Image = PlaceholderPicture();
    doc.Playlist.FolderIcon.Image = PlaceholderPicture();
    const TSkinReadResult back = DecodeSkin(EncodeSkin(doc));
    if (!back.Document) return QStringLiteral("a skin holding the picture does not read back");
    if (QString fault = CheckKeptPixels(picture, back.Document->Buttons[0].Pictures[0].Image);
        !fault.isEmpty())
        return fault;

    QImage dithered = picture;
    DitherPicture(dithered);
    if (dithered.size() != picture.size())
        return QStringLiteral("dithering a %1 picture gives %2").arg(Size(picture), Size(dithered));
    const bool packed =
        picture.format() == QImage::Format_RGB555 || picture.format() == QImage::Format_RGB16;
    if (packed && dithered.format() != picture.format())
        return QStringLiteral("dithering a 16-bit picture changes its depth");
    return QString();
}

QString CheckPictureInput(QByteArrayView format, QByteArrayView data) {
    const auto starts = [&](QByteArrayView magic, qsizetype at = 0) {
        return data.size() >= at + magic.size() && data.sliced(at, magic.size()) == magic;
    };
    bool ours = false;
    if (format == "png") ours = starts("\x89PNG\r\n\x1a\n");
    if (format == "jpeg") ours = starts("\xff\xd8\xff");
    if (format == "gif") ours = starts("GIF87a") || starts("GIF89a");
    if (format == "webp") ours = starts("RIFF") && starts("WEBP", 8);
    if (format == "tiff")
        ours = starts(QByteArrayView("II*\0", 4)) || starts(QByteArrayView("MM\0*", 4));
    return ours ? CheckBitmapInput(data) : QString();
}
