// Every record's fields in file order, pinned by bytes written out by hand:
// a reader and writer that agree with each other but swap two fields fail here.
#include "sample_skin.h"
#include "skin_file.h"

#include <gtest/gtest.h>

namespace {
QByteArray Hex(const QByteArray& hex) {
    return QByteArray::fromHex(hex); // spaces are skipped
}

// A 1 x 1 picture of the 16-bit pixel word v (x-red-green-blue 1-5-5-5).
TPicture Pixel(quint16 v, bool transparent = true) {
    QImage img(1, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(Widen5((v >> 10) & 31), Widen5((v >> 5) & 31), Widen5(v & 31)));
    return {img, transparent};
}

// Its picture record: width 1, height 1, data size 4, one row of the word and
// two bytes of padding.
QByteArray PixelHex(quint16 v) {
    return QByteArray("0100 0100 04000000 ") +
           QByteArray::number(v & 0xFF, 16).rightJustified(2, '0') +
           QByteArray::number(v >> 8, 16).rightJustified(2, '0') + " 0000 ";
}

// The default skin's file with the given item section and, for one kind,
// the given records; the other kinds hold none.
QByteArray FileWith(const QByteArray& itemsHex, int kind, int count, const QByteArray& recordsHex) {
    QByteArray file = Hex("E8030000 F000 0C01") + Hex(itemsHex);
    for (int k = 0; k < ItemKindCount; ++k)
        file += k == kind ? char(count) + QByteArray(1, '\0') + Hex(recordsHex) : Hex("0000");
    return file + EncodeSkin(MakeDefaultSkin()).mid(20); // the playlist block
}

TSkinDocument Decoded(const QByteArray& bytes) {
    TSkinReadResult r = DecodeSkin(bytes);
    EXPECT_TRUE(r.Document.has_value()) << r.Error.toStdString();
    return r.Document.value_or(TSkinDocument{});
}
} // namespace

TEST(RecordLayout, ItemEntry) {
    TSkinDocument doc = MakeDefaultSkin();
    doc.Texts.resize(3);
    doc.Items = {{ikText, 2, "abc"}};
    const QByteArray file = FileWith("0100  01 0200 0300 616263", ikText, 3, QByteArray(108, '0'));
    EXPECT_EQ(EncodeSkin(doc), file);
    EXPECT_EQ(Decoded(file).Items, doc.Items);
}

TEST(RecordLayout, ImageRecord) {
    TSkinDocument doc = MakeDefaultSkin();
    doc.Images = {{Pixel(0x1234, false), 12, 34, rtPlaybackTimeChanges}};
    // x, y, repaint trigger, picture
    const QByteArray file = FileWith("0000", ikImage, 1, "0C00 2200 03" + PixelHex(0x1234));
    EXPECT_EQ(EncodeSkin(doc), file);
    EXPECT_EQ(Decoded(file).Images, doc.Images);
}

TEST(RecordLayout, TextRecord) {
    TSkinDocument doc = MakeDefaultSkin();
    TiText& t = doc.Texts.emplace_back();
    t.X = 12, t.Y = 34, t.Width = 56, t.Height = 78;
    t.VAlign = vaTop, t.HAlign = haRight, t.FontSize = 90, t.Color = 0x112233;
    t.Bold = true, t.TextType = ttRemainingTime;
    t.PreviewText = PreviewTextFor(t.TextType);
    // x, y, width, height, vertical, horizontal, font size, colour, bold, type
    const QByteArray file =
        FileWith("0000", ikText, 1, "0C00 2200 3800 4E00 00 02 5A00 33221100 01 04");
    EXPECT_EQ(EncodeSkin(doc), file);
    EXPECT_EQ(Decoded(file).Texts, doc.Texts);
}

TEST(RecordLayout, ButtonRecord) {
    TSkinDocument doc = MakeDefaultSkin();
    doc.Buttons = {{{Pixel(1), Pixel(2), Pixel(3), Pixel(4)}, 12, 34, pcPlayPause},
                   {{Pixel(5), Pixel(6), Pixel(7), Pixel(8)}, 56, 78, pcVolumeDown}};
    // x, y, command, pictures 0-3 for a two-state command, 0-1 otherwise
    const QByteArray file =
        FileWith("0000", ikButton, 2,
                 "0C00 2200 0600" + PixelHex(1) + PixelHex(2) + PixelHex(3) + PixelHex(4) +
                     "3800 4E00 0100" + PixelHex(5) + PixelHex(6));
    EXPECT_EQ(EncodeSkin(doc), file);
    const TSkinDocument read = Decoded(file);
    ASSERT_EQ(read.Buttons.size(), 2u);
    EXPECT_EQ(read.Buttons[0], doc.Buttons[0]);
    doc.Buttons[1].Pictures[2] = doc.Buttons[1].Pictures[3] = {PlaceholderPicture(), true};
    EXPECT_EQ(read.Buttons[1], doc.Buttons[1]);
}

