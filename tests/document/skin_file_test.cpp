#include "item_list.h"
#include "new_skin.h"
#include "sample_skin.h"
#include "skin_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {
TSkinDocument Decoded(const QByteArray& bytes) {
    TSkinReadResult r = DecodeSkin(bytes);
    EXPECT_TRUE(r.Document.has_value()) << r.Error.toStdString();
    return r.Document.value_or(TSkinDocument{});
}

QByteArray Hex(const char* hex) {
    return QByteArray::fromHex(hex);
}

// A skin whose only content is one item entry and a picture record whose
// header is given.
QByteArray SkinWithImage(quint16 w, quint16 h, quint32 dataSize, qsizetype dataBytes) {
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikImage, "i");
    QByteArray bytes = EncodeSkin(doc);
    // version 4, size 4, count 2, entry 1+2+2+1, image count 2, x y 4, trigger 1 -> picture at 23
    const qsizetype at = 23;
    QByteArray head(8, 0);
    qToLittleEndian<quint16>(w, head.data());
    qToLittleEndian<quint16>(h, head.data() + 2);
    qToLittleEndian<quint32>(dataSize, head.data() + 4);
    return bytes.left(at) + head + QByteArray(dataBytes, '\0') + bytes.mid(at + 8 + 480);
}
} // namespace

TEST(SkinFile, DefaultSkinIs1034Bytes) {
    const QByteArray bytes = EncodeSkin(MakeDefaultSkin());
    ASSERT_EQ(bytes.size(), 1034);
    EXPECT_EQ(bytes.left(8), Hex("E8030000F0000C01"));
    EXPECT_EQ(bytes.mid(8, 12), QByteArray(12, '\0')); // item count and five array counts
    EXPECT_EQ(bytes.mid(20, 10), Hex("1E001E000C000C000100"));
    EXPECT_EQ(bytes.mid(30, 28), Hex("FFFFFF00C0C0C000000000000000000000008000FFFFFF0080808000"));
    // Placeholder icon: 15 x 15, 480 bytes, rows of 32 bytes, bottom row first.
    EXPECT_EQ(bytes.mid(58, 8), Hex("0F000F00E0010000"));
    // Bottom row: red corner at x 0, frame (255,1,1) -> 0x7C00, corner and diagonal at x 14.
    EXPECT_EQ(bytes.mid(66, 4), Hex("007C007C"));
    EXPECT_EQ(bytes.mid(66 + 30, 2), Hex("0000")); // padding
}

TEST(SkinFile, RichSkinRoundTripsByteForByte) {
    const TSkinDocument doc = MakeRichSkin();
    const QByteArray first = EncodeSkin(doc);
    const TSkinDocument read = Decoded(first);
    EXPECT_EQ(EncodeSkin(read), first);

    EXPECT_EQ(read.Items.size(), doc.Items.size());
    for (int i = 0; i < doc.Items.size(); ++i)
        EXPECT_EQ(read.Items[i], doc.Items[i]);
    EXPECT_EQ(read.Items[5].Name.size(), 255);
    EXPECT_EQ(read.Images[1].X, 65526); // -10 narrowed to 16 bits
    EXPECT_EQ(read.Texts[0].PreviewText, "00:35");
    EXPECT_EQ(read.Texts[0].Color, 0x123456u);
    EXPECT_TRUE(read.Texts[0].Bold);
    EXPECT_FALSE(read.Images[0].Picture.Transparent);
    EXPECT_TRUE(read.Buttons[0].Pictures[3].Transparent);
    EXPECT_TRUE(read.Playlist.SongIcon.Transparent);
    // Second-state pictures of a one-state command are not stored.
    EXPECT_EQ(read.Buttons[1].Pictures[2].Image, PlaceholderPicture());
    EXPECT_EQ(read.Buttons[0].Pictures[3].Width(), 24);
    EXPECT_EQ(read.Wheels[1].Pictures[4].Image, PlaceholderPicture());
    EXPECT_EQ(read.Wheels[0].Pictures[4].Width(), 17);
    EXPECT_EQ(read.Trackbars[1].Pictures[1].Image, PlaceholderPicture());
    EXPECT_EQ(read.Trackbars[0].Pictures[1].Height(), 15);
}

