#include "code_page.h"
#include "new_skin.h"
#include "picture.h"
#include "skin_document.h"

#include <gtest/gtest.h>

TEST(Placeholder, FrameCornersAndDiagonal) {
    const QImage& p = PlaceholderPicture();
    ASSERT_EQ(p.size(), QSize(15, 15));
    EXPECT_EQ(p.pixel(0, 0), qRgb(255, 0, 0));   // corner and diagonal
    EXPECT_EQ(p.pixel(14, 0), qRgb(255, 0, 0));  // corner
    EXPECT_EQ(p.pixel(0, 14), qRgb(255, 0, 0));  // corner
    EXPECT_EQ(p.pixel(14, 14), qRgb(255, 0, 0)); // corner and diagonal
    EXPECT_EQ(p.pixel(7, 0), qRgb(255, 1, 1));   // frame
    EXPECT_EQ(p.pixel(0, 7), qRgb(255, 1, 1));
    EXPECT_EQ(p.pixel(14, 3), qRgb(255, 1, 1));
    EXPECT_EQ(p.pixel(7, 7), qRgb(255, 0, 0)); // diagonal
    EXPECT_EQ(p.pixel(3, 4), qRgb(255, 255, 255));
    EXPECT_EQ(p.pixel(13, 1), qRgb(255, 255, 255)); // the other diagonal is white
}

TEST(Placeholder, EverySlotGetsItsOwnCopy) {
    TPicture a, b;
    CreatePic(a, true, true);
    CreatePic(b, true, false);
    EXPECT_TRUE(a.Transparent);
    EXPECT_FALSE(b.Transparent);
    a.Image.setPixel(7, 7, qRgb(1, 2, 3));
    EXPECT_EQ(b.Image.pixel(7, 7), qRgb(255, 0, 0));
    EXPECT_EQ(PlaceholderPicture().pixel(7, 7), qRgb(255, 0, 0));
}

TEST(Commands, TwoStateTable) {
    const std::vector<int> two = {6, 9, 10, 12};
    for (int c = 0; c < 13; ++c)
        EXPECT_EQ(HasTwoStates(c), std::find(two.begin(), two.end(), c) != two.end()) << c;
    EXPECT_FALSE(HasTwoStates(-1));
    EXPECT_FALSE(HasTwoStates(13));
    EXPECT_FALSE(HasTwoStates(65542));
}

TEST(Texts, PreviewSamples) {
    EXPECT_EQ(PreviewTextFor(0), "(song title)");
    EXPECT_EQ(PreviewTextFor(1), "(song artist)");
    EXPECT_EQ(PreviewTextFor(2), "50%");
    EXPECT_EQ(PreviewTextFor(3), "00:25");
    EXPECT_EQ(PreviewTextFor(4), "00:35");
    EXPECT_EQ(PreviewTextFor(5), "17:43");
    EXPECT_EQ(PreviewTextFor(6), "");
    EXPECT_EQ(PreviewTextFor(-1), "");
}

TEST(Records, RecordOfChecksKindAndRange) {
    TSkinDocument doc;
    doc.Texts.resize(2);
    doc.Texts[1].X = 42;
    EXPECT_EQ(RecordOf<TiText>(doc, TDocItem{ikText, 1, {}})->X, 42);
    EXPECT_EQ(RecordOf<TiText>(doc, TDocItem{ikText, 2, {}}), nullptr);
    EXPECT_EQ(RecordOf<TiText>(doc, TDocItem{ikText, -1, {}}), nullptr);
    EXPECT_EQ(RecordOf<TiImage>(doc, TDocItem{ikText, 0, {}}), nullptr);
}

TEST(NewSkinDefaults, PlaylistLookAndFile) {
    TSkinDocument doc;
    doc.ScreenWidth = 321;
    doc.Items.append(TDocItem{ikImage, 0, "x"});
    doc.Images.resize(1);
    doc.Untitled = false;
    NewSkin(doc);
    EXPECT_EQ(doc.ScreenWidth, 321); // the callers set the size
    EXPECT_TRUE(doc.Items.isEmpty());
    EXPECT_TRUE(doc.Images.empty());
    const TPlaylistSettings& p = doc.Playlist;
    EXPECT_EQ(p.TitleHeight, 30);
    EXPECT_EQ(p.ItemHeight, 30);
    EXPECT_EQ(p.TitleFontSize, 12);
    EXPECT_EQ(p.ItemFontSize, 12);
    EXPECT_TRUE(p.TitleBold);
    EXPECT_FALSE(p.ItemBold);
    const std::array<TColor, 7> colors = {0xFFFFFF, 0xC0C0C0, 0, 0, 0x800000, 0xFFFFFF, 0x808080};
    EXPECT_EQ(p.Colors, colors);
    EXPECT_EQ(ColorToRgb(p.Colors[4]), qRgb(0, 0, 128)); // navy
    EXPECT_EQ(p.FolderIcon.Image, PlaceholderPicture());
    EXPECT_TRUE(p.FolderIcon.Transparent);
    EXPECT_TRUE(p.SongIcon.Transparent);
    EXPECT_TRUE(doc.Untitled);
    EXPECT_EQ(doc.FileName, "Untitled.skn");
    EXPECT_EQ(WindowTitleFor(doc.FileName), "Kelvane LumoraSkin 1.0 - [Untitled.skn]");
    EXPECT_EQ(WindowTitleFor("/home/a/skins/blue.skn"), "Kelvane LumoraSkin 1.0 - [blue.skn]");
}

TEST(NewSkinDefaults, PresetsInOrderAndMatching) {
    ASSERT_EQ(ResolutionPresets.size(), 7u);
    EXPECT_STREQ(ResolutionPresets[0].Text, "Standard QVGA (240x320)");
    EXPECT_EQ(ResolutionPresets[1].Height, 536);
    EXPECT_STREQ(ResolutionPresets[5].Text, "Standard VGA landscape (640x480)");
    EXPECT_EQ(ResolutionPresets[5].Width, 640);
    EXPECT_EQ(ResolutionPresets[5].Height, 396);
    EXPECT_STREQ(ResolutionPresets[6].Text, "Custom...");
    EXPECT_EQ(PresetForSize(480, 396), 3);
    EXPECT_EQ(PresetForSize(240, 198), 2);
    EXPECT_EQ(PresetForSize(500, 396), CustomPreset);
    EXPECT_EQ(PresetForSize(0, 0), CustomPreset); // "Custom..." never matches itself
}

TEST(CodePage, EveryByteRoundTrips) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString shown = DecodeName(all);
    EXPECT_EQ(shown.size(), 256);
    EXPECT_EQ(shown[0x80], QChar(0x20AC)); // euro sign
    EXPECT_EQ(shown[0xE9], QChar(0xE9));
    EXPECT_EQ(EncodeName(shown), all);
}

TEST(CodePage, CharactersWithoutAByteBecomeQuestionMarks) {
    EXPECT_EQ(EncodeName(QString::fromUtf8("a\u4e2db")), "a?b");
    EXPECT_EQ(EncodeName(QString::fromUtf8("x\U0001F3B5y")), "x?y"); // one character, one '?'
    EXPECT_EQ(EncodeName(QString::fromUtf8("\u20ac5")), "\x80"
                                                        "5");
}