TEST(RecordLayout, WheelRecord) {
    TSkinDocument doc = MakeDefaultSkin();
    TiWheel& w = doc.Wheels.emplace_back();
    w.X = 12, w.Y = 34, w.BallDist = 40, w.BallCount = 3;
    w.CenterCommand = pcToggleRepeat, w.LeftCommand = pcPreviousSong;
    w.RightCommand = pcNextSong, w.TopHalfAction = waSeekTime;
    w.BottomHalfAction = waChangeVolume;
    for (int s = 0; s < 8; ++s)
        w.Pictures[std::size_t(s)] = Pixel(quint16(s + 1));
    TiWheel& one = doc.Wheels.emplace_back(w);
    one.CenterCommand = pcClosePlayer;
    QByteArray pictures, withoutFour;
    for (quint16 s = 0; s < 8; ++s) {
        pictures += PixelHex(s + 1);
        if (s != 4) withoutFour += PixelHex(s + 1);
    }
    // x, y, ball distance, ball count, centre, left, right, top half, bottom
    // half, pictures 0-7 (4 only for a two-state centre command)
    const QByteArray file =
        FileWith("0000", ikWheel, 2,
                 "0C00 2200 2800 03 0A00 0400 0500 0200 0100" + pictures +
                     "0C00 2200 2800 03 0700 0400 0500 0200 0100" + withoutFour);
    EXPECT_EQ(EncodeSkin(doc), file);
    const TSkinDocument read = Decoded(file);
    ASSERT_EQ(read.Wheels.size(), 2u);
    EXPECT_EQ(read.Wheels[0], doc.Wheels[0]);
    one.Pictures[4] = {PlaceholderPicture(), true};
    EXPECT_EQ(read.Wheels[1], one);
}

TEST(RecordLayout, TrackbarRecord) {
    TSkinDocument doc = MakeDefaultSkin();
    TiTrackbar& t = doc.Trackbars.emplace_back();
    t.X = 12, t.Y = 34, t.Width = 56, t.Height = 78;
    t.ProgressStretch = false, t.ShowScroller = true, t.TrackType = tkVolume;
    t.Pictures = {Pixel(1), Pixel(2)};
    TiTrackbar& off = doc.Trackbars.emplace_back(t);
    off.ProgressStretch = true, off.ShowScroller = false;
    // x, y, width, height, stretch, show scroller, type, progress, scroller
    // (only when shown)
    const QByteArray file = FileWith("0000", ikTrackbar, 2,
                                     "0C00 2200 3800 4E00 00 01 01" + PixelHex(1) + PixelHex(2) +
                                         "0C00 2200 3800 4E00 01 00 01" + PixelHex(1));
    EXPECT_EQ(EncodeSkin(doc), file);
    const TSkinDocument read = Decoded(file);
    ASSERT_EQ(read.Trackbars.size(), 2u);
    EXPECT_EQ(read.Trackbars[0], doc.Trackbars[0]);
    off.Pictures[1] = {PlaceholderPicture(), true};
    EXPECT_EQ(read.Trackbars[1], off);
}

TEST(RecordLayout, PlaylistBlock) {
    TSkinDocument doc = MakeDefaultSkin();
    TPlaylistSettings& p = doc.Playlist;
    p.TitleHeight = 12, p.ItemHeight = 34, p.TitleFontSize = 56, p.ItemFontSize = 78;
    p.TitleBold = false, p.ItemBold = true;
    for (std::size_t c = 0; c < p.Colors.size(); ++c)
        p.Colors[c] = TColor(0x10 * (c + 1));
    p.FolderIcon = Pixel(1), p.SongIcon = Pixel(2);
    // title height, item height, title font, item font, title bold, item
    // bold, colours 0-6, folder icon, song icon
    const QByteArray file = Hex("E8030000 F000 0C01 0000 0000 0000 0000 0000 0000"
                                "0C00 2200 3800 4E00 00 01"
                                "10000000 20000000 30000000 40000000 50000000 60000000 70000000" +
                                PixelHex(1) + PixelHex(2));
    EXPECT_EQ(EncodeSkin(doc), file);
    EXPECT_EQ(Decoded(file).Playlist, p);
}