TEST(SkinFile, ConditionalPictureCounts) {
    auto sizeWith = [](auto change) {
        TSkinDocument doc = MakeDefaultSkin();
        change(doc);
        return EncodeSkin(doc).size() - 1034;
    };
    // Button: 6 bytes + 2 or 4 placeholder pictures of 488 bytes.
    EXPECT_EQ(sizeWith([](TSkinDocument& d) { AddItem(d, ikButton, ""); }), 5 + 6 + 2 * 488);
    EXPECT_EQ(sizeWith([](TSkinDocument& d) {
                  AddItem(d, ikButton, "");
                  d.Buttons[0].Command = pcPlayPause;
              }),
              5 + 6 + 4 * 488);
    EXPECT_EQ(sizeWith([](TSkinDocument& d) {
                  AddItem(d, ikWheel, "");
                  d.Wheels[0].CenterCommand = pcNextSong;
              }),
              5 + 17 + 7 * 488);
    EXPECT_EQ(sizeWith([](TSkinDocument& d) {
                  AddItem(d, ikWheel, "");
                  d.Wheels[0].CenterCommand = pcToggleRepeat;
              }),
              5 + 17 + 8 * 488);
    EXPECT_EQ(sizeWith([](TSkinDocument& d) { AddItem(d, ikTrackbar, ""); }), 5 + 11 + 488);
    EXPECT_EQ(sizeWith([](TSkinDocument& d) { AddItem(d, ikText, ""); }), 5 + 18);
}

TEST(SkinFile, SizeIsExact) {
    // One-state commands and a hidden scroller store fewer pictures than the slots hold.
    const TSkinDocument doc = MakeRichSkin();
    EXPECT_EQ(SkinFileSize(doc), quint64(EncodeSkin(doc).size()));
}

TEST(SkinFile, CommandBeyondSixteenBitsStaysReadable) {
    // 65542 is stored as 6 ("Play/pause"): the reader expects four pictures,
    // so the writer must store four.
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikButton, "b");
    AddItem(doc, ikWheel, "w");
    doc.Buttons[0].Command = 65536 + pcPlayPause;
    doc.Wheels[0].CenterCommand = 65536 + pcToggleShuffle;
    const TSkinDocument read = Decoded(EncodeSkin(doc));
    EXPECT_EQ(read.Buttons[0].Command, pcPlayPause);
    EXPECT_EQ(read.Wheels[0].CenterCommand, pcToggleShuffle);
}

TEST(SkinFile, PictureRowsAndChannels) {
    TSkinDocument doc = MakeDefaultSkin();
    QImage one(1, 2, QImage::Format_RGB32);
    one.setPixel(0, 0, qRgb(255, 0, 8));   // top row
    one.setPixel(0, 1, qRgb(7, 255, 248)); // bottom row, written first
    doc.Playlist.FolderIcon.Image = one;
    const QByteArray bytes = EncodeSkin(doc);
    EXPECT_EQ(bytes.mid(58, 16), Hex("0100020008000000" // 1 x 2, 8 bytes: rows of 4
                                     "FF03"
                                     "0000" // bottom: (0, 31, 31), padding
                                     "017C"
                                     "0000")); // top: (31, 0, 1), padding
    const QImage back = Decoded(bytes).Playlist.FolderIcon.Image;
    EXPECT_EQ(back.pixel(0, 0), qRgb(255, 0, 8));
    EXPECT_EQ(back.pixel(0, 1), qRgb(0, 255, 255));

    QImage two(2, 2, QImage::Format_RGB32);
    two.fill(qRgb(128, 64, 200));
    doc.Playlist.FolderIcon.Image = two;
    EXPECT_EQ(EncodeSkin(doc).mid(58, 8), Hex("0200020008000000"));
    // 5-bit levels widen with 0 -> 0 and 31 -> 255 and keep their top five bits.
    for (int v = 0; v < 32; ++v)
        EXPECT_EQ(Widen5(v) >> 3, v);
    EXPECT_EQ(Widen5(0), 0);
    EXPECT_EQ(Widen5(31), 255);
}

TEST(SkinFile, ZeroSizedPictureKeepsTheFileReadable) {
    TSkinDocument doc = MakeRichSkin();
    doc.Buttons[0].Pictures[1].Image = QImage();
    const QByteArray bytes = EncodeSkin(doc);
    const TSkinDocument read = Decoded(bytes);
    EXPECT_TRUE(read.Buttons[0].Pictures[1].Image.isNull());
    EXPECT_EQ(read.Buttons[0].Pictures[2].Width(), 23);
    EXPECT_EQ(EncodeSkin(read), bytes);
}

TEST(SkinFile, EmptyPictureKeepsItsDeclaredSides) {
    const QByteArray defaultFile = EncodeSkin(MakeDefaultSkin());
    for (const char* header : {"0500000000000000", "0000050000000000"}) {
        // The folder icon, first picture of the playlist block, replaced.
        const QByteArray bytes = defaultFile.left(58) + Hex(header) + defaultFile.mid(58 + 488);
        const TSkinDocument read = Decoded(bytes);
        EXPECT_EQ(read.Playlist.FolderIcon.Width() + read.Playlist.FolderIcon.Height(), 5);
        EXPECT_EQ(EncodeSkin(read), bytes) << header;
    }
}

TEST(SkinFile, ScrollerPictureFollowsOnlyAOne) {
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikTrackbar, "t");
    const QByteArray saved = EncodeSkin(doc); // scroller off: the progress picture only
    // header 8, item count 2, entry 6, four zero counts 8, trackbar count 2,
    // x y width height 8, progress stretch 1
    const qsizetype at = 35;
    ASSERT_EQ(saved[at], 0);
    QByteArray two = saved;
    two[at] = 2;
    const TSkinDocument read = Decoded(two);
    ASSERT_EQ(read.Trackbars.size(), 1u);
    EXPECT_FALSE(read.Trackbars[0].ShowScroller);
    EXPECT_EQ(read.Trackbars[0].Pictures[1].Image, PlaceholderPicture());
    EXPECT_EQ(EncodeSkin(read), saved); // written back as off
}

TEST(SkinFile, CutShortAnywhereIsReadBeyondEnd) {
    TSkinDocument doc = MakeRichSkin();
    doc.Images[0].Picture.Image = PatternImage(7, 5); // keep the file small
    const QByteArray bytes = EncodeSkin(doc);
    for (qsizetype n = 4; n < bytes.size(); ++n) {
        const TSkinReadResult r = DecodeSkin(QByteArrayView(bytes).first(n));
        ASSERT_FALSE(r.Document.has_value()) << n;
        ASSERT_EQ(r.Error, "Read beyond end of file.") << n;
    }
    // Anything after the playlist block is not read.
    EXPECT_TRUE(DecodeSkin(bytes + "trailing").Document.has_value());
}

TEST(SkinFile, WrongVersionIsItsOwnError) {
    QByteArray bytes = EncodeSkin(MakeDefaultSkin());
    bytes[0] = char(0xE9);
    const TSkinReadResult r = DecodeSkin(bytes);
    EXPECT_FALSE(r.Document.has_value());
    EXPECT_TRUE(r.WrongVersion);
    EXPECT_EQ(r.Error, "The version of the skin file is not compatible with the editor.");
    EXPECT_EQ(DecodeSkin(QByteArray("\xE8\x03")).Error, "Read beyond end of file.");
}

TEST(SkinFile, DamagedFilesAreRefused) {
    auto errorOf = [](auto change) {
        TSkinDocument doc = MakeDefaultSkin();
        AddItem(doc, ikImage, "a");
        AddItem(doc, ikImage, "b");
        AddItem(doc, ikText, "c");
        change(doc);
        const TSkinReadResult r = DecodeSkin(EncodeSkin(doc));
        EXPECT_FALSE(r.Document.has_value());
        return r.Error.toStdString();
    };
    EXPECT_EQ(errorOf([](TSkinDocument& d) { d.Items[1].Kind = 7; }),
              "The skin file is damaged: item 2 has the unknown kind 7.");
    EXPECT_EQ(errorOf([](TSkinDocument& d) { d.Items[2].Index = 1; }),
              "The skin file is damaged: item 3 refers to a missing record.");
    EXPECT_EQ(errorOf([](TSkinDocument& d) { d.Items[1].Index = 0; }),
              "The skin file is damaged: items 1 and 2 refer to the same record.");

    // Rows that need 4 x 1 bytes each but a data size of 3 bytes.
    EXPECT_EQ(DecodeSkin(SkinWithImage(1, 1, 3, 3)).Error.toStdString(),
              "The skin file is damaged: a picture of 1 x 1 pixels holds only 3 bytes.");
    EXPECT_TRUE(DecodeSkin(SkinWithImage(1, 1, 4, 4)).Document.has_value());
}

TEST(SkinFile, UnreferencedRecordsAreKept) {
    TSkinDocument doc = MakeRichSkin();
    doc.Items.removeLast();
    const QByteArray bytes = EncodeSkin(doc);
    const TSkinDocument read = Decoded(bytes);
    EXPECT_EQ(read.Images.size(), doc.Images.size());
    EXPECT_EQ(EncodeSkin(read), bytes);
}

TEST(SkinFile, HostileSizeIsNotAllocated) {
    const TSkinReadResult r = DecodeSkin(SkinWithImage(65535, 65535, 0xFFFFFFFFu, 16));
    EXPECT_EQ(r.Error, "Read beyond end of file.");
    const TSkinReadResult big = DecodeSkin(SkinWithImage(65535, 65535, 1u << 31, 16));
    EXPECT_EQ(big.Error, "Read beyond end of file.");
}

TEST(SkinFile, FilesOnDisk) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("rich.skn");
    const TSkinDocument doc = MakeRichSkin();
    ASSERT_EQ(WriteSkinFile(doc, path), "");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), EncodeSkin(doc));

    const TSkinReadResult r = ReadSkinFile(path);
    ASSERT_TRUE(r.Document.has_value());
    EXPECT_EQ(r.Document->FileName, path);
    EXPECT_FALSE(r.Document->Untitled);

    EXPECT_EQ(ReadSkinFile(dir.filePath("missing.skn")).Error, "File not found.");
    EXPECT_EQ(WriteSkinFile(doc, dir.filePath("no/such/dir.skn")), "File not found.");
    EXPECT_EQ(ReadSkinFile(dir.path()).Error, "Is a folder.");
}

// Equal pictures are read into one shared image; editing one slot leaves
// every other as the file had it.
TEST(SkinFile, EqualPicturesShareUntilEdited) {
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikImage, "a");
    AddItem(doc, ikButton, "b");
    doc.Images[0].Picture.Image = PatternImage(3, 2);
    doc.Buttons[0].Pictures[1].Image = PatternImage(3, 2);
    TSkinDocument read = Decoded(EncodeSkin(doc));
    QImage& image = read.Images[0].Picture.Image;
    const QImage& button = read.Buttons[0].Pictures[1].Image;
    EXPECT_EQ(image.cacheKey(), button.cacheKey());
    EXPECT_EQ(read.Buttons[0].Pictures[0].Image.cacheKey(),
              read.Playlist.FolderIcon.Image.cacheKey()); // placeholders
    EXPECT_NE(image.cacheKey(), read.Buttons[0].Pictures[0].Image.cacheKey());

    const QRgb before = button.pixel(1, 1);
    image.setPixel(1, 1, qRgb(8, 8, 8));
    EXPECT_EQ(image.pixel(1, 1), qRgb(8, 8, 8));
    EXPECT_EQ(button.pixel(1, 1), before);
}

// A save streams the file in chunks; more than one chunk of rows, both to a
// new file and in place over a hard-linked one, gives EncodeSkin's bytes.
TEST(SkinFile, SavedFileIsTheEncodedBytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TSkinDocument doc = MakeRichSkin();
    doc.Images[0].Picture.Image = PatternImage(701, 500);
    const QByteArray encoded = EncodeSkin(doc);
    ASSERT_GT(encoded.size(), 600000);
    const auto contents = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QString path = dir.filePath("a.skn"), link = dir.filePath("b.skn");
    ASSERT_EQ(WriteSkinFile(MakeDefaultSkin(), path), "");
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()), 0);
    ASSERT_EQ(WriteSkinFile(doc, path), "");
    EXPECT_EQ(contents(path), encoded);
    EXPECT_EQ(contents(link), encoded);
    ASSERT_EQ(WriteSkinFile(doc, dir.filePath("c.skn")), "");
    EXPECT_EQ(contents(dir.filePath("c.skn")), encoded);
}

TEST(SkinFile, PicturesOfOtherFormatsWriteTheirColours) {
    // An 8-bit picture of 150 rows crosses the writer's conversion bands.
    QImage indexed(5, 150, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 255), qRgb(8, 16, 248)});
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 5; ++x)
            indexed.setPixel(x, y, (x + y) % 2);
    TSkinDocument doc = MakeDefaultSkin();
    doc.Playlist.FolderIcon.Image = indexed;
    const QImage back = Decoded(EncodeSkin(doc)).Playlist.FolderIcon.Image;
    ASSERT_EQ(back.size(), QSize(5, 150));
    for (int y : {0, 63, 64, 85, 86, 149})
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(back.pixel(x, y), (x + y) % 2 ? qRgb(8, 16, 255) : qRgb(255, 0, 255))
                << x << "," << y;
}

// A 16-bit count holds 65,535: one more is refused, never written narrowed.
TEST(SkinFile, MoreThanACountHoldsIsRefusedAndTheFileUntouched) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("a.skn");
    const QByteArray old = EncodeSkin(MakeDefaultSkin());
    ASSERT_EQ(WriteSkinFile(MakeDefaultSkin(), path), "");
    TSkinDocument doc = MakeDefaultSkin();
    doc.Items.resize(0xFFFF);
    EXPECT_EQ(qFromLittleEndian<quint16>(EncodeSkin(doc).constData() + 8), 0xFFFF);
    for (const bool items : {true, false}) {
        TSkinDocument over = MakeDefaultSkin();
        if (items)
            over.Items.resize(0x10000);
        else
            over.Texts.resize(0x10000);
        EXPECT_EQ(WriteSkinFile(over, path),
                  "The skin already holds 65,535 items, the most a skin file keeps.");
        EXPECT_EQ(EncodeSkin(over), QByteArray());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), old);
    }
}

namespace {
// Bytes this process has read through read() so far.
qint64 BytesRead() {
    QFile io("/proc/self/io");
    if (!io.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("rchar:")) return line.mid(6).trimmed().toLongLong();
    return -1;
}
} // namespace

// A 1 x 1 picture that declares 64 MB of data, in a sparse file that holds
// them: the excess is passed over, neither read nor held.
TEST(SkinFile, PictureDataBeyondItsRowsIsSkippedUnread) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikImage, "i");
    doc.Images[0].Picture.Image = PatternImage(1, 1);
    const QByteArray bytes = EncodeSkin(doc);
    const qsizetype at = 23 + 8; // the picture's rows follow its header
    ASSERT_EQ(qFromLittleEndian<quint32>(bytes.constData() + at - 4), 4u);
    constexpr quint32 Excess = 64 << 20;
    QByteArray head = bytes.left(at + 4);
    qToLittleEndian<quint32>(4 + Excess, head.data() + at - 4);
    const QString path = dir.filePath("claims.skn");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(head), head.size());
    ASSERT_TRUE(f.seek(head.size() + Excess));
    ASSERT_EQ(f.write(bytes.mid(at + 4)), bytes.size() - at - 4);
    f.close();

    const qint64 before = BytesRead();
    if (before < 0) GTEST_SKIP() << "no /proc/self/io to count the bytes read";
    const TSkinReadResult read = ReadSkinFile(path);
    EXPECT_LT(BytesRead() - before, 1 << 20);
    ASSERT_TRUE(read.Document.has_value()) << read.Error.toStdString();
    EXPECT_EQ(EncodeSkin(*read.Document), bytes);
}
